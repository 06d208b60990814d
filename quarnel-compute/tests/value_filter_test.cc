// Threshold, approximate, time-range, NaN and expression filters, and the comparison
// enumerations, as written on the wire.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/interpolation_unions.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/reference.h"
#include "quarnel/compute/model/value_filter.h"

#include "wire_case.h"

namespace qc::model {
namespace {

using NS = NumericSeries;

Value raw(std::string_view name) { return NS::make(NS::raw, Reference{.name = Value::str(name)}); }
std::string raw_json(const std::string& name) { return R"({"type":"raw","raw":{"name":")" + name + R"("}})"; }
const std::string kX = raw_json("x");

QC_WIRE_SUITE(ModelCValueFilter)

INSTANTIATE_TEST_SUITE_P(
    Nodes, ModelCValueFilter,
    testing::Values(
        WireCase{"threshold",
                 [] {
                   return NS::make(NS::thresholdFilter,
                                   NumericThresholdFilterSeries{
                                       .input = raw("x"),
                                       .threshold = double_literal(0.5),
                                       .operator_ = ThresholdOperator::make(ThresholdOperator::less_than)});
                 },
                 R"({"type":"thresholdFilter","thresholdFilter":{"input":)" + kX +
                     R"(,"threshold":{"type":"literal","literal":0.5},"operator":"LESS_THAN"}})"},
        WireCase{"threshold_variable",
                 [] {
                   return NumericThresholdFilterSeries{
                       .input = raw("x"),
                       .threshold = DoubleConstant::make(DoubleConstant::variable, Value::str("limit")),
                       .operator_ = ThresholdOperator::make(ThresholdOperator::equal_to)}
                       .build();
                 },
                 R"({"input":)" + kX + R"(,"threshold":{"type":"variable","variable":"limit"},"operator":"EQUAL_TO"})"},
        WireCase{"threshold_nan_literal_is_null",
                 [] {
                   return NumericThresholdFilterSeries{
                       .input = raw("x"),
                       .threshold = double_literal(std::nan("")),
                       .operator_ = ThresholdOperator::make(ThresholdOperator::greater_than)}
                       .build();
                 },
                 R"({"input":)" + kX + R"(,"threshold":{"type":"literal","literal":null},"operator":"GREATER_THAN"})"},
        // A negative tolerance is kept as given.
        WireCase{"approximate",
                 [] {
                   return NS::make(NS::approximateFilter,
                                   NumericApproximateFilterSeries{
                                       .input = raw("x"),
                                       .threshold = double_literal(1.0),
                                       .tolerance = double_literal(-0.25),
                                       .operator_ = ApproximateThresholdOperator::make(
                                           ApproximateThresholdOperator::not_equal_to)});
                 },
                 R"({"type":"approximateFilter","approximateFilter":{"input":)" + kX +
                     R"(,"threshold":{"type":"literal","literal":1.0},)"
                     R"("tolerance":{"type":"literal","literal":-0.25},"operator":"NOT_EQUAL_TO"}})"},
        WireCase{"time_range_without_bounds",
                 [] { return NS::make(NS::timeRangeFilter, NumericTimeRangeFilterSeries{.input = raw("x")}); },
                 R"({"type":"timeRangeFilter","timeRangeFilter":{"input":)" + kX + "}}"},
        WireCase{"time_range_end_only",
                 [] {
                   return NumericTimeRangeFilterSeries{
                       .input = raw("x"),
                       .endTime = TimestampConstant::make(TimestampConstant::literal, timestamp(20, 5))}
                       .build();
                 },
                 R"({"input":)" + kX + R"(,"endTime":{"type":"literal","literal":{"seconds":20,"nanos":5}}})"},
        WireCase{"time_range_both_bounds",
                 [] {
                   return NumericTimeRangeFilterSeries{
                       .input = raw("x"),
                       .startTime = TimestampConstant::make(TimestampConstant::variable, Value::str("t0")),
                       .endTime = TimestampConstant::make(TimestampConstant::literal, timestamp(20, 0))}
                       .build();
                 },
                 R"({"input":)" + kX + R"(,"startTime":{"type":"variable","variable":"t0"},)"
                     R"("endTime":{"type":"literal","literal":{"seconds":20,"nanos":0}}})"},
        WireCase{"drop_nan",
                 [] { return NS::make(NS::dropNan, NumericNanFilter{.input = raw("x")}); },
                 R"({"type":"dropNan","dropNan":{"input":)" + kX + "}}"},
        WireCase{"expression_with_empty_inputs_writes_base_and_expression",
                 [] {
                   return NS::make(NS::filterByExpression,
                                   FilterByExpressionSeries{.base = Value::str("x"),
                                                            .inputs = string_map({}),
                                                            .expression = Value::str("x > 0")});
                 },
                 R"({"type":"filterByExpression","filterByExpression":{"base":"x","expression":"x > 0"}})"},
        WireCase{"expression_empty_text_kept",
                 [] {
                   return FilterByExpressionSeries{.base = Value::str(""), .expression = Value::str("")}.build();
                 },
                 R"({"base":"","expression":""})"},
        WireCase{"expression_inputs_in_key_order",
                 [] {
                   return FilterByExpressionSeries{
                       .base = Value::str("a"),
                       .inputs = string_map({{"b", raw("y")}, {"a", raw("x")}}),
                       .expression = Value::str("a < b"),
                       .interpolationConfiguration = InterpolationConfiguration::make(
                           InterpolationConfiguration::forwardFillInterpolation,
                           ForwardFillInterpolation{.interpolationRadius = DurationConstant::make(
                                                        DurationConstant::variable, Value::str("r"))})}
                       .build();
                 },
                 R"({"base":"a","inputs":{"a":)" + kX + R"(,"b":)" + raw_json("y") +
                     R"(},"expression":"a < b","interpolationConfiguration":{"type":"forwardFillInterpolation",)"
                     R"("forwardFillInterpolation":{"interpolationRadius":{"type":"variable","variable":"r"}}}})"}),
    wire_case_name);

// Every value of both comparison enumerations, and texts they do not list.
INSTANTIATE_TEST_SUITE_P(
    Operators, ModelCValueFilter,
    testing::Values(
        WireCase{"greater_than", [] { return ThresholdOperator::make(ThresholdOperator::greater_than); },
                 R"("GREATER_THAN")"},
        WireCase{"greater_than_or_equal_to",
                 [] { return ThresholdOperator::make(ThresholdOperator::greater_than_or_equal_to); },
                 R"("GREATER_THAN_OR_EQUAL_TO")"},
        WireCase{"less_than", [] { return ThresholdOperator::make(ThresholdOperator::less_than); },
                 R"("LESS_THAN")"},
        WireCase{"less_than_or_equal_to",
                 [] { return ThresholdOperator::make(ThresholdOperator::less_than_or_equal_to); },
                 R"("LESS_THAN_OR_EQUAL_TO")"},
        WireCase{"equal_to", [] { return ThresholdOperator::make(ThresholdOperator::equal_to); },
                 R"("EQUAL_TO")"},
        WireCase{"not_equal_to", [] { return ThresholdOperator::make(ThresholdOperator::not_equal_to); },
                 R"("NOT_EQUAL_TO")"},
        WireCase{"threshold_unknown_escaped", [] { return ThresholdOperator::unknown("BE\"TWEEN\n"); },
                 R"("BE\"TWEEN\n")"},
        WireCase{"approximate_equal_to",
                 [] { return ApproximateThresholdOperator::make(ApproximateThresholdOperator::equal_to); },
                 R"("EQUAL_TO")"},
        WireCase{"approximate_not_equal_to",
                 [] { return ApproximateThresholdOperator::make(ApproximateThresholdOperator::not_equal_to); },
                 R"("NOT_EQUAL_TO")"},
        WireCase{"approximate_unknown_greater_than",
                 [] { return ApproximateThresholdOperator::unknown("GREATER_THAN"); }, R"("GREATER_THAN")"}),
    wire_case_name);

}  // namespace
}  // namespace qc::model
