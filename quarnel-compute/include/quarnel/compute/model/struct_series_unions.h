// StructSeries: the nodes that yield a series of structured values.
#pragma once

#include "quarnel/compute/model/context_unions.h"
#include "quarnel/compute/model/reference.h"
#include "quarnel/compute/model/selection_unions.h"
#include "quarnel/compute/model/struct_series.h"

namespace qc::model {

// "channel" precedes "raw" here, unlike LogSeries.
#define QC_VARIANTS(V) \
  V(channel, "channel", ChannelSeries) \
  V(raw, "raw", Reference) \
  V(derived, "derived", DerivedSeries) \
  V(combine, "combine", CombineStructSeries) \
  V(selectStruct, "selectStruct", SelectSeries) \
  V(extractFromStruct, "extractFromStruct", ExtractStructFromStructSeries) \
  V(toStartOfInterval, "toStartOfInterval", StructToStartOfIntervalSeries) \
  V(timeShift, "timeShift", StructTimeShiftSeries) \
  V(filterByTag, "filterByTag", StructTagFilterSeries) \
  V(selectTags, "selectTags", StructSelectTagsSeries)
QC_UNION(StructSeries, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model
