// Datasets (where a selected series is looked up) and the resource search that a search
// dataset covers: the records and enumerations. The unions are in dataset_unions.h.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

// Asset, Run and SavedDataset share one shape; only the Dataset variant tells them apart.
#define QC_DATASET_RID_FIELDS(F) F(rid, "rid", Required) /* StringConstant */
QC_RECORD(Asset, QC_DATASET_RID_FIELDS)
QC_RECORD(Run, QC_DATASET_RID_FIELDS)
QC_RECORD(SavedDataset, QC_DATASET_RID_FIELDS)

#define QC_DATASET_REFERENCE_FIELDS(F) F(name, "name", Required) /* StringConstant */
QC_RECORD(DatasetReference, QC_DATASET_REFERENCE_FIELDS)

#define QC_COMBINED_DATASET_FIELDS(F) F(inputs, "inputs", Collection) /* list of Dataset */
QC_RECORD(CombinedDataset, QC_COMBINED_DATASET_FIELDS)

#define QC_TAGGED_DATASET_FIELDS(F)                                                \
  F(input, "input", Required) /* Dataset */                                        \
  F(key, "key", Required)     /* StringConstant */                                 \
  F(value, "value", Required) /* StringConstant */
QC_RECORD(TaggedDataset, QC_TAGGED_DATASET_FIELDS)

#define QC_FILTERED_DATASET_FIELDS(F)                                              \
  F(input, "input", Required)        /* Dataset */                                 \
  F(predicate, "predicate", Required) /* TagPredicate */
QC_RECORD(FilteredDataset, QC_FILTERED_DATASET_FIELDS)

#define QC_TIME_SHIFTED_DATASET_FIELDS(F)                                          \
  F(input, "input", Required)   /* Dataset */                                      \
  F(offset, "offset", Required) /* Duration (the expression union) */
QC_RECORD(TimeShiftedDataset, QC_TIME_SHIFTED_DATASET_FIELDS)

#define QC_ANCHOR_ALIGNED_DATASET_FIELDS(F)                                        \
  F(input, "input", Required)   /* Dataset */                                      \
  F(anchor, "anchor", Required) /* DatasetAnchor */
QC_RECORD(AnchorAlignedDataset, QC_ANCHOR_ALIGNED_DATASET_FIELDS)

#define QC_WITH_SERIES_DATASET_FIELDS(F)                                           \
  F(input, "input", Required)     /* Dataset */                                    \
  F(series, "series", Collection) /* list of NamedSeries */
QC_RECORD(WithSeriesDataset, QC_WITH_SERIES_DATASET_FIELDS)

#define QC_NAMED_SERIES_FIELDS(F)                                                  \
  F(name, "name", Required)            /* StringConstant */                        \
  F(definition, "definition", Required) /* Series */
QC_RECORD(NamedSeries, QC_NAMED_SERIES_FIELDS)

// The two IntervalAnchor variants carry nothing but their name.
#define QC_INTERVAL_ANCHOR_START_FIELDS(F)
QC_RECORD(IntervalAnchorStart, QC_INTERVAL_ANCHOR_START_FIELDS)
#define QC_INTERVAL_ANCHOR_END_FIELDS(F)
QC_RECORD(IntervalAnchorEnd, QC_INTERVAL_ANCHOR_END_FIELDS)

#define QC_SEARCH_DATASET_FIELDS(F)                                                \
  F(target, "target", Required)        /* SearchTarget */                          \
  F(maxResults, "maxResults", Optional) /* 32-bit integer */
QC_RECORD(SearchDataset, QC_SEARCH_DATASET_FIELDS)

#define QC_SEARCH_TARGET_QUERY_FIELDS(F) F(query, "query", Required) /* ResourceSearchQuery */
QC_RECORD(AssetsSearchTarget, QC_SEARCH_TARGET_QUERY_FIELDS)
QC_RECORD(RunsSearchTarget, QC_SEARCH_TARGET_QUERY_FIELDS)

// The labels filter's operator is a type of the model's own package, unlike the two filters.
#define QC_LABELS_FILTER_OPERATOR_VALUES(E) E(and_, "AND") E(or_, "OR")
QC_ENUM(LabelsFilterOperator, QC_LABELS_FILTER_OPERATOR_VALUES)

namespace rids::api {

#define QC_PROPERTIES_FILTER_FIELDS(F)                                             \
  F(name, "name", Required)       /* string */                                     \
  F(values, "values", Collection) /* list of api::PropertyValue */
QC_RECORD(PropertiesFilter, QC_PROPERTIES_FILTER_FIELDS)

#define QC_LABELS_FILTER_FIELDS(F)                                                 \
  F(operator_, "operator", Required) /* LabelsFilterOperator */                    \
  F(labels, "labels", Collection)    /* list of api::Label */
QC_RECORD(LabelsFilter, QC_LABELS_FILTER_FIELDS)

}  // namespace rids::api

}  // namespace qc::model
