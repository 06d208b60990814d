// The Dataset union and the unions of anchors and resource searches.
#pragma once

#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/dataset.h"
#include "quarnel/compute/model/empty.h"

namespace qc::model {

#define QC_VARIANTS(V) \
  V(asset, "asset", Asset) \
  V(run, "run", Run) \
  V(saved, "saved", SavedDataset) \
  V(search, "search", SearchDataset) \
  V(combine, "combine", CombinedDataset) \
  V(tag, "tag", TaggedDataset) \
  V(filter, "filter", FilteredDataset) \
  V(timeShift, "timeShift", TimeShiftedDataset) \
  V(alignByAnchor, "alignByAnchor", AnchorAlignedDataset) \
  V(withSeries, "withSeries", WithSeriesDataset) \
  V(reference, "reference", DatasetReference)
QC_UNION(Dataset, QC_VARIANTS)
#undef QC_VARIANTS

#define QC_VARIANTS(V) \
  V(intervalStart, "intervalStart", Empty) \
  V(intervalEnd, "intervalEnd", Empty)
QC_UNION(IntervalAnchor, QC_VARIANTS)
#undef QC_VARIANTS

#define QC_VARIANTS(V) V(run, "run", IntervalAnchor)
QC_UNION(DatasetAnchor, QC_VARIANTS)
#undef QC_VARIANTS

#define QC_VARIANTS(V) \
  V(assets, "assets", AssetsSearchTarget) \
  V(runs, "runs", RunsSearchTarget)
QC_UNION(SearchTarget, QC_VARIANTS)
#undef QC_VARIANTS

// "and" and "or" hold lists of queries, written even when empty; "not" holds one query.
#define QC_VARIANTS(V) \
  V(properties, "properties", rids::api::PropertiesFilter) \
  V(labels, "labels", rids::api::LabelsFilter) \
  V(workspace, "workspace", StringConstant) \
  V(and_, "and", List<ResourceSearchQuery>) \
  V(or_, "or", List<ResourceSearchQuery>) \
  V(not_, "not", ResourceSearchQuery)
QC_UNION(ResourceSearchQuery, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model
