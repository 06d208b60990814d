// Method bodies that recur across the classes, written once: a named reference, a variant
// without parameters, a variant whose payload record has one field, and the turning of
// converted arguments into the values a node takes.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "binder.h"
#include "quarnel/compute/model/reference.h"

namespace qc::py {

// The variant V of U whose payload is the Reference record {"name": name}.
template <ClassId C, class U, typename U::Variant V>
Held<C> named_reference(std::string name) {
  return {U::make(V, model::Reference{.name = Value::str(name)})};
}

// A variant whose payload P is an empty record ("current", "sum", "allowNegativeValues", ...).
template <ClassId C, class U, typename U::Variant V, class P>
Held<C> empty_variant() {
  return {U::make(V, P{})};
}

// A variant whose payload record P has one field, made from one argument by Make.
template <ClassId C, class U, typename U::Variant V, class P, class In, Value (*Make)(In)>
Held<C> one_field(In in) {
  return {U::make(V, P{Make(std::move(in))})};
}

// The value an object argument holds, for one_field.
template <ClassId C>
Value value_of(Held<C> in) {
  return std::move(in.value);
}

// An optional object argument: its value, or absent.
template <ClassId C>
Value optional_value(std::optional<Held<C>> in) {
  return in ? std::move(in->value) : Value{};
}

inline Value optional_double_constant(std::optional<FloatConstantInput> in) {
  return in ? double_constant(std::move(*in)) : Value{};
}

inline Value optional_string_constant(std::optional<StringConstantInput> in) {
  return in ? string_constant(std::move(*in)) : Value{};
}

// The values of a list of objects, in the list's order.
template <ClassId C>
std::vector<Value> values_of(std::vector<Held<C>> in) {
  std::vector<Value> out;
  out.reserve(in.size());
  for (Held<C>& h : in) out.push_back(std::move(h.value));
  return out;
}

inline std::vector<Value> series_values(std::vector<SeriesInput> in) {
  std::vector<Value> out;
  out.reserve(in.size());
  for (SeriesInput& s : in) out.push_back(std::move(s.series));
  return out;
}

}  // namespace qc::py
