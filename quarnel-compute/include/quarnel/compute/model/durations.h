// Duration expressions: a count of one unit, or a sum, difference or negation of durations.
// There is deliberately no microseconds unit.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

// Each unit record holds its count (an IntegerConstant) under the unit's own name.
#define QC_DURATION_NANOSECONDS_FIELDS(F) F(nanoseconds, "nanoseconds", Required)
QC_RECORD(DurationNanoseconds, QC_DURATION_NANOSECONDS_FIELDS)
#define QC_DURATION_MILLISECONDS_FIELDS(F) F(milliseconds, "milliseconds", Required)
QC_RECORD(DurationMilliseconds, QC_DURATION_MILLISECONDS_FIELDS)
#define QC_DURATION_SECONDS_FIELDS(F) F(seconds, "seconds", Required)
QC_RECORD(DurationSeconds, QC_DURATION_SECONDS_FIELDS)
#define QC_DURATION_MINUTES_FIELDS(F) F(minutes, "minutes", Required)
QC_RECORD(DurationMinutes, QC_DURATION_MINUTES_FIELDS)
#define QC_DURATION_HOURS_FIELDS(F) F(hours, "hours", Required)
QC_RECORD(DurationHours, QC_DURATION_HOURS_FIELDS)
#define QC_DURATION_DAYS_FIELDS(F) F(days, "days", Required)
QC_RECORD(DurationDays, QC_DURATION_DAYS_FIELDS)

// Operands are Duration values.
#define QC_DURATION_BINARY_FIELDS(F) F(left, "left", Required) F(right, "right", Required)
QC_RECORD(DurationAdd, QC_DURATION_BINARY_FIELDS)
QC_RECORD(DurationSubtract, QC_DURATION_BINARY_FIELDS)
#define QC_DURATION_NEGATE_FIELDS(F) F(input, "input", Required)
QC_RECORD(DurationNegate, QC_DURATION_NEGATE_FIELDS)

}  // namespace qc::model
