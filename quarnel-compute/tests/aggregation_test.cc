// Aggregation builders and operators, and the aggregating, user-function and property nodes,
// as written on the wire.
#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/aggregate_nodes_unions.h"
#include "quarnel/compute/model/aggregation_unions.h"
#include "quarnel/compute/model/categorical_unions.h"
#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/durations_unions.h"
#include "quarnel/compute/model/interpolation_unions.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/ranges_unions.h"
#include "quarnel/compute/model/reference.h"
#include "quarnel/compute/model/series_unions.h"

#include "wire_case.h"

namespace qc::model {
namespace {

using Op = NumericAggregationOperator;
using EnumOp = EnumAggregationOperator;

Value numeric_raw(const char* name) {
  return NumericSeries::make(NumericSeries::raw, Reference{.name = Value::str(name)});
}
Value series_raw(const char* name) { return Series::make(Series::raw, Reference{.name = Value::str(name)}); }
constexpr const char* kRawX = R"({"type":"raw","raw":{"name":"x"}})";

Value rust(const char* code) {
  return UdfSource::make(UdfSource::rust, RustUdfSource{.sourceCode = Value::str(code)});
}
Value no_ranges() { return RangeSeries::make(RangeSeries::unionRange, UnionRanges{}); }
constexpr const char* kNoRanges = R"({"type":"unionRange","unionRange":{}})";
Value forward_fill_r() {
  return InterpolationConfiguration::make(
      InterpolationConfiguration::forwardFillInterpolation,
      ForwardFillInterpolation{
          .interpolationRadius = DurationConstant::make(DurationConstant::variable, Value::str("r"))});
}
constexpr const char* kForwardFillR =
    R"({"type":"forwardFillInterpolation","forwardFillInterpolation":{"interpolationRadius":{"type":"variable","variable":"r"}}})";

QC_WIRE_SUITE(ModelBAggregation)

INSTANTIATE_TEST_SUITE_P(
    Builders, ModelBAggregation,
    testing::Values(
        WireCase{"rolling_time",
                 [] {
                   return AggregationBuilder::make(
                       AggregationBuilder::rollingTime,
                       RollingTimeAggregationBuilder{
                           .input = series_raw("x"),
                           .window = Duration::make(Duration::seconds,
                                                    DurationSeconds{.seconds = integer_literal(5)})});
                 },
                 R"({"type":"rollingTime","rollingTime":{"input":{"type":"raw","raw":{"name":"x"}},)"
                 R"("window":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":5}}}}})"},
        WireCase{"rolling_points",
                 [] {
                   return AggregationBuilder::make(
                       AggregationBuilder::rollingPoints,
                       RollingPointsAggregationBuilder{.input = series_raw("x"), .points = integer_literal(10)});
                 },
                 R"({"type":"rollingPoints","rollingPoints":{"input":{"type":"raw","raw":{"name":"x"}},)"
                 R"("points":{"type":"literal","literal":10}}})"},
        WireCase{"group_by_writes_input_tags_timestamp",
                 [] {
                   return AggregationBuilder::make(
                       AggregationBuilder::groupBy,
                       GroupByAggregationBuilder{
                           .input = series_raw("x"),
                           .tags = GroupByTags::make(GroupByTags::current, EmptyAggregationPayload{}),
                           .timestamp = GroupByTimestamp::make(
                               GroupByTimestamp::every,
                               Duration::make(Duration::hours, DurationHours{.hours = integer_literal(1)}))});
                 },
                 R"({"type":"groupBy","groupBy":{"input":{"type":"raw","raw":{"name":"x"}},)"
                 R"("tags":{"type":"current","current":{}},)"
                 R"("timestamp":{"type":"every","every":{"type":"hours","hours":{"hours":{"type":"literal","literal":1}}}}}})"},
        WireCase{"builder_unknown",
                 [] { return AggregationBuilder::unknown("rollingFuture", Any::parse(R"({"a":[1,"b"]})")); },
                 R"({"type":"rollingFuture","rollingFuture":{"a":[1,"b"]}})"},
        WireCase{"tags_current", [] { return GroupByTags::make(GroupByTags::current, EmptyAggregationPayload{}); },
                 R"({"type":"current","current":{}})"},
        WireCase{"tags_subset_empty",
                 [] { return GroupByTags::make(GroupByTags::subset, GroupBySubsetTags{.tags = string_constant_set({})}); },
                 R"({"type":"subset","subset":{}})"},
        // Literals come before variables whatever their text; duplicates collapse.
        WireCase{"tags_subset_in_set_order",
                 [] {
                   return GroupByTags::make(
                       GroupByTags::subset,
                       GroupBySubsetTags{.tags = string_constant_set({string_variable("b"), string_literal("z"),
                                                                      string_literal("a"), string_variable("b")})});
                 },
                 R"({"type":"subset","subset":{"tags":[{"type":"literal","literal":"a"},)"
                 R"({"type":"literal","literal":"z"},{"type":"variable","variable":"b"}]}})"},
        WireCase{"tags_unknown", [] { return GroupByTags::unknown("all", Any(true)); },
                 R"({"type":"all","all":true})"},
        WireCase{"timestamp_current",
                 [] { return GroupByTimestamp::make(GroupByTimestamp::current, EmptyAggregationPayload{}); },
                 R"({"type":"current","current":{}})"},
        WireCase{"timestamp_every_reference",
                 [] { return GroupByTimestamp::make(GroupByTimestamp::every, Duration::make(Duration::reference, Reference{.name = Value::str("step")})); },
                 R"({"type":"every","every":{"type":"reference","reference":{"name":"step"}}})"},
        WireCase{"timestamp_unknown", [] { return GroupByTimestamp::unknown("never", Any(nullptr)); },
                 R"({"type":"never","never":null})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    Operators, ModelBAggregation,
    testing::Values(
        WireCase{"sum", [] { return Op::make(Op::sum, EmptyAggregationPayload{}); }, R"({"type":"sum","sum":{}})"},
        WireCase{"average", [] { return Op::make(Op::average, EmptyAggregationPayload{}); },
                 R"({"type":"average","average":{}})"},
        WireCase{"min", [] { return Op::make(Op::min, EmptyAggregationPayload{}); }, R"({"type":"min","min":{}})"},
        WireCase{"max", [] { return Op::make(Op::max, EmptyAggregationPayload{}); }, R"({"type":"max","max":{}})"},
        WireCase{"count", [] { return Op::make(Op::count, EmptyAggregationPayload{}); },
                 R"({"type":"count","count":{}})"},
        WireCase{"standard_deviation", [] { return Op::make(Op::standardDeviation, EmptyAggregationPayload{}); },
                 R"({"type":"standardDeviation","standardDeviation":{}})"},
        WireCase{"root_mean_square", [] { return Op::make(Op::rootMeanSquare, EmptyAggregationPayload{}); },
                 R"({"type":"rootMeanSquare","rootMeanSquare":{}})"},
        WireCase{"percentile_variable",
                 [] {
                   return Op::make(Op::percentile, Percentile{.percentile = DoubleConstant::make(
                                                                  DoubleConstant::variable, Value::str("p"))});
                 },
                 R"({"type":"percentile","percentile":{"percentile":{"type":"variable","variable":"p"}}})"},
        WireCase{"percentile_literal",
                 [] { return Op::make(Op::percentile, Percentile{.percentile = double_literal(99.5)}); },
                 R"({"type":"percentile","percentile":{"percentile":{"type":"literal","literal":99.5}}})"},
        WireCase{"udf_source_escaped",
                 [] { return Op::make(Op::udf, NumericAggregationUdf{.source = rust("fn f() -> \"q\"\n\\")}); },
                 R"({"type":"udf","udf":{"source":{"type":"rust","rust":{"sourceCode":"fn f() -> \"q\"\n\\"}}}})"},
        WireCase{"operator_unknown", [] { return Op::unknown("median", Any::parse("{}")); },
                 R"({"type":"median","median":{}})"},
        WireCase{"enum_min", [] { return EnumOp::make(EnumOp::min, EmptyAggregationPayload{}); },
                 R"({"type":"min","min":{}})"},
        WireCase{"enum_max", [] { return EnumOp::make(EnumOp::max, EmptyAggregationPayload{}); },
                 R"({"type":"max","max":{}})"},
        WireCase{"enum_udf",
                 [] { return EnumOp::make(EnumOp::udf, EnumAggregationUdf{.source = rust("mode")}); },
                 R"({"type":"udf","udf":{"source":{"type":"rust","rust":{"sourceCode":"mode"}}}})"},
        WireCase{"enum_operator_unknown", [] { return EnumOp::unknown("mode", Any(3)); },
                 R"({"type":"mode","mode":3})"},
        WireCase{"udf_source_empty_code_is_written", [] { return rust(""); },
                 R"({"type":"rust","rust":{"sourceCode":""}})"},
        WireCase{"udf_source_unknown", [] { return UdfSource::unknown("python", Any("x")); },
                 R"({"type":"python","python":"x"})"},
        WireCase{"numeric_aggregation_node",
                 [] {
                   return NumericSeries::make(
                       NumericSeries::numericAggregation,
                       NumericAggregation{
                           .input = AggregationBuilder::make(
                               AggregationBuilder::rollingPoints,
                               RollingPointsAggregationBuilder{.input = series_raw("x"),
                                                               .points = integer_literal(3)}),
                           .operator_ = Op::make(Op::count, EmptyAggregationPayload{})});
                 },
                 R"({"type":"numericAggregation","numericAggregation":{"input":{"type":"rollingPoints",)"
                 R"("rollingPoints":{"input":{"type":"raw","raw":{"name":"x"}},"points":{"type":"literal","literal":3}}},)"
                 R"("operator":{"type":"count","count":{}}}})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    Nodes, ModelBAggregation,
    testing::Values(
        WireCase{"aggregate_all_fields",
                 [] {
                   return NumericSeries::make(
                       NumericSeries::aggregate,
                       AggregateNumericSeries{
                           .input = numeric_raw("x"),
                           .function = NumericAggregationFunction::make(NumericAggregationFunction::mean),
                           .groupByTags = string_constant_set({string_literal("site")}),
                           .aggregateByAllGroupings = Value::boolean(false),
                           .interpolationConfiguration = forward_fill_r()});
                 },
                 std::string(R"({"type":"aggregate","aggregate":{"input":)") + kRawX +
                     R"(,"function":"MEAN","groupByTags":[{"type":"literal","literal":"site"}],)"
                     R"("aggregateByAllGroupings":false,"interpolationConfiguration":)" +
                     kForwardFillR + "}}"},
        WireCase{"aggregate_flag_absent_tags_empty",
                 [] {
                   return AggregateNumericSeries{
                       .input = numeric_raw("x"),
                       .function = NumericAggregationFunction::make(NumericAggregationFunction::sum),
                       .groupByTags = string_constant_set({})}
                       .build();
                 },
                 std::string(R"({"input":)") + kRawX + R"(,"function":"SUM"})"},
        WireCase{"rolling_operation",
                 [] {
                   return NumericSeries::make(
                       NumericSeries::rollingOperation,
                       RollingOperationSeries{
                           .input = numeric_raw("x"),
                           .window = Window::make(Window::duration,
                                                  DurationConstant::make(DurationConstant::literal, run_duration(60, 0))),
                           .operator_ = Op::make(Op::rootMeanSquare, EmptyAggregationPayload{})});
                 },
                 std::string(R"({"type":"rollingOperation","rollingOperation":{"input":)") + kRawX +
                     R"(,"window":{"type":"duration","duration":{"type":"literal","literal":{"seconds":60,"nanos":0}}},)"
                     R"("operator":{"type":"rootMeanSquare","rootMeanSquare":{}}}})"},
        WireCase{"window_unknown", [] { return Window::unknown("points", Any(5)); },
                 R"({"type":"points","points":5})"},
        WireCase{"zscore_input_only",
                 [] { return NumericSeries::make(NumericSeries::zScore, ZscoreSeries{.input = numeric_raw("x")}); },
                 std::string(R"({"type":"zScore","zScore":{"input":)") + kRawX + "}}"},
        WireCase{"zscore_tags_and_interpolation",
                 [] {
                   return ZscoreSeries{.input = numeric_raw("x"),
                                       .groupByTags = string_constant_set({string_literal("b"), string_literal("B")}),
                                       .interpolationConfiguration = forward_fill_r()}
                       .build();
                 },
                 std::string(R"({"input":)") + kRawX +
                     R"(,"groupByTags":[{"type":"literal","literal":"B"},{"type":"literal","literal":"b"}],)"
                     R"("interpolationConfiguration":)" +
                     kForwardFillR + "}"},
        WireCase{"aggregate_under_ranges",
                 [] {
                   return NumericSeries::make(
                       NumericSeries::aggregateUnderRanges,
                       AggregateUnderRangesSeries{
                           .input = numeric_raw("x"),
                           .ranges = no_ranges(),
                           .operation = NumericAggregationFunction::make(NumericAggregationFunction::standardDeviation)});
                 },
                 std::string(R"({"type":"aggregateUnderRanges","aggregateUnderRanges":{"input":)") + kRawX +
                     R"(,"ranges":)" + kNoRanges + R"(,"operation":"STANDARD_DEVIATION"}})"},
        WireCase{"filter_transformation",
                 [] {
                   return NumericSeries::make(
                       NumericSeries::filterTransformation,
                       NumericFilterTransformationSeries{.input = numeric_raw("x"), .filter = no_ranges()});
                 },
                 std::string(R"({"type":"filterTransformation","filterTransformation":{"input":)") + kRawX +
                     R"(,"filter":)" + kNoRanges + "}}"},
        WireCase{"scalar_udf_without_inputs",
                 [] { return NumericSeries::make(NumericSeries::scalarUdf, ScalarUdfSeries{.source = rust("f")}); },
                 R"({"type":"scalarUdf","scalarUdf":{"source":{"type":"rust","rust":{"sourceCode":"f"}}}})"},
        // A list keeps the caller's order and duplicates.
        WireCase{"scalar_udf_inputs_in_list_order",
                 [] {
                   return ScalarUdfSeries{
                       .inputs = list({series_raw("b"), series_raw("a"), series_raw("b")}),
                       .source = rust("f")}
                       .build();
                 },
                 R"({"inputs":[{"type":"raw","raw":{"name":"b"}},{"type":"raw","raw":{"name":"a"}},)"
                 R"({"type":"raw","raw":{"name":"b"}}],"source":{"type":"rust","rust":{"sourceCode":"f"}}})"},
        WireCase{"scalar_udf_as_categorical",
                 [] { return EnumSeries::make(EnumSeries::scalarUdf, ScalarUdfSeries{.source = rust("g")}); },
                 R"({"type":"scalarUdf","scalarUdf":{"source":{"type":"rust","rust":{"sourceCode":"g"}}}})"},
        WireCase{"refprop_inputs_in_property_order",
                 [] {
                   return NumericSeries::make(
                       NumericSeries::refprop,
                       RefpropSeries{
                           .inputs = enum_map({{RefpropProperty::make(RefpropProperty::pressure), numeric_raw("p")},
                                               {RefpropProperty::make(RefpropProperty::temperature), numeric_raw("t")}}),
                           .outputProperty = RefpropProperty::make(RefpropProperty::massDensity),
                           .substance = RefpropSubstance::make(RefpropSubstance::nitrogen),
                           .interpolationConfiguration = forward_fill_r()});
                 },
                 std::string(R"({"type":"refprop","refprop":{"inputs":{"TEMPERATURE":{"type":"raw","raw":{"name":"t"}},)"
                             R"("PRESSURE":{"type":"raw","raw":{"name":"p"}}},"outputProperty":"MASS_DENSITY",)"
                             R"("substance":"NITROGEN","interpolationConfiguration":)") +
                     kForwardFillR + "}}"},
        WireCase{"refprop_empty_map_starts_with_output_property",
                 [] {
                   return RefpropSeries{.inputs = enum_map({}),
                                        .outputProperty = RefpropProperty::make(RefpropProperty::viscosity),
                                        .substance = RefpropSubstance::make(RefpropSubstance::air)}
                       .build();
                 },
                 R"({"outputProperty":"VISCOSITY","substance":"AIR"})"},
        // Unknown keys go after the named ones; the last of two equal keys wins.
        WireCase{"refprop_unknown_key_after_named_ones",
                 [] {
                   return RefpropSeries{
                       .inputs = enum_map({{RefpropProperty::unknown("A_NEW"), numeric_raw("n")},
                                           {RefpropProperty::make(RefpropProperty::viscosity), numeric_raw("v")},
                                           {RefpropProperty::make(RefpropProperty::viscosity), numeric_raw("w")}}),
                       .outputProperty = RefpropProperty::unknown("SOUND\tSPEED"),
                       .substance = RefpropSubstance::unknown("R\"134a")}
                       .build();
                 },
                 R"({"inputs":{"VISCOSITY":{"type":"raw","raw":{"name":"w"}},"A_NEW":{"type":"raw","raw":{"name":"n"}}},)"
                 R"("outputProperty":"SOUND\tSPEED","substance":"R\"134a"})"}),
    wire_case_name);

