// The 21 Python classes: identities, instance layout, class objects and object creation.
//
// Every object holds exactly one model value. Values are immutable and reference-counted, so
// "copy the value of self" is a Value copy, and an object needs no borrow bookkeeping.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "python_api.h"
#include "quarnel/compute/model/value.h"

namespace qc::py {

// In the order the module adds them.
enum class ClassId : uint8_t {
  NumericSeries,
  CategoricalSeries,
  RangeSeries,
  StructSeries,
  ConstantNumericSeries,
  IntegerConstant,
  StringConstant,
  Dataset,
  Sampling,
  BooleanSeries,
  AggregationBuilder,
  NumericAggregationOperator,
  NegativeValueConfiguration,
  SignalFilterConfiguration,
  FloatConstant,
  Duration,
  UdfSource,
  EnumAggregationOperator,
  GroupByTags,
  GroupByTimestamp,
  RangeMap,
};
inline constexpr size_t kClassCount = 21;

struct ClassInfo {
  const char* name;         // Python name
  const char* type_name;    // "_compute." + name: the interpreter keeps pointing at it
  std::string_view model;   // name of the held model type
};
const ClassInfo& class_info(ClassId c) noexcept;

// A value of class C: the result of a typed method, or a class argument.
template <ClassId C>
struct Held {
  Value value;
};

// The object a method is called on; the value stays owned by the object.
template <ClassId C>
struct Self {
  const Value& value;
};

// What a class declares beyond the common parts: its method table (static storage, ended by
// an empty entry), its number, comparison or constructor slots (ended by {0, nullptr}) and,
// for a class with a constructor, its docstring (the constructor's text signature).
struct ClassDef {
  PyMethodDef* methods;
  const PyType_Slot* slots = nullptr;
  const char* doc = nullptr;
};
// Each class's source file defines the specialisation for its class.
template <ClassId C>
ClassDef class_def();

// Instance layout: the object header, then the held value.
struct Object {
  PyObject_HEAD
  Value value;
};

// The class object, created on first use and kept for the life of the process. Returns a
// borrowed reference, or null with RuntimeError set (cause: the interpreter's error).
PyTypeObject* class_object(ClassId c) noexcept;

// True when o is an object of class c holding a value that class can hold. An object made by
// a reassigned `__new__` holds nothing and fails this test, so no method ever reads it.
bool holds(PyObject* o, ClassId c) noexcept;
inline const Value& held(PyObject* o) noexcept { return reinterpret_cast<Object*>(o)->value; }

// The type-mismatch TypeError: "'{}' object is not an instance of '{}'".
[[gnu::cold]] void raise_not_instance(PyObject* o, ClassId c) noexcept;
[[gnu::cold]] void raise_not_instance(PyObject* o, std::string_view expected) noexcept;
[[gnu::cold]] std::string not_instance_message(PyObject* o, std::string_view expected);
[[gnu::cold]] std::string not_instance_message(PyObject* o, ClassId c);

// A new object of class c (or of the given class object) owning v; null with the
// interpreter's exception set when it cannot be made.
PyObject* new_object(ClassId c, Value v);
PyObject* new_object(PyTypeObject* type, Value v) noexcept;

}  // namespace qc::py
