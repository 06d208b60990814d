// The small unions that parameterise the range detection nodes.
#pragma once

#include "quarnel/compute/model/empty.h"
#include "quarnel/compute/model/range_detection.h"

namespace qc::model {

#define QC_VARIANTS(V) \
  V(firstPointMatchingCondition, "firstPointMatchingCondition", Empty) \
  V(afterPersistenceWindow, "afterPersistenceWindow", Empty)
QC_UNION(OutputRangeStart, QC_VARIANTS)
#undef QC_VARIANTS

#define QC_VARIANTS(V) \
  V(absolute, "absolute", AbsoluteThreshold) \
  V(percentage, "percentage", PercentageThreshold)
QC_UNION(Threshold, QC_VARIANTS)
#undef QC_VARIANTS

// Its own variant set and order; not interchangeable with the aggregation operators elsewhere.
#define QC_VARIANTS(V) \
  V(sum, "sum", Empty) \
  V(rootMeanSquare, "rootMeanSquare", Empty) \
  V(average, "average", Empty) \
  V(min, "min", Empty) \
  V(max, "max", Empty) \
  V(standardDeviation, "standardDeviation", Empty) \
  V(count, "count", Empty) \
  V(all, "all", Empty)
QC_UNION(RangeAggregationOperation, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model
