// Builders whose result is a NumericSeries.
#include <utility>

#include "quarnel/compute/builders.h"
#include "quarnel/compute/model/aggregation_unions.h"
#include "quarnel/compute/model/json.h"
#include "quarnel/compute/model/numeric_series_unions.h"

namespace qc::builders {

NumericSeries numeric_series_reference(std::string_view name) {
  return model::NumericSeries::raw({.name = name});
}
NumericSeries numeric_series_constant(ConstantNumericSeries constant) {
  return model::NumericSeries::constant(std::move(constant));
}
NumericSeries numeric_series_number(double literal) {
  using Chain =
      FoldChain<Level<model::NumericSeries, model::NumericSeries::Variant::constant>,
                Level<model::ConstantNumericSeries, model::ConstantNumericSeries::Variant::double_>,
                Level<model::DoubleConstant, model::DoubleConstant::Variant::literal>>;
  return {unchecked, Chain::make(Value::f64(literal))};
}

NumericSeries numeric_series_abs(NumericSeries x) {
  return model::NumericSeries::abs({std::move(x)});
}
NumericSeries numeric_series_negate(NumericSeries x) {
  return model::NumericSeries::negate({std::move(x)});
}
NumericSeries numeric_series_cos(NumericSeries x) {
  return model::NumericSeries::cos({std::move(x)});
}
NumericSeries numeric_series_sin(NumericSeries x) {
  return model::NumericSeries::sin({std::move(x)});
}
NumericSeries numeric_series_tan(NumericSeries x) {
  return model::NumericSeries::tan({std::move(x)});
}
NumericSeries numeric_series_acos(NumericSeries x) {
  return model::NumericSeries::acos({std::move(x)});
}
NumericSeries numeric_series_asin(NumericSeries x) {
  return model::NumericSeries::asin({std::move(x)});
}
NumericSeries numeric_series_ln(NumericSeries x) {
  return model::NumericSeries::ln({std::move(x)});
}
NumericSeries numeric_series_log10(NumericSeries x) {
  return model::NumericSeries::log10({std::move(x)});
}
NumericSeries numeric_series_sqrt(NumericSeries x) {
  return model::NumericSeries::sqrt({std::move(x)});
}

NumericSeries numeric_series_add(NumericSeries left, NumericSeries right) {
  return model::NumericSeries::add({std::move(left), std::move(right)});
}
NumericSeries numeric_series_subtract(NumericSeries left, NumericSeries right) {
  return model::NumericSeries::subtract({std::move(left), std::move(right)});
}
NumericSeries numeric_series_multiply(NumericSeries left, NumericSeries right) {
  return model::NumericSeries::multiply({std::move(left), std::move(right)});
}
NumericSeries numeric_series_divide(NumericSeries left, NumericSeries right) {
  return model::NumericSeries::divide({std::move(left), std::move(right)});
}
NumericSeries numeric_series_floor_divide(NumericSeries left, NumericSeries right) {
  return model::NumericSeries::floorDivide({std::move(left), std::move(right)});
}
NumericSeries numeric_series_modulo(NumericSeries left, NumericSeries right) {
  return model::NumericSeries::modulo({std::move(left), std::move(right)});
}
NumericSeries numeric_series_power(NumericSeries base, NumericSeries exponent) {
  return model::NumericSeries::power({std::move(base), std::move(exponent)});
}
NumericSeries atan2(NumericSeries y, NumericSeries x) {
  return model::NumericSeries::atan2({std::move(y), std::move(x)});
}

NumericSeries max(ListOf<model::NumericSeries> inputs) {
  return model::NumericSeries::max({.inputs = std::move(inputs)});
}
NumericSeries mean(ListOf<model::NumericSeries> inputs) {
  return model::NumericSeries::mean({.inputs = std::move(inputs)});
}
NumericSeries min(ListOf<model::NumericSeries> inputs) {
  return model::NumericSeries::min({.inputs = std::move(inputs)});
}
NumericSeries sum(ListOf<model::NumericSeries> inputs) {
  return model::NumericSeries::sum({.inputs = std::move(inputs)});
}
NumericSeries product(ListOf<model::NumericSeries> inputs) {
  return model::NumericSeries::product({.inputs = std::move(inputs)});
}
NumericSeries numeric_series_union(ListOf<model::NumericSeries> inputs) {
  return model::NumericSeries::union_({.input = std::move(inputs)});
}
NumericSeries numeric_if_else(BooleanSeries condition, NumericSeries true_value,
                              NumericSeries false_value) {
  return model::NumericSeries::ifElse({.condition = std::move(condition),
                                       .trueValue = std::move(true_value),
                                       .falseValue = std::move(false_value)});
}

NumericSeries numeric_series_tail(NumericSeries input, IntegerConstant num_points) {
  return model::NumericSeries::selectNewestPoints({std::move(input), std::move(num_points)});
}
NumericSeries numeric_series_head(NumericSeries input, IntegerConstant num_points) {
  return model::NumericSeries::selectOldestPoints({std::move(input), std::move(num_points)});
}
NumericSeries numeric_series_nth_point_downsample(NumericSeries input, IntegerConstant n) {
  return model::NumericSeries::nthPointDownsample({std::move(input), std::move(n)});
}
NumericSeries numeric_series_largest_triangle_three_buckets(NumericSeries input,
                                                            IntegerConstant max_points_to_return) {
  return model::NumericSeries::largestTriangleThreeBuckets(
      {std::move(input), std::move(max_points_to_return)});
}
NumericSeries numeric_series_bit_and(NumericSeries input, IntegerConstant operand) {
  return model::NumericSeries::bitAnd({std::move(input), std::move(operand)});
}
NumericSeries numeric_series_bit_or(NumericSeries input, IntegerConstant operand) {
  return model::NumericSeries::bitOr({std::move(input), std::move(operand)});
}
NumericSeries numeric_series_bit_xor(NumericSeries input, IntegerConstant operand) {
  return model::NumericSeries::bitXor({std::move(input), std::move(operand)});
}
NumericSeries numeric_series_bit_shift_right(NumericSeries input, IntegerConstant operand) {
  return model::NumericSeries::bitShiftRight({std::move(input), std::move(operand)});
}
NumericSeries numeric_series_bit_shift_left(NumericSeries input, IntegerConstant operand) {
  return model::NumericSeries::bitShiftLeft({std::move(input), std::move(operand)});
}
NumericSeries numeric_series_bit_test(NumericSeries input, IntegerConstant index) {
  return model::NumericSeries::bitTest({std::move(input), std::move(index)});
}
NumericSeries numeric_series_select_numeric(StringConstant name, Maybe<model::Dataset> dataset,
                                            Maybe<model::Sampling> sampling) {
  return model::NumericSeries::selectNumeric(
      {.name = std::move(name), .dataset = std::move(dataset), .sampling = std::move(sampling)});
}

NumericSeries numeric_series_derivative(NumericSeries input, std::optional<TimeUnit> time_unit,
                                        Maybe<model::NegativeValueConfiguration> negative_values) {
  return model::NumericSeries::derivative(
      {.input = std::move(input),
       .timeUnit = time_unit ? to_model(*time_unit) : Handle<model::api::TimeUnit>(),
       .negativeValuesConfiguration = std::move(negative_values)});
}
NumericSeries numeric_series_value_difference(
    NumericSeries input, Maybe<model::NegativeValueConfiguration> negative_values) {
  return model::NumericSeries::valueDifference(
      {.input = std::move(input), .negativeValuesConfiguration = std::move(negative_values)});
}
NumericSeries numeric_series_time_difference(Series input, std::optional<TimeUnit> time_unit) {
  return model::NumericSeries::timeDifference(
      {.input = std::move(input),
       .timeUnit = time_unit ? to_model(*time_unit) : Handle<model::api::TimeUnit>()});
}
NumericSeries numeric_series_absolute_timestamp(Series input, TimeUnit time_unit) {
  return model::NumericSeries::absoluteTimestamp(
      {.input = std::move(input), .timeUnit = to_model(time_unit)});
}
NumericSeries numeric_series_time_shift(NumericSeries input, Duration duration) {
  return model::NumericSeries::timeShiftV2({std::move(input), std::move(duration)});
}
NumericSeries numeric_series_to_start_of_interval(NumericSeries input, Duration window) {
  return model::NumericSeries::toStartOfInterval({std::move(input), std::move(window)});
}
NumericSeries numeric_series_signal_filter(NumericSeries input,
                                           SignalFilterConfiguration configuration,
                                           IntegerConstant order,
                                           Maybe<model::DoubleConstant> sampling_frequency) {
  return model::NumericSeries::signalFilter({.input = std::move(input),
                                             .signalFilterConfiguration = std::move(configuration),
                                             .order = std::move(order),
                                             .samplingFrequency = std::move(sampling_frequency)});
}
NumericSeries numeric_series_unit_conversion(NumericSeries input, std::string_view output_unit) {
  return model::NumericSeries::unitConversion(
      {.input = std::move(input), .outputUnit = output_unit});
}
NumericSeries numeric_series_drop_nan(NumericSeries input) {
  return model::NumericSeries::dropNan({std::move(input)});
}
NumericSeries numeric_series_select_tags(NumericSeries input,
                                         SetOf<model::StringConstant> tag_keys) {
  return model::NumericSeries::selectTags(
      {.input = std::move(input), .tagKeys = std::move(tag_keys)});
}
NumericSeries numeric_series_z_score(NumericSeries input,
                                     SetOf<model::StringConstant> group_by_tags) {
  return model::NumericSeries::zScore(
      {.input = std::move(input), .groupByTags = std::move(group_by_tags)});
}
NumericSeries struct_series_extract_numeric(StructSeries input,
                                            ListOf<model::StringConstant> field_path,
                                            std::optional<NumericDataType> data_type) {
  return model::NumericSeries::extractFromStruct(
      {.input = std::move(input),
       .fieldPath = std::move(field_path),
       .dataType = data_type ? to_model(*data_type) : Handle<model::objects::NumericDataType>()});
}
NumericSeries numeric_series_udf(ListOf<model::Series> inputs, UdfSource source) {
  return model::NumericSeries::scalarUdf(
      {.inputs = std::move(inputs), .source = std::move(source)});
}
NumericSeries numeric_series_scalar_udf_rust(ListOf<model::Series> inputs,
                                             std::string_view source_code) {
  return numeric_series_udf(std::move(inputs), udf_source_rust(source_code));
}

NumericSeries numeric_series_numeric_aggregation(AggregationBuilder input,
                                                 NumericAggregationOperator op) {
  return model::NumericSeries::numericAggregation(
      {.input = std::move(input), .operator_ = std::move(op)});
}
NumericSeries numeric_series_numeric_aggregation_sum(AggregationBuilder input) {
  return numeric_series_numeric_aggregation(std::move(input), numeric_aggregation_operator_sum());
}
NumericSeries numeric_series_numeric_aggregation_average(AggregationBuilder input) {
  return numeric_series_numeric_aggregation(std::move(input),
                                            numeric_aggregation_operator_average());
}
NumericSeries numeric_series_numeric_aggregation_min(AggregationBuilder input) {
  return numeric_series_numeric_aggregation(std::move(input), numeric_aggregation_operator_min());
}
NumericSeries numeric_series_numeric_aggregation_max(AggregationBuilder input) {
  return numeric_series_numeric_aggregation(std::move(input), numeric_aggregation_operator_max());
}
NumericSeries numeric_series_numeric_aggregation_count(AggregationBuilder input) {
  return numeric_series_numeric_aggregation(std::move(input), numeric_aggregation_operator_count());
}
NumericSeries numeric_series_numeric_aggregation_standard_deviation(AggregationBuilder input) {
  return numeric_series_numeric_aggregation(std::move(input),
                                            numeric_aggregation_operator_standard_deviation());
}
NumericSeries numeric_series_numeric_aggregation_root_mean_square(AggregationBuilder input) {
  return numeric_series_numeric_aggregation(std::move(input),
                                            numeric_aggregation_operator_root_mean_square());
}
NumericSeries numeric_series_numeric_aggregation_percentile(AggregationBuilder input,
                                                            DoubleConstant percentile) {
  return numeric_series_numeric_aggregation(
      std::move(input), numeric_aggregation_operator_percentile(std::move(percentile)));
}
NumericSeries numeric_series_numeric_aggregation_udf(AggregationBuilder input, UdfSource source) {
  return numeric_series_numeric_aggregation(std::move(input),
                                            numeric_aggregation_operator_udf(std::move(source)));
}
NumericSeries numeric_series_numeric_aggregation_udf_rust(AggregationBuilder input,
                                                          std::string_view source_code) {
  return numeric_series_numeric_aggregation_udf(std::move(input), udf_source_rust(source_code));
}

}  // namespace qc::builders
