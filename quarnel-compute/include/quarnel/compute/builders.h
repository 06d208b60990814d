// The expression builders: each named operation makes one new node out of model values.
//
// A builder takes its operands by value and places them in the new node; since values are
// immutable and shared, that costs a reference count per operand whatever the tree behind it.
// Builders check nothing and report no error: the only failure is std::bad_alloc. An optional
// operand is given as `Value{}` when absent, which leaves its field empty (not written).
// Lists keep their order and duplicates; the tag lists that fill set fields are sorted and
// de-duplicated in the order of StringConstant.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "quarnel/compute/builders_names.h"
#include "quarnel/compute/model/value.h"

namespace qc::builders {

// --- Results of kind NumericSeries -----------------------------------------------------------

Value numeric_series_add(Value left, Value right);
Value numeric_series_subtract(Value left, Value right);
Value numeric_series_multiply(Value left, Value right);
Value numeric_series_divide(Value left, Value right);
Value numeric_series_floor_divide(Value left, Value right);
Value numeric_series_modulo(Value left, Value right);
Value numeric_series_power(Value base, Value exponent);
Value atan2(Value y, Value x);

Value max(std::vector<Value> inputs);
Value mean(std::vector<Value> inputs);
Value min(std::vector<Value> inputs);
Value sum(std::vector<Value> inputs);
Value product(std::vector<Value> inputs);
Value numeric_series_union(std::vector<Value> inputs);
Value numeric_if_else(Value condition, Value true_value, Value false_value);

// The IntegerConstant operand fills "numPoints", "n", "maxPointsToReturn", "operand", "index".
Value numeric_series_tail(Value input, Value num_points);
Value numeric_series_head(Value input, Value num_points);
Value numeric_series_nth_point_downsample(Value input, Value n);
Value numeric_series_largest_triangle_three_buckets(Value input, Value max_points_to_return);
Value numeric_series_bit_and(Value input, Value operand);
Value numeric_series_bit_or(Value input, Value operand);
Value numeric_series_bit_xor(Value input, Value operand);
Value numeric_series_bit_shift_right(Value input, Value operand);
Value numeric_series_bit_shift_left(Value input, Value operand);
Value numeric_series_bit_test(Value input, Value index);
Value numeric_series_select_numeric(Value name, Value dataset, Value sampling);

Value numeric_series_derivative(Value input, std::optional<TimeUnit> time_unit,
                                Value negative_values_configuration);
Value numeric_series_value_difference(Value input, Value negative_values_configuration);
// `input` is a Series (see the conversions below).
Value numeric_series_time_difference(Value input, std::optional<TimeUnit> time_unit);
Value numeric_series_absolute_timestamp(Value input, TimeUnit time_unit);
Value numeric_series_time_shift(Value input, Value duration);
Value numeric_series_to_start_of_interval(Value input, Value window);
Value numeric_series_signal_filter(Value input, Value configuration, Value order,
                                   Value sampling_frequency);
Value numeric_series_select_tags(Value input, std::vector<Value> tag_keys);
Value numeric_series_z_score(Value input, std::vector<Value> group_by_tags);
Value struct_series_extract_numeric(Value input, std::vector<Value> field_path,
                                    std::optional<NumericDataType> data_type);
Value numeric_series_udf(std::vector<Value> inputs, Value source);
Value numeric_series_scalar_udf_rust(std::vector<Value> inputs, std::string_view source_code);

Value numeric_series_numeric_aggregation(Value input, Value op);
Value numeric_series_numeric_aggregation_sum(Value input);
Value numeric_series_numeric_aggregation_average(Value input);
Value numeric_series_numeric_aggregation_min(Value input);
Value numeric_series_numeric_aggregation_max(Value input);
Value numeric_series_numeric_aggregation_count(Value input);
Value numeric_series_numeric_aggregation_standard_deviation(Value input);
Value numeric_series_numeric_aggregation_root_mean_square(Value input);
Value numeric_series_numeric_aggregation_percentile(Value input, Value percentile);
Value numeric_series_numeric_aggregation_udf(Value input, Value source);
Value numeric_series_numeric_aggregation_udf_rust(Value input, std::string_view source_code);

// --- Results of the other kinds ----------------------------------------------------------------

Value boolean_series_greater_than(Value left, Value right);
Value boolean_series_less_than(Value left, Value right);
Value boolean_series_equal_to(Value left, Value right);
Value boolean_series_not_equal_to(Value left, Value right);
Value boolean_series_greater_than_or_equal_to(Value left, Value right);
Value boolean_series_less_than_or_equal_to(Value left, Value right);
Value boolean_series_and(Value left, Value right);
Value boolean_series_or(Value left, Value right);

Value categorical_series_value_map(Value input, std::vector<Value> mapping, Value default_value);
Value categorical_series_enum_aggregation(Value input, Value op);
Value range_series_union(std::vector<Value> inputs);
Value range_series_intersect(std::vector<Value> inputs);
// Of two equal names the later series wins; the members are ordered by the names' bytes.
Value struct_series_combine(std::vector<std::pair<std::string, Value>> inputs);
Value dataset_combine(std::vector<Value> inputs);
Value dataset_tag(Value input, Value key, Value value);
Value dataset_time_shift(Value input, Value offset);
Value duration_add(Value left, Value right);
Value duration_subtract(Value left, Value right);
Value aggregation_builder_rolling_time(Value input, Value window);
Value aggregation_builder_rolling_points(Value input, Value points);
Value aggregation_builder_group_by(Value input, Value tags, Value timestamp);
Value group_by_tags_subset(std::vector<Value> tags);
Value signal_filter_configuration_band_pass(Value low, Value high);
Value signal_filter_configuration_band_stop(Value low, Value high);
// The output comes first here although the record writes it last.
Value range_map_create(Value output, Value start, Value end);

// Conversions of a held series into the Series union ("enum", "numeric", "struct").
Value series_from_enum_series(Value series);
Value series_from_numeric_series(Value series);
Value series_from_struct_series(Value series);

}  // namespace qc::builders
