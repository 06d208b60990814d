// Wire form of datasets, anchors and resource searches, and deep copies of derived datasets.
#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/dataset_unions.h"
#include "quarnel/compute/model/durations_unions.h"
#include "quarnel/compute/model/reference.h"
#include "quarnel/compute/model/selection_unions.h"
#include "quarnel/compute/model/series_unions.h"

#include "wire_case.h"

namespace qc::model {
namespace {

using rids::api::LabelsFilter;
using rids::api::PropertiesFilter;

#define LIT(text) "{\"type\":\"literal\",\"literal\":\"" text "\"}"
#define ASSET_A "{\"type\":\"asset\",\"asset\":{\"rid\":" LIT("ri.a") "}}"
#define RUN_R "{\"type\":\"run\",\"run\":{\"rid\":" LIT("ri.r") "}}"
#define WORKSPACE_W "{\"type\":\"workspace\",\"workspace\":" LIT("w") "}"

Value asset_a() { return Dataset::make(Dataset::asset, Asset{.rid = string_literal("ri.a")}); }
Value run_r() { return Dataset::make(Dataset::run, Run{.rid = string_literal("ri.r")}); }
Value workspace_w() { return ResourceSearchQuery::make(ResourceSearchQuery::workspace, string_literal("w")); }
Value seconds(int32_t n) { return Duration::make(Duration::seconds, DurationSeconds{.seconds = integer_literal(n)}); }
Value query_list(ResourceSearchQuery::Variant v, std::vector<Value> items) {
  return ResourceSearchQuery::make(v, list(std::move(items)));
}
Value search(Value target, Value max_results = {}) {
  return Dataset::make(Dataset::search, SearchDataset{.target = std::move(target), .maxResults = std::move(max_results)});
}

QC_WIRE_SUITE(ModelF2DatasetWire)

INSTANTIATE_TEST_SUITE_P(
    ModelF2Datasets, ModelF2DatasetWire,
    testing::Values(
        // Asset and run share one payload shape; only the variant name differs.
        WireCase{"asset", asset_a, ASSET_A},
        WireCase{"run_with_same_rid",
                 [] { return Dataset::make(Dataset::run, Run{.rid = string_literal("ri.a")}); },
                 R"({"type":"run","run":{"rid":)" LIT("ri.a") "}}"},
        WireCase{"saved_with_variable_rid",
                 [] { return Dataset::make(Dataset::saved, SavedDataset{.rid = string_variable("rid")}); },
                 R"({"type":"saved","saved":{"rid":{"type":"variable","variable":"rid"}}})"},
        WireCase{"search_without_limit_writes_target_only",
                 [] {
                   return search(SearchTarget::make(SearchTarget::assets, AssetsSearchTarget{.query = workspace_w()}));
                 },
                 R"({"type":"search","search":{"target":{"type":"assets","assets":{"query":)" WORKSPACE_W "}}}}"},
        WireCase{"search_with_negative_limit",
                 [] {
                   return search(SearchTarget::make(SearchTarget::runs, RunsSearchTarget{.query = workspace_w()}),
                                 Value::i32(-1));
                 },
                 R"({"type":"search","search":{"target":{"type":"runs","runs":{"query":)" WORKSPACE_W
                 R"(}},"maxResults":-1}})"},
        WireCase{"search_with_zero_limit",
                 [] {
                   return search(SearchTarget::make(SearchTarget::runs, RunsSearchTarget{.query = workspace_w()}),
                                 Value::i32(0));
                 },
                 R"({"type":"search","search":{"target":{"type":"runs","runs":{"query":)" WORKSPACE_W
                 R"(}},"maxResults":0}})"},
        WireCase{"combine_of_nothing_is_empty_object",
                 [] { return Dataset::make(Dataset::combine, CombinedDataset{}); },
                 R"({"type":"combine","combine":{}})"},
        WireCase{"combine_keeps_order_and_duplicates",
                 [] {
                   return Dataset::make(Dataset::combine, CombinedDataset{.inputs = list({asset_a(), run_r(), asset_a()})});
                 },
                 R"({"type":"combine","combine":{"inputs":[)" ASSET_A "," RUN_R "," ASSET_A "]}}"},
        WireCase{"tag_writes_input_key_value",
                 [] {
                   return Dataset::make(Dataset::tag, TaggedDataset{.input = asset_a(), .key = string_literal("k"),
                                                                     .value = string_literal("v")});
                 },
                 R"({"type":"tag","tag":{"input":)" ASSET_A R"(,"key":)" LIT("k") R"(,"value":)" LIT("v") "}}"},
        WireCase{"filter_by_predicate",
                 [] {
                   Value in = TagPredicate::make(
                       TagPredicate::in, TagIn{.key = string_literal("k"),
                                               .values = StringSetConstantV2::make(StringSetConstantV2::variable,
                                                                                   Value::str("vals"))});
                   return Dataset::make(Dataset::filter, FilteredDataset{.input = asset_a(), .predicate = in});
                 },
                 R"({"type":"filter","filter":{"input":)" ASSET_A R"(,"predicate":{"type":"in","in":{"key":)" LIT("k")
                 R"(,"values":{"type":"variable","variable":"vals"}}}}})"},
        WireCase{"time_shift_offset_is_a_duration_expression",
                 [] { return Dataset::make(Dataset::timeShift, TimeShiftedDataset{.input = asset_a(), .offset = seconds(5)}); },
                 R"({"type":"timeShift","timeShift":{"input":)" ASSET_A
                 R"(,"offset":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":5}}}}})"},
        WireCase{"align_by_run_anchor_at_interval_start",
                 [] {
                   Value anchor = DatasetAnchor::make(DatasetAnchor::run,
                                                      IntervalAnchor::make(IntervalAnchor::intervalStart, IntervalAnchorStart{}));
                   return Dataset::make(Dataset::alignByAnchor, AnchorAlignedDataset{.input = asset_a(), .anchor = anchor});
                 },
                 R"({"type":"alignByAnchor","alignByAnchor":{"input":)" ASSET_A
                 R"(,"anchor":{"type":"run","run":{"type":"intervalStart","intervalStart":{}}}}})"},
        WireCase{"with_no_series_writes_input_only",
                 [] { return Dataset::make(Dataset::withSeries, WithSeriesDataset{.input = asset_a()}); },
                 R"({"type":"withSeries","withSeries":{"input":)" ASSET_A "}}"},
        WireCase{"with_named_series",
                 [] {
                   Value named = NamedSeries{.name = string_literal("s"),
                                             .definition = Series::make(Series::raw, Reference{.name = Value::str("x")})}
                                     .build();
                   return Dataset::make(Dataset::withSeries, WithSeriesDataset{.input = asset_a(), .series = list({named})});
                 },
                 R"({"type":"withSeries","withSeries":{"input":)" ASSET_A R"(,"series":[{"name":)" LIT("s")
                 R"(,"definition":{"type":"raw","raw":{"name":"x"}}}]}})"},
        WireCase{"reference",
                 [] { return Dataset::make(Dataset::reference, DatasetReference{.name = string_literal("d")}); },
                 R"({"type":"reference","reference":{"name":)" LIT("d") "}}"},
        WireCase{"unknown",
                 [] { return Dataset::unknown("future", Any::parse(R"({"k":[1]})")); },
                 R"({"type":"future","future":{"k":[1]}})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelF2Anchors, ModelF2DatasetWire,
    testing::Values(
        WireCase{"run_anchor_at_interval_end",
                 [] {
                   return DatasetAnchor::make(DatasetAnchor::run,
                                              IntervalAnchor::make(IntervalAnchor::intervalEnd, IntervalAnchorEnd{}));
                 },
                 R"({"type":"run","run":{"type":"intervalEnd","intervalEnd":{}}})"},
        WireCase{"dataset_anchor_unknown", [] { return DatasetAnchor::unknown("asset", Any(nullptr)); },
                 R"({"type":"asset","asset":null})"},
        WireCase{"interval_anchor_unknown", [] { return IntervalAnchor::unknown("middle", Any("m")); },
                 R"({"type":"middle","middle":"m"})"},
        WireCase{"search_target_unknown", [] { return SearchTarget::unknown("datasets", Any(7)); },
                 R"({"type":"datasets","datasets":7})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelF2ResourceSearch, ModelF2DatasetWire,
    testing::Values(
        // Property values are a list: caller's order and duplicates stay.
        WireCase{"properties_keep_order_and_duplicates",
                 [] {
                   return ResourceSearchQuery::make(
                       ResourceSearchQuery::properties,
                       PropertiesFilter{.name = Value::str("p"),
                                        .values = list({Value::str("b"), Value::str("a"), Value::str("b")})});
                 },
                 R"({"type":"properties","properties":{"name":"p","values":["b","a","b"]}})"},
        WireCase{"properties_without_values_writes_name_only",
                 [] {
                   return ResourceSearchQuery::make(ResourceSearchQuery::properties,
                                                    PropertiesFilter{.name = Value::str("p")});
                 },
                 R"({"type":"properties","properties":{"name":"p"}})"},
        WireCase{"labels_and",
                 [] {
                   return ResourceSearchQuery::make(
                       ResourceSearchQuery::labels,
                       LabelsFilter{.operator_ = LabelsFilterOperator::make(LabelsFilterOperator::and_),
                                    .labels = list({Value::str("y"), Value::str("x")})});
                 },
                 R"({"type":"labels","labels":{"operator":"AND","labels":["y","x"]}})"},
        WireCase{"labels_or_without_labels_writes_operator_only",
                 [] {
                   return ResourceSearchQuery::make(
                       ResourceSearchQuery::labels,
                       LabelsFilter{.operator_ = LabelsFilterOperator::make(LabelsFilterOperator::or_)});
                 },
                 R"({"type":"labels","labels":{"operator":"OR"}})"},
        WireCase{"labels_unknown_operator_written_back",
                 [] {
                   return ResourceSearchQuery::make(ResourceSearchQuery::labels,
                                                    LabelsFilter{.operator_ = LabelsFilterOperator::unknown("XOR")});
                 },
                 R"({"type":"labels","labels":{"operator":"XOR"}})"},
        WireCase{"workspace", workspace_w, WORKSPACE_W},
        WireCase{"and_of_nothing_is_empty_array", [] { return query_list(ResourceSearchQuery::and_, {}); },
                 R"({"type":"and","and":[]})"},
        WireCase{"or_keeps_order",
                 [] {
                   return query_list(ResourceSearchQuery::or_,
                                     {workspace_w(), ResourceSearchQuery::make(ResourceSearchQuery::workspace,
                                                                               string_variable("ws"))});
                 },
                 R"({"type":"or","or":[)" WORKSPACE_W R"(,{"type":"workspace","workspace":{"type":"variable","variable":"ws"}}]})"},
        WireCase{"not_of_not_nests",
                 [] {
                   return ResourceSearchQuery::make(
                       ResourceSearchQuery::not_, ResourceSearchQuery::make(ResourceSearchQuery::not_, workspace_w()));
                 },
                 R"({"type":"not","not":{"type":"not","not":)" WORKSPACE_W "}}"},
        WireCase{"unknown", [] { return ResourceSearchQuery::unknown("text", Any::parse(R"(["a",false])")); },
                 R"({"type":"text","text":["a",false]})"}),
    wire_case_name);

TEST(ModelF2DatasetCopy, TagOfTimeShiftOfCombine) {
  expect_wire(
      [] {
        Value combine = Dataset::make(Dataset::combine, CombinedDataset{.inputs = list({asset_a(), run_r()})});
        Value shifted = Dataset::make(Dataset::timeShift, TimeShiftedDataset{.input = combine, .offset = seconds(-3)});
        return Dataset::make(Dataset::tag, TaggedDataset{.input = shifted, .key = string_literal("k"),
                                                          .value = string_variable("v")});
      },
      R"({"type":"tag","tag":{"input":{"type":"timeShift","timeShift":{"input":{"type":"combine","combine":{"inputs":[)" ASSET_A
      "," RUN_R
      R"(]}},"offset":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":-3}}}}},"key":)" LIT("k")
      R"(,"value":{"type":"variable","variable":"v"}}})");
}

