// Range nodes that combine, shape or name time ranges, and their two enumerations. The
// detection nodes live in range_detection.h and categorical_ranges.h.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

namespace rids::api {
struct ComputeEventQuery;
}  // namespace rids::api
struct DurationConstant;
struct RangeSeries;
struct Series;
struct ThresholdOperator;
struct TimestampConstant;

#define QC_FIELDS(F) F(inputs, "inputs", List<RangeSeries>)
QC_RECORD(IntersectRanges, QC_FIELDS)
QC_RECORD(UnionRanges, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) F(input, "input", RangeSeries)
QC_RECORD(NotRanges, QC_FIELDS)
#undef QC_FIELDS

// "tags" tells "no tags given" from "tagged with nothing", so a present empty map is written.
#define QC_FIELDS(F) \
  F(startTimestamp, "startTimestamp", Optional<TimestampConstant>) \
  F(endTimestamp, "endTimestamp", Optional<TimestampConstant>) \
  F(tags, "tags", Optional<Map<String, String>>)
QC_RECORD(LiteralRange, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) F(literalRanges, "literalRanges", List<LiteralRange>)
QC_RECORD(LiteralRanges, QC_FIELDS)
#undef QC_FIELDS

#define QC_VALUES(E) \
  E(pad_start, "PAD_START") \
  E(pad_end, "PAD_END") \
  E(pad_start_and_end, "PAD_START_AND_END")
QC_ENUM(RangePaddingConfiguration, QC_VALUES)
#undef QC_VALUES

#define QC_FIELDS(F) \
  F(input, "input", RangeSeries) \
  F(padding, "padding", DurationConstant) \
  F(paddingConfiguration, "paddingConfiguration", Optional<RangePaddingConfiguration>)
QC_RECORD(PaddedRanges, QC_FIELDS)
#undef QC_FIELDS

#define QC_VALUES(E) \
  E(infinity, "INFINITY") \
  E(window_bound, "WINDOW_BOUND")
QC_ENUM(UnboundedBehavior, QC_VALUES)
#undef QC_VALUES

#define QC_FIELDS(F) \
  F(input, "input", RangeSeries) \
  F(threshold, "threshold", DurationConstant) \
  F(operator_, "operator", ThresholdOperator) \
  F(unboundedBehavior, "unboundedBehavior", Optional<UnboundedBehavior>)
QC_RECORD(DurationFilterRanges, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) F(input, "input", Series)
QC_RECORD(OnChangeRanges, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) F(query, "query", rids::api::ComputeEventQuery)
QC_RECORD(EventsSearchRanges, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
