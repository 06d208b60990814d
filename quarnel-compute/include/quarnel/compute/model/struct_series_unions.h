// StructSeries: the nodes that yield a series of structured values.
#pragma once

#include "quarnel/compute/model/reference.h"
#include "quarnel/compute/model/selection.h"
#include "quarnel/compute/model/struct_series.h"

namespace qc::model {

// "channel" precedes "raw" here, unlike LogSeries.
#define QC_STRUCT_SERIES_VARIANTS(V)                                        \
  V(channel, "channel", ::qc::Value /* ChannelSeries */)                                \
  V(raw, "raw", Reference)                                                  \
  V(derived, "derived", ::qc::Value /* DerivedSeries */)                    \
  V(combine, "combine", CombineStructSeries)                                \
  V(selectStruct, "selectStruct", SelectSeries)                       \
  V(extractFromStruct, "extractFromStruct", ExtractStructFromStructSeries)  \
  V(toStartOfInterval, "toStartOfInterval", StructToStartOfIntervalSeries)  \
  V(timeShift, "timeShift", StructTimeShiftSeries)                          \
  V(filterByTag, "filterByTag", StructTagFilterSeries)                      \
  V(selectTags, "selectTags", StructSelectTagsSeries)
QC_UNION(StructSeries, QC_STRUCT_SERIES_VARIANTS)

}  // namespace qc::model
