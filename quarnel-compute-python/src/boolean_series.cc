// The BooleanSeries class: the result of comparisons, combined with `&` and `|`.
#include "operators.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::BooleanSeries>() {
  static PyMethodDef methods[] = {{}};
  static const PyType_Slot slots[] = {
      slot(Py_nb_and, &same_class_binary<ClassId::BooleanSeries, builders::boolean_series_and>),
      slot(Py_nb_or, &same_class_binary<ClassId::BooleanSeries, builders::boolean_series_or>),
      {0, nullptr},
  };
  return {methods, slots};
}

}  // namespace qc::py
