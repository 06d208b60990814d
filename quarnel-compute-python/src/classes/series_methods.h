// The methods that NumericSeries, CategoricalSeries and StructSeries share: the held series
// enters each node as the Series variant of its class, so one line serves each class.
#pragma once

#include "binder.h"

namespace qc::py {

template <ClassId C>
struct SeriesMethods {
  using Table = Methods<C>;
  static Line time_difference() {
    return Table::template method<"time_difference", &builders::numeric_series_time_difference,
                                  "time_unit">(
        {.node = "timeDifference", .text = "The time between each point and the one before it."});
  }
  static Line absolute_timestamp() {
    return Table::template method<"absolute_timestamp",
                                  &builders::numeric_series_absolute_timestamp, "time_unit">(
        {.node = "absoluteTimestamp",
         .text = "Each point's timestamp as a number, in the given time unit."});
  }
  static Line rolling_time() {
    return Table::template method<"rolling_time", &builders::aggregation_builder_rolling_time,
                                  "window">(
        {.node = "rollingTime",
         .text = "Groups the points in a window of time that rolls along the series; apply"
                 " an aggregation to the result."});
  }
  static Line rolling_points() {
    return Table::template method<"rolling_points", &builders::aggregation_builder_rolling_points,
                                  "points">(
        {.node = "rollingPoints",
         .text = "Groups a rolling window of a number of points; apply an aggregation to "
                 "the result."});
  }
  static Line group_by() {
    return Table::template method<"group_by", &builders::aggregation_builder_group_by, "tags",
                                  "timestamp">(
        {.node = "groupBy",
         .text = "Groups the points by tags and by timestamp; apply an aggregation to the "
                 "result."});
  }
};

}  // namespace qc::py
