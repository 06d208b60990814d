// The union of every kind of range-producing node. The order is the wire declaration order,
// which is not alphabetical: "derived" follows "raw" and "paddedRanges" comes last.
#pragma once

#include "quarnel/compute/model/categorical_ranges.h"
#include "quarnel/compute/model/context_unions.h"
#include "quarnel/compute/model/range_detection.h"
#include "quarnel/compute/model/ranges.h"
#include "quarnel/compute/model/reference.h"

namespace qc::model {

#define QC_VARIANTS(V) \
  V(approximateThreshold, "approximateThreshold", ApproximateThresholdRanges) \
  V(durationFilter, "durationFilter", DurationFilterRanges) \
  V(enumFilter, "enumFilter", EnumFilterRanges) \
  V(enumSeriesEqualityRangesNode, "enumSeriesEqualityRangesNode", EnumSeriesEqualityRanges) \
  V(eventsSearch, "eventsSearch", EventsSearchRanges) \
  V(intersectRange, "intersectRange", IntersectRanges) \
  V(literalRanges, "literalRanges", LiteralRanges) \
  V(minMaxThreshold, "minMaxThreshold", MinMaxThresholdRanges) \
  V(not_, "not", NotRanges) \
  V(onChange, "onChange", OnChangeRanges) \
  V(peak, "peak", PeakRanges) \
  V(rangeNumericAggregation, "rangeNumericAggregation", RangesNumericAggregation) \
  V(raw, "raw", Reference) \
  V(derived, "derived", DerivedSeries) \
  V(seriesCrossoverRangesNode, "seriesCrossoverRangesNode", SeriesCrossoverRanges) \
  V(seriesEqualityRangesNode, "seriesEqualityRangesNode", SeriesEqualityRanges) \
  V(stabilityDetection, "stabilityDetection", StabilityDetectionRanges) \
  V(staleRange, "staleRange", StaleRanges) \
  V(threshold, "threshold", ThresholdingRanges) \
  V(unionRange, "unionRange", UnionRanges) \
  V(paddedRanges, "paddedRanges", PaddedRanges)
QC_UNION(RangeSeries, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model
