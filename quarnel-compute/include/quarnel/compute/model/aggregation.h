// Aggregations come in two halves: a builder saying over what a series is aggregated (a
// rolling window of time or points, or groups of tags and timestamps) and an operator saying
// which aggregate is taken. These are the records of both halves and of user-function sources.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

struct AggregationBuilder;
struct DoubleConstant;
struct Duration;
struct GroupByTags;
struct GroupByTimestamp;
struct IntegerConstant;
struct NumericAggregationOperator;
struct Series;
struct StringConstant;
struct UdfSource;

#define QC_FIELDS(F) \
  F(input, "input", Series) \
  F(window, "window", Duration)
QC_RECORD(RollingTimeAggregationBuilder, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(input, "input", Series) \
  F(points, "points", IntegerConstant)
QC_RECORD(RollingPointsAggregationBuilder, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(input, "input", Series) \
  F(tags, "tags", GroupByTags) \
  F(timestamp, "timestamp", GroupByTimestamp)
QC_RECORD(GroupByAggregationBuilder, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) F(tags, "tags", Set<StringConstant>)
QC_RECORD(GroupBySubsetTags, QC_FIELDS)
#undef QC_FIELDS

// The field is `operator_` because `operator` is reserved.
#define QC_FIELDS(F) \
  F(input, "input", AggregationBuilder) \
  F(operator_, "operator", NumericAggregationOperator)
QC_RECORD(NumericAggregation, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) F(percentile, "percentile", DoubleConstant)
QC_RECORD(Percentile, QC_FIELDS)
#undef QC_FIELDS

// The numeric and the categorical operator keep distinct types so that a categorical user
// function can never be passed where a numeric one is expected.
#define QC_FIELDS(F) F(source, "source", UdfSource)
QC_RECORD(NumericAggregationUdf, QC_FIELDS)
QC_RECORD(EnumAggregationUdf, QC_FIELDS)
#undef QC_FIELDS

// Written even when empty.
#define QC_FIELDS(F) F(sourceCode, "sourceCode", String)
QC_RECORD(RustUdfSource, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
