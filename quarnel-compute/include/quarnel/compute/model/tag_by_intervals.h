// Tagging the points of a numeric series by the time intervals of events or ranges.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

namespace rids::api {
struct ComputeEventQuery;
}  // namespace rids::api
struct EventTagSource;
struct IntervalSource;
struct NumericSeries;
struct RangeSeries;
struct RangeTagSource;
struct StringConstant;
struct TagByIntervalsTimeShift;

#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(intervals, "intervals", IntervalSource) \
  F(timeShift, "timeShift", Optional<TagByIntervalsTimeShift>)
QC_RECORD(TagByIntervalsSeries, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(query, "query", rids::api::ComputeEventQuery) \
  F(tagBy, "tagBy", List<EventTagSource>)
QC_RECORD(EventIntervalSource, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(ranges, "ranges", RangeSeries) \
  F(tagBy, "tagBy", List<RangeTagSource>)
QC_RECORD(RangeIntervalSource, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) F(propertyName, "propertyName", StringConstant)
QC_RECORD(EventPropertyTag, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) F(label, "label", StringConstant)
QC_RECORD(EventLabelTag, QC_FIELDS)
#undef QC_FIELDS

// The matched events give the shift.
#define QC_FIELDS(F) F(query, "query", rids::api::ComputeEventQuery)
QC_RECORD(EventTimeShift, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
