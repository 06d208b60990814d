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

#define QC_VALUES(E) \
  E(min, "MIN") \
  E(max, "MAX")
QC_ENUM(EnumAggregationFunction, QC_VALUES)
#undef QC_VALUES

// How the inputs of an EnumUnionSeries are combined where they overlap.
#define QC_VALUES(E) \
  E(throw_, "THROW") \
  E(max, "MAX") \
  E(min, "MIN")
QC_ENUM(EnumUnionOperation, QC_VALUES)
#undef QC_VALUES

#define QC_FIELDS(F) \
  F(input, "input", EnumSeries) \
  F(function, "function", EnumAggregationFunction)
QC_RECORD(AggregateEnumSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(interval, "interval", DurationConstant) \
  F(interpolation, "interpolation", Optional<EnumResampleInterpolationConfiguration>)
QC_RECORD(EnumResampleConfiguration, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", EnumSeries) \
  F(resampleConfiguration, "resampleConfiguration", EnumResampleConfiguration)
QC_RECORD(EnumResampleSeries, QC_FIELDS)
#undef QC_FIELDS

// The fill constant is a string here, unlike the numeric resample's double.
#define QC_FIELDS(F) F(constant, "constant", StringConstant)
QC_RECORD(EnumConstantResampleInterpolationConfiguration, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", EnumSeries) \
  F(n, "n", IntegerConstant)
QC_RECORD(EnumNthPointDownsampleSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", EnumSeries) \
  F(startTime, "startTime", Optional<TimestampConstant>) \
  F(endTime, "endTime", Optional<TimestampConstant>)
QC_RECORD(EnumTimeRangeFilterSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", EnumSeries) \
  F(duration, "duration", DurationConstant)
QC_RECORD(EnumTimeShiftSeries, QC_FIELDS)
#undef QC_FIELDS

// "input" is singular on the wire although it holds a list of series.
#define QC_FIELDS(F) \
  F(input, "input", List<EnumSeries>) \
  F(operation, "operation", EnumUnionOperation)
QC_RECORD(EnumUnionSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", EnumSeries) \
  F(filter, "filter", RangeSeries)
QC_RECORD(EnumFilterTransformationSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", Enum1dArraySeries) \
  F(index, "index", IntegerConstant)
QC_RECORD(SelectIndexFrom1dEnumArraySeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(query, "query", rids::api::ComputeEventQuery) \
  F(valueSource, "valueSource", EventsEnumValueSource)
QC_RECORD(EventsEnumSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", AggregationBuilder) \
  F(operator_, "operator", EnumAggregationOperator)
QC_RECORD(EnumAggregation, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", EnumSeries) \
  F(predicate, "predicate", TagPredicate)
QC_RECORD(EnumTagFilterSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", EnumSeries) \
  F(tagKeys, "tagKeys", Set<StringConstant>)
QC_RECORD(EnumSelectTagsSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", EnumSeries) \
  F(window, "window", Duration)
QC_RECORD(EnumToStartOfIntervalSeries, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
