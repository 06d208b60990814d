// Wire form of contexts, variable values, function variables and derived series, including the
// "derived" variant of every series union and computations nested inside their own contexts.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/array_series_unions.h"
#include "quarnel/compute/model/categorical_unions.h"
#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/context_unions.h"
#include "quarnel/compute/model/dataset_unions.h"
#include "quarnel/compute/model/log_series_unions.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/ranges_unions.h"
#include "quarnel/compute/model/selection_unions.h"
#include "quarnel/compute/model/series_unions.h"
#include "quarnel/compute/model/struct_series_unions.h"

#include "wire_case.h"

namespace qc::model {
namespace {

#define LIT(text) "{\"type\":\"literal\",\"literal\":\"" text "\"}"
#define RAW(name) "{\"type\":\"raw\",\"raw\":{\"name\":\"" name "\"}}"
// The function f of module m pinned at version 1, without arguments.
#define DERIVED_F                                                                              \
  R"({"type":"function","function":{"moduleName":)" LIT("m") R"(,"functionName":)" LIT("f") \
  R"(,"versionReference":{"type":"pinned","pinned":{"version":)" LIT("1") "}}}}"

Value pinned_1() {
  return ModuleVersionReference::make(ModuleVersionReference::pinned,
                                      PinnedModuleVersionReference{.version = string_literal("1")});
}
Value derived_f(Value args = {}) {
  return DerivedSeries::make(DerivedSeries::function,
                             FunctionDerivedSeries{.moduleName = string_literal("m"),
                                                   .functionName = string_literal("f"),
                                                   .versionReference = pinned_1(),
                                                   .functionArgs = std::move(args)});
}
Value integer_value(int32_t i) { return VariableValue::make(VariableValue::integer, Value::i32(i)); }
Value double_value(double d) { return VariableValue::make(VariableValue::double_, Value::f64(d)); }
Value numeric_raw(const char* name) { return NumericSeries::make(NumericSeries::raw, Reference{.name = Value::str(name)}); }
// A computation of the raw numeric series x under the given context.
Value compute_x(Value context) {
  return VariableValue::make(
      VariableValue::computeNode,
      ComputeNodeWithContext{.seriesNode = ComputeNode::make(ComputeNode::numeric, numeric_raw("x")),
                             .context = std::move(context)});
}

QC_WIRE_SUITE(ModelF1ContextWire)

INSTANTIATE_TEST_SUITE_P(
    ModelF1Context, ModelF1ContextWire,
    testing::Values(
        WireCase{"empty_maps_and_no_defaults_is_empty_object",
                 [] { return Context{.variables = string_map({}), .datasetReferences = string_map({})}.build(); }, "{}"},
        WireCase{"function_variables_present_and_empty_is_written",
                 [] {
                   return Context{.variables = string_map({}), .functionVariables = string_map({}),
                                  .datasetReferences = string_map({})}
                       .build();
                 },
                 R"({"functionVariables":{}})"},
        WireCase{"apply_data_scope_offsets_false_is_written",
                 [] { return Context{.applyDataScopeOffsets = Value::boolean(false)}.build(); },
                 R"({"applyDataScopeOffsets":false})"},
        WireCase{"variables_ordered_by_name_bytes",
                 [] {
                   return Context{.variables = string_map({{"b", integer_value(1)},
                                                           {"a", double_value(1.5)},
                                                           {"B", integer_value(2)}})}
                       .build();
                 },
                 R"({"variables":{"B":{"type":"integer","integer":2},"a":{"type":"double","double":1.5},)"
                 R"("b":{"type":"integer","integer":1}}})"},
        WireCase{"every_member_in_wire_order",
                 [] {
                   Value fill = FillStrategy::make(
                       FillStrategy::forwardFill,
                       ForwardFill{.limit = FillLimit::make(
                                       FillLimit::duration,
                                       DurationConstant::make(DurationConstant::literal, run_duration(60, 0)))});
                   return Context{
                       .variables = string_map({{"v", integer_value(0)}}),
                       .functionVariables = string_map({{"fn", FunctionVariables{}.build()}}),
                       .datasetReferences = string_map(
                           {{"d", Dataset::make(Dataset::asset, Asset{.rid = string_literal("ri.a")})}}),
                       .defaultFillStrategy = fill,
                       .defaultAlignmentStrategy = Alignment::make(Alignment::driverSeries, DriverSeriesAlignment{}),
                       .applyDataScopeOffsets = Value::boolean(true)}
                       .build();
                 },
                 R"({"variables":{"v":{"type":"integer","integer":0}},"functionVariables":{"fn":{}},)"
                 R"("datasetReferences":{"d":{"type":"asset","asset":{"rid":)" LIT("ri.a") R"(}}},)"
                 R"("defaultFillStrategy":{"type":"forwardFill","forwardFill":{"limit":{"type":"duration",)"
                 R"("duration":{"type":"literal","literal":{"seconds":60,"nanos":0}}}}},)"
                 R"("defaultAlignmentStrategy":{"type":"driverSeries","driverSeries":{}},)"
                 R"("applyDataScopeOffsets":true})"},
        WireCase{"function_variables_nest_through_sub_functions",
                 [] {
                   Value inner = FunctionVariables{.variables = string_map({{"v", integer_value(1)}})}.build();
                   Value outer = FunctionVariables{.variables = string_map({}),
                                                   .subFunctionVariables = string_map({{"g", inner}})}
                                     .build();
                   return Context{.functionVariables = string_map({{"f", outer}})}.build();
                 },
                 R"({"functionVariables":{"f":{"subFunctionVariables":{"g":{"variables":)"
                 R"({"v":{"type":"integer","integer":1}}}}}}})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelF1VariableValues, ModelF1ContextWire,
    testing::Values(
        WireCase{"double", [] { return double_value(2.0); }, R"({"type":"double","double":2.0})"},
        WireCase{"double_nan_is_null", [] { return double_value(std::nan("")); },
                 R"({"type":"double","double":null})"},
        WireCase{"compute_node_with_empty_context", [] { return compute_x(Context{}.build()); },
                 R"({"type":"computeNode","computeNode":{"seriesNode":{"type":"numeric","numeric":)" RAW("x")
                 R"(},"context":{}}})"},
        WireCase{"duration_is_the_seconds_nanos_record",
                 [] { return VariableValue::make(VariableValue::duration, run::api::RunDuration{.seconds = Value::i64(1),
                                                                                            .nanos = Value::i64(500)}); },
                 R"({"type":"duration","duration":{"seconds":1,"nanos":500}})"},
        WireCase{"integer_minimum", [] { return integer_value(-2147483647 - 1); },
                 R"({"type":"integer","integer":-2147483648})"},
        WireCase{"channel",
                 [] {
                   return VariableValue::make(
                       VariableValue::channel,
                       ChannelSeries::make(ChannelSeries::asset,
                                           AssetChannel{.assetRid = string_literal("ri.a"),
                                                        .dataScopeName = string_literal("scope"),
                                                        .channel = string_literal("c")}));
                 },
                 R"({"type":"channel","channel":{"type":"asset","asset":{"assetRid":)" LIT("ri.a")
                 R"(,"dataScopeName":)" LIT("scope") R"(,"channel":)" LIT("c") "}}}"},
        WireCase{"derived", [] { return VariableValue::make(VariableValue::derived, derived_f()); },
                 R"({"type":"derived","derived":)" DERIVED_F "}"},
        WireCase{"series_without_group_by_writes_select_only",
                 [] {
                   return VariableValue::make(
                       VariableValue::series,
                       SeriesVariable{.select = SelectSeries{.name = string_literal("s")}.build(),
                                      .groupByTags = string_constant_set({})});
                 },
                 R"({"type":"series","series":{"select":{"name":)" LIT("s") "}}}"},
        WireCase{"series_group_by_tags_in_constant_order",
                 [] {
                   return VariableValue::make(
                       VariableValue::series,
                       SeriesVariable{.select = SelectSeries{.name = string_literal("s")}.build(),
                                      .groupByTags = string_constant_set(
                                          {string_variable("a"), string_literal("b"), string_literal("a")})});
                 },
                 R"({"type":"series","series":{"select":{"name":)" LIT("s") R"(},"groupByTags":[)" LIT("a") "," LIT("b")
                 R"(,{"type":"variable","variable":"a"}]}})"},
        WireCase{"empty_string", [] { return VariableValue::make(VariableValue::string, Value::str("")); },
                 R"({"type":"string","string":""})"},
        WireCase{"string_set_sorted_by_bytes",
                 [] { return VariableValue::make(VariableValue::stringSet, string_set({"b", "a", "b"})); },
                 R"({"type":"stringSet","stringSet":["a","b"]})"},
        WireCase{"empty_string_set_is_written",
                 [] { return VariableValue::make(VariableValue::stringSet, string_set({})); },
                 R"({"type":"stringSet","stringSet":[]})"},
        WireCase{"timestamp_negative_seconds",
                 [] { return VariableValue::make(VariableValue::timestamp, api::Timestamp{.seconds = Value::i64(-5),
                                                                                           .nanos = Value::i64(0)}); },
                 R"({"type":"timestamp","timestamp":{"seconds":-5,"nanos":0}})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelF1FunctionsAndDefaults, ModelF1ContextWire,
    testing::Values(
        WireCase{"parameter_variable_is_a_plain_string",
                 [] { return FunctionParameterValue::make(FunctionParameterValue::variable, Value::str("v")); },
                 R"({"type":"variable","variable":"v"})"},
        WireCase{"parameter_value",
                 [] { return FunctionParameterValue::make(FunctionParameterValue::value, integer_value(3)); },
                 R"({"type":"value","value":{"type":"integer","integer":3}})"},
        WireCase{"derived_without_arguments", [] { return derived_f(); }, DERIVED_F},
        WireCase{"derived_arguments_ordered_by_name",
                 [] {
                   return derived_f(string_map(
                       {{"y", FunctionParameterValue::make(FunctionParameterValue::variable, Value::str("v"))},
                        {"x", FunctionParameterValue::make(FunctionParameterValue::value, double_value(1.0))}}));
                 },
                 R"({"type":"function","function":{"moduleName":)" LIT("m") R"(,"functionName":)" LIT("f")
                 R"(,"versionReference":{"type":"pinned","pinned":{"version":)" LIT("1")
                 R"(}},"functionArgs":{"x":{"type":"value","value":{"type":"double","double":1.0}},)"
                 R"("y":{"type":"variable","variable":"v"}}}})"},
        WireCase{"alignment_union", [] { return Alignment::make(Alignment::union_, UnionAlignment{}); },
                 R"({"type":"union","union":{}})"},
        WireCase{"fill_limit_variable",
                 [] {
                   return FillLimit::make(FillLimit::duration,
                                          DurationConstant::make(DurationConstant::variable, Value::str("d")));
                 },
                 R"({"type":"duration","duration":{"type":"variable","variable":"d"}})"}),
    wire_case_name);

// The "derived" variant of each series union carries the same DerivedSeries payload.
INSTANTIATE_TEST_SUITE_P(
    ModelF1DerivedInEverySeriesUnion, ModelF1ContextWire,
    testing::Values(
        WireCase{"numeric", [] { return NumericSeries::make(NumericSeries::derived, derived_f()); },
                 R"({"type":"derived","derived":)" DERIVED_F "}"},
        WireCase{"enum", [] { return EnumSeries::make(EnumSeries::derived, derived_f()); },
                 R"({"type":"derived","derived":)" DERIVED_F "}"},
        WireCase{"ranges", [] { return RangeSeries::make(RangeSeries::derived, derived_f()); },
                 R"({"type":"derived","derived":)" DERIVED_F "}"},
        WireCase{"struct", [] { return StructSeries::make(StructSeries::derived, derived_f()); },
                 R"({"type":"derived","derived":)" DERIVED_F "}"},
        WireCase{"log", [] { return LogSeries::make(LogSeries::derived, derived_f()); },
                 R"({"type":"derived","derived":)" DERIVED_F "}"},
        WireCase{"numeric_array_inside_array_series",
                 [] {
                   return ArraySeries::make(ArraySeries::numeric1d,
                                            Numeric1dArraySeries::make(Numeric1dArraySeries::derived, derived_f()));
                 },
                 R"({"type":"numeric1d","numeric1d":{"type":"derived","derived":)" DERIVED_F "}}"},
        WireCase{"enum_array", [] { return Enum1dArraySeries::make(Enum1dArraySeries::derived, derived_f()); },
                 R"({"type":"derived","derived":)" DERIVED_F "}"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelF1ContextUnknown, ModelF1ContextWire,
    testing::Values(
        WireCase{"variable_value", [] { return VariableValue::unknown("bytes", Any("AQ==")); },
                 R"({"type":"bytes","bytes":"AQ=="})"},
        WireCase{"function_parameter_value", [] { return FunctionParameterValue::unknown("p", Any(1)); },
                 R"({"type":"p","p":1})"},
        WireCase{"derived_series", [] { return DerivedSeries::unknown("query", Any::object({{"q", "x"}})); },
                 R"({"type":"query","query":{"q":"x"}})"},
        WireCase{"module_version_reference", [] { return ModuleVersionReference::unknown("latest", Any::object()); },
                 R"({"type":"latest","latest":{}})"},
        WireCase{"alignment", [] { return Alignment::unknown("left", Any(nullptr)); }, R"({"type":"left","left":null})"},
        WireCase{"fill_strategy", [] { return FillStrategy::unknown("linear", Any(true)); },
                 R"({"type":"linear","linear":true})"},
        WireCase{"fill_limit", [] { return FillLimit::unknown("points", Any(5)); }, R"({"type":"points","points":5})"}),
    wire_case_name);

// A computation whose context binds a variable to another computation, three levels down: the
// copy outlives its source and writes every level.
TEST(ModelF1ContextDepth, NestedComputationsCopyAndWriteToFullDepth) {
  std::string expected = R"({"type":"integer","integer":7})";
  Value v = integer_value(7);
  for (int level = 0; level < 3; ++level) {
    v = compute_x(Context{.variables = string_map({{"inner", v}})}.build());
    expected = R"({"type":"computeNode","computeNode":{"seriesNode":{"type":"numeric","numeric":)" RAW("x")
               R"(},"context":{"variables":{"inner":)" + expected + "}}}}";
  }
  Value copy = v;
  v = Value{};
  EXPECT_EQ(to_json(copy), expected);
}

}  // namespace
}  // namespace qc::model
