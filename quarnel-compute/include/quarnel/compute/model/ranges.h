// Range nodes that combine, shape or name time ranges, and their two enumerations. The
// detection nodes live in range_detection.h and categorical_ranges.h; the union over all of
// them in ranges_unions.h.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

/* "inputs": list of RangeSeries. */
#define QC_INTERSECT_RANGES_FIELDS(F) F(inputs, "inputs", Collection)
QC_RECORD(IntersectRanges, QC_INTERSECT_RANGES_FIELDS)

#define QC_UNION_RANGES_FIELDS(F) F(inputs, "inputs", Collection)
QC_RECORD(UnionRanges, QC_UNION_RANGES_FIELDS)

/* "input": RangeSeries. */
#define QC_NOT_RANGES_FIELDS(F) F(input, "input", Required)
QC_RECORD(NotRanges, QC_NOT_RANGES_FIELDS)

/* "literalRanges": list of LiteralRange. */
#define QC_LITERAL_RANGES_FIELDS(F) F(literalRanges, "literalRanges", Collection)
QC_RECORD(LiteralRanges, QC_LITERAL_RANGES_FIELDS)

// "tags" distinguishes "no tags given" from "tagged with nothing", so an empty map is kept on
// the wire rather than dropped like an ordinary collection.
#define QC_LITERAL_RANGE_FIELDS(F)                                             \
  F(startTimestamp, "startTimestamp", Optional) /* TimestampConstant */        \
  F(endTimestamp, "endTimestamp", Optional)     /* TimestampConstant */        \
  F(tags, "tags", OptionalCollection)           /* map string -> string */
QC_RECORD(LiteralRange, QC_LITERAL_RANGE_FIELDS)

#define QC_RANGE_PADDING_CONFIGURATION_VALUES(E) \
  E(pad_start, "PAD_START") E(pad_end, "PAD_END") E(pad_start_and_end, "PAD_START_AND_END")
QC_ENUM(RangePaddingConfiguration, QC_RANGE_PADDING_CONFIGURATION_VALUES)

#define QC_PADDED_RANGES_FIELDS(F)                                                         \
  F(input, "input", Required)                               /* RangeSeries */              \
  F(padding, "padding", Required)                           /* DurationConstant */         \
  F(paddingConfiguration, "paddingConfiguration", Optional) /* RangePaddingConfiguration */
QC_RECORD(PaddedRanges, QC_PADDED_RANGES_FIELDS)

#define QC_UNBOUNDED_BEHAVIOR_VALUES(E) E(infinity, "INFINITY") E(window_bound, "WINDOW_BOUND")
QC_ENUM(UnboundedBehavior, QC_UNBOUNDED_BEHAVIOR_VALUES)

#define QC_DURATION_FILTER_RANGES_FIELDS(F)                                          \
  F(input, "input", Required)                         /* RangeSeries */              \
  F(threshold, "threshold", Required)                 /* DurationConstant */         \
  F(operator_, "operator", Required)                  /* ThresholdOperator */        \
  F(unboundedBehavior, "unboundedBehavior", Optional) /* UnboundedBehavior */
QC_RECORD(DurationFilterRanges, QC_DURATION_FILTER_RANGES_FIELDS)

/* "input": Series. */
#define QC_ON_CHANGE_RANGES_FIELDS(F) F(input, "input", Required)
QC_RECORD(OnChangeRanges, QC_ON_CHANGE_RANGES_FIELDS)

/* "query": rids::api::ComputeEventQuery. */
#define QC_EVENTS_SEARCH_RANGES_FIELDS(F) F(query, "query", Required)
QC_RECORD(EventsSearchRanges, QC_EVENTS_SEARCH_RANGES_FIELDS)

}  // namespace qc::model
