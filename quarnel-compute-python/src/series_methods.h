// The five methods that NumericSeries, CategoricalSeries and StructSeries share. The held
// series enters the node as the Series variant of its class (AsSeries: "numeric", "enum" or
// "struct"); everything else is the same for the three classes.
#pragma once

#include <optional>
#include <utility>

#include "binder.h"
#include "quarnel/compute/builders.h"

namespace qc::py {

template <ClassId C, Value (*AsSeries)(Value)>
struct SeriesMethods {
  using Me = Self<C>;
  using NumericSeriesObject = Held<ClassId::NumericSeries>;
  using AggregationBuilderObject = Held<ClassId::AggregationBuilder>;

  static NumericSeriesObject time_difference(Me self, std::optional<builders::TimeUnit> time_unit) {
    return {builders::numeric_series_time_difference(AsSeries(self.value), time_unit)};
  }
  static NumericSeriesObject absolute_timestamp(Me self, builders::TimeUnit time_unit) {
    return {builders::numeric_series_absolute_timestamp(AsSeries(self.value), time_unit)};
  }
  static AggregationBuilderObject rolling_time(Me self, Held<ClassId::Duration> window) {
    return {builders::aggregation_builder_rolling_time(AsSeries(self.value), std::move(window.value))};
  }
  // A plain int is narrowed only here, once every argument has converted.
  static AggregationBuilderObject rolling_points(Me self, IntegerConstantInput points) {
    Value input = AsSeries(self.value);
    return {builders::aggregation_builder_rolling_points(std::move(input), integer_constant(std::move(points)))};
  }
  static AggregationBuilderObject group_by(Me self, Held<ClassId::GroupByTags> tags,
                                           Held<ClassId::GroupByTimestamp> timestamp) {
    return {builders::aggregation_builder_group_by(AsSeries(self.value), std::move(tags.value),
                                                   std::move(timestamp.value))};
  }

  // Their lines in the class's method table.
  using T = Methods<C>;
  static PyMethodDef def_time_difference() {
    return T::template def<"time_difference", &time_difference, "time_unit">();
  }
  static PyMethodDef def_absolute_timestamp() {
    return T::template def<"absolute_timestamp", &absolute_timestamp, "time_unit">();
  }
  static PyMethodDef def_rolling_time() { return T::template def<"rolling_time", &rolling_time, "window">(); }
  static PyMethodDef def_rolling_points() {
    return T::template def<"rolling_points", &rolling_points, "points">();
  }
  static PyMethodDef def_group_by() { return T::template def<"group_by", &group_by, "tags", "timestamp">(); }
};

}  // namespace qc::py
