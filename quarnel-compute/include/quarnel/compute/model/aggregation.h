// Aggregations come in two halves: a builder saying over what a series is aggregated (a
// rolling window of time or points, or groups of tags and timestamps) and an operator saying
// which aggregate is taken. These are the records of both halves and of user-function sources.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

// Shared by every aggregation variant that takes no parameters ("sum", "current", ...).
#define QC_EMPTY_AGGREGATION_PAYLOAD_FIELDS(F)
QC_RECORD(EmptyAggregationPayload, QC_EMPTY_AGGREGATION_PAYLOAD_FIELDS)

// input: Series; window: Duration.
#define QC_ROLLING_TIME_AGGREGATION_BUILDER_FIELDS(F) \
  F(input, "input", Required) F(window, "window", Required)
QC_RECORD(RollingTimeAggregationBuilder, QC_ROLLING_TIME_AGGREGATION_BUILDER_FIELDS)

// input: Series; points: IntegerConstant.
#define QC_ROLLING_POINTS_AGGREGATION_BUILDER_FIELDS(F) \
  F(input, "input", Required) F(points, "points", Required)
QC_RECORD(RollingPointsAggregationBuilder, QC_ROLLING_POINTS_AGGREGATION_BUILDER_FIELDS)

// input: Series; tags: GroupByTags; timestamp: GroupByTimestamp.
#define QC_GROUP_BY_AGGREGATION_BUILDER_FIELDS(F) \
  F(input, "input", Required) F(tags, "tags", Required) F(timestamp, "timestamp", Required)
QC_RECORD(GroupByAggregationBuilder, QC_GROUP_BY_AGGREGATION_BUILDER_FIELDS)

// tags: set of StringConstant (qc::string_constant_set).
#define QC_GROUP_BY_SUBSET_TAGS_FIELDS(F) F(tags, "tags", Collection)
QC_RECORD(GroupBySubsetTags, QC_GROUP_BY_SUBSET_TAGS_FIELDS)

// input: AggregationBuilder; operator: NumericAggregationOperator. The field is `operator_`
// because `operator` is reserved.
#define QC_NUMERIC_AGGREGATION_FIELDS(F) \
  F(input, "input", Required) F(operator_, "operator", Required)
QC_RECORD(NumericAggregation, QC_NUMERIC_AGGREGATION_FIELDS)

// percentile: DoubleConstant.
#define QC_PERCENTILE_FIELDS(F) F(percentile, "percentile", Required)
QC_RECORD(Percentile, QC_PERCENTILE_FIELDS)

// source: UdfSource. The numeric and the categorical operator keep distinct types so that a
// categorical user function can never be passed where a numeric one is expected.
#define QC_NUMERIC_AGGREGATION_UDF_FIELDS(F) F(source, "source", Required)
QC_RECORD(NumericAggregationUdf, QC_NUMERIC_AGGREGATION_UDF_FIELDS)
QC_RECORD(EnumAggregationUdf, QC_NUMERIC_AGGREGATION_UDF_FIELDS)

// sourceCode: string, written even when empty.
#define QC_RUST_UDF_SOURCE_FIELDS(F) F(sourceCode, "sourceCode", Required)
QC_RECORD(RustUdfSource, QC_RUST_UDF_SOURCE_FIELDS)

}  // namespace qc::model
