// The CategoricalSeries class: a string-valued series, held as the model's EnumSeries.
#include "series_methods.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::CategoricalSeries>() {
  using Table = Methods<ClassId::CategoricalSeries>;
  using Shared = SeriesMethods<ClassId::CategoricalSeries>;
  static PyMethodDef methods[] = {
      Table::factory<"Reference", &builders::categorical_series_reference, "name">(),
      Table::factory<"ValueMap", &builders::categorical_series_value_map, "input", "mapping",
                     "default">(),
      Table::factory<"EnumAggregation", &builders::categorical_series_enum_aggregation, "input",
                     "operator">(),
      Shared::time_difference(),
      Shared::absolute_timestamp(),
      Shared::rolling_time(),
      Shared::rolling_points(),
      Shared::group_by(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
