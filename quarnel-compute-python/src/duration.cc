// The Duration class: a length of time as a count of one unit, a named reference, or the sum,
// difference or negation of other durations (its operators).
#include "method_shapes.h"
#include "operators.h"
#include "quarnel/compute/builders.h"
#include "quarnel/compute/model/durations_unions.h"

namespace qc::py {
namespace {

namespace m = model;
using D = m::Duration;

// One count of a unit: the payload record's one field holds the IntegerConstant. The count is
// kept as given, with no sign check and no conversion between units.
template <D::Variant V, class P>
constexpr auto unit = &one_field<ClassId::Duration, D, V, P, IntegerConstantInput, integer_constant>;

Value negate(Value input) { return D::make(D::negate, m::DurationNegate{.input = std::move(input)}); }

}  // namespace

template <>
ClassDef class_def<ClassId::Duration>() {
  using T = Methods<ClassId::Duration>;
  static PyMethodDef methods[] = {
      T::def<"Reference", &named_reference<ClassId::Duration, D, D::reference>, "name">(),
      T::def<"Nanoseconds", unit<D::nanoseconds, m::DurationNanoseconds>, "nanoseconds">(),
      T::def<"Milliseconds", unit<D::milliseconds, m::DurationMilliseconds>, "milliseconds">(),
      T::def<"Seconds", unit<D::seconds, m::DurationSeconds>, "seconds">(),
      T::def<"Minutes", unit<D::minutes, m::DurationMinutes>, "minutes">(),
      T::def<"Hours", unit<D::hours, m::DurationHours>, "hours">(),
      T::def<"Days", unit<D::days, m::DurationDays>, "days">(),
      T::def<"to_json", &to_json<ClassId::Duration>>(),
      {},
  };
  static const PyType_Slot slots[] = {
      slot(Py_nb_negative, &negative<ClassId::Duration, negate>),
      slot(Py_nb_add, &same_class_binary<ClassId::Duration, builders::duration_add>),
      slot(Py_nb_subtract, &same_class_binary<ClassId::Duration, builders::duration_subtract>),
      {0, nullptr},
  };
  return {methods, slots};
}

}  // namespace qc::py
