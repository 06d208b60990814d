// The unions of the aggregation builders, operators and user-function sources.
#pragma once

#include "quarnel/compute/model/aggregation.h"
#include "quarnel/compute/model/durations_unions.h"
#include "quarnel/compute/model/empty.h"

namespace qc::model {

#define QC_VARIANTS(V) \
  V(rollingTime, "rollingTime", RollingTimeAggregationBuilder) \
  V(rollingPoints, "rollingPoints", RollingPointsAggregationBuilder) \
  V(groupBy, "groupBy", GroupByAggregationBuilder)
QC_UNION(AggregationBuilder, QC_VARIANTS)
#undef QC_VARIANTS

#define QC_VARIANTS(V) \
  V(current, "current", Empty) \
  V(subset, "subset", GroupBySubsetTags)
QC_UNION(GroupByTags, QC_VARIANTS)
#undef QC_VARIANTS

// The duration itself is the payload of "every", not a record around it.
#define QC_VARIANTS(V) \
  V(current, "current", Empty) \
  V(every, "every", Duration)
QC_UNION(GroupByTimestamp, QC_VARIANTS)
#undef QC_VARIANTS

#define QC_VARIANTS(V) \
  V(sum, "sum", Empty) \
  V(average, "average", Empty) \
  V(min, "min", Empty) \
  V(max, "max", Empty) \
  V(count, "count", Empty) \
  V(standardDeviation, "standardDeviation", Empty) \
  V(rootMeanSquare, "rootMeanSquare", Empty) \
  V(percentile, "percentile", Percentile) \
  V(udf, "udf", NumericAggregationUdf)
QC_UNION(NumericAggregationOperator, QC_VARIANTS)
#undef QC_VARIANTS

#define QC_VARIANTS(V) \
  V(min, "min", Empty) \
  V(max, "max", Empty) \
  V(udf, "udf", EnumAggregationUdf)
QC_UNION(EnumAggregationOperator, QC_VARIANTS)
#undef QC_VARIANTS

#define QC_VARIANTS(V) V(rust, "rust", RustUdfSource)
QC_UNION(UdfSource, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model
