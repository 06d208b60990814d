// The AggregationBuilder class: what a rolling or grouping method of a series returns; an
// aggregation applied to it yields a series again.
#include "binder.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::AggregationBuilder>() {
  using Table = Methods<ClassId::AggregationBuilder>;
  static const Line methods[] = {
      Table::method<"numeric_aggregation", &builders::numeric_series_numeric_aggregation,
                    "operator">(
          {.node = "numericAggregation",
           .text = "The grouped points aggregated by a numeric aggregation operator."}),
      Table::method<"sum", &builders::numeric_series_numeric_aggregation_sum>(
          {.node = "numericAggregation", .text = "The sum of each group (operator \"sum\")."}),
      Table::method<"average", &builders::numeric_series_numeric_aggregation_average>(
          {.node = "numericAggregation", .text = "The mean of each group (operator \"average\")."}),
      Table::method<"min", &builders::numeric_series_numeric_aggregation_min>(
          {.node = "numericAggregation",
           .text = "The smallest value of each group (operator \"min\")."}),
      Table::method<"max", &builders::numeric_series_numeric_aggregation_max>(
          {.node = "numericAggregation",
           .text = "The largest value of each group (operator \"max\")."}),
      Table::method<"count", &builders::numeric_series_numeric_aggregation_count>(
          {.node = "numericAggregation",
           .text = "The number of points of each group (operator \"count\")."}),
      Table::method<"standard_deviation",
                    &builders::numeric_series_numeric_aggregation_standard_deviation>(
          {.node = "numericAggregation",
           .text = "The standard deviation of each group (operator \"standardDeviation\")."}),
      Table::method<"root_mean_square",
                    &builders::numeric_series_numeric_aggregation_root_mean_square>(
          {.node = "numericAggregation",
           .text = "The root mean square of each group (operator \"rootMeanSquare\")."}),
      Table::method<"percentile", &builders::numeric_series_numeric_aggregation_percentile,
                    "percentile">(
          {.node = "numericAggregation",
           .text = "A percentile of each group (operator \"percentile\")."}),
      Table::method<"udf", &builders::numeric_series_numeric_aggregation_udf, "source">(
          {.node = "numericAggregation",
           .text = "A user-defined aggregate of each group (operator \"udf\")."}),
      Table::method<"rust_udf", &builders::numeric_series_numeric_aggregation_udf_rust,
                    "source_code">(
          {.node = "numericAggregation",
           .text = "A user-defined aggregate of each group, given by its Rust source code "
                   "(operator \"udf\")."}),
      Table::method<"enum_aggregation", &builders::categorical_series_enum_aggregation, "operator">(
          {.node = "enumAggregation",
           .text = "The grouped points aggregated by a categorical aggregation operator."}),
      {},
  };
  return {.about =
              "Points grouped for an aggregation, as returned by `rolling_time`, "
              "`rolling_points` and `group_by`; applying an aggregation yields a series"
              " again.",
          .methods = methods};
}

}  // namespace qc::py
