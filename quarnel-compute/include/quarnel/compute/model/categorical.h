// Records and enumerations of the categorical (string-valued) series nodes.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

namespace rids::api {
struct ComputeEventQuery;
}  // namespace rids::api
struct AggregationBuilder;
struct Duration;
struct DurationConstant;
struct Enum1dArraySeries;
struct EnumAggregationOperator;
struct EnumResampleInterpolationConfiguration;
struct EnumSeries;
struct EventsEnumValueSource;
struct IntegerConstant;
struct RangeSeries;
struct StringConstant;
struct TagPredicate;
struct TimestampConstant;

// clang-format off
#define QC_VALUES(E) \
  E(min, "MIN")      \
  E(max, "MAX")
// clang-format on
QC_ENUM(EnumAggregationFunction, QC_VALUES)
#undef QC_VALUES

// How the inputs of an EnumUnionSeries are combined where they overlap.
// clang-format off
#define QC_VALUES(E) \
  E(throw_, "THROW") \
  E(max, "MAX")      \
  E(min, "MIN")
// clang-format on
QC_ENUM(EnumUnionOperation, QC_VALUES)
#undef QC_VALUES

// clang-format off
#define QC_FIELDS(F)            \
  F(input, "input", EnumSeries) \
  F(function, "function", EnumAggregationFunction)
// clang-format on
QC_RECORD(AggregateEnumSeries, QC_FIELDS)
#undef QC_FIELDS

// clang-format off
#define QC_FIELDS(F)                        \
  F(interval, "interval", DurationConstant) \
  F(interpolation, "interpolation", Optional<EnumResampleInterpolationConfiguration>)
// clang-format on
QC_RECORD(EnumResampleConfiguration, QC_FIELDS)
#undef QC_FIELDS

// clang-format off
#define QC_FIELDS(F)            \
  F(input, "input", EnumSeries) \
  F(resampleConfiguration, "resampleConfiguration", EnumResampleConfiguration)
// clang-format on
QC_RECORD(EnumResampleSeries, QC_FIELDS)
#undef QC_FIELDS

// The fill constant is a string here, unlike the numeric resample's double.
#define QC_FIELDS(F) F(constant, "constant", StringConstant)
QC_RECORD(EnumConstantResampleInterpolationConfiguration, QC_FIELDS)
#undef QC_FIELDS

// clang-format off
#define QC_FIELDS(F)            \
  F(input, "input", EnumSeries) \
  F(n, "n", IntegerConstant)
// clang-format on
QC_RECORD(EnumNthPointDownsampleSeries, QC_FIELDS)
#undef QC_FIELDS

// clang-format off
#define QC_FIELDS(F)                                     \
  F(input, "input", EnumSeries)                          \
  F(startTime, "startTime", Optional<TimestampConstant>) \
  F(endTime, "endTime", Optional<TimestampConstant>)
// clang-format on
QC_RECORD(EnumTimeRangeFilterSeries, QC_FIELDS)
#undef QC_FIELDS

// "duration" is a DurationConstant, not a Duration expression.
// clang-format off
#define QC_FIELDS(F)            \
  F(input, "input", EnumSeries) \
  F(duration, "duration", DurationConstant)
// clang-format on
QC_RECORD(EnumTimeShiftSeries, QC_FIELDS)
#undef QC_FIELDS

// "input" is singular on the wire although it holds a list of series.
// clang-format off
#define QC_FIELDS(F)                  \
  F(input, "input", List<EnumSeries>) \
  F(operation, "operation", EnumUnionOperation)
// clang-format on
QC_RECORD(EnumUnionSeries, QC_FIELDS)
#undef QC_FIELDS

// clang-format off
#define QC_FIELDS(F)            \
  F(input, "input", EnumSeries) \
  F(filter, "filter", RangeSeries)
// clang-format on
QC_RECORD(EnumFilterTransformationSeries, QC_FIELDS)
#undef QC_FIELDS

// clang-format off
#define QC_FIELDS(F)                   \
  F(input, "input", Enum1dArraySeries) \
  F(index, "index", IntegerConstant)
// clang-format on
QC_RECORD(SelectIndexFrom1dEnumArraySeries, QC_FIELDS)
#undef QC_FIELDS

// clang-format off
#define QC_FIELDS(F)                              \
  F(query, "query", rids::api::ComputeEventQuery) \
  F(valueSource, "valueSource", EventsEnumValueSource)
// clang-format on
QC_RECORD(EventsEnumSeries, QC_FIELDS)
#undef QC_FIELDS

// clang-format off
#define QC_FIELDS(F)                    \
  F(input, "input", AggregationBuilder) \
  F(operator_, "operator", EnumAggregationOperator)
// clang-format on
QC_RECORD(EnumAggregation, QC_FIELDS)
#undef QC_FIELDS

// clang-format off
#define QC_FIELDS(F)            \
  F(input, "input", EnumSeries) \
  F(predicate, "predicate", TagPredicate)
// clang-format on
QC_RECORD(EnumTagFilterSeries, QC_FIELDS)
#undef QC_FIELDS

// clang-format off
#define QC_FIELDS(F)            \
  F(input, "input", EnumSeries) \
  F(tagKeys, "tagKeys", Set<StringConstant>)
// clang-format on
QC_RECORD(EnumSelectTagsSeries, QC_FIELDS)
#undef QC_FIELDS

// "window" is a Duration expression, not a DurationConstant.
// clang-format off
#define QC_FIELDS(F)            \
  F(input, "input", EnumSeries) \
  F(window, "window", Duration)
// clang-format on
QC_RECORD(EnumToStartOfIntervalSeries, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
