// The Duration class: a length of time as a count of one unit, a named reference, or the sum,
// difference or negation of other durations (its operators).
#include "operators.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::Duration>() {
  using Table = Methods<ClassId::Duration>;
  static PyMethodDef methods[] = {
      Table::factory<"Reference", &builders::duration_reference, "name">(),
      Table::factory<"Nanoseconds", &builders::duration_nanoseconds, "nanoseconds">(),
      Table::factory<"Milliseconds", &builders::duration_milliseconds, "milliseconds">(),
      Table::factory<"Seconds", &builders::duration_seconds, "seconds">(),
      Table::factory<"Minutes", &builders::duration_minutes, "minutes">(),
      Table::factory<"Hours", &builders::duration_hours, "hours">(),
      Table::factory<"Days", &builders::duration_days, "days">(),
      {},
  };
  static const PyType_Slot slots[] = {
      slot(Py_nb_negative, &negative<ClassId::Duration, builders::duration_negate>),
      slot(Py_nb_add, &same_class_binary<ClassId::Duration, builders::duration_add>),
      slot(Py_nb_subtract, &same_class_binary<ClassId::Duration, builders::duration_subtract>),
      {0, nullptr},
  };
  return {methods, slots};
}

}  // namespace qc::py
