// Tagging the points of a numeric series by the time intervals of events or ranges.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

// input: NumericSeries; intervals: IntervalSource; timeShift: TagByIntervalsTimeShift.
#define QC_TAG_BY_INTERVALS_SERIES_FIELDS(F) \
  F(input, "input", Required) F(intervals, "intervals", Required) F(timeShift, "timeShift", Optional)
QC_RECORD(TagByIntervalsSeries, QC_TAG_BY_INTERVALS_SERIES_FIELDS)

// query: rids::api::ComputeEventQuery; tagBy: list of EventTagSource.
#define QC_EVENT_INTERVAL_SOURCE_FIELDS(F) F(query, "query", Required) F(tagBy, "tagBy", Collection)
QC_RECORD(EventIntervalSource, QC_EVENT_INTERVAL_SOURCE_FIELDS)

// ranges: RangeSeries; tagBy: list of RangeTagSource.
#define QC_RANGE_INTERVAL_SOURCE_FIELDS(F) F(ranges, "ranges", Required) F(tagBy, "tagBy", Collection)
QC_RECORD(RangeIntervalSource, QC_RANGE_INTERVAL_SOURCE_FIELDS)

// Payloads of the tag sources and time shifts that need no setting. The range and event tag
// sources share the first two, as they share the variant names.
#define QC_INTERVAL_INDEX_TAG_FIELDS(F)
QC_RECORD(IntervalIndexTag, QC_INTERVAL_INDEX_TAG_FIELDS)
#define QC_RANGE_START_TIMESTAMP_TAG_FIELDS(F)
QC_RECORD(RangeStartTimestampTag, QC_RANGE_START_TIMESTAMP_TAG_FIELDS)
#define QC_EVENT_LEVEL_TAG_FIELDS(F)
QC_RECORD(EventLevelTag, QC_EVENT_LEVEL_TAG_FIELDS)
#define QC_INTERVAL_START_TIME_SHIFT_FIELDS(F)
QC_RECORD(IntervalStartTimeShift, QC_INTERVAL_START_TIME_SHIFT_FIELDS)
#define QC_INTERVAL_END_TIME_SHIFT_FIELDS(F)
QC_RECORD(IntervalEndTimeShift, QC_INTERVAL_END_TIME_SHIFT_FIELDS)

// propertyName: StringConstant.
#define QC_EVENT_PROPERTY_TAG_FIELDS(F) F(propertyName, "propertyName", Required)
QC_RECORD(EventPropertyTag, QC_EVENT_PROPERTY_TAG_FIELDS)

// label: StringConstant.
#define QC_EVENT_LABEL_TAG_FIELDS(F) F(label, "label", Required)
QC_RECORD(EventLabelTag, QC_EVENT_LABEL_TAG_FIELDS)

// query: rids::api::ComputeEventQuery, whose matched events give the shift.
#define QC_EVENT_TIME_SHIFT_FIELDS(F) F(query, "query", Required)
QC_RECORD(EventTimeShift, QC_EVENT_TIME_SHIFT_FIELDS)

}  // namespace qc::model
