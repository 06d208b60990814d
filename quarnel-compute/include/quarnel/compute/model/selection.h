// Selection of stored series, channels, tag filters and tag predicates: the records and the
// enumeration.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

struct Dataset;
struct NumericSeries;
struct Sampling;
struct StringConstant;
struct StringSetConstantV2;
struct TagFilters;
struct TagPredicate;

#define QC_FIELDS(F) \
  F(name, "name", StringConstant) \
  F(dataset, "dataset", Optional<Dataset>) \
  F(sampling, "sampling", Optional<Sampling>)
QC_RECORD(SelectSeries, QC_FIELDS)
#undef QC_FIELDS

// The channel records: "tagsToGroupBy" is a set of plain strings, "groupByTags" a set of
// StringConstant. The asset and run channels share everything from the data scope on; they
// differ only in the rids before it (the run channel's asset rid is optional).
#define QC_GROUPING_(F) \
  F(tagsToGroupBy, "tagsToGroupBy", Set<String>) \
  F(groupByTags, "groupByTags", Set<StringConstant>)
#define QC_FIELDS(F) \
  F(dataSourceRid, "dataSourceRid", StringConstant) \
  F(channel, "channel", StringConstant) \
  F(tags, "tags", Map<String, StringConstant>) \
  F(tagFilters, "tagFilters", Optional<TagFilters>) \
  QC_GROUPING_(F)
QC_RECORD(DataSourceChannel, QC_FIELDS)
#undef QC_FIELDS
#define QC_SCOPED_(F) \
  F(dataScopeName, "dataScopeName", StringConstant) \
  F(channel, "channel", StringConstant) \
  F(additionalTags, "additionalTags", Map<String, StringConstant>) \
  F(additionalTagFilters, "additionalTagFilters", Optional<TagFilters>) \
  QC_GROUPING_(F)
#define QC_FIELDS(F) \
  F(assetRid, "assetRid", StringConstant) \
  QC_SCOPED_(F)
QC_RECORD(AssetChannel, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(runRid, "runRid", StringConstant) \
  F(assetRid, "assetRid", Optional<StringConstant>) \
  QC_SCOPED_(F)
QC_RECORD(RunChannel, QC_FIELDS)
#undef QC_FIELDS
#undef QC_SCOPED_
#undef QC_GROUPING_

#define QC_VALUES(E) \
  E(in, "IN") \
  E(not_in, "NOT_IN")
QC_ENUM(TagFilterOperator, QC_VALUES)
#undef QC_VALUES

#define QC_FIELDS(F) \
  F(key, "key", StringConstant) \
  F(values, "values", Set<StringConstant>) \
  F(operator_, "operator", TagFilterOperator)
QC_RECORD(TagFilter, QC_FIELDS)
#undef QC_FIELDS

// TagIn and TagNotIn share one shape; only the TagPredicate variant tells them apart.
#define QC_FIELDS(F) \
  F(key, "key", StringConstant) \
  F(values, "values", StringSetConstantV2)
QC_RECORD(TagIn, QC_FIELDS)
QC_RECORD(TagNotIn, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(left, "left", TagPredicate) \
  F(right, "right", TagPredicate)
QC_RECORD(TagAnd, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(predicate, "predicate", TagPredicate)
QC_RECORD(NumericTagFilterSeries, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(tagKeys, "tagKeys", Set<StringConstant>)
QC_RECORD(NumericSelectTagsSeries, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
