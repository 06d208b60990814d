// Duration expressions: a count of one unit, or a sum, difference or negation of durations.
// There is deliberately no microseconds unit.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

struct Duration;
struct IntegerConstant;

// Each unit record holds its count under the unit's own name.
#define QC_FIELDS(F) F(nanoseconds, "nanoseconds", IntegerConstant)
QC_RECORD(DurationNanoseconds, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) F(milliseconds, "milliseconds", IntegerConstant)
QC_RECORD(DurationMilliseconds, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) F(seconds, "seconds", IntegerConstant)
QC_RECORD(DurationSeconds, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) F(minutes, "minutes", IntegerConstant)
QC_RECORD(DurationMinutes, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) F(hours, "hours", IntegerConstant)
QC_RECORD(DurationHours, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) F(days, "days", IntegerConstant)
QC_RECORD(DurationDays, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(left, "left", Duration) \
  F(right, "right", Duration)
QC_RECORD(DurationAdd, QC_FIELDS)
QC_RECORD(DurationSubtract, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) F(input, "input", Duration)
QC_RECORD(DurationNegate, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