// Every value of each enumeration in declaration order, and an unknown one written back.
INSTANTIATE_TEST_SUITE_P(
    Enumerations, ModelBAggregation,
    testing::Values(
        WireCase{"aggregation_function",
                 [] {
                   using F = NumericAggregationFunction;
                   return list({F::make(F::sum), F::make(F::mean), F::make(F::min), F::make(F::max), F::make(F::count),
                                F::make(F::standardDeviation), F::make(F::rootMeanSquare), F::unknown("MEDIAN")});
                 },
                 R"(["SUM","MEAN","MIN","MAX","COUNT","STANDARD_DEVIATION","ROOT_MEAN_SQUARE","MEDIAN"])"},
        WireCase{"refprop_property",
                 [] {
                   using P = RefpropProperty;
                   return list({P::make(P::temperature), P::make(P::pressure), P::make(P::massDensity),
                                P::make(P::massSpecificEnthalpy), P::make(P::massSpecificInternalEnergy),
                                P::make(P::massSpecificEntropy), P::make(P::viscosity), P::unknown("QUALITY")});
                 },
                 R"(["TEMPERATURE","PRESSURE","MASS_DENSITY","MASS_SPECIFIC_ENTHALPY",)"
                 R"("MASS_SPECIFIC_INTERNAL_ENERGY","MASS_SPECIFIC_ENTROPY","VISCOSITY","QUALITY"])"},
        WireCase{"refprop_substance",
                 [] {
                   using S = RefpropSubstance;
                   return list({S::make(S::nitrogen), S::make(S::oxygen), S::make(S::helium), S::make(S::hydrogen),
                                S::make(S::methane), S::make(S::propane), S::make(S::butane), S::make(S::water),
                                S::make(S::xenon), S::make(S::air), S::make(S::carbonDioxide), S::make(S::argon),
                                S::make(S::carbonMonoxide), S::unknown("neon")});
                 },
                 R"(["NITROGEN","OXYGEN","HELIUM","HYDROGEN","METHANE","PROPANE","BUTANE","WATER","XENON",)"
                 R"("AIR","CARBON_DIOXIDE","ARGON","CARBON_MONOXIDE","neon"])"}),
    wire_case_name);

}  // namespace
}  // namespace qc::model
