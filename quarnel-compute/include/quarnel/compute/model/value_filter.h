// Numeric nodes that keep or drop points by their value or time, and the comparisons they name.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

#define QC_THRESHOLD_OPERATOR_VALUES(E)                                                     \
  E(greater_than, "GREATER_THAN") E(greater_than_or_equal_to, "GREATER_THAN_OR_EQUAL_TO")   \
  E(less_than, "LESS_THAN") E(less_than_or_equal_to, "LESS_THAN_OR_EQUAL_TO")               \
  E(equal_to, "EQUAL_TO") E(not_equal_to, "NOT_EQUAL_TO")
QC_ENUM(ThresholdOperator, QC_THRESHOLD_OPERATOR_VALUES)

// Only equality makes sense within a tolerance, so this is a type of its own rather than a
// subset of ThresholdOperator: "GREATER_THAN" is an unknown value here.
#define QC_APPROXIMATE_THRESHOLD_OPERATOR_VALUES(E) E(equal_to, "EQUAL_TO") E(not_equal_to, "NOT_EQUAL_TO")
QC_ENUM(ApproximateThresholdOperator, QC_APPROXIMATE_THRESHOLD_OPERATOR_VALUES)

// input: NumericSeries; threshold: DoubleConstant; operator: ThresholdOperator.
#define QC_NUMERIC_THRESHOLD_FILTER_SERIES_FIELDS(F) \
  F(input, "input", Required) F(threshold, "threshold", Required) F(operator_, "operator", Required)
QC_RECORD(NumericThresholdFilterSeries, QC_NUMERIC_THRESHOLD_FILTER_SERIES_FIELDS)

// input: NumericSeries; threshold, tolerance: DoubleConstant;
// operator: ApproximateThresholdOperator.
#define QC_NUMERIC_APPROXIMATE_FILTER_SERIES_FIELDS(F)                     \
  F(input, "input", Required) F(threshold, "threshold", Required)          \
  F(tolerance, "tolerance", Required) F(operator_, "operator", Required)
QC_RECORD(NumericApproximateFilterSeries, QC_NUMERIC_APPROXIMATE_FILTER_SERIES_FIELDS)

// input: NumericSeries; startTime, endTime: TimestampConstant. A missing bound leaves that
// side open.
#define QC_NUMERIC_TIME_RANGE_FILTER_SERIES_FIELDS(F) \
  F(input, "input", Required) F(startTime, "startTime", Optional) F(endTime, "endTime", Optional)
QC_RECORD(NumericTimeRangeFilterSeries, QC_NUMERIC_TIME_RANGE_FILTER_SERIES_FIELDS)

// input: NumericSeries.
#define QC_NUMERIC_NAN_FILTER_FIELDS(F) F(input, "input", Required)
QC_RECORD(NumericNanFilter, QC_NUMERIC_NAN_FILTER_FIELDS)

// base, expression: plain strings; inputs: map from LocalVariableName to NumericSeries, binding
// the names the expression uses; interpolationConfiguration: InterpolationConfiguration.
#define QC_FILTER_BY_EXPRESSION_SERIES_FIELDS(F)                                      \
  F(base, "base", Required) F(inputs, "inputs", Collection)                           \
  F(expression, "expression", Required)                                               \
  F(interpolationConfiguration, "interpolationConfiguration", Optional)
QC_RECORD(FilterByExpressionSeries, QC_FILTER_BY_EXPRESSION_SERIES_FIELDS)

}  // namespace qc::model
