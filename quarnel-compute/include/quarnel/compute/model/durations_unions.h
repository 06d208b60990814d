// The Duration union.
#pragma once

#include "quarnel/compute/model/durations.h"
#include "quarnel/compute/model/reference.h"

namespace qc::model {

#define QC_VARIANTS(V) \
  V(reference, "reference", Reference) \
  V(nanoseconds, "nanoseconds", DurationNanoseconds) \
  V(milliseconds, "milliseconds", DurationMilliseconds) \
  V(seconds, "seconds", DurationSeconds) \
  V(minutes, "minutes", DurationMinutes) \
  V(hours, "hours", DurationHours) \
  V(days, "days", DurationDays) \
  V(add, "add", DurationAdd) \
  V(subtract, "subtract", DurationSubtract) \
  V(negate, "negate", DurationNegate)
QC_UNION(Duration, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model
