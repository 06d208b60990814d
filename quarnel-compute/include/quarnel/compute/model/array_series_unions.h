// ArraySeries and the numeric and categorical one-dimensional array unions it holds.
#pragma once

#include "quarnel/compute/model/array_series.h"
#include "quarnel/compute/model/context_unions.h"
#include "quarnel/compute/model/reference.h"
#include "quarnel/compute/model/selection_unions.h"
#include "quarnel/compute/model/struct_series.h"

namespace qc::model {

// Both array unions share one order; only the selection variant's name and the payload types
// of the element kind differ.
#define QC_VARIANTS(V) \
  V(channel, "channel", ChannelSeries) \
  V(raw, "raw", Reference) \
  V(derived, "derived", DerivedSeries) \
  V(selectNumeric1dArray, "selectNumeric1dArray", SelectSeries) \
  V(extractFromStruct, "extractFromStruct", ExtractNumeric1dArrayFromStructSeries) \
  V(toStartOfInterval, "toStartOfInterval", Numeric1dArrayToStartOfIntervalSeries) \
  V(timeShift, "timeShift", Numeric1dArrayTimeShiftSeries) \
  V(filterByTag, "filterByTag", Numeric1dArrayTagFilterSeries) \
  V(selectTags, "selectTags", Numeric1dArraySelectTagsSeries)
QC_UNION(Numeric1dArraySeries, QC_VARIANTS)
#undef QC_VARIANTS

#define QC_VARIANTS(V) \
  V(channel, "channel", ChannelSeries) \
  V(raw, "raw", Reference) \
  V(derived, "derived", DerivedSeries) \
  V(selectEnum1dArray, "selectEnum1dArray", SelectSeries) \
  V(extractFromStruct, "extractFromStruct", ExtractEnum1dArrayFromStructSeries) \
  V(toStartOfInterval, "toStartOfInterval", Enum1dArrayToStartOfIntervalSeries) \
  V(timeShift, "timeShift", Enum1dArrayTimeShiftSeries) \
  V(filterByTag, "filterByTag", Enum1dArrayTagFilterSeries) \
  V(selectTags, "selectTags", Enum1dArraySelectTagsSeries)
QC_UNION(Enum1dArraySeries, QC_VARIANTS)
#undef QC_VARIANTS

// The payload of each variant is the inner array union itself.
#define QC_VARIANTS(V) \
  V(numeric1d, "numeric1d", Numeric1dArraySeries) \
  V(enum1d, "enum1d", Enum1dArraySeries)
QC_UNION(ArraySeries, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model
