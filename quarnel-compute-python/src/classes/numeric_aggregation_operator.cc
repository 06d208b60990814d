// The NumericAggregationOperator class: which aggregate of numeric values is taken.
#include "binder.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::NumericAggregationOperator>() {
  using Table = Methods<ClassId::NumericAggregationOperator>;
  static const Line methods[] = {
      Table::factory<"Sum", &builders::numeric_aggregation_operator_sum>(
          {.node = "sum",
           .text = "The sum.",
           .example = R"doc(>>> NumericAggregationOperator.Sum().to_json()
'{"type":"sum","sum":{}}')doc"}),
      Table::factory<"Average", &builders::numeric_aggregation_operator_average>(
          {.node = "average", .text = "The mean."}),
      Table::factory<"Min", &builders::numeric_aggregation_operator_min>(
          {.node = "min", .text = "The smallest value."}),
      Table::factory<"Max", &builders::numeric_aggregation_operator_max>(
          {.node = "max", .text = "The largest value."}),
      Table::factory<"Count", &builders::numeric_aggregation_operator_count>(
          {.node = "count", .text = "The number of points."}),
      Table::factory<"StandardDeviation",
                     &builders::numeric_aggregation_operator_standard_deviation>(
          {.node = "standardDeviation", .text = "The standard deviation."}),
      Table::factory<"RootMeanSquare", &builders::numeric_aggregation_operator_root_mean_square>(
          {.node = "rootMeanSquare", .text = "The root mean square."}),
      Table::factory<"Percentile", &builders::numeric_aggregation_operator_percentile,
                     "percentile">({.node = "percentile", .text = "A percentile."}),
      Table::factory<"Udf", &builders::numeric_aggregation_operator_udf, "source">(
          {.node = "udf", .text = "A user-defined aggregate."}),
      {},
  };
  return {.about = "Which aggregate of numeric values is taken.", .methods = methods};
}

}  // namespace qc::py
