// The Dataset union and the unions of anchors and resource searches.
#pragma once

#include "quarnel/compute/model/dataset.h"

namespace qc::model {

#define QC_DATASET_VARIANTS(V)                                                     \
  V(asset, "asset", Asset)                                                         \
  V(run, "run", Run)                                                               \
  V(saved, "saved", SavedDataset)                                                  \
  V(search, "search", SearchDataset)                                               \
  V(combine, "combine", CombinedDataset)                                           \
  V(tag, "tag", TaggedDataset)                                                     \
  V(filter, "filter", FilteredDataset)                                             \
  V(timeShift, "timeShift", TimeShiftedDataset)                                    \
  V(alignByAnchor, "alignByAnchor", AnchorAlignedDataset)                          \
  V(withSeries, "withSeries", WithSeriesDataset)                                   \
  V(reference, "reference", DatasetReference)
QC_UNION(Dataset, QC_DATASET_VARIANTS)

#define QC_DATASET_ANCHOR_VARIANTS(V) V(run, "run", ::qc::Value) /* IntervalAnchor */
QC_UNION(DatasetAnchor, QC_DATASET_ANCHOR_VARIANTS)

#define QC_INTERVAL_ANCHOR_VARIANTS(V)                                             \
  V(intervalStart, "intervalStart", IntervalAnchorStart)                           \
  V(intervalEnd, "intervalEnd", IntervalAnchorEnd)
QC_UNION(IntervalAnchor, QC_INTERVAL_ANCHOR_VARIANTS)

#define QC_SEARCH_TARGET_VARIANTS(V)                                               \
  V(assets, "assets", AssetsSearchTarget)                                          \
  V(runs, "runs", RunsSearchTarget)
QC_UNION(SearchTarget, QC_SEARCH_TARGET_VARIANTS)

// "and" and "or" hold lists of queries and "not" a single query: all held as a Value.
#define QC_RESOURCE_SEARCH_QUERY_VARIANTS(V)                                       \
  V(properties, "properties", rids::api::PropertiesFilter)                         \
  V(labels, "labels", rids::api::LabelsFilter)                                     \
  V(workspace, "workspace", ::qc::Value) /* StringConstant */                      \
  V(and_, "and", ::qc::Value)            /* list of ResourceSearchQuery */         \
  V(or_, "or", ::qc::Value)              /* list of ResourceSearchQuery */         \
  V(not_, "not", ::qc::Value)            /* ResourceSearchQuery */
QC_UNION(ResourceSearchQuery, QC_RESOURCE_SEARCH_QUERY_VARIANTS)

}  // namespace qc::model
