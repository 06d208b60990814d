// Categorical series: every variant of the union and of its two small unions, the enumerations,
// and the omission rules of its records.
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/aggregation_unions.h"
#include "quarnel/compute/model/array_series_unions.h"
#include "quarnel/compute/model/categorical_unions.h"
#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/context_unions.h"
#include "quarnel/compute/model/durations_unions.h"
#include "quarnel/compute/model/event_query_unions.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/ranges_unions.h"
#include "quarnel/compute/model/selection_unions.h"
#include "quarnel/compute/model/series_unions.h"
#include "quarnel/compute/model/struct_series_unions.h"

#include "wire_case.h"

namespace qc::model {
namespace {

using E = EnumSeries;

Value mode() { return E::make(E::raw, Reference{.name = Value::str("mode")}); }
Value gear() { return E::make(E::raw, Reference{.name = Value::str("gear")}); }
constexpr const char* kMode = R"({"type":"raw","raw":{"name":"mode"}})";
constexpr const char* kGear = R"({"type":"raw","raw":{"name":"gear"}})";

Value ts_literal(int64_t seconds) {
  return TimestampConstant::make(TimestampConstant::literal, timestamp(seconds, 0));
}
Value minute() { return DurationConstant::make(DurationConstant::literal, run_duration(60, 0)); }
constexpr const char* kMinute = R"({"type":"literal","literal":{"seconds":60,"nanos":0}})";

QC_WIRE_SUITE(ModelECategorical)

// One case per EnumSeries variant, in declaration order, then Unknown.
INSTANTIATE_TEST_SUITE_P(
    ModelEEnumSeriesVariants, ModelECategorical,
    testing::Values(
        WireCase{"aggregate",
                 [] {
                   return E::make(E::aggregate,
                                  AggregateEnumSeries{.input = mode(),
                                                      .function = EnumAggregationFunction::make(EnumAggregationFunction::max)});
                 },
                 R"({"type":"aggregate","aggregate":{"input":{"type":"raw","raw":{"name":"mode"}},"function":"MAX"}})"},
        WireCase{"raw", [] { return mode(); }, R"({"type":"raw","raw":{"name":"mode"}})"},
        WireCase{"channel",
                 [] {
                   return E::make(E::channel,
                                  ChannelSeries::make(ChannelSeries::dataSource,
                                                      DataSourceChannel{.dataSourceRid = string_literal("ds"),
                                                                        .channel = string_literal("gear")}));
                 },
                 union_json("channel", union_json("dataSource", R"({"dataSourceRid":{"type":"literal","literal":"ds"},)"
                                                    R"("channel":{"type":"literal","literal":"gear"}})"))},
        WireCase{"derived", [] { return E::make(E::derived, DerivedSeries::unknown("later", Any::object())); },
                 R"({"type":"derived","derived":{"type":"later","later":{}}})"},
        WireCase{"resample",
                 [] {
                   return E::make(E::resample,
                                  EnumResampleSeries{.input = mode(),
                                                     .resampleConfiguration =
                                                         EnumResampleConfiguration{.interval = minute()}.build()});
                 },
                 union_json("resample", std::string(R"({"input":)") + kMode + R"(,"resampleConfiguration":{"interval":)" +
                                      kMinute + "}}")},
        WireCase{"nth_point_downsample",
                 [] {
                   return E::make(E::nthPointDownsample,
                                  EnumNthPointDownsampleSeries{.input = mode(), .n = integer_literal(3)});
                 },
                 union_json("nthPointDownsample", std::string(R"({"input":)") + kMode + R"(,"n":{"type":"literal","literal":3}})")},
        WireCase{"time_range_filter",
                 [] {
                   return E::make(E::timeRangeFilter, EnumTimeRangeFilterSeries{.input = mode(),
                                                                                .startTime = ts_literal(10),
                                                                                .endTime = ts_literal(20)});
                 },
                 union_json("timeRangeFilter",
                      std::string(R"({"input":)") + kMode +
                          R"(,"startTime":{"type":"literal","literal":{"seconds":10,"nanos":0}},)"
                          R"("endTime":{"type":"literal","literal":{"seconds":20,"nanos":0}}})")},
        WireCase{"time_shift",
                 [] { return E::make(E::timeShift, EnumTimeShiftSeries{.input = mode(), .duration = minute()}); },
                 union_json("timeShift", std::string(R"({"input":)") + kMode + R"(,"duration":)" + kMinute + "}")},
        // "input" is singular on the wire though it holds a list, kept in the order given.
        WireCase{"union",
                 [] {
                   return E::make(E::union_, EnumUnionSeries{.input = list({mode(), gear()}),
                                                             .operation = EnumUnionOperation::make(EnumUnionOperation::min)});
                 },
                 union_json("union", std::string(R"({"input":[)") + kMode + "," + kGear + R"(],"operation":"MIN"})")},
        WireCase{"filter_transformation",
                 [] {
                   return E::make(E::filterTransformation,
                                  EnumFilterTransformationSeries{
                                      .input = mode(),
                                      .filter = RangeSeries::make(RangeSeries::literalRanges, LiteralRanges{})});
                 },
                 union_json("filterTransformation",
                      std::string(R"({"input":)") + kMode + R"(,"filter":{"type":"literalRanges","literalRanges":{}}})")},
        WireCase{"value_map",
                 [] {
                   return E::make(E::valueMap,
                                  ValueMapSeries{.input = NumericSeries::make(NumericSeries::raw, Reference{.name = Value::str("x")}),
                                                 .mapping = list({RangeMap{.start = double_literal(0.0),
                                                                           .end = double_literal(1.0),
                                                                           .output = string_literal("low")}
                                                                      .build()}),
                                                 .default_ = string_literal("high")});
                 },
                 R"({"type":"valueMap","valueMap":{"input":{"type":"raw","raw":{"name":"x"}},"mapping":[{"start":)"
                 R"({"type":"literal","literal":0.0},"end":{"type":"literal","literal":1.0},"output":{"type":"literal",)"
                 R"("literal":"low"}}],"default":{"type":"literal","literal":"high"}}})"},
        WireCase{"select_1d_array_index",
                 [] {
                   return E::make(E::select1dArrayIndex,
                                  SelectIndexFrom1dEnumArraySeries{
                                      .input = Enum1dArraySeries::make(Enum1dArraySeries::raw, Reference{.name = Value::str("arr")}),
                                      .index = integer_literal(0)});
                 },
                 R"({"type":"select1dArrayIndex","select1dArrayIndex":{"input":{"type":"raw","raw":{"name":"arr"}},)"
                 R"("index":{"type":"literal","literal":0}}})"},
        WireCase{"extract_from_struct",
                 [] {
                   return E::make(E::extractFromStruct,
                                  ExtractEnumFromStructSeries{
                                      .input = StructSeries::make(StructSeries::raw, Reference{.name = Value::str("s")}),
                                      .fieldPath = list({string_literal("b"), string_literal("a")})});
                 },
                 R"({"type":"extractFromStruct","extractFromStruct":{"input":{"type":"raw","raw":{"name":"s"}},)"
                 R"("fieldPath":[{"type":"literal","literal":"b"},{"type":"literal","literal":"a"}]}})"},
        WireCase{"event_aggregation",
                 [] {
                   return E::make(E::eventAggregation,
                                  EventsEnumSeries{.query = rids::api::ComputeEventQuery::make(
                                                       rids::api::ComputeEventQuery::label, string_literal("x")),
                                                   .valueSource = EventsEnumValueSource::make(EventsEnumValueSource::level,
                                                                                              EventsEnumLevelSource{})});
                 },
                 R"({"type":"eventAggregation","eventAggregation":{"query":{"type":"label","label":{"type":"literal",)"
                 R"("literal":"x"}},"valueSource":{"type":"level","level":{}}}})"},
        WireCase{"enum_aggregation",
                 [] {
                   return E::make(
                       E::enumAggregation,
                       EnumAggregation{
                           .input = AggregationBuilder::make(
                               AggregationBuilder::rollingPoints,
                               RollingPointsAggregationBuilder{.input = Series::make(Series::enum_, mode()),
                                                               .points = integer_literal(5)}),
                           .operator_ = EnumAggregationOperator::make(EnumAggregationOperator::max, EmptyAggregationPayload{})});
                 },
                 union_json("enumAggregation", std::string(R"({"input":{"type":"rollingPoints","rollingPoints":{"input":)") +
                                             union_json("enum", kMode) +
                                             R"(,"points":{"type":"literal","literal":5}}},"operator":{"type":"max","max":{}}})")},
        WireCase{"select_enum", [] { return E::make(E::selectEnum, SelectSeries{.name = string_literal("gear")}); },
                 R"({"type":"selectEnum","selectEnum":{"name":{"type":"literal","literal":"gear"}}})"},
        WireCase{"filter_by_tag",
                 [] {
                   Value values = StringSetConstantV2::make(StringSetConstantV2::literal,
                                                            string_constant_set({string_literal("b"), string_literal("a")}));
                   return E::make(E::filterByTag,
                                  EnumTagFilterSeries{.input = mode(),
                                                      .predicate = TagPredicate::make(
                                                          TagPredicate::in, TagIn{.key = string_literal("site"), .values = values})});
                 },
                 union_json("filterByTag", std::string(R"({"input":)") + kMode +
                                         R"(,"predicate":{"type":"in","in":{"key":{"type":"literal","literal":"site"},)"
                                         R"("values":{"type":"literal","literal":[{"type":"literal","literal":"a"},)"
                                         R"({"type":"literal","literal":"b"}]}}}})")},
        // Tag keys are a set: duplicates dropped, literals in byte order.
        WireCase{"select_tags",
                 [] {
                   return E::make(E::selectTags,
                                  EnumSelectTagsSeries{.input = mode(),
                                                       .tagKeys = string_constant_set(
                                                           {string_literal("b"), string_literal("a"), string_literal("b")})});
                 },
                 union_json("selectTags", std::string(R"({"input":)") + kMode +
                                        R"(,"tagKeys":[{"type":"literal","literal":"a"},{"type":"literal","literal":"b"}]})")},
        WireCase{"scalar_udf",
                 [] {
                   return E::make(E::scalarUdf,
                                  ScalarUdfSeries{.inputs = list({Series::make(Series::enum_, mode())}),
                                                  .source = UdfSource::make(UdfSource::rust,
                                                                            RustUdfSource{.sourceCode = Value::str("")})});
                 },
                 union_json("scalarUdf", std::string(R"({"inputs":[)") + union_json("enum", kMode) +
                                       R"(],"source":{"type":"rust","rust":{"sourceCode":""}}})")},
        WireCase{"to_start_of_interval",
                 [] {
                   return E::make(E::toStartOfInterval,
                                  EnumToStartOfIntervalSeries{
                                      .input = mode(),
                                      .window = Duration::make(Duration::seconds, DurationSeconds{.seconds = integer_literal(1)})});
                 },
                 union_json("toStartOfInterval", std::string(R"({"input":)") + kMode +
                                               R"(,"window":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":1}}}})")},
        WireCase{"unknown", [] { return E::unknown("heatmap", Any{{"bins", 3}}); },
                 R"({"type":"heatmap","heatmap":{"bins":3}})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelEEnumSeriesEdges, ModelECategorical,
    testing::Values(
        WireCase{"union_without_inputs_writes_only_operation",
                 [] { return EnumUnionSeries{.operation = EnumUnionOperation::make(EnumUnionOperation::throw_)}.build(); },
                 R"({"operation":"THROW"})"},
        WireCase{"select_tags_without_keys_writes_only_input", [] { return EnumSelectTagsSeries{.input = mode()}.build(); },
                 std::string(R"({"input":)") + kMode + "}"},
        WireCase{"time_range_filter_without_bounds", [] { return EnumTimeRangeFilterSeries{.input = mode()}.build(); },
                 std::string(R"({"input":)") + kMode + "}"},
        WireCase{"time_range_filter_end_only",
                 [] { return EnumTimeRangeFilterSeries{.input = mode(), .endTime = ts_literal(5)}.build(); },
                 std::string(R"({"input":)") + kMode + R"(,"endTime":{"type":"literal","literal":{"seconds":5,"nanos":0}}})"},
        WireCase{"resample_configuration_without_interpolation",
                 [] { return EnumResampleConfiguration{.interval = minute()}.build(); },
                 std::string(R"({"interval":)") + kMinute + "}"},
        WireCase{"resample_configuration_with_constant",
                 [] {
                   using I = EnumResampleInterpolationConfiguration;
                   return EnumResampleConfiguration{
                       .interval = minute(),
                       .interpolation = I::make(I::constantResampleInterpolationConfiguration,
                                                EnumConstantResampleInterpolationConfiguration{.constant = string_literal("idle")})}
                       .build();
                 },
                 std::string(R"({"interval":)") + kMinute +
                     R"(,"interpolation":{"type":"constantResampleInterpolationConfiguration",)"
                     R"("constantResampleInterpolationConfiguration":{"constant":{"type":"literal","literal":"idle"}}}})"},
        // A node nested in a node of the same family.
        WireCase{"aggregate_of_time_shift",
                 [] {
                   return E::make(E::aggregate,
                                  AggregateEnumSeries{
                                      .input = E::make(E::timeShift, EnumTimeShiftSeries{.input = mode(), .duration = minute()}),
                                      .function = EnumAggregationFunction::make(EnumAggregationFunction::min)});
                 },
                 union_json("aggregate", std::string(R"({"input":)") +
                                       union_json("timeShift", std::string(R"({"input":)") + kMode + R"(,"duration":)" + kMinute + "}") +
                                       R"(,"function":"MIN"})")},
        WireCase{"unknown_inside_union_input",
                 [] {
                   return EnumUnionSeries{.input = list({E::unknown("x", Any(nullptr))}),
                                          .operation = EnumUnionOperation::make(EnumUnionOperation::max)}
                       .build();
                 },
                 R"({"input":[{"type":"x","x":null}],"operation":"MAX"})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelESmallUnions, ModelECategorical,
    testing::Values(
        WireCase{"forward_fill",
                 [] {
                   using I = EnumResampleInterpolationConfiguration;
                   return I::make(I::forwardFillResampleInterpolationConfiguration, EnumForwardFillResampleInterpolation{});
                 },
                 union_json("forwardFillResampleInterpolationConfiguration", "{}")},
        // The categorical fill constant is a string, never a number.
        WireCase{"constant_fill",
                 [] {
                   using I = EnumResampleInterpolationConfiguration;
                   return I::make(I::constantResampleInterpolationConfiguration,
                                  EnumConstantResampleInterpolationConfiguration{.constant = string_literal("2")});
                 },
                 union_json("constantResampleInterpolationConfiguration", R"({"constant":{"type":"literal","literal":"2"}})")},
        WireCase{"interpolation_unknown",
                 [] { return EnumResampleInterpolationConfiguration::unknown("linear", Any::array()); },
                 R"({"type":"linear","linear":[]})"},
        WireCase{"value_source_property",
                 [] { return EventsEnumValueSource::make(EventsEnumValueSource::property, string_variable("p")); },
                 R"({"type":"property","property":{"type":"variable","variable":"p"}})"},
        WireCase{"value_source_level",
                 [] { return EventsEnumValueSource::make(EventsEnumValueSource::level, EventsEnumLevelSource{}); },
                 R"({"type":"level","level":{}})"},
        WireCase{"value_source_unknown", [] { return EventsEnumValueSource::unknown("label", Any("l")); },
                 R"({"type":"label","label":"l"})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelEEnumerations, ModelECategorical,
    testing::Values(
        WireCase{"function_min", [] { return EnumAggregationFunction::make(EnumAggregationFunction::min); }, R"("MIN")"},
        WireCase{"function_max", [] { return EnumAggregationFunction::make(EnumAggregationFunction::max); }, R"("MAX")"},
        WireCase{"function_unknown", [] { return EnumAggregationFunction::unknown("median"); }, R"("median")"},
        WireCase{"operation_throw", [] { return EnumUnionOperation::make(EnumUnionOperation::throw_); }, R"("THROW")"},
        WireCase{"operation_max", [] { return EnumUnionOperation::make(EnumUnionOperation::max); }, R"("MAX")"},
        WireCase{"operation_min", [] { return EnumUnionOperation::make(EnumUnionOperation::min); }, R"("MIN")"},
        WireCase{"operation_unknown", [] { return EnumUnionOperation::unknown("First Wins"); }, R"("First Wins")"}),
    wire_case_name);

TEST(ModelECategoricalShape, VariantsInDeclarationOrder) {
  const E::Variant order[] = {E::aggregate,         E::raw,
                              E::channel,           E::derived,
                              E::resample,          E::nthPointDownsample,
                              E::timeRangeFilter,   E::timeShift,
                              E::union_,            E::filterTransformation,
                              E::valueMap,          E::select1dArrayIndex,
                              E::extractFromStruct, E::eventAggregation,
                              E::enumAggregation,   E::selectEnum,
                              E::filterByTag,       E::selectTags,
                              E::scalarUdf,         E::toStartOfInterval};
  for (size_t i = 0; i < std::size(order); ++i) EXPECT_EQ(static_cast<size_t>(order[i]), i);
  EXPECT_EQ(E::variant_count, 20u);
  EXPECT_EQ(EnumResampleInterpolationConfiguration::variant_count, 2u);
  EXPECT_EQ(EventsEnumValueSource::variant_count, 2u);
  EXPECT_EQ(EnumAggregationFunction::value_count, 2u);
  EXPECT_EQ(EnumUnionOperation::value_count, 3u);
}

}  // namespace
}  // namespace qc::model
