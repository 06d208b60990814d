// Both curve-fit forms, as written on the wire and as roots of a compute node.
#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/curve_fit_unions.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/reference.h"
#include "quarnel/compute/model/series_unions.h"
#include "quarnel/compute/model/units.h"

#include "wire_case.h"

namespace qc::model {
namespace {

using Details = CurveFitDetails;
using V2Details = CurveFitV2Details;
using Variable = CurveFitVariable;

Value raw(const char* name) {
  return NumericSeries::make(NumericSeries::raw, Reference{.name = Value::str(name)});
}
Value time_variable() { return Variable::make(Variable::time, CurveFitTimeVariable{}); }
Value series_variable(const char* name) {
  return Variable::make(Variable::numeric, CurveFitSeriesVariable{.series = raw(name)});
}
Value start_end() {
  return CurveFitRange{.startTime = TimestampConstant::make(TimestampConstant::literal, timestamp(1, 0)),
                       .endTime = TimestampConstant::make(TimestampConstant::variable, Value::str("end"))}
      .build();
}
constexpr const char* kStartEnd =
    R"({"startTime":{"type":"literal","literal":{"seconds":1,"nanos":0}},"endTime":{"type":"variable","variable":"end"}})";

QC_WIRE_SUITE(ModelBCurveFit)

INSTANTIATE_TEST_SUITE_P(
    FirstForm, ModelBCurveFit,
    testing::Values(
        WireCase{"compute_node_curve_fit",
                 [] {
                   return ComputeNode::make(
                       ComputeNode::curveFit,
                       CurveFit{.curveFitPlotType = CurveFitPlotType::make(
                                    CurveFitPlotType::timeSeries,
                                    TimeSeriesCurveFit{.series = raw("x"), .options = TimeSeriesFitOptions{}.build()}),
                                .curveFitDetails = Details::make(Details::power, EmptyCurveFitPayload{}),
                                .curveFitOptions = CurveFitOptions{
                                    .startTime = TimestampConstant::make(TimestampConstant::literal, timestamp(1, 0)),
                                    .endTime = TimestampConstant::make(TimestampConstant::variable, Value::str("end"))}
                                                       .build()});
                 },
                 std::string(R"({"type":"curveFit","curveFit":{"curveFitPlotType":{"type":"timeSeries","timeSeries":)"
                             R"({"series":{"type":"raw","raw":{"name":"x"}},"options":{}}},)"
                             R"("curveFitDetails":{"type":"power","power":{}},"curveFitOptions":)") +
                     kStartEnd + "}}"},
        WireCase{"time_series_with_unit",
                 [] {
                   return CurveFitPlotType::make(
                       CurveFitPlotType::timeSeries,
                       TimeSeriesCurveFit{.series = raw("x"),
                                          .options = TimeSeriesFitOptions{.timeUnit = api::TimeUnit::make(
                                                                              api::TimeUnit::minutes)}
                                                         .build()});
                 },
                 R"({"type":"timeSeries","timeSeries":{"series":{"type":"raw","raw":{"name":"x"}},)"
                 R"("options":{"timeUnit":"MINUTES"}}})"},
        WireCase{"scatter_only_max_y",
                 [] {
                   return CurveFitPlotType::make(
                       CurveFitPlotType::scatter,
                       ScatterCurveFit{.scatter = Scatter{.x = raw("a"), .y = raw("b")}.build(),
                                       .options = ScatterFitOptions{.maxY = double_literal(1e16)}.build()});
                 },
                 R"({"type":"scatter","scatter":{"scatter":{"x":{"type":"raw","raw":{"name":"a"}},)"
                 R"("y":{"type":"raw","raw":{"name":"b"}}},"options":{"maxY":{"type":"literal","literal":1e+16}}}})"},
        WireCase{"scatter_options_none", [] { return ScatterFitOptions{}.build(); }, "{}"},
        WireCase{"scatter_options_all_in_order",
                 [] {
                   return ScatterFitOptions{.minX = double_literal(-1.5),
                                            .maxX = double_literal(2.0),
                                            .minY = double_literal(0.00001),
                                            .maxY = DoubleConstant::make(DoubleConstant::variable, Value::str("top"))}
                       .build();
                 },
                 R"({"minX":{"type":"literal","literal":-1.5},"maxX":{"type":"literal","literal":2.0},)"
                 R"("minY":{"type":"literal","literal":0.00001},"maxY":{"type":"variable","variable":"top"}})"},
        WireCase{"plot_type_unknown", [] { return CurveFitPlotType::unknown("histogram", Any::parse("[1]")); },
                 R"({"type":"histogram","histogram":[1]})"},
        WireCase{"details_exponential", [] { return Details::make(Details::exponential, EmptyCurveFitPayload{}); },
                 R"({"type":"exponential","exponential":{}})"},
        WireCase{"details_logarithmic", [] { return Details::make(Details::logarithmic, EmptyCurveFitPayload{}); },
                 R"({"type":"logarithmic","logarithmic":{}})"},
        WireCase{"details_polynomial_without_intercept",
                 [] { return Details::make(Details::polynomial, PolynomialCurve{.degree = integer_literal(2)}); },
                 R"({"type":"polynomial","polynomial":{"degree":{"type":"literal","literal":2}}})"},
        WireCase{"details_polynomial_with_intercept",
                 [] {
                   return Details::make(Details::polynomial,
                                        PolynomialCurve{.degree = integer_literal(3), .intercept = double_literal(0.0)});
                 },
                 R"({"type":"polynomial","polynomial":{"degree":{"type":"literal","literal":3},)"
                 R"("intercept":{"type":"literal","literal":0.0}}})"},
        WireCase{"details_power", [] { return Details::make(Details::power, EmptyCurveFitPayload{}); },
                 R"({"type":"power","power":{}})"},
        WireCase{"details_unknown", [] { return Details::unknown("sigmoid", Any::parse("{}")); },
                 R"({"type":"sigmoid","sigmoid":{}})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    SecondForm, ModelBCurveFit,
    testing::Values(
        WireCase{"compute_node_curve_v2",
                 [] {
                   return ComputeNode::make(
                       ComputeNode::curveV2,
                       CurveFitV2{.target = CurveFitTarget::make(CurveFitTarget::numeric,
                                                                 CurveFitSeriesVariable{.series = raw("y")}),
                                  .fitRange = start_end(),
                                  .curveToFit = V2Details::make(V2Details::exponential,
                                                                BuiltInCurveFit{.independentVariable = time_variable()})});
                 },
                 std::string(R"({"type":"curveV2","curveV2":{"target":{"type":"numeric","numeric":)"
                             R"({"series":{"type":"raw","raw":{"name":"y"}}}},"fitRange":)") +
                     kStartEnd +
                     R"(,"curveToFit":{"type":"exponential","exponential":{"independentVariable":)"
                     R"({"type":"time","time":{}}}}}})"},
        WireCase{"target_bounds_present_but_empty",
                 [] {
                   return CurveFitTarget::make(
                       CurveFitTarget::numeric,
                       CurveFitSeriesVariable{.series = raw("y"), .boundsConfig = CurveFitBoundsConfiguration{}.build()});
                 },
                 R"({"type":"numeric","numeric":{"series":{"type":"raw","raw":{"name":"y"}},"boundsConfig":{}}})"},
        WireCase{"target_unknown", [] { return CurveFitTarget::unknown("enum", Any("e")); },
                 R"({"type":"enum","enum":"e"})"},
        WireCase{"v2_logarithmic",
                 [] {
                   return V2Details::make(V2Details::logarithmic,
                                          BuiltInCurveFit{.independentVariable = series_variable("x")});
                 },
                 R"({"type":"logarithmic","logarithmic":{"independentVariable":{"type":"numeric",)"
                 R"("numeric":{"series":{"type":"raw","raw":{"name":"x"}}}}}})"},
        WireCase{"v2_polynomial",
                 [] {
                   return V2Details::make(V2Details::polynomial,
                                          PolynomialCurveFit{.independentVariable = time_variable(),
                                                             .degree = IntegerConstant::make(IntegerConstant::variable,
                                                                                             Value::str("d")),
                                                             .intercept = double_literal(-0.0)});
                 },
                 R"({"type":"polynomial","polynomial":{"independentVariable":{"type":"time","time":{}},)"
                 R"("degree":{"type":"variable","variable":"d"},"intercept":{"type":"literal","literal":-0.0}}})"},
        WireCase{"v2_power",
                 [] { return V2Details::make(V2Details::power, BuiltInCurveFit{.independentVariable = time_variable()}); },
                 R"({"type":"power","power":{"independentVariable":{"type":"time","time":{}}}})"},
        WireCase{"v2_custom_formula_only",
                 [] {
                   return V2Details::make(V2Details::custom,
                                          CustomCurveFit{.formula = string_literal("a*x+b"),
                                                         .variables = string_map({}),
                                                         .parameters = string_map({})});
                 },
                 R"({"type":"custom","custom":{"formula":{"type":"literal","literal":"a*x+b"}}})"},
        // Map keys sort by their bytes: upper case before lower case, a prefix before its
        // extensions, whatever order they were given in.
        WireCase{"v2_custom_maps_in_key_order",
                 [] {
                   return CustomCurveFit{
                       .formula = string_variable("f"),
                       .variables = string_map({{"x2", time_variable()}, {"x", series_variable("s")}}),
                       .parameters = string_map({{"b", double_literal(1.0)},
                                                 {"B", double_literal(2.0)},
                                                 {"a", double_literal(3.0)}})}
                       .build();
                 },
                 R"({"formula":{"type":"variable","variable":"f"},"variables":{"x":{"type":"numeric","numeric":)"
                 R"({"series":{"type":"raw","raw":{"name":"s"}}}},"x2":{"type":"time","time":{}}},)"
                 R"("parameters":{"B":{"type":"literal","literal":2.0},"a":{"type":"literal","literal":3.0},)"
                 R"("b":{"type":"literal","literal":1.0}}})"},
        WireCase{"v2_details_unknown", [] { return V2Details::unknown("spline", Any(4)); },
                 R"({"type":"spline","spline":4})"},
        WireCase{"variable_numeric_with_min_bound",
                 [] {
                   return Variable::make(
                       Variable::numeric,
                       CurveFitSeriesVariable{.series = raw("x"),
                                              .boundsConfig = CurveFitBoundsConfiguration{.min = double_literal(0.5)}.build()});
                 },
                 R"({"type":"numeric","numeric":{"series":{"type":"raw","raw":{"name":"x"}},)"
                 R"("boundsConfig":{"min":{"type":"literal","literal":0.5}}}})"},
        WireCase{"bounds_min_then_max",
                 [] {
                   return CurveFitBoundsConfiguration{.min = double_literal(1e-6), .max = double_literal(100.0)}.build();
                 },
                 R"({"min":{"type":"literal","literal":1e-6},"max":{"type":"literal","literal":100.0}})"},
        WireCase{"variable_time_without_unit", [] { return time_variable(); }, R"({"type":"time","time":{}})"},
        WireCase{"variable_time_with_unit",
                 [] {
                   return Variable::make(Variable::time,
                                         CurveFitTimeVariable{.timeUnit = api::TimeUnit::make(api::TimeUnit::microseconds)});
                 },
                 R"({"type":"time","time":{"timeUnit":"MICROSECONDS"}})"},
        WireCase{"variable_unknown", [] { return Variable::unknown("enum", Any::parse(R"({"k":null})")); },
                 R"({"type":"enum","enum":{"k":null}})"}),
    wire_case_name);

}  // namespace
}  // namespace qc::model
