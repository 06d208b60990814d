// Wire form of series selection, channels, tag filters and tag predicates, the numeric nodes
// that filter or select by tag, and deep copies of the tag trees.
#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/array_series_unions.h"
#include "quarnel/compute/model/categorical_unions.h"
#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/dataset_unions.h"
#include "quarnel/compute/model/log_series_unions.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/resample_unions.h"
#include "quarnel/compute/model/selection_unions.h"
#include "quarnel/compute/model/struct_series_unions.h"

#include "wire_case.h"

namespace qc::model {
namespace {

#define LIT(text) "{\"type\":\"literal\",\"literal\":\"" text "\"}"
#define VAR(text) "{\"type\":\"variable\",\"variable\":\"" text "\"}"
#define RAW_X "{\"type\":\"raw\",\"raw\":{\"name\":\"x\"}}"
#define MIN_CHANNEL \
  "{\"type\":\"dataSource\",\"dataSource\":{\"dataSourceRid\":" LIT("ds") ",\"channel\":" LIT("c") "}}"
#define FILTER_K_IN "{\"type\":\"single\",\"single\":{\"key\":" LIT("k") ",\"operator\":\"IN\"}}"
#define IN_K_VAR "{\"type\":\"in\",\"in\":{\"key\":" LIT("k") ",\"values\":" VAR("vs") "}}"

Value raw_x() { return NumericSeries::make(NumericSeries::raw, Reference{.name = Value::str("x")}); }
Value min_channel() {
  return ChannelSeries::make(ChannelSeries::dataSource,
                             DataSourceChannel{.dataSourceRid = string_literal("ds"), .channel = string_literal("c")});
}
Value filter_k_in() {
  return TagFilters::make(TagFilters::single,
                          TagFilter{.key = string_literal("k"), .operator_ = TagFilterOperator::make(TagFilterOperator::in)});
}
Value filters_and(std::vector<Value> items) { return TagFilters::make(TagFilters::and_, list(std::move(items))); }
Value in_k_var() {
  return TagPredicate::make(
      TagPredicate::in,
      TagIn{.key = string_literal("k"), .values = StringSetConstantV2::make(StringSetConstantV2::variable, Value::str("vs"))});
}
Value predicate_and(Value left, Value right) {
  return TagPredicate::make(TagPredicate::and_, TagAnd{.left = std::move(left), .right = std::move(right)});
}
SelectSeries select_s() { return {.name = string_literal("s")}; }

QC_WIRE_SUITE(ModelF2SelectionWire)

INSTANTIATE_TEST_SUITE_P(
    ModelF2Select, ModelF2SelectionWire,
    testing::Values(
        WireCase{"name_only", [] { return select_s().build(); }, R"({"name":)" LIT("s") "}"},
        WireCase{"sampling_directly_follows_name",
                 [] {
                   Value sampling = Sampling::make(Sampling::everyNthPerSeries,
                                                   EveryNthPerSeriesSampling{.n = integer_literal(10)});
                   return SelectSeries{.name = string_literal("s"), .sampling = sampling}.build();
                 },
                 R"({"name":)" LIT("s") R"(,"sampling":{"type":"everyNthPerSeries","everyNthPerSeries":{"n":{"type":"literal","literal":10}}}})"},
        WireCase{"name_dataset_sampling",
                 [] {
                   Value dataset = Dataset::make(Dataset::reference, DatasetReference{.name = string_literal("d")});
                   Value sampling = Sampling::make(Sampling::hashSubsample, HashSubsampleSampling{.n = integer_literal(2)});
                   return SelectSeries{.name = string_variable("n"), .dataset = dataset, .sampling = sampling}.build();
                 },
                 R"({"name":)" VAR("n") R"(,"dataset":{"type":"reference","reference":{"name":)" LIT("d")
                 R"(}},"sampling":{"type":"hashSubsample","hashSubsample":{"n":{"type":"literal","literal":2}}}})"}),
    wire_case_name);

// The select and channel variants of every series family carry the same payloads.
INSTANTIATE_TEST_SUITE_P(
    ModelF2SeriesVariants, ModelF2SelectionWire,
    testing::Values(
        WireCase{"numeric_select", [] { return NumericSeries::make(NumericSeries::selectNumeric, select_s()); },
                 R"({"type":"selectNumeric","selectNumeric":{"name":)" LIT("s") "}}"},
        WireCase{"enum_select", [] { return EnumSeries::make(EnumSeries::selectEnum, select_s()); },
                 R"({"type":"selectEnum","selectEnum":{"name":)" LIT("s") "}}"},
        WireCase{"struct_select", [] { return StructSeries::make(StructSeries::selectStruct, select_s()); },
                 R"({"type":"selectStruct","selectStruct":{"name":)" LIT("s") "}}"},
        WireCase{"log_select", [] { return LogSeries::make(LogSeries::selectLogs, select_s()); },
                 R"({"type":"selectLogs","selectLogs":{"name":)" LIT("s") "}}"},
        WireCase{"numeric1d_array_select",
                 [] { return Numeric1dArraySeries::make(Numeric1dArraySeries::selectNumeric1dArray, select_s()); },
                 R"({"type":"selectNumeric1dArray","selectNumeric1dArray":{"name":)" LIT("s") "}}"},
        WireCase{"enum1d_array_select",
                 [] { return Enum1dArraySeries::make(Enum1dArraySeries::selectEnum1dArray, select_s()); },
                 R"({"type":"selectEnum1dArray","selectEnum1dArray":{"name":)" LIT("s") "}}"},
        WireCase{"numeric_channel", [] { return NumericSeries::make(NumericSeries::channel, min_channel()); },
                 R"({"type":"channel","channel":)" MIN_CHANNEL "}"},
        WireCase{"enum_channel", [] { return EnumSeries::make(EnumSeries::channel, min_channel()); },
                 R"({"type":"channel","channel":)" MIN_CHANNEL "}"},
        WireCase{"struct_channel", [] { return StructSeries::make(StructSeries::channel, min_channel()); },
                 R"({"type":"channel","channel":)" MIN_CHANNEL "}"},
        WireCase{"log_channel", [] { return LogSeries::make(LogSeries::channel, min_channel()); },
                 R"({"type":"channel","channel":)" MIN_CHANNEL "}"},
        WireCase{"numeric1d_array_channel",
                 [] { return Numeric1dArraySeries::make(Numeric1dArraySeries::channel, min_channel()); },
                 R"({"type":"channel","channel":)" MIN_CHANNEL "}"},
        WireCase{"enum1d_array_channel",
                 [] { return Enum1dArraySeries::make(Enum1dArraySeries::channel, min_channel()); },
                 R"({"type":"channel","channel":)" MIN_CHANNEL "}"},
        WireCase{"numeric_filter_by_tag",
                 [] {
                   return NumericSeries::make(NumericSeries::filterByTag,
                                              NumericTagFilterSeries{.input = raw_x(), .predicate = in_k_var()});
                 },
                 R"({"type":"filterByTag","filterByTag":{"input":)" RAW_X R"(,"predicate":)" IN_K_VAR "}}"},
        WireCase{"numeric_select_tags_without_keys_writes_input_only",
                 [] { return NumericSeries::make(NumericSeries::selectTags, NumericSelectTagsSeries{.input = raw_x()}); },
                 R"({"type":"selectTags","selectTags":{"input":)" RAW_X "}}"},
        WireCase{"numeric_select_tags_keys_in_set_order",
                 [] {
                   Value keys = string_constant_set(
                       {string_variable("a"), string_literal("b"), string_literal("a"), string_literal("b")});
                   return NumericSeries::make(NumericSeries::selectTags,
                                              NumericSelectTagsSeries{.input = raw_x(), .tagKeys = keys});
                 },
                 R"({"type":"selectTags","selectTags":{"input":)" RAW_X R"(,"tagKeys":[)" LIT("a") "," LIT("b") "," VAR("a")
                 "]}}"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelF2Channel, ModelF2SelectionWire,
    testing::Values(
        WireCase{"data_source_with_nothing_optional", min_channel, MIN_CHANNEL},
        WireCase{"data_source_full",
                 [] {
                   return ChannelSeries::make(
                       ChannelSeries::dataSource,
                       DataSourceChannel{
                           .dataSourceRid = string_literal("ds"),
                           .channel = string_literal("c"),
                           .tags = string_map({{"b", string_literal("2")}, {"ab", string_literal("1")}, {"B", string_variable("0")}}),
                           .tagFilters = filter_k_in(),
                           .tagsToGroupBy = string_set({"b", "a", "b"}),
                           .groupByTags = string_constant_set({string_variable("g"), string_literal("g")})});
                 },
                 R"({"type":"dataSource","dataSource":{"dataSourceRid":)" LIT("ds") R"(,"channel":)" LIT("c")
                 R"(,"tags":{"B":)" VAR("0") R"(,"ab":)" LIT("1") R"(,"b":)" LIT("2") R"(},"tagFilters":)" FILTER_K_IN
                 R"(,"tagsToGroupBy":["a","b"],"groupByTags":[)" LIT("g") "," VAR("g") "]}}"},
        // The same tag name in both grouping sets: plain strings, then constants.
        WireCase{"asset_full",
                 [] {
                   return ChannelSeries::make(
                       ChannelSeries::asset,
                       AssetChannel{.assetRid = string_literal("a"),
                                    .dataScopeName = string_literal("scope"),
                                    .channel = string_literal("c"),
                                    .additionalTags = string_map({{"t", string_literal("v")}}),
                                    .additionalTagFilters = filters_and({}),
                                    .tagsToGroupBy = string_set({"t"}),
                                    .groupByTags = string_constant_set({string_literal("t")})});
                 },
                 R"({"type":"asset","asset":{"assetRid":)" LIT("a") R"(,"dataScopeName":)" LIT("scope")
                 R"(,"channel":)" LIT("c") R"(,"additionalTags":{"t":)" LIT("v")
                 R"(},"additionalTagFilters":{"type":"and","and":[]},"tagsToGroupBy":["t"],"groupByTags":[)" LIT("t")
                 "]}}"},
        WireCase{"asset_minimal",
                 [] {
                   return ChannelSeries::make(ChannelSeries::asset,
                                              AssetChannel{.assetRid = string_literal("a"),
                                                           .dataScopeName = string_literal("scope"),
                                                           .channel = string_literal("c")});
                 },
                 R"({"type":"asset","asset":{"assetRid":)" LIT("a") R"(,"dataScopeName":)" LIT("scope")
                 R"(,"channel":)" LIT("c") "}}"},
        WireCase{"run_without_asset_rid",
                 [] {
                   return ChannelSeries::make(ChannelSeries::run, RunChannel{.runRid = string_literal("r"),
                                                                             .dataScopeName = string_literal("scope"),
                                                                             .channel = string_literal("c")});
                 },
                 R"({"type":"run","run":{"runRid":)" LIT("r") R"(,"dataScopeName":)" LIT("scope") R"(,"channel":)" LIT("c")
                 "}}"},
        WireCase{"run_asset_rid_between_run_rid_and_scope",
                 [] {
                   return ChannelSeries::make(ChannelSeries::run,
                                              RunChannel{.runRid = string_literal("r"),
                                                         .assetRid = string_literal("a"),
                                                         .dataScopeName = string_literal("scope"),
                                                         .channel = string_literal("c"),
                                                         .additionalTags = string_map({{"t", string_variable("v")}}),
                                                         .additionalTagFilters = filter_k_in(),
                                                         .tagsToGroupBy = string_set({"z"}),
                                                         .groupByTags = string_constant_set({string_variable("y")})});
                 },
                 R"({"type":"run","run":{"runRid":)" LIT("r") R"(,"assetRid":)" LIT("a") R"(,"dataScopeName":)"
                 LIT("scope") R"(,"channel":)" LIT("c") R"(,"additionalTags":{"t":)" VAR("v")
                 R"(},"additionalTagFilters":)" FILTER_K_IN R"(,"tagsToGroupBy":["z"],"groupByTags":[)" VAR("y") "]}}"},
        WireCase{"unknown", [] { return ChannelSeries::unknown("dataset", Any::parse(R"({"rid":"x"})")); },
                 R"({"type":"dataset","dataset":{"rid":"x"}})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelF2TagFilters, ModelF2SelectionWire,
    testing::Values(
        WireCase{"single_without_values_writes_key_and_operator", filter_k_in, FILTER_K_IN},
        WireCase{"single_not_in_values_in_set_order",
                 [] {
                   return TagFilters::make(
                       TagFilters::single,
                       TagFilter{.key = string_variable("k"),
                                 .values = string_constant_set({string_literal("b"), string_literal("a"), string_literal("b")}),
                                 .operator_ = TagFilterOperator::make(TagFilterOperator::notIn)});
                 },
                 R"({"type":"single","single":{"key":)" VAR("k") R"(,"values":[)" LIT("a") "," LIT("b")
                 R"(],"operator":"NOT_IN"}})"},
        WireCase{"single_unknown_operator_written_back",
                 [] {
                   return TagFilters::make(TagFilters::single, TagFilter{.key = string_literal("k"),
                                                                         .operator_ = TagFilterOperator::unknown("LIKE")});
                 },
                 R"({"type":"single","single":{"key":)" LIT("k") R"(,"operator":"LIKE"}})"},
        WireCase{"and_of_nothing_is_empty_array", [] { return filters_and({}); }, R"({"type":"and","and":[]})"},
        WireCase{"nested_and_lists",
                 [] { return filters_and({filters_and({filter_k_in(), filters_and({})}), filter_k_in()}); },
                 R"({"type":"and","and":[{"type":"and","and":[)" FILTER_K_IN R"(,{"type":"and","and":[]}]},)" FILTER_K_IN
                 "]}"},
        WireCase{"unknown", [] { return TagFilters::unknown("or", Any::parse("[]")); }, R"({"type":"or","or":[]})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelF2TagPredicate, ModelF2SelectionWire,
    testing::Values(
        WireCase{"in_with_variable_values", in_k_var, IN_K_VAR},
        WireCase{"in_with_literal_set_in_set_order",
                 [] {
                   Value values = StringSetConstantV2::make(StringSetConstantV2::literal,
                                                            string_constant_set({string_literal("b"), string_literal("a")}));
                   return TagPredicate::make(TagPredicate::in, TagIn{.key = string_literal("k"), .values = values});
                 },
                 R"({"type":"in","in":{"key":)" LIT("k") R"(,"values":{"type":"literal","literal":[)" LIT("a") "," LIT("b")
                 "]}}}"},
        // "values" is a required constant, so an empty literal set is still written.
        WireCase{"not_in_with_empty_literal_set",
                 [] {
                   Value values = StringSetConstantV2::make(StringSetConstantV2::literal, string_constant_set({}));
                   return TagPredicate::make(TagPredicate::notIn, TagNotIn{.key = string_literal("k"), .values = values});
                 },
                 R"({"type":"notIn","notIn":{"key":)" LIT("k") R"(,"values":{"type":"literal","literal":[]}}})"},
        WireCase{"and_writes_left_then_right",
                 [] {
                   Value not_in = TagPredicate::make(TagPredicate::notIn,
                                                     TagNotIn{.key = string_literal("j"),
                                                              .values = StringSetConstantV2::make(
                                                                  StringSetConstantV2::variable, Value::str("ws"))});
                   return predicate_and(in_k_var(), not_in);
                 },
                 R"({"type":"and","and":{"left":)" IN_K_VAR R"(,"right":{"type":"notIn","notIn":{"key":)" LIT("j")
                 R"(,"values":)" VAR("ws") "}}}}"},
        WireCase{"unknown", [] { return TagPredicate::unknown("or", Any(true)); }, R"({"type":"or","or":true})"}),
    wire_case_name);

TEST(ModelF2SelectionEnum, TagFilterOperatorValues) {
  EXPECT_EQ(to_json(TagFilterOperator::make(TagFilterOperator::in)), R"("IN")");
  EXPECT_EQ(to_json(TagFilterOperator::make(TagFilterOperator::notIn)), R"("NOT_IN")");
  EXPECT_EQ(to_json(TagFilterOperator::unknown("NOTIN")), R"("NOTIN")");
}

TEST(ModelF2SelectionCopy, PredicateThreeLevelsDeep) {
  expect_wire(
      [] {
        Value filtered = NumericSeries::make(
            NumericSeries::filterByTag,
            NumericTagFilterSeries{.input = raw_x(),
                                   .predicate = predicate_and(predicate_and(predicate_and(in_k_var(), in_k_var()), in_k_var()),
                                                              in_k_var())});
        return filtered;
      },
      R"({"type":"filterByTag","filterByTag":{"input":)" RAW_X
      R"(,"predicate":{"type":"and","and":{"left":{"type":"and","and":{"left":{"type":"and","and":{"left":)" IN_K_VAR
      R"(,"right":)" IN_K_VAR R"(}},"right":)" IN_K_VAR R"(}},"right":)" IN_K_VAR "}}}}");
}

TEST(ModelF2SelectionCopy, ChannelWithNestedFilters) {
  expect_wire(
      [] {
        return ChannelSeries::make(
            ChannelSeries::dataSource,
            DataSourceChannel{.dataSourceRid = string_literal("ds"),
                              .channel = string_literal("c"),
                              .tagFilters = filters_and({filters_and({filters_and({filter_k_in()})})})});
      },
      R"({"type":"dataSource","dataSource":{"dataSourceRid":)" LIT("ds") R"(,"channel":)" LIT("c")
      R"(,"tagFilters":{"type":"and","and":[{"type":"and","and":[{"type":"and","and":[)" FILTER_K_IN "]}]}]}}}");
}

}  // namespace
}  // namespace qc::model
