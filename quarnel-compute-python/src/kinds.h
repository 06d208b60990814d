// Argument kinds: which Python objects a parameter accepts, in which order the alternatives
// are tried, what each becomes, and how a refusal reads.
//
// `Kind<T>::convert(object, out)` fills out or returns false with a Python exception set. The
// two-way kinds keep the argument as it came (the object's value, or the plain number or text)
// until the node is built; only then is an int narrowed to 32 bits, so a later argument's
// error is reported first.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "classes.h"
#include "python_api.h"
#include "quarnel/compute/builders_names.h"

namespace qc::py {

// The two-way kinds: `wrapped` holds the object's value (alternative Wrapped), or is absent
// and the plain value is used (alternative Native0).
struct NumericSeriesInput {
  Value wrapped;
  double native = 0;
};
struct FloatConstantInput {
  Value wrapped;
  double native = 0;
};
struct IntegerConstantInput {
  Value wrapped;
  int64_t native = 0;
};
struct StringConstantInput {
  Value wrapped;
  std::string native;
};
struct ConstantNumericSeriesInput {
  Value wrapped;
  double native = 0;
};

// A plain int, narrowed to 32 bits where it is used.
struct PlainInteger {
  int64_t value = 0;
};

// A CategoricalSeries, NumericSeries or StructSeries object, as the Series variant of its class.
struct SeriesInput {
  Value series;
};

// A dict of str keys and SeriesInput values, in the dict's order (the builder orders them).
struct SeriesDict {
  std::vector<std::pair<std::string, Value>> entries;
};

// The model values of the two-way kinds, made when the node is built.
Value convert_numeric_series_input(NumericSeriesInput in);
Value double_constant(FloatConstantInput in);
Value integer_constant(IntegerConstantInput in);  // throws Panic beyond 32 bits
Value string_constant(StringConstantInput in);
Value constant_numeric_series(ConstantNumericSeriesInput in);
std::vector<Value> convert_numeric_series_inputs(std::vector<NumericSeriesInput> in);
std::vector<Value> string_constants(std::vector<StringConstantInput> in);

// Plain kinds (double: plain float; std::string: plain text), the two-way kinds, WrappedSeries
// (SeriesInput), time units, data types and the dict kind are defined in kinds.cc; class
// arguments, optional parameters and lists below.
template <class T>
struct Kind {
  static bool convert(PyObject* o, T& out);
};
template <> bool Kind<double>::convert(PyObject*, double&);
template <> bool Kind<PlainInteger>::convert(PyObject*, PlainInteger&);
template <> bool Kind<std::string>::convert(PyObject*, std::string&);
template <> bool Kind<NumericSeriesInput>::convert(PyObject*, NumericSeriesInput&);
template <> bool Kind<FloatConstantInput>::convert(PyObject*, FloatConstantInput&);
template <> bool Kind<IntegerConstantInput>::convert(PyObject*, IntegerConstantInput&);
template <> bool Kind<StringConstantInput>::convert(PyObject*, StringConstantInput&);
template <> bool Kind<ConstantNumericSeriesInput>::convert(PyObject*, ConstantNumericSeriesInput&);
template <> bool Kind<SeriesInput>::convert(PyObject*, SeriesInput&);
template <> bool Kind<builders::TimeUnit>::convert(PyObject*, builders::TimeUnit&);
template <> bool Kind<builders::NumericDataType>::convert(PyObject*, builders::NumericDataType&);
template <> bool Kind<SeriesDict>::convert(PyObject*, SeriesDict&);

// Class argument: an object of class C, whose value is taken.
template <ClassId C>
struct Kind<Held<C>> {
  static bool convert(PyObject* o, Held<C>& out) {
    if (!holds(o, C)) {
      raise_not_instance(o, C);
      return false;
    }
    out.value = held(o);
    return true;
  }
};

// Optional parameter: missing (null) or None is absent; anything else must convert.
template <class T>
struct Kind<std::optional<T>> {
  static bool convert(PyObject* o, std::optional<T>& out) {
    if (!o || o == Py_None) {
      out.reset();
      return true;
    }
    T v{};
    if (!Kind<T>::convert(o, v)) return false;
    out = std::move(v);
    return true;
  }
};

// The text of str(o) as UTF-8, lone surrogates made U+FFFD; a str() that raises an ordinary
// error is reported as unraisable and the object named by its type instead. False with the
// exception set when str() raised anything else; ErrorAlreadySet when reading the type's name
// did.
bool str_text(PyObject* o, std::string& out);

// Starts iterating a list argument: refuses a str and a non-sequence, and gives the number of
// elements worth reserving (the len() hint, capped so that a lying hint costs nothing).
bool begin_sequence(PyObject* o, Ref& iterator, size_t& reserve);

// List of a kind: any sequence but a str, converted element by element in iteration order.
template <class T>
struct Kind<std::vector<T>> {
  static bool convert(PyObject* o, std::vector<T>& out) {
    Ref it;
    size_t reserve = 0;
    if (!begin_sequence(o, it, reserve)) return false;
    out.reserve(reserve);
    while (Ref item = Ref::steal(PyIter_Next(it.get()))) {
      T v{};
      if (!Kind<T>::convert(item.get(), v)) return false;
      out.push_back(std::move(v));
    }
    return !PyErr_Occurred();
  }
};

}  // namespace qc::py
