// Range series: the union of every range-producing node, and the nodes that combine, shape or
// name ranges.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/categorical_unions.h"
#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/context_unions.h"
#include "quarnel/compute/model/event_query_unions.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/range_detection_unions.h"
#include "quarnel/compute/model/ranges_unions.h"
#include "quarnel/compute/model/series_unions.h"
#include "quarnel/compute/model/value_filter.h"

#include "wire_case.h"

namespace qc::model::modeld_test {

// Shared with range_detection_test.cc.
Value range_ref(std::string_view name) {
  return RangeSeries::make(RangeSeries::raw, Reference{.name = Value::str(name)});
}
Value numeric_ref(std::string_view name) {
  return NumericSeries::make(NumericSeries::raw, Reference{.name = Value::str(name)});
}
Value enum_ref(std::string_view name) {
  return EnumSeries::make(EnumSeries::raw, Reference{.name = Value::str(name)});
}
Value series_ref(std::string_view name) {
  return Series::make(Series::raw, Reference{.name = Value::str(name)});
}
Value seconds(int64_t s) { return DurationConstant::make(DurationConstant::literal, run_duration(s, 0)); }
Value at(int64_t s) { return TimestampConstant::make(TimestampConstant::literal, timestamp(s, 0)); }

namespace {

QC_WIRE_SUITE(ModelDRangeSeries)

Value padded(std::string_view name) {
  return RangeSeries::make(RangeSeries::paddedRanges,
                           PaddedRanges{.input = range_ref(name), .padding = seconds(1)});
}

// One case per variant, in declaration order, each with a payload small enough to show its keys.
INSTANTIATE_TEST_SUITE_P(
    ModelDVariants, ModelDRangeSeries,
    testing::Values(
        WireCase{"approximateThreshold",
                 [] {
                   return RangeSeries::make(
                       RangeSeries::approximateThreshold,
                       ApproximateThresholdRanges{
                           .input = numeric_ref("x"),
                           .threshold = double_literal(1.5),
                           .tolerance = double_literal(0.25),
                           .operator_ = ApproximateThresholdOperator::make(ApproximateThresholdOperator::equal_to)});
                 },
                 R"({"type":"approximateThreshold","approximateThreshold":{"input":{"type":"raw","raw":{"name":"x"}},)"
                 R"("threshold":{"type":"literal","literal":1.5},"tolerance":{"type":"literal","literal":0.25},)"
                 R"("operator":"EQUAL_TO"}})"},
        WireCase{"durationFilter",
                 [] {
                   return RangeSeries::make(
                       RangeSeries::durationFilter,
                       DurationFilterRanges{.input = range_ref("a"),
                                            .threshold = seconds(60),
                                            .operator_ = ThresholdOperator::make(ThresholdOperator::greater_than),
                                            .unboundedBehavior = UnboundedBehavior::make(UnboundedBehavior::infinity)});
                 },
                 R"({"type":"durationFilter","durationFilter":{"input":{"type":"raw","raw":{"name":"a"}},)"
                 R"("threshold":{"type":"literal","literal":{"seconds":60,"nanos":0}},"operator":"GREATER_THAN",)"
                 R"("unboundedBehavior":"INFINITY"}})"},
        WireCase{"enumFilter",
                 [] {
                   return RangeSeries::make(
                       RangeSeries::enumFilter,
                       EnumFilterRanges{.input = enum_ref("mode"),
                                        .operator_ = EnumFilterOperator::make(EnumFilterOperator::is_in),
                                        .values = StringSetConstant::make(StringSetConstant::literal, string_set({"on"}))});
                 },
                 R"({"type":"enumFilter","enumFilter":{"input":{"type":"raw","raw":{"name":"mode"}},"operator":"IS_IN",)"
                 R"("values":{"type":"literal","literal":["on"]}}})"},
        WireCase{"enumSeriesEqualityRangesNode",
                 [] {
                   return RangeSeries::make(
                       RangeSeries::enumSeriesEqualityRangesNode,
                       EnumSeriesEqualityRanges{.input = list({enum_ref("a"), enum_ref("b")}),
                                                .equalityOperator = EqualityOperator::make(EqualityOperator::all_equal)});
                 },
                 R"({"type":"enumSeriesEqualityRangesNode","enumSeriesEqualityRangesNode":{"input":[)"
                 R"({"type":"raw","raw":{"name":"a"}},{"type":"raw","raw":{"name":"b"}}],"equalityOperator":"ALL_EQUAL"}})"},
        WireCase{"eventsSearch",
                 [] {
                   return RangeSeries::make(
                       RangeSeries::eventsSearch,
                       EventsSearchRanges{.query = rids::api::ComputeEventQuery::make(
                                              rids::api::ComputeEventQuery::searchText, string_literal("pump"))});
                 },
                 R"({"type":"eventsSearch","eventsSearch":{"query":{"type":"searchText",)"
                 R"("searchText":{"type":"literal","literal":"pump"}}}})"},
        WireCase{"intersectRange",
                 [] {
                   return RangeSeries::make(RangeSeries::intersectRange,
                                            IntersectRanges{.inputs = list({range_ref("a"), range_ref("b")})});
                 },
                 R"({"type":"intersectRange","intersectRange":{"inputs":[{"type":"raw","raw":{"name":"a"}},)"
                 R"({"type":"raw","raw":{"name":"b"}}]}})"},
        WireCase{"literalRanges",
                 [] {
                   return RangeSeries::make(
                       RangeSeries::literalRanges,
                       LiteralRanges{.literalRanges = list({LiteralRange{.startTimestamp = at(10)}.build()})});
                 },
                 R"({"type":"literalRanges","literalRanges":{"literalRanges":[)"
                 R"({"startTimestamp":{"type":"literal","literal":{"seconds":10,"nanos":0}}}]}})"},
        WireCase{"minMaxThreshold",
                 [] {
                   return RangeSeries::make(
                       RangeSeries::minMaxThreshold,
                       MinMaxThresholdRanges{
                           .input = numeric_ref("x"),
                           .lowerBound = double_literal(1),
                           .upperBound = double_literal(2.5),
                           .operator_ = MinMaxThresholdOperator::make(MinMaxThresholdOperator::inside_bounds)});
                 },
                 R"({"type":"minMaxThreshold","minMaxThreshold":{"input":{"type":"raw","raw":{"name":"x"}},)"
                 R"("lowerBound":{"type":"literal","literal":1.0},"upperBound":{"type":"literal","literal":2.5},)"
                 R"("operator":"INSIDE_BOUNDS"}})"},
        WireCase{"not",
                 [] { return RangeSeries::make(RangeSeries::not_, NotRanges{.input = range_ref("x")}); },
                 R"({"type":"not","not":{"input":{"type":"raw","raw":{"name":"x"}}}})"},
        WireCase{"onChange",
                 [] {
                   return RangeSeries::make(RangeSeries::onChange,
                                            OnChangeRanges{.input = Series::make(Series::numeric, numeric_ref("x"))});
                 },
                 R"({"type":"onChange","onChange":{"input":{"type":"numeric","numeric":{"type":"raw","raw":{"name":"x"}}}}})"},
        WireCase{"peak",
                 [] { return RangeSeries::make(RangeSeries::peak, PeakRanges{.input = numeric_ref("x")}); },
                 R"({"type":"peak","peak":{"input":{"type":"raw","raw":{"name":"x"}}}})"},
        WireCase{"rangeNumericAggregation",
                 [] {
                   return RangeSeries::make(
                       RangeSeries::rangeNumericAggregation,
                       RangesNumericAggregation{.ranges = range_ref("r"),
                                                .input = numeric_ref("x"),
                                                .operation = RangeAggregationOperation::make(
                                                    RangeAggregationOperation::max, RangeNoParameters{})});
                 },
                 R"({"type":"rangeNumericAggregation","rangeNumericAggregation":{"ranges":{"type":"raw","raw":{"name":"r"}},)"
                 R"("input":{"type":"raw","raw":{"name":"x"}},"operation":{"type":"max","max":{}}}})"},
        WireCase{"raw", [] { return range_ref("x"); }, R"({"type":"raw","raw":{"name":"x"}})"},
        WireCase{"derived",
                 [] { return RangeSeries::make(RangeSeries::derived, DerivedSeries::unknown("custom", Any("d"))); },
                 R"({"type":"derived","derived":{"type":"custom","custom":"d"}})"},
        WireCase{"seriesCrossoverRangesNode",
                 [] {
                   return RangeSeries::make(RangeSeries::seriesCrossoverRangesNode,
                                            SeriesCrossoverRanges{.inputA = numeric_ref("a"), .inputB = numeric_ref("b")});
                 },
                 R"({"type":"seriesCrossoverRangesNode","seriesCrossoverRangesNode":{)"
                 R"("inputA":{"type":"raw","raw":{"name":"a"}},"inputB":{"type":"raw","raw":{"name":"b"}}}})"},
        WireCase{"seriesEqualityRangesNode",
                 [] {
                   return RangeSeries::make(
                       RangeSeries::seriesEqualityRangesNode,
                       SeriesEqualityRanges{.input = list({numeric_ref("a"), numeric_ref("b")}),
                                            .equalityOperator = EqualityOperator::make(EqualityOperator::not_all_equal),
                                            .tolerance = double_literal(0.5)});
                 },
                 R"({"type":"seriesEqualityRangesNode","seriesEqualityRangesNode":{"input":[)"
                 R"({"type":"raw","raw":{"name":"a"}},{"type":"raw","raw":{"name":"b"}}],)"
                 R"("equalityOperator":"NOT_ALL_EQUAL","tolerance":{"type":"literal","literal":0.5}}})"},
        WireCase{"stabilityDetection",
                 [] {
                   return RangeSeries::make(
                       RangeSeries::stabilityDetection,
                       StabilityDetectionRanges{
                           .input = numeric_ref("x"),
                           .windowConfiguration = StabilityWindowConfiguration{.duration = seconds(5)}.build(),
                           .threshold = Threshold::make(Threshold::absolute,
                                                        AbsoluteThreshold{.value = double_literal(0.5)})});
                 },
                 R"({"type":"stabilityDetection","stabilityDetection":{"input":{"type":"raw","raw":{"name":"x"}},)"
                 R"("windowConfiguration":{"duration":{"type":"literal","literal":{"seconds":5,"nanos":0}}},)"
                 R"("threshold":{"type":"absolute","absolute":{"value":{"type":"literal","literal":0.5}}}}})"},
        WireCase{"staleRange",
                 [] {
                   return RangeSeries::make(RangeSeries::staleRange,
                                            StaleRanges{.input = series_ref("s"), .threshold = seconds(30)});
                 },
                 R"({"type":"staleRange","staleRange":{"input":{"type":"raw","raw":{"name":"s"}},)"
                 R"("threshold":{"type":"literal","literal":{"seconds":30,"nanos":0}}}})"},
        WireCase{"threshold",
                 [] {
                   return RangeSeries::make(
                       RangeSeries::threshold,
                       ThresholdingRanges{.input = numeric_ref("x"),
                                          .threshold = double_literal(3),
                                          .operator_ = ThresholdOperator::make(ThresholdOperator::less_than)});
                 },
                 R"({"type":"threshold","threshold":{"input":{"type":"raw","raw":{"name":"x"}},)"
                 R"("threshold":{"type":"literal","literal":3.0},"operator":"LESS_THAN"}})"},
        WireCase{"unionRange",
                 [] {
                   return RangeSeries::make(RangeSeries::unionRange,
                                            UnionRanges{.inputs = list({range_ref("a"), range_ref("b")})});
                 },
                 R"({"type":"unionRange","unionRange":{"inputs":[{"type":"raw","raw":{"name":"a"}},)"
                 R"({"type":"raw","raw":{"name":"b"}}]}})"},
        WireCase{"paddedRanges",
                 [] {
                   return RangeSeries::make(
                       RangeSeries::paddedRanges,
                       PaddedRanges{.input = range_ref("a"),
                                    .padding = seconds(1),
                                    .paddingConfiguration =
                                        RangePaddingConfiguration::make(RangePaddingConfiguration::pad_end)});
                 },
                 R"({"type":"paddedRanges","paddedRanges":{"input":{"type":"raw","raw":{"name":"a"}},)"
                 R"("padding":{"type":"literal","literal":{"seconds":1,"nanos":0}},"paddingConfiguration":"PAD_END"}})"},
        WireCase{"unknown", [] { return RangeSeries::unknown("futureKind", Any("v")); },
                 R"({"type":"futureKind","futureKind":"v"})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelDEdgeCases, ModelDRangeSeries,
    testing::Values(
        WireCase{"intersect_without_inputs",
                 [] { return RangeSeries::make(RangeSeries::intersectRange, IntersectRanges{}); },
                 R"({"type":"intersectRange","intersectRange":{}})"},
        WireCase{"union_with_empty_list",
                 [] { return RangeSeries::make(RangeSeries::unionRange, UnionRanges{.inputs = list({})}); },
                 R"({"type":"unionRange","unionRange":{}})"},
        WireCase{"literal_ranges_without_ranges",
                 [] { return RangeSeries::make(RangeSeries::literalRanges, LiteralRanges{}); },
                 R"({"type":"literalRanges","literalRanges":{}})"},
        WireCase{"literal_range_with_nothing_set", [] { return LiteralRange{}.build(); }, "{}"},
        WireCase{"literal_range_tags_present_but_empty",
                 [] { return LiteralRange{.tags = string_map({})}.build(); }, R"({"tags":{}})"},
        WireCase{"literal_range_tags_in_key_order",
                 [] {
                   return LiteralRange{.tags = string_map({{"b", Value::str("2")}, {"a", Value::str("1")}})}.build();
                 },
                 R"({"tags":{"a":"1","b":"2"}})"},
        WireCase{"literal_range_every_field",
                 [] {
                   return LiteralRange{.startTimestamp = at(1),
                                       .endTimestamp = TimestampConstant::make(TimestampConstant::variable, Value::str("end")),
                                       .tags = string_map({{"k", Value::str("v")}})}
                       .build();
                 },
                 R"({"startTimestamp":{"type":"literal","literal":{"seconds":1,"nanos":0}},)"
                 R"("endTimestamp":{"type":"variable","variable":"end"},"tags":{"k":"v"}})"},
        WireCase{"padded_without_configuration", [] { return padded("a"); },
                 R"({"type":"paddedRanges","paddedRanges":{"input":{"type":"raw","raw":{"name":"a"}},)"
                 R"("padding":{"type":"literal","literal":{"seconds":1,"nanos":0}}}})"},
        WireCase{"duration_filter_without_unbounded_behavior",
                 [] {
                   return DurationFilterRanges{.input = range_ref("a"),
                                               .threshold = DurationConstant::make(DurationConstant::variable, Value::str("d")),
                                               .operator_ = ThresholdOperator::make(ThresholdOperator::less_than_or_equal_to)}
                       .build();
                 },
                 R"({"input":{"type":"raw","raw":{"name":"a"}},"threshold":{"type":"variable","variable":"d"},)"
                 R"("operator":"LESS_THAN_OR_EQUAL_TO"})"},
        WireCase{"events_search_with_nested_query",
                 [] {
                   using rids::api::ComputeEventQuery;
                   Value label = ComputeEventQuery::make(ComputeEventQuery::label, string_literal("hot"));
                   Value query = ComputeEventQuery::make(
                       ComputeEventQuery::and_,
                       list({ComputeEventQuery::make(ComputeEventQuery::not_, label),
                             ComputeEventQuery::make(ComputeEventQuery::asset, string_variable("a"))}));
                   return EventsSearchRanges{.query = query}.build();
                 },
                 R"({"query":{"type":"and","and":[{"type":"not","not":{"type":"label","label":{"type":"literal","literal":"hot"}}},)"
                 R"({"type":"asset","asset":{"type":"variable","variable":"a"}}]}})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelDEnumerations, ModelDRangeSeries,
    testing::Values(
        WireCase{"pad_start", [] { return RangePaddingConfiguration::make(RangePaddingConfiguration::pad_start); },
                 R"("PAD_START")"},
        WireCase{"pad_end", [] { return RangePaddingConfiguration::make(RangePaddingConfiguration::pad_end); },
                 R"("PAD_END")"},
        WireCase{"pad_start_and_end",
                 [] { return RangePaddingConfiguration::make(RangePaddingConfiguration::pad_start_and_end); },
                 R"("PAD_START_AND_END")"},
        WireCase{"padding_unknown", [] { return RangePaddingConfiguration::unknown("PAD_MIDDLE"); }, R"("PAD_MIDDLE")"},
        WireCase{"infinity", [] { return UnboundedBehavior::make(UnboundedBehavior::infinity); }, R"("INFINITY")"},
        WireCase{"window_bound", [] { return UnboundedBehavior::make(UnboundedBehavior::window_bound); },
                 R"("WINDOW_BOUND")"},
        WireCase{"unbounded_unknown", [] { return UnboundedBehavior::unknown("clamp"); }, R"("clamp")"}),
    wire_case_name);

TEST(ModelDRangeSeriesOrder, VariantsInDeclarationOrder) {
  const std::string_view expected[] = {
      "approximateThreshold", "durationFilter", "enumFilter", "enumSeriesEqualityRangesNode",
      "eventsSearch", "intersectRange", "literalRanges", "minMaxThreshold", "not", "onChange",
      "peak", "rangeNumericAggregation", "raw", "derived", "seriesCrossoverRangesNode",
      "seriesEqualityRangesNode", "stabilityDetection", "staleRange", "threshold", "unionRange",
      "paddedRanges"};
  ASSERT_EQ(RangeSeries::variant_count, std::size(expected));
  for (uint32_t i = 0; i < RangeSeries::variant_count; ++i) {
    std::string prefix = "{\"type\":\"" + std::string(expected[i]) + "\",\"" + std::string(expected[i]) + "\":";
    EXPECT_EQ(RangeSeries::variants_[i].prefix, prefix) << "variant " << i;
  }
}

// Copies share nodes, so the copy must stay whole and unchanged after its source is gone.
TEST(ModelDRangeSeriesCopy, NestedCopyOutlivesItsSource) {
  const char* expected =
      R"({"type":"not","not":{"input":{"type":"unionRange","unionRange":{"inputs":[)"
      R"({"type":"paddedRanges","paddedRanges":{"input":{"type":"raw","raw":{"name":"a"}},)"
      R"("padding":{"type":"literal","literal":{"seconds":1,"nanos":0}}}},)"
      R"({"type":"paddedRanges","paddedRanges":{"input":{"type":"raw","raw":{"name":"b"}},)"
      R"("padding":{"type":"literal","literal":{"seconds":1,"nanos":0}}}}]}}}})";
  Value copy;
  {
    Value source = RangeSeries::make(
        RangeSeries::not_,
        NotRanges{.input = RangeSeries::make(RangeSeries::unionRange,
                                             UnionRanges{.inputs = list({padded("a"), padded("b")})})});
    copy = source;
    EXPECT_EQ(to_json(source), expected);
  }
  EXPECT_EQ(to_json(copy), expected);
}

}  // namespace
}  // namespace qc::model::modeld_test
