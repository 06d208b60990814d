// Records and enumerations of the categorical (string-valued) series nodes.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

#define QC_AGGREGATE_ENUM_SERIES_FIELDS(F) F(input, "input", Required) F(function, "function", Required)
QC_RECORD(AggregateEnumSeries, QC_AGGREGATE_ENUM_SERIES_FIELDS)

#define QC_ENUM_RESAMPLE_SERIES_FIELDS(F) \
  F(input, "input", Required) F(resampleConfiguration, "resampleConfiguration", Required)
QC_RECORD(EnumResampleSeries, QC_ENUM_RESAMPLE_SERIES_FIELDS)

#define QC_ENUM_RESAMPLE_CONFIGURATION_FIELDS(F) \
  F(interval, "interval", Required) F(interpolation, "interpolation", Optional)
QC_RECORD(EnumResampleConfiguration, QC_ENUM_RESAMPLE_CONFIGURATION_FIELDS)

// The fill constant is a string here, unlike the numeric resample's double.
#define QC_ENUM_CONSTANT_RESAMPLE_INTERPOLATION_CONFIGURATION_FIELDS(F) F(constant, "constant", Required)
QC_RECORD(EnumConstantResampleInterpolationConfiguration,
          QC_ENUM_CONSTANT_RESAMPLE_INTERPOLATION_CONFIGURATION_FIELDS)

// Payload of the forward-fill interpolation variant: nothing to say, written `{}`.
#define QC_ENUM_FORWARD_FILL_RESAMPLE_INTERPOLATION_FIELDS(F)
QC_RECORD(EnumForwardFillResampleInterpolation, QC_ENUM_FORWARD_FILL_RESAMPLE_INTERPOLATION_FIELDS)

#define QC_ENUM_NTH_POINT_DOWNSAMPLE_SERIES_FIELDS(F) F(input, "input", Required) F(n, "n", Required)
QC_RECORD(EnumNthPointDownsampleSeries, QC_ENUM_NTH_POINT_DOWNSAMPLE_SERIES_FIELDS)

#define QC_ENUM_TIME_RANGE_FILTER_SERIES_FIELDS(F) \
  F(input, "input", Required) F(startTime, "startTime", Optional) F(endTime, "endTime", Optional)
QC_RECORD(EnumTimeRangeFilterSeries, QC_ENUM_TIME_RANGE_FILTER_SERIES_FIELDS)

// "duration" is a DurationConstant, not a Duration expression.
#define QC_ENUM_TIME_SHIFT_SERIES_FIELDS(F) F(input, "input", Required) F(duration, "duration", Required)
QC_RECORD(EnumTimeShiftSeries, QC_ENUM_TIME_SHIFT_SERIES_FIELDS)

// "input" is singular on the wire although it holds a list of series.
#define QC_ENUM_UNION_SERIES_FIELDS(F) F(input, "input", Collection) F(operation, "operation", Required)
QC_RECORD(EnumUnionSeries, QC_ENUM_UNION_SERIES_FIELDS)

#define QC_ENUM_FILTER_TRANSFORMATION_SERIES_FIELDS(F) F(input, "input", Required) F(filter, "filter", Required)
QC_RECORD(EnumFilterTransformationSeries, QC_ENUM_FILTER_TRANSFORMATION_SERIES_FIELDS)

#define QC_SELECT_INDEX_FROM1D_ENUM_ARRAY_SERIES_FIELDS(F) F(input, "input", Required) F(index, "index", Required)
QC_RECORD(SelectIndexFrom1dEnumArraySeries, QC_SELECT_INDEX_FROM1D_ENUM_ARRAY_SERIES_FIELDS)

#define QC_EVENTS_ENUM_SERIES_FIELDS(F) F(query, "query", Required) F(valueSource, "valueSource", Required)
QC_RECORD(EventsEnumSeries, QC_EVENTS_ENUM_SERIES_FIELDS)

// Payload of the "level" value source: the event's level needs no parameter, written `{}`.
#define QC_EVENTS_ENUM_LEVEL_SOURCE_FIELDS(F)
QC_RECORD(EventsEnumLevelSource, QC_EVENTS_ENUM_LEVEL_SOURCE_FIELDS)

#define QC_ENUM_AGGREGATION_FIELDS(F) F(input, "input", Required) F(operator_, "operator", Required)
QC_RECORD(EnumAggregation, QC_ENUM_AGGREGATION_FIELDS)

#define QC_ENUM_TAG_FILTER_SERIES_FIELDS(F) F(input, "input", Required) F(predicate, "predicate", Required)
QC_RECORD(EnumTagFilterSeries, QC_ENUM_TAG_FILTER_SERIES_FIELDS)

// "tagKeys" is a string_constant_set: ordered and free of duplicates whatever the caller gave.
#define QC_ENUM_SELECT_TAGS_SERIES_FIELDS(F) F(input, "input", Required) F(tagKeys, "tagKeys", Collection)
QC_RECORD(EnumSelectTagsSeries, QC_ENUM_SELECT_TAGS_SERIES_FIELDS)

// "window" is a Duration expression, not a DurationConstant.
#define QC_ENUM_TO_START_OF_INTERVAL_SERIES_FIELDS(F) F(input, "input", Required) F(window, "window", Required)
QC_RECORD(EnumToStartOfIntervalSeries, QC_ENUM_TO_START_OF_INTERVAL_SERIES_FIELDS)

#define QC_ENUM_AGGREGATION_FUNCTION_VALUES(E) E(min, "MIN") E(max, "MAX")
QC_ENUM(EnumAggregationFunction, QC_ENUM_AGGREGATION_FUNCTION_VALUES)

// How the inputs of an EnumUnionSeries are combined where they overlap.
#define QC_ENUM_UNION_OPERATION_VALUES(E) E(throw_, "THROW") E(max, "MAX") E(min, "MIN")
QC_ENUM(EnumUnionOperation, QC_ENUM_UNION_OPERATION_VALUES)

}  // namespace qc::model
