// Range detection nodes over numeric, general and categorical series, with the configurations,
// small unions and enumerations that parameterise them.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/categorical_ranges.h"
#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/interpolation_unions.h"
#include "quarnel/compute/model/range_detection_unions.h"
#include "quarnel/compute/model/value_filter.h"

#include "wire_case.h"

namespace qc::model::modeld_test {

// Defined in ranges_test.cc.
Value range_ref(std::string_view name);
Value numeric_ref(std::string_view name);
Value enum_ref(std::string_view name);
Value series_ref(std::string_view name);
Value seconds(int64_t s);
Value at(int64_t s);

namespace {

QC_WIRE_SUITE(ModelDRangeDetection)

Value after_window() {
  return OutputRangeStart::make(OutputRangeStart::afterPersistenceWindow, RangeNoParameters{});
}
Value full_window() {
  return PersistenceWindowConfiguration{
      .minPoints = integer_literal(3),
      .minDuration = seconds(2),
      .outputRangeStart =
          OutputRangeStart::make(OutputRangeStart::firstPointMatchingCondition, RangeNoParameters{})}
      .build();
}
Value forward_fill() {
  return InterpolationConfiguration::make(InterpolationConfiguration::forwardFillInterpolation,
                                          ForwardFillInterpolation{.interpolationRadius = seconds(1)});
}
Value operation(RangeAggregationOperation::Variant v) {
  return RangeAggregationOperation::make(v, RangeNoParameters{});
}

#define MODELD_X R"({"type":"raw","raw":{"name":"x"}})"
#define MODELD_FULL_WINDOW                                                         \
  R"({"minPoints":{"type":"literal","literal":3},)"                                \
  R"("minDuration":{"type":"literal","literal":{"seconds":2,"nanos":0}},)"         \
  R"("outputRangeStart":{"type":"firstPointMatchingCondition","firstPointMatchingCondition":{}}})"
#define MODELD_FORWARD_FILL                                                        \
  R"({"type":"forwardFillInterpolation","forwardFillInterpolation":)"              \
  R"({"interpolationRadius":{"type":"literal","literal":{"seconds":1,"nanos":0}}}})"

INSTANTIATE_TEST_SUITE_P(
    ModelDNodes, ModelDRangeDetection,
    testing::Values(
        WireCase{"thresholding_with_window",
                 [] {
                   return ThresholdingRanges{.input = numeric_ref("x"),
                                             .threshold = DoubleConstant::make(DoubleConstant::variable, Value::str("t")),
                                             .operator_ = ThresholdOperator::make(ThresholdOperator::greater_than_or_equal_to),
                                             .persistenceWindowConfiguration = full_window()}
                       .build();
                 },
                 R"({"input":)" MODELD_X R"(,"threshold":{"type":"variable","variable":"t"},)"
                 R"("operator":"GREATER_THAN_OR_EQUAL_TO","persistenceWindowConfiguration":)" MODELD_FULL_WINDOW "}"},
        WireCase{"approximate_with_window",
                 [] {
                   return ApproximateThresholdRanges{
                       .input = numeric_ref("x"),
                       .threshold = double_literal(2),
                       .tolerance = double_literal(0.5),
                       .operator_ = ApproximateThresholdOperator::make(ApproximateThresholdOperator::not_equal_to),
                       .persistenceWindowConfiguration =
                           PersistenceWindowConfiguration{.outputRangeStart = after_window()}.build()}
                       .build();
                 },
                 R"({"input":)" MODELD_X R"(,"threshold":{"type":"literal","literal":2.0},)"
                 R"("tolerance":{"type":"literal","literal":0.5},"operator":"NOT_EQUAL_TO",)"
                 R"("persistenceWindowConfiguration":{"outputRangeStart":)"
                 R"({"type":"afterPersistenceWindow","afterPersistenceWindow":{}}}})"},
        WireCase{"min_max_with_window",
                 [] {
                   return MinMaxThresholdRanges{
                       .input = numeric_ref("x"),
                       .lowerBound = double_literal(5),
                       .upperBound = double_literal(-5),
                       .operator_ = MinMaxThresholdOperator::make(MinMaxThresholdOperator::outside_bounds),
                       .persistenceWindowConfiguration = full_window()}
                       .build();
                 },
                 R"({"input":)" MODELD_X R"(,"lowerBound":{"type":"literal","literal":5.0},)"
                 R"("upperBound":{"type":"literal","literal":-5.0},"operator":"OUTSIDE_BOUNDS",)"
                 R"("persistenceWindowConfiguration":)" MODELD_FULL_WINDOW "}"},
        WireCase{"window_with_only_output_start",
                 [] { return PersistenceWindowConfiguration{.outputRangeStart = after_window()}.build(); },
                 R"({"outputRangeStart":{"type":"afterPersistenceWindow","afterPersistenceWindow":{}}})"},
        WireCase{"peak_with_only_input", [] { return PeakRanges{.input = numeric_ref("x")}.build(); },
                 R"({"input":)" MODELD_X "}"},
        WireCase{"peak_returns_peaks_false",
                 [] { return PeakRanges{.input = numeric_ref("x"), .returnsPeaks = Value::boolean(false)}.build(); },
                 R"({"input":)" MODELD_X R"(,"returnsPeaks":false})"},
        WireCase{"peak_every_field",
                 [] {
                   return PeakRanges{.input = numeric_ref("x"),
                                     .returnsPeaks = Value::boolean(true),
                                     .returnType = PeakType::make(PeakType::trough),
                                     .minimumProminence = double_literal(0.5)}
                       .build();
                 },
                 R"({"input":)" MODELD_X R"(,"returnsPeaks":true,"returnType":"TROUGH",)"
                 R"("minimumProminence":{"type":"literal","literal":0.5}})"},
        WireCase{"stability_percentage_with_min_points",
                 [] {
                   return StabilityDetectionRanges{
                       .input = numeric_ref("x"),
                       .windowConfiguration =
                           StabilityWindowConfiguration{.minPoints = integer_literal(4), .duration = seconds(9)}.build(),
                       .threshold = Threshold::make(Threshold::percentage,
                                                    PercentageThreshold{.value = double_literal(10)})}
                       .build();
                 },
                 R"({"input":)" MODELD_X R"(,"windowConfiguration":{"minPoints":{"type":"literal","literal":4},)"
                 R"("duration":{"type":"literal","literal":{"seconds":9,"nanos":0}}},)"
                 R"("threshold":{"type":"percentage","percentage":{"value":{"type":"literal","literal":10.0}}}})"},
        WireCase{"stale_every_field",
                 [] {
                   return StaleRanges{.input = series_ref("s"),
                                      .threshold = seconds(30),
                                      .startTimestamp = at(100),
                                      .endTimestamp = at(200)}
                       .build();
                 },
                 R"({"input":{"type":"raw","raw":{"name":"s"}},"threshold":{"type":"literal","literal":)"
                 R"({"seconds":30,"nanos":0}},"startTimestamp":{"type":"literal","literal":{"seconds":100,"nanos":0}},)"
                 R"("endTimestamp":{"type":"literal","literal":{"seconds":200,"nanos":0}}})"},
        WireCase{"stale_end_without_start",
                 [] { return StaleRanges{.input = series_ref("s"), .threshold = seconds(1), .endTimestamp = at(7)}.build(); },
                 R"({"input":{"type":"raw","raw":{"name":"s"}},"threshold":{"type":"literal","literal":)"
                 R"({"seconds":1,"nanos":0}},"endTimestamp":{"type":"literal","literal":{"seconds":7,"nanos":0}}})"},
        WireCase{"series_equality_without_inputs_or_options",
                 [] {
                   return SeriesEqualityRanges{.equalityOperator = EqualityOperator::make(EqualityOperator::all_equal)}
                       .build();
                 },
                 R"({"equalityOperator":"ALL_EQUAL"})"},
        WireCase{"series_equality_every_field",
                 [] {
                   return SeriesEqualityRanges{.input = list({numeric_ref("x")}),
                                               .equalityOperator = EqualityOperator::make(EqualityOperator::all_equal),
                                               .tolerance = double_literal(0.5),
                                               .persistenceWindowConfiguration = full_window(),
                                               .interpolationConfiguration = forward_fill()}
                       .build();
                 },
                 R"({"input":[)" MODELD_X R"(],"equalityOperator":"ALL_EQUAL",)"
                 R"("tolerance":{"type":"literal","literal":0.5},"persistenceWindowConfiguration":)" MODELD_FULL_WINDOW
                 R"(,"interpolationConfiguration":)" MODELD_FORWARD_FILL "}"},
        WireCase{"aggregation_over_ranges",
                 [] {
                   return RangesNumericAggregation{.ranges = range_ref("r"),
                                                   .input = numeric_ref("x"),
                                                   .operation = operation(RangeAggregationOperation::all)}
                       .build();
                 },
                 R"({"ranges":{"type":"raw","raw":{"name":"r"}},"input":)" MODELD_X
                 R"(,"operation":{"type":"all","all":{}}})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelDCategoricalNodes, ModelDRangeDetection,
    testing::Values(
        WireCase{"enum_filter_is_not_in_without_window",
                 [] {
                   return EnumFilterRanges{
                       .input = enum_ref("e"),
                       .operator_ = EnumFilterOperator::make(EnumFilterOperator::is_not_in),
                       .values = StringSetConstant::make(StringSetConstant::literal, string_set({"b", "a", "b"}))}
                       .build();
                 },
                 R"({"input":{"type":"raw","raw":{"name":"e"}},"operator":"IS_NOT_IN",)"
                 R"("values":{"type":"literal","literal":["a","b"]}})"},
        WireCase{"enum_filter_empty_value_set",
                 [] {
                   return EnumFilterRanges{.input = enum_ref("e"),
                                           .operator_ = EnumFilterOperator::make(EnumFilterOperator::is_in),
                                           .values = StringSetConstant::make(StringSetConstant::literal, string_set({}))}
                       .build();
                 },
                 R"({"input":{"type":"raw","raw":{"name":"e"}},"operator":"IS_IN",)"
                 R"("values":{"type":"literal","literal":[]}})"},
        WireCase{"enum_filter_variable_values_with_window",
                 [] {
                   return EnumFilterRanges{.input = enum_ref("e"),
                                           .operator_ = EnumFilterOperator::make(EnumFilterOperator::is_in),
                                           .values = StringSetConstant::make(StringSetConstant::variable, Value::str("v")),
                                           .persistenceWindowConfiguration = full_window()}
                       .build();
                 },
                 R"({"input":{"type":"raw","raw":{"name":"e"}},"operator":"IS_IN",)"
                 R"("values":{"type":"variable","variable":"v"},"persistenceWindowConfiguration":)" MODELD_FULL_WINDOW "}"},
        WireCase{"enum_equality_without_inputs_or_options",
                 [] {
                   return EnumSeriesEqualityRanges{
                       .equalityOperator = EqualityOperator::make(EqualityOperator::not_all_equal)}
                       .build();
                 },
                 R"({"equalityOperator":"NOT_ALL_EQUAL"})"},
        WireCase{"enum_equality_every_field",
                 [] {
                   return EnumSeriesEqualityRanges{
                       .input = list({enum_ref("a"), enum_ref("b")}),
                       .equalityOperator = EqualityOperator::make(EqualityOperator::all_equal),
                       .persistenceWindowConfiguration = full_window(),
                       .interpolationConfiguration = forward_fill()}
                       .build();
                 },
                 R"({"input":[{"type":"raw","raw":{"name":"a"}},{"type":"raw","raw":{"name":"b"}}],)"
                 R"("equalityOperator":"ALL_EQUAL","persistenceWindowConfiguration":)" MODELD_FULL_WINDOW
                 R"(,"interpolationConfiguration":)" MODELD_FORWARD_FILL "}"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelDUnions, ModelDRangeDetection,
    testing::Values(
        WireCase{"first_point_matching_condition",
                 [] { return OutputRangeStart::make(OutputRangeStart::firstPointMatchingCondition, RangeNoParameters{}); },
                 R"({"type":"firstPointMatchingCondition","firstPointMatchingCondition":{}})"},
        WireCase{"after_persistence_window", after_window,
                 R"({"type":"afterPersistenceWindow","afterPersistenceWindow":{}})"},
        WireCase{"output_range_start_unknown", [] { return OutputRangeStart::unknown("midWindow", Any(nullptr)); },
                 R"({"type":"midWindow","midWindow":null})"},
        WireCase{"absolute_threshold",
                 [] { return Threshold::make(Threshold::absolute, AbsoluteThreshold{.value = double_literal(0.5)}); },
                 R"({"type":"absolute","absolute":{"value":{"type":"literal","literal":0.5}}})"},
        WireCase{"percentage_threshold",
                 [] {
                   return Threshold::make(Threshold::percentage,
                                          PercentageThreshold{.value = DoubleConstant::make(DoubleConstant::variable,
                                                                                            Value::str("pct"))});
                 },
                 R"({"type":"percentage","percentage":{"value":{"type":"variable","variable":"pct"}}})"},
        WireCase{"threshold_unknown", [] { return Threshold::unknown("relative", Any::object({{"value", 2}})); },
                 R"({"type":"relative","relative":{"value":2}})"},
        WireCase{"sum", [] { return operation(RangeAggregationOperation::sum); }, R"({"type":"sum","sum":{}})"},
        WireCase{"rootMeanSquare", [] { return operation(RangeAggregationOperation::rootMeanSquare); },
                 R"({"type":"rootMeanSquare","rootMeanSquare":{}})"},
        WireCase{"average", [] { return operation(RangeAggregationOperation::average); },
                 R"({"type":"average","average":{}})"},
        WireCase{"min", [] { return operation(RangeAggregationOperation::min); }, R"({"type":"min","min":{}})"},
        WireCase{"max", [] { return operation(RangeAggregationOperation::max); }, R"({"type":"max","max":{}})"},
        WireCase{"standardDeviation", [] { return operation(RangeAggregationOperation::standardDeviation); },
                 R"({"type":"standardDeviation","standardDeviation":{}})"},
        WireCase{"count", [] { return operation(RangeAggregationOperation::count); },
                 R"({"type":"count","count":{}})"},
        WireCase{"all", [] { return operation(RangeAggregationOperation::all); }, R"({"type":"all","all":{}})"},
        WireCase{"aggregation_unknown", [] { return RangeAggregationOperation::unknown("median", Any::object()); },
                 R"({"type":"median","median":{}})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelDEnumerations, ModelDRangeDetection,
    testing::Values(
        WireCase{"outside_bounds", [] { return MinMaxThresholdOperator::make(MinMaxThresholdOperator::outside_bounds); },
                 R"("OUTSIDE_BOUNDS")"},
        WireCase{"outside_or_equal_to_bounds",
                 [] { return MinMaxThresholdOperator::make(MinMaxThresholdOperator::outside_or_equal_to_bounds); },
                 R"("OUTSIDE_OR_EQUAL_TO_BOUNDS")"},
        WireCase{"inside_bounds", [] { return MinMaxThresholdOperator::make(MinMaxThresholdOperator::inside_bounds); },
                 R"("INSIDE_BOUNDS")"},
        WireCase{"inside_or_equal_to_bounds",
                 [] { return MinMaxThresholdOperator::make(MinMaxThresholdOperator::inside_or_equal_to_bounds); },
                 R"("INSIDE_OR_EQUAL_TO_BOUNDS")"},
        WireCase{"min_max_unknown", [] { return MinMaxThresholdOperator::unknown("ON_BOUNDS"); }, R"("ON_BOUNDS")"},
        WireCase{"peak", [] { return PeakType::make(PeakType::peak); }, R"("PEAK")"},
        WireCase{"trough", [] { return PeakType::make(PeakType::trough); }, R"("TROUGH")"},
        WireCase{"both", [] { return PeakType::make(PeakType::both); }, R"("BOTH")"},
        WireCase{"peak_type_unknown", [] { return PeakType::unknown("PLATEAU"); }, R"("PLATEAU")"},
        WireCase{"all_equal", [] { return EqualityOperator::make(EqualityOperator::all_equal); }, R"("ALL_EQUAL")"},
        WireCase{"not_all_equal", [] { return EqualityOperator::make(EqualityOperator::not_all_equal); },
                 R"("NOT_ALL_EQUAL")"},
        WireCase{"equality_unknown", [] { return EqualityOperator::unknown("ANY_EQUAL"); }, R"("ANY_EQUAL")"},
        WireCase{"is_in", [] { return EnumFilterOperator::make(EnumFilterOperator::is_in); }, R"("IS_IN")"},
        WireCase{"is_not_in", [] { return EnumFilterOperator::make(EnumFilterOperator::is_not_in); }, R"("IS_NOT_IN")"},
        WireCase{"enum_filter_unknown", [] { return EnumFilterOperator::unknown("IS_LIKE"); }, R"("IS_LIKE")"}),
    wire_case_name);

}  // namespace
}  // namespace qc::model::modeld_test
