// The AggregationBuilder class: what a rolling or grouping method of a series returns; an
// aggregation applied to it yields a series again.
#include "binder.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::AggregationBuilder>() {
  using Table = Methods<ClassId::AggregationBuilder>;
  static PyMethodDef methods[] = {
      Table::method<"numeric_aggregation", &builders::numeric_series_numeric_aggregation,
                    "operator">(),
      Table::method<"sum", &builders::numeric_series_numeric_aggregation_sum>(),
      Table::method<"average", &builders::numeric_series_numeric_aggregation_average>(),
      Table::method<"min", &builders::numeric_series_numeric_aggregation_min>(),
      Table::method<"max", &builders::numeric_series_numeric_aggregation_max>(),
      Table::method<"count", &builders::numeric_series_numeric_aggregation_count>(),
      Table::method<"standard_deviation",
                    &builders::numeric_series_numeric_aggregation_standard_deviation>(),
      Table::method<"root_mean_square",
                    &builders::numeric_series_numeric_aggregation_root_mean_square>(),
      Table::method<"percentile", &builders::numeric_series_numeric_aggregation_percentile,
                    "percentile">(),
      Table::method<"udf", &builders::numeric_series_numeric_aggregation_udf, "source">(),
      Table::method<"rust_udf", &builders::numeric_series_numeric_aggregation_udf_rust,
                    "source_code">(),
      Table::method<"enum_aggregation", &builders::categorical_series_enum_aggregation,
                    "operator">(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
