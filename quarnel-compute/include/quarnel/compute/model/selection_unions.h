// The channel union and the two tag trees: TagFilters (a list conjunction of keyed filters)
// and TagPredicate (a binary conjunction of membership tests).
#pragma once

#include "quarnel/compute/model/selection.h"

namespace qc::model {

#define QC_CHANNEL_SERIES_VARIANTS(V)                                              \
  V(dataSource, "dataSource", DataSourceChannel)                                   \
  V(asset, "asset", AssetChannel)                                                  \
  V(run, "run", RunChannel)
QC_UNION(ChannelSeries, QC_CHANNEL_SERIES_VARIANTS)

#define QC_TAG_FILTERS_VARIANTS(V)                                                 \
  V(single, "single", TagFilter)                                                   \
  V(and_, "and", ::qc::Value) /* list of TagFilters */
QC_UNION(TagFilters, QC_TAG_FILTERS_VARIANTS)

#define QC_TAG_PREDICATE_VARIANTS(V)                                               \
  V(in, "in", TagIn)                                                               \
  V(notIn, "notIn", TagNotIn)                                                      \
  V(and_, "and", TagAnd)
QC_UNION(TagPredicate, QC_TAG_PREDICATE_VARIANTS)

}  // namespace qc::model
