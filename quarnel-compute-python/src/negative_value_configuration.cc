// The NegativeValueConfiguration class: what a derivative or value difference does with
// negative results.
#include "binder.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::NegativeValueConfiguration>() {
  using Table = Methods<ClassId::NegativeValueConfiguration>;
  static PyMethodDef methods[] = {
      Table::factory<"AllowNegativeValues",
                     &builders::negative_value_configuration_allow_negative_values>(),
      Table::factory<"SetNegativeValuesToZero",
                     &builders::negative_value_configuration_set_negative_values_to_zero>(),
      Table::factory<"ExcludeNegativeValues",
                     &builders::negative_value_configuration_exclude_negative_values>(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
