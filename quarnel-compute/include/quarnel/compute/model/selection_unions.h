// The channel union and the two tag trees: TagFilters (a list conjunction of keyed filters)
// and TagPredicate (a binary conjunction of membership tests).
#pragma once

#include "quarnel/compute/model/selection.h"

namespace qc::model {

#define QC_VARIANTS(V) \
  V(dataSource, "dataSource", DataSourceChannel) \
  V(asset, "asset", AssetChannel) \
  V(run, "run", RunChannel)
QC_UNION(ChannelSeries, QC_VARIANTS)
#undef QC_VARIANTS

#define QC_VARIANTS(V) \
  V(single, "single", TagFilter) \
  V(and_, "and", List<TagFilters>)
QC_UNION(TagFilters, QC_VARIANTS)
#undef QC_VARIANTS

#define QC_VARIANTS(V) \
  V(in, "in", TagIn) \
  V(notIn, "notIn", TagNotIn) \
  V(and_, "and", TagAnd)
QC_UNION(TagPredicate, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model
