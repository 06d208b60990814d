// The categorical series union and the two small unions only its nodes use.
#pragma once

#include "quarnel/compute/model/aggregate_nodes.h"
#include "quarnel/compute/model/categorical.h"
#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/context_unions.h"
#include "quarnel/compute/model/empty.h"
#include "quarnel/compute/model/reference.h"
#include "quarnel/compute/model/selection_unions.h"
#include "quarnel/compute/model/struct_series.h"
#include "quarnel/compute/model/value_map.h"

namespace qc::model {

#define QC_VARIANTS(V) \
  V(aggregate, "aggregate", AggregateEnumSeries) \
  V(raw, "raw", Reference) \
  V(channel, "channel", ChannelSeries) \
  V(derived, "derived", DerivedSeries) \
  V(resample, "resample", EnumResampleSeries) \
  V(nthPointDownsample, "nthPointDownsample", EnumNthPointDownsampleSeries) \
  V(timeRangeFilter, "timeRangeFilter", EnumTimeRangeFilterSeries) \
  V(timeShift, "timeShift", EnumTimeShiftSeries) \
  V(union_, "union", EnumUnionSeries) \
  V(filterTransformation, "filterTransformation", EnumFilterTransformationSeries) \
  V(valueMap, "valueMap", ValueMapSeries) \
  V(select1dArrayIndex, "select1dArrayIndex", SelectIndexFrom1dEnumArraySeries) \
  V(extractFromStruct, "extractFromStruct", ExtractEnumFromStructSeries) \
  V(eventAggregation, "eventAggregation", EventsEnumSeries) \
  V(enumAggregation, "enumAggregation", EnumAggregation) \
  V(selectEnum, "selectEnum", SelectSeries) \
  V(filterByTag, "filterByTag", EnumTagFilterSeries) \
  V(selectTags, "selectTags", EnumSelectTagsSeries) \
  V(scalarUdf, "scalarUdf", ScalarUdfSeries) \
  V(toStartOfInterval, "toStartOfInterval", EnumToStartOfIntervalSeries)
QC_UNION(EnumSeries, QC_VARIANTS)
#undef QC_VARIANTS

// Same variant names as the numeric resample union, but a type of its own.
#define QC_VARIANTS(V) \
  V(forwardFillResampleInterpolationConfiguration, "forwardFillResampleInterpolationConfiguration", Empty) \
  V(constantResampleInterpolationConfiguration, "constantResampleInterpolationConfiguration", EnumConstantResampleInterpolationConfiguration)
QC_UNION(EnumResampleInterpolationConfiguration, QC_VARIANTS)
#undef QC_VARIANTS

#define QC_VARIANTS(V) \
  V(property, "property", StringConstant) \
  V(level, "level", Empty)
QC_UNION(EventsEnumValueSource, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model