TEST(ModelF2DatasetCopy, SearchQueryFourLevelsDeep) {
  expect_wire(
      [] {
        Value inner = ResourceSearchQuery::make(ResourceSearchQuery::not_, workspace_w());
        Value or_ = query_list(ResourceSearchQuery::or_, {inner, query_list(ResourceSearchQuery::and_, {})});
        Value and_ = query_list(ResourceSearchQuery::and_, {or_, workspace_w()});
        return search(SearchTarget::make(SearchTarget::assets, AssetsSearchTarget{.query = and_}), Value::i32(10));
      },
      R"({"type":"search","search":{"target":{"type":"assets","assets":{"query":{"type":"and","and":[)"
      R"({"type":"or","or":[{"type":"not","not":)" WORKSPACE_W R"(},{"type":"and","and":[]}]},)" WORKSPACE_W
      R"(]}}},"maxResults":10}})");
}

// Named from the model's own package: of the label search types only the filter records belong
// to rids::api.
TEST(ModelF2DatasetEnum, LabelsFilterOperatorValues) {
  EXPECT_EQ(to_json(::qc::model::LabelsFilterOperator::make(LabelsFilterOperator::and_)), R"("AND")");
  EXPECT_EQ(to_json(LabelsFilterOperator::make(LabelsFilterOperator::or_)), R"("OR")");
  EXPECT_EQ(to_json(LabelsFilterOperator::unknown("and")), R"("and")");
}

}  // namespace
}  // namespace qc::model
