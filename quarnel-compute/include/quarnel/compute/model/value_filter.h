// Numeric nodes that keep or drop points by their value or time, and the comparisons they name.
#pragma once

#include "quarnel/compute/model/decl.h"
#include "quarnel/compute/model/names.h"

namespace qc::model {

struct DoubleConstant;
struct InterpolationConfiguration;
struct NumericSeries;
struct TimestampConstant;

#define QC_VALUES(E) \
  E(greater_than, "GREATER_THAN") \
  E(greater_than_or_equal_to, "GREATER_THAN_OR_EQUAL_TO") \
  E(less_than, "LESS_THAN") \
  E(less_than_or_equal_to, "LESS_THAN_OR_EQUAL_TO") \
  E(equal_to, "EQUAL_TO") \
  E(not_equal_to, "NOT_EQUAL_TO")
QC_ENUM(ThresholdOperator, QC_VALUES)
#undef QC_VALUES

// Only equality makes sense within a tolerance, so this is a type of its own rather than a
// subset of ThresholdOperator: "GREATER_THAN" is an unknown value here.
#define QC_VALUES(E) \
  E(equal_to, "EQUAL_TO") \
  E(not_equal_to, "NOT_EQUAL_TO")
QC_ENUM(ApproximateThresholdOperator, QC_VALUES)
#undef QC_VALUES

#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(threshold, "threshold", DoubleConstant) \
  F(operator_, "operator", ThresholdOperator)
QC_RECORD(NumericThresholdFilterSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(threshold, "threshold", DoubleConstant) \
  F(tolerance, "tolerance", DoubleConstant) \
  F(operator_, "operator", ApproximateThresholdOperator)
QC_RECORD(NumericApproximateFilterSeries, QC_FIELDS)
#undef QC_FIELDS

// A missing bound leaves that side open.
#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(startTime, "startTime", Optional<TimestampConstant>) \
  F(endTime, "endTime", Optional<TimestampConstant>)
QC_RECORD(NumericTimeRangeFilterSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) F(input, "input", NumericSeries)
QC_RECORD(NumericNanFilter, QC_FIELDS)
#undef QC_FIELDS

// "base" and "expression" are plain strings; "inputs" binds the names the expression uses.
#define QC_FIELDS(F) \
  F(base, "base", String) \
  F(inputs, "inputs", Map<LocalVariableName, NumericSeries>) \
  F(expression, "expression", String) \
  F(interpolationConfiguration, "interpolationConfiguration", Optional<InterpolationConfiguration>)
QC_RECORD(FilterByExpressionSeries, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
