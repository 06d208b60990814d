// The EnumAggregationOperator class: which aggregate of categorical values is taken.
#include "binder.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::EnumAggregationOperator>() {
  using Table = Methods<ClassId::EnumAggregationOperator>;
  static const Line methods[] = {
      Table::factory<"Min", &builders::enum_aggregation_operator_min>(
          {.node = "min", .text = "The smallest value."}),
      Table::factory<"Max", &builders::enum_aggregation_operator_max>(
          {.node = "max", .text = "The largest value."}),
      Table::factory<"Udf", &builders::enum_aggregation_operator_udf, "source">(
          {.node = "udf", .text = "A user-defined aggregate."}),
      {},
  };
  return {.about = "Which aggregate of categorical values is taken.", .methods = methods};
}

}  // namespace qc::py
