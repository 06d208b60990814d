// Numeric nodes that integrate, differentiate and difference a series, or turn the timestamps
// of a series of any kind into numbers.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

namespace api {
struct TimeUnit;
}  // namespace api
struct NegativeValueConfiguration;
struct NumericSeries;
struct Series;
struct TimestampConstant;

#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(startTimestamp, "startTimestamp", TimestampConstant)
QC_RECORD(CumulativeSumSeries, QC_FIELDS)
#undef QC_FIELDS

// The configuration's key says "Values" although its type says "Value"; the wire keeps the
// plural, so the field does too.
#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(timeUnit, "timeUnit", Optional<api::TimeUnit>) \
  F(negativeValuesConfiguration, "negativeValuesConfiguration", Optional<NegativeValueConfiguration>)
QC_RECORD(DerivativeSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(startTimestamp, "startTimestamp", TimestampConstant) \
  F(timeUnit, "timeUnit", Optional<api::TimeUnit>)
QC_RECORD(IntegralSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(negativeValuesConfiguration, "negativeValuesConfiguration", Optional<NegativeValueConfiguration>)
QC_RECORD(ValueDifferenceSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", Series) \
  F(timeUnit, "timeUnit", Optional<api::TimeUnit>)
QC_RECORD(TimeDifferenceSeries, QC_FIELDS)
#undef QC_FIELDS

// Unlike its neighbours, the unit is required here: a bare timestamp means nothing without one.
#define QC_FIELDS(F) \
  F(input, "input", Series) \
  F(timeUnit, "timeUnit", api::TimeUnit)
QC_RECORD(AbsoluteTimestampSeries, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
