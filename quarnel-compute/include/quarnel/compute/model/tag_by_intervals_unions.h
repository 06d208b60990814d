// Where tagging intervals come from, which tags they give, and how tagged times are shifted.
#pragma once

#include "quarnel/compute/model/tag_by_intervals.h"

namespace qc::model {

#define QC_INTERVAL_SOURCE_VARIANTS(V) \
  V(events, "events", EventIntervalSource) V(ranges, "ranges", RangeIntervalSource)
QC_UNION(IntervalSource, QC_INTERVAL_SOURCE_VARIANTS)

#define QC_RANGE_TAG_SOURCE_VARIANTS(V)           \
  V(intervalIndex, "intervalIndex", IntervalIndexTag) \
  V(rangeStartTimestamp, "rangeStartTimestamp", RangeStartTimestampTag)
QC_UNION(RangeTagSource, QC_RANGE_TAG_SOURCE_VARIANTS)

// "rangeStartTimestamp" comes last here, after the event-only tags.
#define QC_EVENT_TAG_SOURCE_VARIANTS(V)                                 \
  V(intervalIndex, "intervalIndex", IntervalIndexTag)                   \
  V(level, "level", EventLevelTag)                                      \
  V(property, "property", EventPropertyTag)                             \
  V(label, "label", EventLabelTag)                                      \
  V(rangeStartTimestamp, "rangeStartTimestamp", RangeStartTimestampTag)
QC_UNION(EventTagSource, QC_EVENT_TAG_SOURCE_VARIANTS)

#define QC_TAG_BY_INTERVALS_TIME_SHIFT_VARIANTS(V)              \
  V(intervalStart, "intervalStart", IntervalStartTimeShift)     \
  V(intervalEnd, "intervalEnd", IntervalEndTimeShift)           \
  V(eventTimeShift, "eventTimeShift", EventTimeShift)
QC_UNION(TagByIntervalsTimeShift, QC_TAG_BY_INTERVALS_TIME_SHIFT_VARIANTS)

}  // namespace qc::model
