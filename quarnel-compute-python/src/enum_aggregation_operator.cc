// The EnumAggregationOperator class: which aggregate of categorical values is taken.
#include "binder.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::EnumAggregationOperator>() {
  using Table = Methods<ClassId::EnumAggregationOperator>;
  static PyMethodDef methods[] = {
      Table::factory<"Min", &builders::enum_aggregation_operator_min>(),
      Table::factory<"Max", &builders::enum_aggregation_operator_max>(),
      Table::factory<"Udf", &builders::enum_aggregation_operator_udf, "source">(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
