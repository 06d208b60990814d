// Builders whose result is not a NumericSeries, and the conversions into Series.
#include <utility>

#include "quarnel/compute/builders.h"
#include "quarnel/compute/model/aggregation_unions.h"
#include "quarnel/compute/model/boolean_unions.h"
#include "quarnel/compute/model/calculus_unions.h"
#include "quarnel/compute/model/dataset_unions.h"
#include "quarnel/compute/model/durations_unions.h"
#include "quarnel/compute/model/json.h"
#include "quarnel/compute/model/resample_unions.h"
#include "quarnel/compute/model/series_unions.h"
#include "quarnel/compute/model/signal_filter_unions.h"

namespace qc::builders {

BooleanSeries boolean_series_greater_than(NumericSeries left, NumericSeries right) {
  return model::BooleanSeries::greaterThan({std::move(left), std::move(right)});
}
BooleanSeries boolean_series_less_than(NumericSeries left, NumericSeries right) {
  return model::BooleanSeries::lessThan({std::move(left), std::move(right)});
}
BooleanSeries boolean_series_equal_to(NumericSeries left, NumericSeries right) {
  return model::BooleanSeries::equalTo({std::move(left), std::move(right)});
}
BooleanSeries boolean_series_not_equal_to(NumericSeries left, NumericSeries right) {
  return model::BooleanSeries::notEqualTo({std::move(left), std::move(right)});
}
BooleanSeries boolean_series_greater_than_or_equal_to(NumericSeries left, NumericSeries right) {
  return model::BooleanSeries::greaterThanOrEqualTo({std::move(left), std::move(right)});
}
BooleanSeries boolean_series_less_than_or_equal_to(NumericSeries left, NumericSeries right) {
  return model::BooleanSeries::lessThanOrEqualTo({std::move(left), std::move(right)});
}
BooleanSeries boolean_series_and(BooleanSeries left, BooleanSeries right) {
  return model::BooleanSeries::and_({std::move(left), std::move(right)});
}
BooleanSeries boolean_series_or(BooleanSeries left, BooleanSeries right) {
  return model::BooleanSeries::or_({std::move(left), std::move(right)});
}

EnumSeries categorical_series_reference(std::string_view name) {
  return model::EnumSeries::raw({.name = name});
}
EnumSeries categorical_series_value_map(NumericSeries input, ListOf<model::RangeMap> mapping,
                                        Maybe<model::StringConstant> default_value) {
  return model::EnumSeries::valueMap({.input = std::move(input),
                                      .mapping = std::move(mapping),
                                      .default_ = std::move(default_value)});
}
EnumSeries categorical_series_enum_aggregation(AggregationBuilder input,
                                               EnumAggregationOperator op) {
  return model::EnumSeries::enumAggregation(
      {.input = std::move(input), .operator_ = std::move(op)});
}

RangeSeries range_series_reference(std::string_view name) {
  return model::RangeSeries::raw({.name = name});
}
// Nothing is simplified: inverting twice nests two "not" nodes.
RangeSeries range_series_not(RangeSeries input) {
  return model::RangeSeries::not_({.input = std::move(input)});
}
RangeSeries range_series_union(ListOf<model::RangeSeries> inputs) {
  return model::RangeSeries::unionRange({.inputs = std::move(inputs)});
}
RangeSeries range_series_intersect(ListOf<model::RangeSeries> inputs) {
  return model::RangeSeries::intersectRange({.inputs = std::move(inputs)});
}

StructSeries struct_series_combine(Handle<Map<String, model::Series>> inputs) {
  return model::StructSeries::combine({.inputs = std::move(inputs)});
}

Series series_from_enum_series(EnumSeries series) {
  return model::Series::enum_(std::move(series));
}
Series series_from_numeric_series(NumericSeries series) {
  return model::Series::numeric(std::move(series));
}
Series series_from_struct_series(StructSeries series) {
  return model::Series::struct_(std::move(series));
}

DoubleConstant double_constant_literal(double literal) {
  return model::DoubleConstant::literal(literal);
}
DoubleConstant double_constant_variable(std::string_view name) {
  return model::DoubleConstant::variable(name);
}
IntegerConstant integer_constant_literal(int32_t literal) {
  return model::IntegerConstant::literal(literal);
}
IntegerConstant integer_constant_variable(std::string_view name) {
  return model::IntegerConstant::variable(name);
}
StringConstant string_constant_literal(std::string_view literal) {
  return model::StringConstant::literal(literal);
}
StringConstant string_constant_variable(std::string_view name) {
  return model::StringConstant::variable(name);
}
ConstantNumericSeries constant_numeric_series_double(DoubleConstant value) {
  return model::ConstantNumericSeries::double_(std::move(value));
}
ConstantNumericSeries constant_numeric_series_number(double literal) {
  using Chain =
      FoldChain<Level<model::ConstantNumericSeries, model::ConstantNumericSeries::Variant::double_>,
                Level<model::DoubleConstant, model::DoubleConstant::Variant::literal>>;
  return {unchecked, Chain::make(Value::f64(literal))};
}

Duration duration_reference(std::string_view name) { return model::Duration::reference({name}); }
Duration duration_nanoseconds(IntegerConstant count) {
  return model::Duration::nanoseconds({std::move(count)});
}
Duration duration_milliseconds(IntegerConstant count) {
  return model::Duration::milliseconds({std::move(count)});
}
Duration duration_seconds(IntegerConstant count) {
  return model::Duration::seconds({std::move(count)});
}
Duration duration_minutes(IntegerConstant count) {
  return model::Duration::minutes({std::move(count)});
}
Duration duration_hours(IntegerConstant count) {
  return model::Duration::hours({std::move(count)});
}
Duration duration_days(IntegerConstant count) { return model::Duration::days({std::move(count)}); }
Duration duration_add(Duration left, Duration right) {
  return model::Duration::add({std::move(left), std::move(right)});
}
Duration duration_subtract(Duration left, Duration right) {
  return model::Duration::subtract({std::move(left), std::move(right)});
}
Duration duration_negate(Duration input) { return model::Duration::negate({std::move(input)}); }

Dataset dataset_asset(StringConstant rid) { return model::Dataset::asset({std::move(rid)}); }
Dataset dataset_run(StringConstant rid) { return model::Dataset::run({std::move(rid)}); }
Dataset dataset_saved(StringConstant rid) { return model::Dataset::saved({std::move(rid)}); }
Dataset dataset_combine(ListOf<model::Dataset> inputs) {
  return model::Dataset::combine({.inputs = std::move(inputs)});
}
Dataset dataset_tag(Dataset input, StringConstant key, StringConstant value) {
  return model::Dataset::tag(
      {.input = std::move(input), .key = std::move(key), .value = std::move(value)});
}
Dataset dataset_time_shift(Dataset input, Duration offset) {
  return model::Dataset::timeShift({std::move(input), std::move(offset)});
}

Sampling sampling_every_nth_per_series(IntegerConstant n) {
  return model::Sampling::everyNthPerSeries({std::move(n)});
}
Sampling sampling_hash_subsample(IntegerConstant n) {
  return model::Sampling::hashSubsample({std::move(n)});
}

AggregationBuilder aggregation_builder_rolling_time(Series input, Duration window) {
  return model::AggregationBuilder::rollingTime({std::move(input), std::move(window)});
}
AggregationBuilder aggregation_builder_rolling_points(Series input, IntegerConstant points) {
  return model::AggregationBuilder::rollingPoints({std::move(input), std::move(points)});
}
AggregationBuilder aggregation_builder_group_by(Series input, GroupByTags tags,
                                                GroupByTimestamp timestamp) {
  return model::AggregationBuilder::groupBy(
      {.input = std::move(input), .tags = std::move(tags), .timestamp = std::move(timestamp)});
}

NumericAggregationOperator numeric_aggregation_operator_sum() {
  return model::NumericAggregationOperator::sum({});
}
NumericAggregationOperator numeric_aggregation_operator_average() {
  return model::NumericAggregationOperator::average({});
}
NumericAggregationOperator numeric_aggregation_operator_min() {
  return model::NumericAggregationOperator::min({});
}
NumericAggregationOperator numeric_aggregation_operator_max() {
  return model::NumericAggregationOperator::max({});
}
NumericAggregationOperator numeric_aggregation_operator_count() {
  return model::NumericAggregationOperator::count({});
}
NumericAggregationOperator numeric_aggregation_operator_standard_deviation() {
  return model::NumericAggregationOperator::standardDeviation({});
}
NumericAggregationOperator numeric_aggregation_operator_root_mean_square() {
  return model::NumericAggregationOperator::rootMeanSquare({});
}
// The percentile is recorded as given: 0.5, 50 and -1 are all kept.
NumericAggregationOperator numeric_aggregation_operator_percentile(DoubleConstant percentile) {
  return model::NumericAggregationOperator::percentile({std::move(percentile)});
}
NumericAggregationOperator numeric_aggregation_operator_udf(UdfSource source) {
  return model::NumericAggregationOperator::udf({std::move(source)});
}

EnumAggregationOperator enum_aggregation_operator_min() {
  return model::EnumAggregationOperator::min({});
}
EnumAggregationOperator enum_aggregation_operator_max() {
  return model::EnumAggregationOperator::max({});
}
EnumAggregationOperator enum_aggregation_operator_udf(UdfSource source) {
  return model::EnumAggregationOperator::udf({std::move(source)});
}

UdfSource udf_source_rust(std::string_view source_code) {
  return model::UdfSource::rust({.sourceCode = source_code});
}

GroupByTags group_by_tags_current() { return model::GroupByTags::current({}); }
GroupByTags group_by_tags_subset(SetOf<model::StringConstant> tags) {
  return model::GroupByTags::subset({.tags = std::move(tags)});
}
GroupByTimestamp group_by_timestamp_current() { return model::GroupByTimestamp::current({}); }
GroupByTimestamp group_by_timestamp_every(Duration every) {
  return model::GroupByTimestamp::every(std::move(every));
}

NegativeValueConfiguration negative_value_configuration_allow_negative_values() {
  return model::NegativeValueConfiguration::allowNegativeValues({});
}
NegativeValueConfiguration negative_value_configuration_set_negative_values_to_zero() {
  return model::NegativeValueConfiguration::setNegativeValuesToZero({});
}
NegativeValueConfiguration negative_value_configuration_exclude_negative_values() {
  return model::NegativeValueConfiguration::excludeNegativeValues({});
}

SignalFilterConfiguration signal_filter_configuration_low_pass(DoubleConstant cutoff_frequency) {
  return model::SignalFilterConfiguration::lowPass({std::move(cutoff_frequency)});
}
SignalFilterConfiguration signal_filter_configuration_high_pass(DoubleConstant cutoff_frequency) {
  return model::SignalFilterConfiguration::highPass({std::move(cutoff_frequency)});
}
SignalFilterConfiguration signal_filter_configuration_band_pass(DoubleConstant low,
                                                                DoubleConstant high) {
  return model::SignalFilterConfiguration::bandPass({std::move(low), std::move(high)});
}
SignalFilterConfiguration signal_filter_configuration_band_stop(DoubleConstant low,
                                                                DoubleConstant high) {
  return model::SignalFilterConfiguration::bandStop({std::move(low), std::move(high)});
}

RangeMap range_map_create(StringConstant output, Maybe<model::DoubleConstant> start,
                          Maybe<model::DoubleConstant> end) {
  return build(model::RangeMap{
      .start = std::move(start), .end = std::move(end), .output = std::move(output)});
}

}  // namespace qc::builders
