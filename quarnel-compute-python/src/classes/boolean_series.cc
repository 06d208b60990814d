// The BooleanSeries class: the result of comparisons, combined with `&` and `|`.
#include "operators.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::BooleanSeries>() {
  static const Line methods[] = {{}};
  static const PyType_Slot slots[] = {
      slot(Py_nb_and, &same_class_binary<ClassId::BooleanSeries, builders::boolean_series_and>),
      slot(Py_nb_or, &same_class_binary<ClassId::BooleanSeries, builders::boolean_series_or>),
      {0, nullptr},
  };
  return {.about =
              "A series of truth values: the result of comparing numeric series, "
              "combined with `&` and `|`, and taken by IfElse.",
          .methods = methods,
          .slots = slots};
}

}  // namespace qc::py
