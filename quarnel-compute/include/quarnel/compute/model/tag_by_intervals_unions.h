// Where tagging intervals come from, which tags they give, and how tagged times are shifted.
#pragma once

#include "quarnel/compute/model/empty.h"
#include "quarnel/compute/model/tag_by_intervals.h"

namespace qc::model {

#define QC_VARIANTS(V) \
  V(events, "events", EventIntervalSource) \
  V(ranges, "ranges", RangeIntervalSource)
QC_UNION(IntervalSource, QC_VARIANTS)
#undef QC_VARIANTS

#define QC_VARIANTS(V) \
  V(intervalIndex, "intervalIndex", Empty) \
  V(rangeStartTimestamp, "rangeStartTimestamp", Empty)
QC_UNION(RangeTagSource, QC_VARIANTS)
#undef QC_VARIANTS

// "rangeStartTimestamp" comes last here, after the event-only tags.
#define QC_VARIANTS(V) \
  V(intervalIndex, "intervalIndex", Empty) \
  V(level, "level", Empty) \
  V(property, "property", EventPropertyTag) \
  V(label, "label", EventLabelTag) \
  V(rangeStartTimestamp, "rangeStartTimestamp", Empty)
QC_UNION(EventTagSource, QC_VARIANTS)
#undef QC_VARIANTS

#define QC_VARIANTS(V) \
  V(intervalStart, "intervalStart", Empty) \
  V(intervalEnd, "intervalEnd", Empty) \
  V(eventTimeShift, "eventTimeShift", EventTimeShift)
QC_UNION(TagByIntervalsTimeShift, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model
