// Tagging numeric series by event or range intervals, as written on the wire.
#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/event_query_unions.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/ranges_unions.h"
#include "quarnel/compute/model/reference.h"
#include "quarnel/compute/model/tag_by_intervals_unions.h"

#include "wire_case.h"

namespace qc::model {
namespace {

using NS = NumericSeries;
using Query = rids::api::ComputeEventQuery;
using ETag = EventTagSource;
using RTag = RangeTagSource;
using Shift = TagByIntervalsTimeShift;

Value raw_x() { return NS::make(NS::raw, Reference{.name = Value::str("x")}); }
Value label_query(std::string_view label) { return Query::make(Query::label, string_literal(label)); }
std::string label_query_json(const std::string& label) {
  return R"({"type":"label","label":{"type":"literal","literal":")" + label + R"("}})";
}
Value events(Value tag_by) {
  return IntervalSource::make(IntervalSource::events,
                              EventIntervalSource{.query = label_query("fault"), .tagBy = std::move(tag_by)});
}
Value tag_series(Value intervals, Value time_shift) {
  return NS::make(NS::tagByIntervals, TagByIntervalsSeries{.input = raw_x(),
                                                            .intervals = std::move(intervals),
                                                            .timeShift = std::move(time_shift)});
}

const std::string kEvents = R"({"type":"events","events":{"query":)" + label_query_json("fault");
const std::string kNode =
    R"({"type":"tagByIntervals","tagByIntervals":{"input":{"type":"raw","raw":{"name":"x"}},"intervals":)";

QC_WIRE_SUITE(ModelCTagByIntervals)

INSTANTIATE_TEST_SUITE_P(
    Node, ModelCTagByIntervals,
    testing::Values(
        WireCase{"without_time_shift", [] { return tag_series(events(Value{}), Value{}); },
                 kNode + kEvents + "}}}}"},
        WireCase{"interval_start",
                 [] { return tag_series(events(Value{}), Shift::make(Shift::intervalStart, IntervalStartTimeShift{})); },
                 kNode + kEvents + R"(}},"timeShift":{"type":"intervalStart","intervalStart":{}}}})"},
        WireCase{"interval_end",
                 [] { return tag_series(events(Value{}), Shift::make(Shift::intervalEnd, IntervalEndTimeShift{})); },
                 kNode + kEvents + R"(}},"timeShift":{"type":"intervalEnd","intervalEnd":{}}}})"},
        WireCase{"event_time_shift",
                 [] {
                   return tag_series(events(Value{}), Shift::make(Shift::eventTimeShift,
                                                                 EventTimeShift{.query = label_query("start")}));
                 },
                 kNode + kEvents + R"(}},"timeShift":{"type":"eventTimeShift","eventTimeShift":{"query":)" +
                     label_query_json("start") + "}}}}"},
        WireCase{"unknown_time_shift", [] { return Shift::unknown("midpoint", Any(true)); },
                 R"({"type":"midpoint","midpoint":true})"},
        WireCase{"unknown_interval_source",
                 [] { return tag_series(IntervalSource::unknown("calendar", Any{{"tz", "UTC"}}), Value{}); },
                 kNode + R"({"type":"calendar","calendar":{"tz":"UTC"}}}})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    EventSource, ModelCTagByIntervals,
    testing::Values(
        WireCase{"empty_tag_by_writes_only_query", [] { return events(list({})); }, kEvents + "}}"},
        // Stored order and duplicates are kept.
        WireCase{"tag_by_in_stored_order",
                 [] {
                   return events(list({ETag::make(ETag::intervalIndex, IntervalIndexTag{}),
                                       ETag::make(ETag::label, EventLabelTag{.label = string_literal("l")}),
                                       ETag::make(ETag::intervalIndex, IntervalIndexTag{})}));
                 },
                 kEvents + R"(,"tagBy":[{"type":"intervalIndex","intervalIndex":{}},)"
                           R"({"type":"label","label":{"label":{"type":"literal","literal":"l"}}},)"
                           R"({"type":"intervalIndex","intervalIndex":{}}]}})"},
        WireCase{"every_event_tag",
                 [] {
                   return events(list({
                       ETag::make(ETag::level, EventLevelTag{}),
                       ETag::make(ETag::property, EventPropertyTag{.propertyName = string_variable("p")}),
                       ETag::make(ETag::rangeStartTimestamp, RangeStartTimestampTag{}),
                       ETag::unknown("author", Any(nullptr)),
                   }));
                 },
                 kEvents + R"(,"tagBy":[{"type":"level","level":{}},)"
                           R"({"type":"property","property":{"propertyName":{"type":"variable","variable":"p"}}},)"
                           R"({"type":"rangeStartTimestamp","rangeStartTimestamp":{}},)"
                           R"({"type":"author","author":null}]}})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    RangeSource, ModelCTagByIntervals,
    testing::Values(
        WireCase{"every_range_tag",
                 [] {
                   return tag_series(
                       IntervalSource::make(
                           IntervalSource::ranges,
                           RangeIntervalSource{
                               .ranges = RangeSeries::make(RangeSeries::unionRange, UnionRanges{}),
                               .tagBy = list({RTag::make(RTag::rangeStartTimestamp, RangeStartTimestampTag{}),
                                              RTag::make(RTag::intervalIndex, IntervalIndexTag{}),
                                              RTag::unknown("rangeLabel", Any("z"))})}),
                       Value{});
                 },
                 kNode + R"({"type":"ranges","ranges":{"ranges":{"type":"unionRange","unionRange":{}},)"
                         R"("tagBy":[{"type":"rangeStartTimestamp","rangeStartTimestamp":{}},)"
                         R"({"type":"intervalIndex","intervalIndex":{}},{"type":"rangeLabel","rangeLabel":"z"}]}}}})"}),
    wire_case_name);

// The shared variant names sit at different positions in the two tag-source unions.
TEST(ModelCTagByIntervalsOrder, RangeStartTimestampPositions) {
  EXPECT_EQ(RTag::rangeStartTimestamp, 1);
  EXPECT_EQ(ETag::rangeStartTimestamp, 4);
  EXPECT_EQ(RTag::variant_count, 2u);
  EXPECT_EQ(ETag::variant_count, 5u);
}

}  // namespace
}  // namespace qc::model
