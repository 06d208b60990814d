// Range nodes that detect ranges in numeric and general series, the aggregation of a numeric
// series over ranges, and the configurations and enumerations they share. Their small unions
// are in range_detection_unions.h.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

// The payload of every option that carries no parameters.
#define QC_RANGE_NO_PARAMETERS_FIELDS(F)
QC_RECORD(RangeNoParameters, QC_RANGE_NO_PARAMETERS_FIELDS)

#define QC_PERSISTENCE_WINDOW_CONFIGURATION_FIELDS(F)                          \
  F(minPoints, "minPoints", Optional)               /* IntegerConstant */      \
  F(minDuration, "minDuration", Optional)           /* DurationConstant */     \
  F(outputRangeStart, "outputRangeStart", Required) /* OutputRangeStart */
QC_RECORD(PersistenceWindowConfiguration, QC_PERSISTENCE_WINDOW_CONFIGURATION_FIELDS)

#define QC_THRESHOLDING_RANGES_FIELDS(F)                                                     \
  F(input, "input", Required)         /* NumericSeries */                                    \
  F(threshold, "threshold", Required) /* DoubleConstant */                                   \
  F(operator_, "operator", Required)  /* ThresholdOperator */                                \
  F(persistenceWindowConfiguration, "persistenceWindowConfiguration", Optional)
QC_RECORD(ThresholdingRanges, QC_THRESHOLDING_RANGES_FIELDS)

#define QC_APPROXIMATE_THRESHOLD_RANGES_FIELDS(F)                                            \
  F(input, "input", Required)         /* NumericSeries */                                    \
  F(threshold, "threshold", Required) /* DoubleConstant */                                   \
  F(tolerance, "tolerance", Required) /* DoubleConstant */                                   \
  F(operator_, "operator", Required)  /* ApproximateThresholdOperator */                     \
  F(persistenceWindowConfiguration, "persistenceWindowConfiguration", Optional)
QC_RECORD(ApproximateThresholdRanges, QC_APPROXIMATE_THRESHOLD_RANGES_FIELDS)

#define QC_MIN_MAX_THRESHOLD_OPERATOR_VALUES(E)                                          \
  E(outside_bounds, "OUTSIDE_BOUNDS") E(outside_or_equal_to_bounds, "OUTSIDE_OR_EQUAL_TO_BOUNDS") \
  E(inside_bounds, "INSIDE_BOUNDS") E(inside_or_equal_to_bounds, "INSIDE_OR_EQUAL_TO_BOUNDS")
QC_ENUM(MinMaxThresholdOperator, QC_MIN_MAX_THRESHOLD_OPERATOR_VALUES)

#define QC_MIN_MAX_THRESHOLD_RANGES_FIELDS(F)                                                \
  F(input, "input", Required)           /* NumericSeries */                                  \
  F(lowerBound, "lowerBound", Required) /* DoubleConstant */                                 \
  F(upperBound, "upperBound", Required) /* DoubleConstant */                                 \
  F(operator_, "operator", Required)    /* MinMaxThresholdOperator */                        \
  F(persistenceWindowConfiguration, "persistenceWindowConfiguration", Optional)
QC_RECORD(MinMaxThresholdRanges, QC_MIN_MAX_THRESHOLD_RANGES_FIELDS)

#define QC_PEAK_TYPE_VALUES(E) E(peak, "PEAK") E(trough, "TROUGH") E(both, "BOTH")
QC_ENUM(PeakType, QC_PEAK_TYPE_VALUES)

// "returnsPeaks" is optional, so a present false is written: it is not the same as unset.
#define QC_PEAK_RANGES_FIELDS(F)                                                \
  F(input, "input", Required)                         /* NumericSeries */       \
  F(returnsPeaks, "returnsPeaks", Optional)           /* boolean */             \
  F(returnType, "returnType", Optional)               /* PeakType */            \
  F(minimumProminence, "minimumProminence", Optional) /* DoubleConstant */
QC_RECORD(PeakRanges, QC_PEAK_RANGES_FIELDS)

#define QC_STABILITY_WINDOW_CONFIGURATION_FIELDS(F)              \
  F(minPoints, "minPoints", Optional) /* IntegerConstant */      \
  F(duration, "duration", Required)   /* DurationConstant */
QC_RECORD(StabilityWindowConfiguration, QC_STABILITY_WINDOW_CONFIGURATION_FIELDS)

#define QC_ABSOLUTE_THRESHOLD_FIELDS(F) F(value, "value", Required) /* DoubleConstant */
QC_RECORD(AbsoluteThreshold, QC_ABSOLUTE_THRESHOLD_FIELDS)

#define QC_PERCENTAGE_THRESHOLD_FIELDS(F) F(value, "value", Required) /* DoubleConstant */
QC_RECORD(PercentageThreshold, QC_PERCENTAGE_THRESHOLD_FIELDS)

#define QC_STABILITY_DETECTION_RANGES_FIELDS(F)                                          \
  F(input, "input", Required)                             /* NumericSeries */            \
  F(windowConfiguration, "windowConfiguration", Required) /* StabilityWindowConfiguration */ \
  F(threshold, "threshold", Required)                     /* Threshold */
QC_RECORD(StabilityDetectionRanges, QC_STABILITY_DETECTION_RANGES_FIELDS)

#define QC_STALE_RANGES_FIELDS(F)                                              \
  F(input, "input", Required)                   /* Series */                   \
  F(threshold, "threshold", Required)           /* DurationConstant */         \
  F(startTimestamp, "startTimestamp", Optional) /* TimestampConstant */        \
  F(endTimestamp, "endTimestamp", Optional)     /* TimestampConstant */
QC_RECORD(StaleRanges, QC_STALE_RANGES_FIELDS)

#define QC_SERIES_CROSSOVER_RANGES_FIELDS(F)                    \
  F(inputA, "inputA", Required) /* NumericSeries */             \
  F(inputB, "inputB", Required) /* NumericSeries */
QC_RECORD(SeriesCrossoverRanges, QC_SERIES_CROSSOVER_RANGES_FIELDS)

#define QC_EQUALITY_OPERATOR_VALUES(E) E(all_equal, "ALL_EQUAL") E(not_all_equal, "NOT_ALL_EQUAL")
QC_ENUM(EqualityOperator, QC_EQUALITY_OPERATOR_VALUES)

// The list is keyed "input", not "inputs".
#define QC_SERIES_EQUALITY_RANGES_FIELDS(F)                                             \
  F(input, "input", Collection)                   /* list of NumericSeries */           \
  F(equalityOperator, "equalityOperator", Required) /* EqualityOperator */              \
  F(tolerance, "tolerance", Optional)             /* DoubleConstant */                  \
  F(persistenceWindowConfiguration, "persistenceWindowConfiguration", Optional)         \
  F(interpolationConfiguration, "interpolationConfiguration", Optional)
QC_RECORD(SeriesEqualityRanges, QC_SERIES_EQUALITY_RANGES_FIELDS)

#define QC_RANGES_NUMERIC_AGGREGATION_FIELDS(F)                                 \
  F(ranges, "ranges", Required)       /* RangeSeries */                         \
  F(input, "input", Required)         /* NumericSeries */                       \
  F(operation, "operation", Required) /* RangeAggregationOperation */
QC_RECORD(RangesNumericAggregation, QC_RANGES_NUMERIC_AGGREGATION_FIELDS)

}  // namespace qc::model
