// The Duration class: a length of time as a count of one unit, a named reference, or the sum,
// difference or negation of other durations (its operators).
#include "operators.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::Duration>() {
  using Table = Methods<ClassId::Duration>;
  static const Line methods[] = {
      Table::factory<"Reference", &builders::duration_reference, "name">(
          {.node = "reference", .text = "The duration of that name, bound elsewhere."}),
      Table::factory<"Nanoseconds", &builders::duration_nanoseconds, "nanoseconds">(
          {.node = "nanoseconds", .text = "A number of nanoseconds."}),
      Table::factory<"Milliseconds", &builders::duration_milliseconds, "milliseconds">(
          {.node = "milliseconds", .text = "A number of milliseconds."}),
      Table::factory<"Seconds", &builders::duration_seconds, "seconds">(
          {.node = "seconds",
           .text = "A number of seconds.",
           .example = R"doc(>>> Duration.Seconds(5).to_json()
'{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":5}}}')doc"}),
      Table::factory<"Minutes", &builders::duration_minutes, "minutes">(
          {.node = "minutes", .text = "A number of minutes."}),
      Table::factory<"Hours", &builders::duration_hours, "hours">(
          {.node = "hours", .text = "A number of hours."}),
      Table::factory<"Days", &builders::duration_days, "days">(
          {.node = "days", .text = "A number of days."}),
      {},
  };
  static const PyType_Slot slots[] = {
      slot(Py_nb_negative, &negative<ClassId::Duration, builders::duration_negate>),
      slot(Py_nb_add, &same_class_binary<ClassId::Duration, builders::duration_add>),
      slot(Py_nb_subtract, &same_class_binary<ClassId::Duration, builders::duration_subtract>),
      {0, nullptr},
  };
  return {.about =
              "A length of time: a count of one unit, a named reference, or the sum "
              "(`+`), difference (`-`) or negation (unary `-`) of other durations.",
          .methods = methods,
          .slots = slots};
}

}  // namespace qc::py
