// Range nodes that detect ranges in numeric and general series, the aggregation of a numeric
// series over ranges, and the configurations and enumerations they share.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

struct ApproximateThresholdOperator;
struct DoubleConstant;
struct DurationConstant;
struct IntegerConstant;
struct InterpolationConfiguration;
struct NumericSeries;
struct OutputRangeStart;
struct RangeAggregationOperation;
struct RangeSeries;
struct Series;
struct Threshold;
struct ThresholdOperator;
struct TimestampConstant;

#define QC_FIELDS(F) \
  F(minPoints, "minPoints", Optional<IntegerConstant>) \
  F(minDuration, "minDuration", Optional<DurationConstant>) \
  F(outputRangeStart, "outputRangeStart", OutputRangeStart)
QC_RECORD(PersistenceWindowConfiguration, QC_FIELDS)
#undef QC_FIELDS

#define QC_PERSISTENCE_WINDOW_(F) \
  F(persistenceWindowConfiguration, "persistenceWindowConfiguration", Optional<PersistenceWindowConfiguration>)

#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(threshold, "threshold", DoubleConstant) \
  F(operator_, "operator", ThresholdOperator) \
  QC_PERSISTENCE_WINDOW_(F)
QC_RECORD(ThresholdingRanges, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(threshold, "threshold", DoubleConstant) \
  F(tolerance, "tolerance", DoubleConstant) \
  F(operator_, "operator", ApproximateThresholdOperator) \
  QC_PERSISTENCE_WINDOW_(F)
QC_RECORD(ApproximateThresholdRanges, QC_FIELDS)
#undef QC_FIELDS

#define QC_VALUES(E) \
  E(outside_bounds, "OUTSIDE_BOUNDS") \
  E(outside_or_equal_to_bounds, "OUTSIDE_OR_EQUAL_TO_BOUNDS") \
  E(inside_bounds, "INSIDE_BOUNDS") \
  E(inside_or_equal_to_bounds, "INSIDE_OR_EQUAL_TO_BOUNDS")
QC_ENUM(MinMaxThresholdOperator, QC_VALUES)
#undef QC_VALUES

#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(lowerBound, "lowerBound", DoubleConstant) \
  F(upperBound, "upperBound", DoubleConstant) \
  F(operator_, "operator", MinMaxThresholdOperator) \
  QC_PERSISTENCE_WINDOW_(F)
QC_RECORD(MinMaxThresholdRanges, QC_FIELDS)
#undef QC_FIELDS

#define QC_VALUES(E) \
  E(peak, "PEAK") \
  E(trough, "TROUGH") \
  E(both, "BOTH")
QC_ENUM(PeakType, QC_VALUES)
#undef QC_VALUES

// "returnsPeaks" is optional, so a present false is written: it is not the same as unset.
#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(returnsPeaks, "returnsPeaks", Optional<Bool>) \
  F(returnType, "returnType", Optional<PeakType>) \
  F(minimumProminence, "minimumProminence", Optional<DoubleConstant>)
QC_RECORD(PeakRanges, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(minPoints, "minPoints", Optional<IntegerConstant>) \
  F(duration, "duration", DurationConstant)
QC_RECORD(StabilityWindowConfiguration, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) F(value, "value", DoubleConstant)
QC_RECORD(AbsoluteThreshold, QC_FIELDS)
QC_RECORD(PercentageThreshold, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(windowConfiguration, "windowConfiguration", StabilityWindowConfiguration) \
  F(threshold, "threshold", Threshold)
QC_RECORD(StabilityDetectionRanges, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", Series) \
  F(threshold, "threshold", DurationConstant) \
  F(startTimestamp, "startTimestamp", Optional<TimestampConstant>) \
  F(endTimestamp, "endTimestamp", Optional<TimestampConstant>)
QC_RECORD(StaleRanges, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(inputA, "inputA", NumericSeries) \
  F(inputB, "inputB", NumericSeries)
QC_RECORD(SeriesCrossoverRanges, QC_FIELDS)
#undef QC_FIELDS

#define QC_VALUES(E) \
  E(all_equal, "ALL_EQUAL") \
  E(not_all_equal, "NOT_ALL_EQUAL")
QC_ENUM(EqualityOperator, QC_VALUES)
#undef QC_VALUES

// The list is keyed "input", not "inputs".
#define QC_FIELDS(F) \
  F(input, "input", List<NumericSeries>) \
  F(equalityOperator, "equalityOperator", EqualityOperator) \
  F(tolerance, "tolerance", Optional<DoubleConstant>) \
  QC_PERSISTENCE_WINDOW_(F) \
  F(interpolationConfiguration, "interpolationConfiguration", Optional<InterpolationConfiguration>)
QC_RECORD(SeriesEqualityRanges, QC_FIELDS)
#undef QC_FIELDS
#undef QC_PERSISTENCE_WINDOW_

#define QC_FIELDS(F) \
  F(ranges, "ranges", RangeSeries) \
  F(input, "input", NumericSeries) \
  F(operation, "operation", RangeAggregationOperation)
QC_RECORD(RangesNumericAggregation, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
