// Datasets (where a selected series is looked up) and the resource search that a search
// dataset covers: the records and enumerations.
#pragma once

#include "quarnel/compute/model/decl.h"
#include "quarnel/compute/model/names.h"

namespace qc::model {

struct Dataset;
struct DatasetAnchor;
struct Duration;
struct ResourceSearchQuery;
struct SearchTarget;
struct Series;
struct StringConstant;
struct TagPredicate;

// Asset, Run and SavedDataset share one shape; only the Dataset variant tells them apart.
#define QC_FIELDS(F) F(rid, "rid", StringConstant)
QC_RECORD(Asset, QC_FIELDS)
QC_RECORD(Run, QC_FIELDS)
QC_RECORD(SavedDataset, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) F(name, "name", StringConstant)
QC_RECORD(DatasetReference, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) F(inputs, "inputs", List<Dataset>)
QC_RECORD(CombinedDataset, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(input, "input", Dataset) \
  F(key, "key", StringConstant) \
  F(value, "value", StringConstant)
QC_RECORD(TaggedDataset, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(input, "input", Dataset) \
  F(predicate, "predicate", TagPredicate)
QC_RECORD(FilteredDataset, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(input, "input", Dataset) \
  F(offset, "offset", Duration)
QC_RECORD(TimeShiftedDataset, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(input, "input", Dataset) \
  F(anchor, "anchor", DatasetAnchor)
QC_RECORD(AnchorAlignedDataset, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(name, "name", StringConstant) \
  F(definition, "definition", Series)
QC_RECORD(NamedSeries, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(input, "input", Dataset) \
  F(series, "series", List<NamedSeries>)
QC_RECORD(WithSeriesDataset, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(target, "target", SearchTarget) \
  F(maxResults, "maxResults", Optional<I32>)
QC_RECORD(SearchDataset, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) F(query, "query", ResourceSearchQuery)
QC_RECORD(AssetsSearchTarget, QC_FIELDS)
QC_RECORD(RunsSearchTarget, QC_FIELDS)
#undef QC_FIELDS

// The labels filter's operator is a type of the model's own package, unlike the two filters.
#define QC_VALUES(E) \
  E(and_, "AND") \
  E(or_, "OR")
QC_ENUM(LabelsFilterOperator, QC_VALUES)
#undef QC_VALUES

namespace rids::api {
#define QC_FIELDS(F) \
  F(name, "name", String) \
  F(values, "values", List<model::api::PropertyValue>)
QC_RECORD(PropertiesFilter, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(operator_, "operator", LabelsFilterOperator) \
  F(labels, "labels", List<model::api::Label>)
QC_RECORD(LabelsFilter, QC_FIELDS)
#undef QC_FIELDS
}  // namespace rids::api

}  // namespace qc::model
