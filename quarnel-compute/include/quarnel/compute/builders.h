// The expression builders: each named operation makes one new node out of model values. They
// are the one place where nodes are made; the binding only converts arguments and calls them.
//
// A builder takes its operands by value and places them in the new node; since values are
// immutable and shared, that costs a reference count per operand whatever the tree behind it.
// Builders check nothing and report no error: the only failure is std::bad_alloc. An optional
// operand is absent when given as `{}`, which leaves its field out of the JSON. Lists keep their
// order and duplicates; the tag lists that fill set fields are sorted and de-duplicated in the
// order of StringConstant.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "quarnel/compute/builders_names.h"
#include "quarnel/compute/classes.h"
#include "quarnel/compute/model/handle.h"

// A handle for the model type of every class (classes.h), and for Series, which the series
// classes enter nodes as.
namespace qc::model {
#define QC_DECLARE_MODEL_(Name, Model) struct Model;
QC_CLASSES(QC_DECLARE_MODEL_)
#undef QC_DECLARE_MODEL_
struct Series;
}  // namespace qc::model

namespace qc::builders {

#define QC_HANDLE_(Name, Model) using Model = Handle<model::Model>;
QC_CLASSES(QC_HANDLE_)
#undef QC_HANDLE_
using Series = Handle<model::Series>;
template <class Model>
using Maybe = Handle<Optional<Model>>;
template <class Model>
using ListOf = Handle<List<Model>>;
template <class Model>
using SetOf = Handle<Set<Model>>;

// --- Results of kind NumericSeries -----------------------------------------------------------

NumericSeries numeric_series_reference(std::string_view name);
NumericSeries numeric_series_constant(ConstantNumericSeries constant);
// A number as a series, the most common operand: numeric_series_constant(
// constant_numeric_series_double(double_constant_literal(literal))) made as one node.
NumericSeries numeric_series_number(double literal);

NumericSeries numeric_series_abs(NumericSeries x);
NumericSeries numeric_series_negate(NumericSeries x);
NumericSeries numeric_series_cos(NumericSeries x);
NumericSeries numeric_series_sin(NumericSeries x);
NumericSeries numeric_series_tan(NumericSeries x);
NumericSeries numeric_series_acos(NumericSeries x);
NumericSeries numeric_series_asin(NumericSeries x);
NumericSeries numeric_series_ln(NumericSeries x);
NumericSeries numeric_series_log10(NumericSeries x);
NumericSeries numeric_series_sqrt(NumericSeries x);

NumericSeries numeric_series_add(NumericSeries left, NumericSeries right);
NumericSeries numeric_series_subtract(NumericSeries left, NumericSeries right);
NumericSeries numeric_series_multiply(NumericSeries left, NumericSeries right);
NumericSeries numeric_series_divide(NumericSeries left, NumericSeries right);
NumericSeries numeric_series_floor_divide(NumericSeries left, NumericSeries right);
NumericSeries numeric_series_modulo(NumericSeries left, NumericSeries right);
NumericSeries numeric_series_power(NumericSeries base, NumericSeries exponent);
NumericSeries atan2(NumericSeries y, NumericSeries x);

NumericSeries max(ListOf<model::NumericSeries> inputs);
NumericSeries mean(ListOf<model::NumericSeries> inputs);
NumericSeries min(ListOf<model::NumericSeries> inputs);
NumericSeries sum(ListOf<model::NumericSeries> inputs);
NumericSeries product(ListOf<model::NumericSeries> inputs);
NumericSeries numeric_series_union(ListOf<model::NumericSeries> inputs);
NumericSeries numeric_if_else(BooleanSeries condition, NumericSeries true_value,
                              NumericSeries false_value);

NumericSeries numeric_series_tail(NumericSeries input, IntegerConstant num_points);
NumericSeries numeric_series_head(NumericSeries input, IntegerConstant num_points);
NumericSeries numeric_series_nth_point_downsample(NumericSeries input, IntegerConstant n);
NumericSeries numeric_series_largest_triangle_three_buckets(NumericSeries input,
                                                            IntegerConstant max_points_to_return);
NumericSeries numeric_series_bit_and(NumericSeries input, IntegerConstant operand);
NumericSeries numeric_series_bit_or(NumericSeries input, IntegerConstant operand);
NumericSeries numeric_series_bit_xor(NumericSeries input, IntegerConstant operand);
NumericSeries numeric_series_bit_shift_right(NumericSeries input, IntegerConstant operand);
NumericSeries numeric_series_bit_shift_left(NumericSeries input, IntegerConstant operand);
NumericSeries numeric_series_bit_test(NumericSeries input, IntegerConstant index);
NumericSeries numeric_series_select_numeric(StringConstant name, Maybe<model::Dataset> dataset,
                                            Maybe<model::Sampling> sampling);

NumericSeries numeric_series_derivative(NumericSeries input, std::optional<TimeUnit> time_unit,
                                        Maybe<model::NegativeValueConfiguration> negative_values);
NumericSeries numeric_series_value_difference(
    NumericSeries input, Maybe<model::NegativeValueConfiguration> negative_values);
NumericSeries numeric_series_time_difference(Series input, std::optional<TimeUnit> time_unit);
NumericSeries numeric_series_absolute_timestamp(Series input, TimeUnit time_unit);
NumericSeries numeric_series_time_shift(NumericSeries input, Duration duration);
NumericSeries numeric_series_to_start_of_interval(NumericSeries input, Duration window);
NumericSeries numeric_series_signal_filter(NumericSeries input,
                                           SignalFilterConfiguration configuration,
                                           IntegerConstant order,
                                           Maybe<model::DoubleConstant> sampling_frequency);
NumericSeries numeric_series_unit_conversion(NumericSeries input, std::string_view output_unit);
NumericSeries numeric_series_drop_nan(NumericSeries input);
NumericSeries numeric_series_select_tags(NumericSeries input,
                                         SetOf<model::StringConstant> tag_keys);
NumericSeries numeric_series_z_score(NumericSeries input,
                                     SetOf<model::StringConstant> group_by_tags);
NumericSeries struct_series_extract_numeric(StructSeries input,
                                            ListOf<model::StringConstant> field_path,
                                            std::optional<NumericDataType> data_type);
NumericSeries numeric_series_udf(ListOf<model::Series> inputs, UdfSource source);
NumericSeries numeric_series_scalar_udf_rust(ListOf<model::Series> inputs,
                                             std::string_view source_code);

NumericSeries numeric_series_numeric_aggregation(AggregationBuilder input,
                                                 NumericAggregationOperator op);
NumericSeries numeric_series_numeric_aggregation_sum(AggregationBuilder input);
NumericSeries numeric_series_numeric_aggregation_average(AggregationBuilder input);
NumericSeries numeric_series_numeric_aggregation_min(AggregationBuilder input);
NumericSeries numeric_series_numeric_aggregation_max(AggregationBuilder input);
NumericSeries numeric_series_numeric_aggregation_count(AggregationBuilder input);
NumericSeries numeric_series_numeric_aggregation_standard_deviation(AggregationBuilder input);
NumericSeries numeric_series_numeric_aggregation_root_mean_square(AggregationBuilder input);
NumericSeries numeric_series_numeric_aggregation_percentile(AggregationBuilder input,
                                                            DoubleConstant percentile);
NumericSeries numeric_series_numeric_aggregation_udf(AggregationBuilder input, UdfSource source);
NumericSeries numeric_series_numeric_aggregation_udf_rust(AggregationBuilder input,
                                                          std::string_view source_code);

// --- Results of the other series kinds -------------------------------------------------------

BooleanSeries boolean_series_greater_than(NumericSeries left, NumericSeries right);
BooleanSeries boolean_series_less_than(NumericSeries left, NumericSeries right);
BooleanSeries boolean_series_equal_to(NumericSeries left, NumericSeries right);
BooleanSeries boolean_series_not_equal_to(NumericSeries left, NumericSeries right);
BooleanSeries boolean_series_greater_than_or_equal_to(NumericSeries left, NumericSeries right);
BooleanSeries boolean_series_less_than_or_equal_to(NumericSeries left, NumericSeries right);
BooleanSeries boolean_series_and(BooleanSeries left, BooleanSeries right);
BooleanSeries boolean_series_or(BooleanSeries left, BooleanSeries right);

EnumSeries categorical_series_reference(std::string_view name);
EnumSeries categorical_series_value_map(NumericSeries input, ListOf<model::RangeMap> mapping,
                                        Maybe<model::StringConstant> default_value);
EnumSeries categorical_series_enum_aggregation(AggregationBuilder input,
                                               EnumAggregationOperator op);

RangeSeries range_series_reference(std::string_view name);
RangeSeries range_series_not(RangeSeries input);
RangeSeries range_series_union(ListOf<model::RangeSeries> inputs);
RangeSeries range_series_intersect(ListOf<model::RangeSeries> inputs);

// Of two equal names the later series wins; the members are ordered by the names' bytes.
StructSeries struct_series_combine(Handle<Map<String, model::Series>> inputs);

// Conversions of a series into the Series union ("enum", "numeric", "struct").
Series series_from_enum_series(EnumSeries series);
Series series_from_numeric_series(NumericSeries series);
Series series_from_struct_series(StructSeries series);

// --- Constants, durations and datasets ---------------------------------------------------------

DoubleConstant double_constant_literal(double literal);
DoubleConstant double_constant_variable(std::string_view name);
IntegerConstant integer_constant_literal(int32_t literal);
IntegerConstant integer_constant_variable(std::string_view name);
StringConstant string_constant_literal(std::string_view literal);
StringConstant string_constant_variable(std::string_view name);
ConstantNumericSeries constant_numeric_series_double(DoubleConstant value);
// constant_numeric_series_double(double_constant_literal(literal)), made as one node.
ConstantNumericSeries constant_numeric_series_number(double literal);

// A count is kept as given, with no sign check and no conversion between units.
Duration duration_reference(std::string_view name);
Duration duration_nanoseconds(IntegerConstant count);
Duration duration_milliseconds(IntegerConstant count);
Duration duration_seconds(IntegerConstant count);
Duration duration_minutes(IntegerConstant count);
Duration duration_hours(IntegerConstant count);
Duration duration_days(IntegerConstant count);
Duration duration_add(Duration left, Duration right);
Duration duration_subtract(Duration left, Duration right);
Duration duration_negate(Duration input);

// Resource identifiers are recorded as given, never checked.
Dataset dataset_asset(StringConstant rid);
Dataset dataset_run(StringConstant rid);
Dataset dataset_saved(StringConstant rid);
Dataset dataset_combine(ListOf<model::Dataset> inputs);
Dataset dataset_tag(Dataset input, StringConstant key, StringConstant value);
Dataset dataset_time_shift(Dataset input, Duration offset);

Sampling sampling_every_nth_per_series(IntegerConstant n);
Sampling sampling_hash_subsample(IntegerConstant n);

// --- Aggregations and configurations -----------------------------------------------------------

AggregationBuilder aggregation_builder_rolling_time(Series input, Duration window);
AggregationBuilder aggregation_builder_rolling_points(Series input, IntegerConstant points);
AggregationBuilder aggregation_builder_group_by(Series input, GroupByTags tags,
                                                GroupByTimestamp timestamp);

NumericAggregationOperator numeric_aggregation_operator_sum();
NumericAggregationOperator numeric_aggregation_operator_average();
NumericAggregationOperator numeric_aggregation_operator_min();
NumericAggregationOperator numeric_aggregation_operator_max();
NumericAggregationOperator numeric_aggregation_operator_count();
NumericAggregationOperator numeric_aggregation_operator_standard_deviation();
NumericAggregationOperator numeric_aggregation_operator_root_mean_square();
NumericAggregationOperator numeric_aggregation_operator_percentile(DoubleConstant percentile);
NumericAggregationOperator numeric_aggregation_operator_udf(UdfSource source);

EnumAggregationOperator enum_aggregation_operator_min();
EnumAggregationOperator enum_aggregation_operator_max();
EnumAggregationOperator enum_aggregation_operator_udf(UdfSource source);

// The source text is neither parsed nor checked.
UdfSource udf_source_rust(std::string_view source_code);

GroupByTags group_by_tags_current();
GroupByTags group_by_tags_subset(SetOf<model::StringConstant> tags);
GroupByTimestamp group_by_timestamp_current();
GroupByTimestamp group_by_timestamp_every(Duration every);

NegativeValueConfiguration negative_value_configuration_allow_negative_values();
NegativeValueConfiguration negative_value_configuration_set_negative_values_to_zero();
NegativeValueConfiguration negative_value_configuration_exclude_negative_values();

// No frequency is checked: a band whose low end lies above its high end is kept as given.
SignalFilterConfiguration signal_filter_configuration_low_pass(DoubleConstant cutoff_frequency);
SignalFilterConfiguration signal_filter_configuration_high_pass(DoubleConstant cutoff_frequency);
SignalFilterConfiguration signal_filter_configuration_band_pass(DoubleConstant low,
                                                                DoubleConstant high);
SignalFilterConfiguration signal_filter_configuration_band_stop(DoubleConstant low,
                                                                DoubleConstant high);

// The output comes first here although the record writes it last.
RangeMap range_map_create(StringConstant output, Maybe<model::DoubleConstant> start,
                          Maybe<model::DoubleConstant> end);

}  // namespace qc::builders
