// Selection of stored series, channels, tag filters and tag predicates: the records and the
// enumeration. The unions are in selection_unions.h.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

#define QC_SELECT_SERIES_FIELDS(F)                                                 \
  F(name, "name", Required)         /* StringConstant */                           \
  F(dataset, "dataset", Optional)   /* Dataset */                                  \
  F(sampling, "sampling", Optional) /* Sampling */
QC_RECORD(SelectSeries, QC_SELECT_SERIES_FIELDS)

// The channel records: "tagsToGroupBy" is a set of plain strings (bytewise), "groupByTags" a
// set of StringConstant; the maps are keyed by plain strings.
#define QC_DATA_SOURCE_CHANNEL_FIELDS(F)                                           \
  F(dataSourceRid, "dataSourceRid", Required) /* StringConstant */                 \
  F(channel, "channel", Required)             /* StringConstant */                 \
  F(tags, "tags", Collection)                 /* map string -> StringConstant */   \
  F(tagFilters, "tagFilters", Optional)       /* TagFilters */                     \
  F(tagsToGroupBy, "tagsToGroupBy", Collection)                                    \
  F(groupByTags, "groupByTags", Collection)
QC_RECORD(DataSourceChannel, QC_DATA_SOURCE_CHANNEL_FIELDS)

// The asset and run channels share everything from the data scope on; they differ only in
// the rids before it (the run channel's asset rid is optional).
#define QC_SCOPED_CHANNEL_FIELDS(F)                                                \
  F(dataScopeName, "dataScopeName", Required)                                      \
  F(channel, "channel", Required)                                                  \
  F(additionalTags, "additionalTags", Collection)                                  \
  F(additionalTagFilters, "additionalTagFilters", Optional)                        \
  F(tagsToGroupBy, "tagsToGroupBy", Collection)                                    \
  F(groupByTags, "groupByTags", Collection)

#define QC_ASSET_CHANNEL_FIELDS(F) F(assetRid, "assetRid", Required) QC_SCOPED_CHANNEL_FIELDS(F)
QC_RECORD(AssetChannel, QC_ASSET_CHANNEL_FIELDS)

#define QC_RUN_CHANNEL_FIELDS(F) \
  F(runRid, "runRid", Required) F(assetRid, "assetRid", Optional) QC_SCOPED_CHANNEL_FIELDS(F)
QC_RECORD(RunChannel, QC_RUN_CHANNEL_FIELDS)

#define QC_TAG_FILTER_OPERATOR_VALUES(E) E(in, "IN") E(notIn, "NOT_IN")
QC_ENUM(TagFilterOperator, QC_TAG_FILTER_OPERATOR_VALUES)

#define QC_TAG_FILTER_FIELDS(F)                                                    \
  F(key, "key", Required)           /* StringConstant */                           \
  F(values, "values", Collection)   /* set of StringConstant */                    \
  F(operator_, "operator", Required) /* TagFilterOperator */
QC_RECORD(TagFilter, QC_TAG_FILTER_FIELDS)

// TagIn and TagNotIn share one shape; only the TagPredicate variant tells them apart.
#define QC_TAG_MEMBERSHIP_FIELDS(F)                                                \
  F(key, "key", Required)      /* StringConstant */                                \
  F(values, "values", Required) /* StringSetConstantV2 */
QC_RECORD(TagIn, QC_TAG_MEMBERSHIP_FIELDS)
QC_RECORD(TagNotIn, QC_TAG_MEMBERSHIP_FIELDS)

#define QC_TAG_AND_FIELDS(F) F(left, "left", Required) F(right, "right", Required) /* TagPredicate */
QC_RECORD(TagAnd, QC_TAG_AND_FIELDS)

#define QC_NUMERIC_TAG_FILTER_SERIES_FIELDS(F)                                     \
  F(input, "input", Required)        /* NumericSeries */                           \
  F(predicate, "predicate", Required) /* TagPredicate */
QC_RECORD(NumericTagFilterSeries, QC_NUMERIC_TAG_FILTER_SERIES_FIELDS)

#define QC_NUMERIC_SELECT_TAGS_SERIES_FIELDS(F)                                    \
  F(input, "input", Required)       /* NumericSeries */                            \
  F(tagKeys, "tagKeys", Collection) /* set of StringConstant */
QC_RECORD(NumericSelectTagsSeries, QC_NUMERIC_SELECT_TAGS_SERIES_FIELDS)

}  // namespace qc::model
