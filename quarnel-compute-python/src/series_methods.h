// The methods that NumericSeries, CategoricalSeries and StructSeries share: the held series
// enters each node as the Series variant of its class, so one line serves each class.
#pragma once

#include "binder.h"

namespace qc::py {

template <ClassId C>
struct SeriesMethods {
  using Table = Methods<C>;
  static PyMethodDef time_difference() {
    return Table::template method<"time_difference", &builders::numeric_series_time_difference,
                                  "time_unit">();
  }
  static PyMethodDef absolute_timestamp() {
    return Table::template method<"absolute_timestamp",
                                  &builders::numeric_series_absolute_timestamp, "time_unit">();
  }
  static PyMethodDef rolling_time() {
    return Table::template method<"rolling_time", &builders::aggregation_builder_rolling_time,
                                  "window">();
  }
  static PyMethodDef rolling_points() {
    return Table::template method<"rolling_points", &builders::aggregation_builder_rolling_points,
                                  "points">();
  }
  static PyMethodDef group_by() {
    return Table::template method<"group_by", &builders::aggregation_builder_group_by, "tags",
                                  "timestamp">();
  }
};

}  // namespace qc::py
