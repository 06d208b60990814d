// Numeric nodes that integrate, differentiate and difference a series, or turn the timestamps
// of a series of any kind into numbers.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

#define QC_EMPTY_NEGATIVE_VALUE_PAYLOAD_FIELDS(F)
QC_RECORD(EmptyNegativeValuePayload, QC_EMPTY_NEGATIVE_VALUE_PAYLOAD_FIELDS)

// input: NumericSeries; startTimestamp: TimestampConstant.
#define QC_CUMULATIVE_SUM_SERIES_FIELDS(F) \
  F(input, "input", Required) F(startTimestamp, "startTimestamp", Required)
QC_RECORD(CumulativeSumSeries, QC_CUMULATIVE_SUM_SERIES_FIELDS)

// The configuration's key says "Values" although its type says "Value"; the wire keeps the
// plural, so the field does too.
// input: NumericSeries; timeUnit: api::TimeUnit; negativeValuesConfiguration:
// NegativeValueConfiguration.
#define QC_DERIVATIVE_SERIES_FIELDS(F)                     \
  F(input, "input", Required) F(timeUnit, "timeUnit", Optional) \
  F(negativeValuesConfiguration, "negativeValuesConfiguration", Optional)
QC_RECORD(DerivativeSeries, QC_DERIVATIVE_SERIES_FIELDS)

// input: NumericSeries; startTimestamp: TimestampConstant; timeUnit: api::TimeUnit.
#define QC_INTEGRAL_SERIES_FIELDS(F)                                       \
  F(input, "input", Required) F(startTimestamp, "startTimestamp", Required) \
  F(timeUnit, "timeUnit", Optional)
QC_RECORD(IntegralSeries, QC_INTEGRAL_SERIES_FIELDS)

// input: NumericSeries; negativeValuesConfiguration: NegativeValueConfiguration.
#define QC_VALUE_DIFFERENCE_SERIES_FIELDS(F) \
  F(input, "input", Required)                \
  F(negativeValuesConfiguration, "negativeValuesConfiguration", Optional)
QC_RECORD(ValueDifferenceSeries, QC_VALUE_DIFFERENCE_SERIES_FIELDS)

// input: Series; timeUnit: api::TimeUnit, optional.
#define QC_TIME_DIFFERENCE_SERIES_FIELDS(F) \
  F(input, "input", Required) F(timeUnit, "timeUnit", Optional)
QC_RECORD(TimeDifferenceSeries, QC_TIME_DIFFERENCE_SERIES_FIELDS)

// input: Series; timeUnit: api::TimeUnit. Unlike its neighbours, the unit is required here: a
// bare timestamp means nothing without one.
#define QC_ABSOLUTE_TIMESTAMP_SERIES_FIELDS(F) \
  F(input, "input", Required) F(timeUnit, "timeUnit", Required)
QC_RECORD(AbsoluteTimestampSeries, QC_ABSOLUTE_TIMESTAMP_SERIES_FIELDS)

}  // namespace qc::model
