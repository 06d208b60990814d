// The CategoricalSeries class: a string-valued series, held as the model's EnumSeries.
#include "series_methods.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::CategoricalSeries>() {
  using Table = Methods<ClassId::CategoricalSeries>;
  using Shared = SeriesMethods<ClassId::CategoricalSeries>;
  static const Line methods[] = {
      Table::factory<"Reference", &builders::categorical_series_reference, "name">(
          {.node = "raw", .text = "The categorical series of that name, bound elsewhere."}),
      Table::factory<"ValueMap", &builders::categorical_series_value_map, "input", "mapping",
                     "default">(
          {.node = "valueMap",
           .text = "A categorical series made from a numeric one: each value takes the "
                   "output of the first range map that covers it, else the default.",
           .args = "input: the numeric series (or number) mapped"}),
      Table::factory<"EnumAggregation", &builders::categorical_series_enum_aggregation, "input",
                     "operator">(
          {.node = "enumAggregation",
           .text = "The grouped points aggregated by a categorical aggregation operator."}),
      Shared::time_difference(),
      Shared::absolute_timestamp(),
      Shared::rolling_time(),
      Shared::rolling_points(),
      Shared::group_by(),
      {},
  };
  return {.about = "A series of string values (written as the wire's enum series).",
          .methods = methods};
}

}  // namespace qc::py
