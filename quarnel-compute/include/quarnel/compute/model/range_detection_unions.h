// The small unions that parameterise the range detection nodes.
#pragma once

#include "quarnel/compute/model/range_detection.h"

namespace qc::model {

#define QC_OUTPUT_RANGE_START_VARIANTS(V)                                                  \
  V(firstPointMatchingCondition, "firstPointMatchingCondition", RangeNoParameters)         \
  V(afterPersistenceWindow, "afterPersistenceWindow", RangeNoParameters)
QC_UNION(OutputRangeStart, QC_OUTPUT_RANGE_START_VARIANTS)

#define QC_THRESHOLD_VARIANTS(V) \
  V(absolute, "absolute", AbsoluteThreshold) V(percentage, "percentage", PercentageThreshold)
QC_UNION(Threshold, QC_THRESHOLD_VARIANTS)

// Its own variant set and order; not interchangeable with the aggregation operators elsewhere.
#define QC_RANGE_AGGREGATION_OPERATION_VARIANTS(V)                                            \
  V(sum, "sum", RangeNoParameters) V(rootMeanSquare, "rootMeanSquare", RangeNoParameters)     \
  V(average, "average", RangeNoParameters) V(min, "min", RangeNoParameters)                   \
  V(max, "max", RangeNoParameters) V(standardDeviation, "standardDeviation", RangeNoParameters) \
  V(count, "count", RangeNoParameters) V(all, "all", RangeNoParameters)
QC_UNION(RangeAggregationOperation, QC_RANGE_AGGREGATION_OPERATION_VARIANTS)

}  // namespace qc::model
