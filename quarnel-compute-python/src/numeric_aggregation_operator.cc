// The NumericAggregationOperator class: which aggregate of numeric values is taken.
#include "binder.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::NumericAggregationOperator>() {
  using Table = Methods<ClassId::NumericAggregationOperator>;
  static PyMethodDef methods[] = {
      Table::factory<"Sum", &builders::numeric_aggregation_operator_sum>(),
      Table::factory<"Average", &builders::numeric_aggregation_operator_average>(),
      Table::factory<"Min", &builders::numeric_aggregation_operator_min>(),
      Table::factory<"Max", &builders::numeric_aggregation_operator_max>(),
      Table::factory<"Count", &builders::numeric_aggregation_operator_count>(),
      Table::factory<"StandardDeviation",
                     &builders::numeric_aggregation_operator_standard_deviation>(),
      Table::factory<"RootMeanSquare", &builders::numeric_aggregation_operator_root_mean_square>(),
      Table::factory<"Percentile", &builders::numeric_aggregation_operator_percentile,
                     "percentile">(),
      Table::factory<"Udf", &builders::numeric_aggregation_operator_udf, "source">(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
