// The categorical series union and the two small unions only its nodes use.
#pragma once

#include "quarnel/compute/model/aggregate_nodes.h"
#include "quarnel/compute/model/categorical.h"
#include "quarnel/compute/model/reference.h"
#include "quarnel/compute/model/selection.h"
#include "quarnel/compute/model/struct_series.h"
#include "quarnel/compute/model/value_map.h"

namespace qc::model {

#define QC_ENUM_SERIES_VARIANTS(V)                                                      \
  V(aggregate, "aggregate", AggregateEnumSeries)                                        \
  V(raw, "raw", Reference)                                                              \
  V(channel, "channel", ::qc::Value /* ChannelSeries */)                                \
  V(derived, "derived", ::qc::Value /* DerivedSeries */)                                \
  V(resample, "resample", EnumResampleSeries)                                           \
  V(nthPointDownsample, "nthPointDownsample", EnumNthPointDownsampleSeries)             \
  V(timeRangeFilter, "timeRangeFilter", EnumTimeRangeFilterSeries)                      \
  V(timeShift, "timeShift", EnumTimeShiftSeries)                                        \
  V(union_, "union", EnumUnionSeries)                                                   \
  V(filterTransformation, "filterTransformation", EnumFilterTransformationSeries)       \
  V(valueMap, "valueMap", ValueMapSeries)                                               \
  V(select1dArrayIndex, "select1dArrayIndex", SelectIndexFrom1dEnumArraySeries)         \
  V(extractFromStruct, "extractFromStruct", ExtractEnumFromStructSeries)                \
  V(eventAggregation, "eventAggregation", EventsEnumSeries)                             \
  V(enumAggregation, "enumAggregation", EnumAggregation)                                \
  V(selectEnum, "selectEnum", SelectSeries)                                             \
  V(filterByTag, "filterByTag", EnumTagFilterSeries)                                    \
  V(selectTags, "selectTags", EnumSelectTagsSeries)                                     \
  V(scalarUdf, "scalarUdf", ScalarUdfSeries)                                            \
  V(toStartOfInterval, "toStartOfInterval", EnumToStartOfIntervalSeries)
QC_UNION(EnumSeries, QC_ENUM_SERIES_VARIANTS)

#define QC_ENUM_RESAMPLE_INTERPOLATION_CONFIGURATION_VARIANTS(V)                        \
  V(forwardFillResampleInterpolationConfiguration,                                      \
    "forwardFillResampleInterpolationConfiguration", EnumForwardFillResampleInterpolation) \
  V(constantResampleInterpolationConfiguration, "constantResampleInterpolationConfiguration", \
    EnumConstantResampleInterpolationConfiguration)
QC_UNION(EnumResampleInterpolationConfiguration, QC_ENUM_RESAMPLE_INTERPOLATION_CONFIGURATION_VARIANTS)

#define QC_EVENTS_ENUM_VALUE_SOURCE_VARIANTS(V) \
  V(property, "property", ::qc::Value /* StringConstant */) V(level, "level", EventsEnumLevelSource)
QC_UNION(EventsEnumValueSource, QC_EVENTS_ENUM_VALUE_SOURCE_VARIANTS)

}  // namespace qc::model
