// The unions of the aggregation builders, operators and user-function sources.
#pragma once

#include "quarnel/compute/model/aggregation.h"

namespace qc::model {

#define QC_AGGREGATION_BUILDER_VARIANTS(V)                   \
  V(rollingTime, "rollingTime", RollingTimeAggregationBuilder) \
  V(rollingPoints, "rollingPoints", RollingPointsAggregationBuilder) \
  V(groupBy, "groupBy", GroupByAggregationBuilder)
QC_UNION(AggregationBuilder, QC_AGGREGATION_BUILDER_VARIANTS)

#define QC_GROUP_BY_TAGS_VARIANTS(V) \
  V(current, "current", EmptyAggregationPayload) V(subset, "subset", GroupBySubsetTags)
QC_UNION(GroupByTags, QC_GROUP_BY_TAGS_VARIANTS)

#define QC_GROUP_BY_TIMESTAMP_VARIANTS(V) \
  V(current, "current", EmptyAggregationPayload) V(every, "every", ::qc::Value /* Duration */)
QC_UNION(GroupByTimestamp, QC_GROUP_BY_TIMESTAMP_VARIANTS)

#define QC_NUMERIC_AGGREGATION_OPERATOR_VARIANTS(V)                 \
  V(sum, "sum", EmptyAggregationPayload)                            \
  V(average, "average", EmptyAggregationPayload)                    \
  V(min, "min", EmptyAggregationPayload)                            \
  V(max, "max", EmptyAggregationPayload)                            \
  V(count, "count", EmptyAggregationPayload)                        \
  V(standardDeviation, "standardDeviation", EmptyAggregationPayload) \
  V(rootMeanSquare, "rootMeanSquare", EmptyAggregationPayload)      \
  V(percentile, "percentile", Percentile)                           \
  V(udf, "udf", NumericAggregationUdf)
QC_UNION(NumericAggregationOperator, QC_NUMERIC_AGGREGATION_OPERATOR_VARIANTS)

#define QC_ENUM_AGGREGATION_OPERATOR_VARIANTS(V) \
  V(min, "min", EmptyAggregationPayload)         \
  V(max, "max", EmptyAggregationPayload)         \
  V(udf, "udf", EnumAggregationUdf)
QC_UNION(EnumAggregationOperator, QC_ENUM_AGGREGATION_OPERATOR_VARIANTS)

#define QC_UDF_SOURCE_VARIANTS(V) V(rust, "rust", RustUdfSource)
QC_UNION(UdfSource, QC_UDF_SOURCE_VARIANTS)

}  // namespace qc::model
