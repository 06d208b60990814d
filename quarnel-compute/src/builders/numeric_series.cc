// Builders whose result is a NumericSeries.
#include <utility>

#include "node.h"
#include "quarnel/compute/builders.h"
#include "quarnel/compute/model/aggregation_unions.h"
#include "quarnel/compute/model/numeric_series_unions.h"

namespace qc::builders {

using N = model::NumericSeries;
namespace m = model;

namespace {

Value tag_set(std::vector<Value> tags) { return string_constant_set(std::move(tags)); }

Value optional_model(std::optional<TimeUnit> unit) { return unit ? to_model(*unit) : Value{}; }

Value rust_source(std::string_view source_code) {
  return m::UdfSource::make(m::UdfSource::rust, m::RustUdfSource{.sourceCode = Value::str(source_code)});
}

Value aggregation_with(Value input, m::NumericAggregationOperator::Variant v, auto payload) {
  return numeric_series_numeric_aggregation(std::move(input),
                                            m::NumericAggregationOperator::make(v, std::move(payload)));
}

}  // namespace

Value numeric_series_add(Value left, Value right) {
  return node<N, m::Add>(N::add, std::move(left), std::move(right));
}
Value numeric_series_subtract(Value left, Value right) {
  return node<N, m::Subtract>(N::subtract, std::move(left), std::move(right));
}
Value numeric_series_multiply(Value left, Value right) {
  return node<N, m::Multiply>(N::multiply, std::move(left), std::move(right));
}
Value numeric_series_divide(Value left, Value right) {
  return node<N, m::Divide>(N::divide, std::move(left), std::move(right));
}
Value numeric_series_floor_divide(Value left, Value right) {
  return node<N, m::FloorDivide>(N::floorDivide, std::move(left), std::move(right));
}
Value numeric_series_modulo(Value left, Value right) {
  return node<N, m::Modulo>(N::modulo, std::move(left), std::move(right));
}
Value numeric_series_power(Value base, Value exponent) {
  return node<N, m::Power>(N::power, std::move(base), std::move(exponent));
}
Value atan2(Value y, Value x) { return node<N, m::Atan2>(N::atan2, std::move(y), std::move(x)); }

Value max(std::vector<Value> inputs) {
  return N::make(N::max, m::MaxSeries{.inputs = list(std::move(inputs))});
}
Value mean(std::vector<Value> inputs) {
  return N::make(N::mean, m::MeanSeries{.inputs = list(std::move(inputs))});
}
Value min(std::vector<Value> inputs) {
  return N::make(N::min, m::MinSeries{.inputs = list(std::move(inputs))});
}
Value sum(std::vector<Value> inputs) {
  return N::make(N::sum, m::SumSeries{.inputs = list(std::move(inputs))});
}
Value product(std::vector<Value> inputs) {
  return N::make(N::product, m::ProductSeries{.inputs = list(std::move(inputs))});
}
Value numeric_series_union(std::vector<Value> inputs) {
  return N::make(N::union_, m::NumericUnionSeries{.input = list(std::move(inputs))});
}
Value numeric_if_else(Value condition, Value true_value, Value false_value) {
  return N::make(N::ifElse,
                             m::NumericIfElseSeries{.condition = std::move(condition),
                                                    .trueValue = std::move(true_value),
                                                    .falseValue = std::move(false_value)});
}

Value numeric_series_tail(Value input, Value num_points) {
  return node<N, m::SelectNewestPointsSeries>(N::selectNewestPoints, std::move(input), std::move(num_points));
}
Value numeric_series_head(Value input, Value num_points) {
  return node<N, m::SelectOldestPointsSeries>(N::selectOldestPoints, std::move(input), std::move(num_points));
}
Value numeric_series_nth_point_downsample(Value input, Value n) {
  return node<N, m::NumericNthPointDownsampleSeries>(N::nthPointDownsample, std::move(input), std::move(n));
}
Value numeric_series_largest_triangle_three_buckets(Value input, Value max_points_to_return) {
  return node<N, m::NumericLargestTriangleThreeBucketsSeries>(N::largestTriangleThreeBuckets,
              std::move(input), std::move(max_points_to_return));
}
Value numeric_series_bit_and(Value input, Value operand) {
  return node<N, m::BitAnd>(N::bitAnd, std::move(input), std::move(operand));
}
Value numeric_series_bit_or(Value input, Value operand) {
  return node<N, m::BitOr>(N::bitOr, std::move(input), std::move(operand));
}
Value numeric_series_bit_xor(Value input, Value operand) {
  return node<N, m::BitXor>(N::bitXor, std::move(input), std::move(operand));
}
Value numeric_series_bit_shift_right(Value input, Value operand) {
  return node<N, m::BitShiftRight>(N::bitShiftRight, std::move(input), std::move(operand));
}
Value numeric_series_bit_shift_left(Value input, Value operand) {
  return node<N, m::BitShiftLeft>(N::bitShiftLeft, std::move(input), std::move(operand));
}
Value numeric_series_bit_test(Value input, Value index) {
  return node<N, m::BitTest>(N::bitTest, std::move(input), std::move(index));
}
Value numeric_series_select_numeric(Value name, Value dataset, Value sampling) {
  return N::make(N::selectNumeric,
                             m::SelectSeries{.name = std::move(name),
                                             .dataset = std::move(dataset),
                                             .sampling = std::move(sampling)});
}

Value numeric_series_derivative(Value input, std::optional<TimeUnit> time_unit,
                                Value negative_values_configuration) {
  return N::make(N::derivative,
                             m::DerivativeSeries{.input = std::move(input),
                                                 .timeUnit = optional_model(time_unit),
                                                 .negativeValuesConfiguration = std::move(negative_values_configuration)});
}
Value numeric_series_value_difference(Value input, Value negative_values_configuration) {
  return node<N, m::ValueDifferenceSeries>(N::valueDifference,
              std::move(input), std::move(negative_values_configuration));
}
Value numeric_series_time_difference(Value input, std::optional<TimeUnit> time_unit) {
  return N::make(N::timeDifference,
                             m::TimeDifferenceSeries{.input = std::move(input), .timeUnit = optional_model(time_unit)});
}
Value numeric_series_absolute_timestamp(Value input, TimeUnit time_unit) {
  return N::make(N::absoluteTimestamp,
                             m::AbsoluteTimestampSeries{.input = std::move(input), .timeUnit = to_model(time_unit)});
}
Value numeric_series_time_shift(Value input, Value duration) {
  return node<N, m::NumericTimeShiftSeriesV2>(N::timeShiftV2, std::move(input), std::move(duration));
}
Value numeric_series_to_start_of_interval(Value input, Value window) {
  return node<N, m::NumericToStartOfIntervalSeries>(N::toStartOfInterval,
              std::move(input), std::move(window));
}
Value numeric_series_signal_filter(Value input, Value configuration, Value order, Value sampling_frequency) {
  return N::make(N::signalFilter,
                             m::SignalFilterSeries{.input = std::move(input),
                                                   .signalFilterConfiguration = std::move(configuration),
                                                   .order = std::move(order),
                                                   .samplingFrequency = std::move(sampling_frequency)});
}
Value numeric_series_select_tags(Value input, std::vector<Value> tag_keys) {
  return N::make(N::selectTags,
                             m::NumericSelectTagsSeries{.input = std::move(input), .tagKeys = tag_set(std::move(tag_keys))});
}
Value numeric_series_z_score(Value input, std::vector<Value> group_by_tags) {
  return N::make(N::zScore,
                             m::ZscoreSeries{.input = std::move(input), .groupByTags = tag_set(std::move(group_by_tags))});
}
Value struct_series_extract_numeric(Value input, std::vector<Value> field_path,
                                    std::optional<NumericDataType> data_type) {
  return N::make(N::extractFromStruct,
                             m::ExtractNumericFromStructSeries{.input = std::move(input),
                                                               .fieldPath = list(std::move(field_path)),
                                                               .dataType = data_type ? to_model(*data_type) : Value{}});
}
Value numeric_series_udf(std::vector<Value> inputs, Value source) {
  return N::make(N::scalarUdf,
                             m::ScalarUdfSeries{.inputs = list(std::move(inputs)), .source = std::move(source)});
}
Value numeric_series_scalar_udf_rust(std::vector<Value> inputs, std::string_view source_code) {
  return numeric_series_udf(std::move(inputs), rust_source(source_code));
}

Value numeric_series_numeric_aggregation(Value input, Value op) {
  return node<N, m::NumericAggregation>(N::numericAggregation, std::move(input), std::move(op));
}

using Op = m::NumericAggregationOperator;
Value numeric_series_numeric_aggregation_sum(Value input) {
  return aggregation_with(std::move(input), Op::sum, m::EmptyAggregationPayload{});
}
Value numeric_series_numeric_aggregation_average(Value input) {
  return aggregation_with(std::move(input), Op::average, m::EmptyAggregationPayload{});
}
Value numeric_series_numeric_aggregation_min(Value input) {
  return aggregation_with(std::move(input), Op::min, m::EmptyAggregationPayload{});
}
Value numeric_series_numeric_aggregation_max(Value input) {
  return aggregation_with(std::move(input), Op::max, m::EmptyAggregationPayload{});
}
Value numeric_series_numeric_aggregation_count(Value input) {
  return aggregation_with(std::move(input), Op::count, m::EmptyAggregationPayload{});
}
Value numeric_series_numeric_aggregation_standard_deviation(Value input) {
  return aggregation_with(std::move(input), Op::standardDeviation, m::EmptyAggregationPayload{});
}
Value numeric_series_numeric_aggregation_root_mean_square(Value input) {
  return aggregation_with(std::move(input), Op::rootMeanSquare, m::EmptyAggregationPayload{});
}
Value numeric_series_numeric_aggregation_percentile(Value input, Value percentile) {
  return aggregation_with(std::move(input), Op::percentile, m::Percentile{.percentile = std::move(percentile)});
}
Value numeric_series_numeric_aggregation_udf(Value input, Value source) {
  return aggregation_with(std::move(input), Op::udf, m::NumericAggregationUdf{.source = std::move(source)});
}
Value numeric_series_numeric_aggregation_udf_rust(Value input, std::string_view source_code) {
  return numeric_series_numeric_aggregation_udf(std::move(input), rust_source(source_code));
}

}  // namespace qc::builders
