// The NegativeValueConfiguration class: what a derivative or value difference does with
// negative results.
#include "binder.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::NegativeValueConfiguration>() {
  using Table = Methods<ClassId::NegativeValueConfiguration>;
  static const Line methods[] = {
      Table::factory<"AllowNegativeValues",
                     &builders::negative_value_configuration_allow_negative_values>(
          {.node = "allowNegativeValues", .text = "Negative results are kept."}),
      Table::factory<"SetNegativeValuesToZero",
                     &builders::negative_value_configuration_set_negative_values_to_zero>(
          {.node = "setNegativeValuesToZero", .text = "Negative results become zero."}),
      Table::factory<"ExcludeNegativeValues",
                     &builders::negative_value_configuration_exclude_negative_values>(
          {.node = "excludeNegativeValues", .text = "Negative results are left out."}),
      {},
  };
  return {.about = "What a derivative or value difference does with negative results.",
          .methods = methods};
}

}  // namespace qc::py
