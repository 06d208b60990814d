// Where tagging intervals come from, which tags they give, and how tagged times are shifted.
#pragma once

#include "quarnel/compute/model/empty.h"
#include "quarnel/compute/model/tag_by_intervals.h"

namespace qc::model {

// clang-format off
#define QC_VARIANTS(V)                     \
  V(events, "events", EventIntervalSource) \
  V(ranges, "ranges", RangeIntervalSource)
// clang-format on
QC_UNION(IntervalSource, QC_VARIANTS)
#undef QC_VARIANTS

// clang-format off
#define QC_VARIANTS(V)                     \
  V(intervalIndex, "intervalIndex", Empty) \
  V(rangeStartTimestamp, "rangeStartTimestamp", Empty)
// clang-format on
QC_UNION(RangeTagSource, QC_VARIANTS)
#undef QC_VARIANTS

// "rangeStartTimestamp" comes last here, after the event-only tags.
// clang-format off
#define QC_VARIANTS(V)                      \
  V(intervalIndex, "intervalIndex", Empty)  \
  V(level, "level", Empty)                  \
  V(property, "property", EventPropertyTag) \
  V(label, "label", EventLabelTag)          \
  V(rangeStartTimestamp, "rangeStartTimestamp", Empty)
// clang-format on
QC_UNION(EventTagSource, QC_VARIANTS)
#undef QC_VARIANTS

// clang-format off
#define QC_VARIANTS(V)                     \
  V(intervalStart, "intervalStart", Empty) \
  V(intervalEnd, "intervalEnd", Empty)     \
  V(eventTimeShift, "eventTimeShift", EventTimeShift)
// clang-format on
QC_UNION(TagByIntervalsTimeShift, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model
