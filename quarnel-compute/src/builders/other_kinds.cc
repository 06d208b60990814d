// Builders whose result is not a NumericSeries, and the conversions into Series.
#include <utility>

#include "node.h"
#include "quarnel/compute/builders.h"
#include "quarnel/compute/model/aggregation_unions.h"
#include "quarnel/compute/model/boolean_unions.h"
#include "quarnel/compute/model/categorical_unions.h"
#include "quarnel/compute/model/dataset_unions.h"
#include "quarnel/compute/model/durations_unions.h"
#include "quarnel/compute/model/ranges_unions.h"
#include "quarnel/compute/model/series_unions.h"
#include "quarnel/compute/model/signal_filter_unions.h"
#include "quarnel/compute/model/struct_series_unions.h"
#include "quarnel/compute/model/value_map.h"

namespace qc::builders {

namespace m = model;
using B = m::BooleanSeries;

Value boolean_series_greater_than(Value left, Value right) {
  return node<B, m::GreaterThanSeries>(B::greaterThan, std::move(left), std::move(right));
}
Value boolean_series_less_than(Value left, Value right) {
  return node<B, m::LessThanSeries>(B::lessThan, std::move(left), std::move(right));
}
Value boolean_series_equal_to(Value left, Value right) {
  return node<B, m::EqualToSeries>(B::equalTo, std::move(left), std::move(right));
}
Value boolean_series_not_equal_to(Value left, Value right) {
  return node<B, m::NotEqualToSeries>(B::notEqualTo, std::move(left), std::move(right));
}
Value boolean_series_greater_than_or_equal_to(Value left, Value right) {
  return node<B, m::GreaterThanOrEqualToSeries>(B::greaterThanOrEqualTo, std::move(left), std::move(right));
}
Value boolean_series_less_than_or_equal_to(Value left, Value right) {
  return node<B, m::LessThanOrEqualToSeries>(B::lessThanOrEqualTo, std::move(left), std::move(right));
}
Value boolean_series_and(Value left, Value right) {
  return node<B, m::AndSeries>(B::and_, std::move(left), std::move(right));
}
Value boolean_series_or(Value left, Value right) {
  return node<B, m::OrSeries>(B::or_, std::move(left), std::move(right));
}

Value categorical_series_value_map(Value input, std::vector<Value> mapping, Value default_value) {
  return m::EnumSeries::make(m::EnumSeries::valueMap,
                             m::ValueMapSeries{.input = std::move(input),
                                               .mapping = list(std::move(mapping)),
                                               .default_ = std::move(default_value)});
}
Value categorical_series_enum_aggregation(Value input, Value op) {
  return node<m::EnumSeries, m::EnumAggregation>(m::EnumSeries::enumAggregation,
              std::move(input), std::move(op));
}

Value range_series_union(std::vector<Value> inputs) {
  return m::RangeSeries::make(m::RangeSeries::unionRange, m::UnionRanges{.inputs = list(std::move(inputs))});
}
Value range_series_intersect(std::vector<Value> inputs) {
  return m::RangeSeries::make(m::RangeSeries::intersectRange,
                              m::IntersectRanges{.inputs = list(std::move(inputs))});
}

Value struct_series_combine(std::vector<std::pair<std::string, Value>> inputs) {
  // string_map keeps the last of equal keys and orders the entries by the keys' bytes.
  return m::StructSeries::make(m::StructSeries::combine,
                               m::CombineStructSeries{.inputs = string_map(std::move(inputs))});
}

Value dataset_combine(std::vector<Value> inputs) {
  return m::Dataset::make(m::Dataset::combine, m::CombinedDataset{.inputs = list(std::move(inputs))});
}
Value dataset_tag(Value input, Value key, Value value) {
  return m::Dataset::make(m::Dataset::tag, m::TaggedDataset{.input = std::move(input),
                                                            .key = std::move(key),
                                                            .value = std::move(value)});
}
Value dataset_time_shift(Value input, Value offset) {
  return node<m::Dataset, m::TimeShiftedDataset>(m::Dataset::timeShift, std::move(input), std::move(offset));
}

Value duration_add(Value left, Value right) {
  return node<m::Duration, m::DurationAdd>(m::Duration::add, std::move(left), std::move(right));
}
Value duration_subtract(Value left, Value right) {
  return node<m::Duration, m::DurationSubtract>(m::Duration::subtract, std::move(left), std::move(right));
}

Value aggregation_builder_rolling_time(Value input, Value window) {
  return node<m::AggregationBuilder, m::RollingTimeAggregationBuilder>(m::AggregationBuilder::rollingTime,
              std::move(input), std::move(window));
}
Value aggregation_builder_rolling_points(Value input, Value points) {
  return node<m::AggregationBuilder, m::RollingPointsAggregationBuilder>(m::AggregationBuilder::rollingPoints,
              std::move(input), std::move(points));
}
Value aggregation_builder_group_by(Value input, Value tags, Value timestamp) {
  return m::AggregationBuilder::make(m::AggregationBuilder::groupBy,
                                     m::GroupByAggregationBuilder{.input = std::move(input),
                                                                  .tags = std::move(tags),
                                                                  .timestamp = std::move(timestamp)});
}
Value group_by_tags_subset(std::vector<Value> tags) {
  return m::GroupByTags::make(m::GroupByTags::subset,
                              m::GroupBySubsetTags{.tags = string_constant_set(std::move(tags))});
}

Value signal_filter_configuration_band_pass(Value low, Value high) {
  return node<m::SignalFilterConfiguration, m::BandPassConfiguration>(m::SignalFilterConfiguration::bandPass,
              std::move(low), std::move(high));
}
Value signal_filter_configuration_band_stop(Value low, Value high) {
  return node<m::SignalFilterConfiguration, m::BandStopConfiguration>(m::SignalFilterConfiguration::bandStop,
              std::move(low), std::move(high));
}

Value range_map_create(Value output, Value start, Value end) {
  return m::RangeMap{.start = std::move(start), .end = std::move(end), .output = std::move(output)}.build();
}

Value series_from_enum_series(Value series) { return m::Series::make(m::Series::enum_, std::move(series)); }
Value series_from_numeric_series(Value series) { return m::Series::make(m::Series::numeric, std::move(series)); }
Value series_from_struct_series(Value series) { return m::Series::make(m::Series::struct_, std::move(series)); }

}  // namespace qc::builders
