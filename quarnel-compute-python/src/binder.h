// The binder: turns typed C++ functions into Python methods, module functions and constructors.
//
// Adding a method is one typed function plus one line in its class's table:
//
//   Held<ClassId::NumericSeries> head(Self<ClassId::NumericSeries> self, IntegerConstantInput n) {
//     return {builders::numeric_series_head(self.value, integer_constant(n))};
//   }
//   ...
//   M::def<"head", &head, "num_points">(),       // in class_def<ClassId::NumericSeries>()
//
// Everything else follows from the function's type. A first parameter `Self<C>` makes an
// instance method (docstring "head($self, num_points)"); without it the method is static.
// Each further parameter's type is its argument kind (kinds.h); `std::optional<K>` makes it
// optional (shown "=None", a missing argument and None both give nullopt), and optional
// parameters come last. A function returning `Held<C>` returns a new object of class C; one
// returning `Ref` returns that object. A method without parameters takes the interpreter's
// no-argument convention. Name one parameter per function parameter after `self`, in order.
//
// Every call runs the same frame: bind the arguments to fixed slots (positional, then keywords
// matched by identity with interned names before falling back to text), check `self`, convert
// the arguments in parameter order (a TypeError is reworded under the parameter's name), call
// the function, wrap the result. Error texts are built only when a call fails, out of line.
// C++ exceptions never leave a call (errors.h).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <tuple>
#include <type_traits>
#include <utility>

#include "classes.h"
#include "errors.h"
#include "kinds.h"

namespace qc::py {

// Text given as a template argument: method and parameter names.
template <size_t N>
struct Name {
  char text[N]{};
  constexpr Name(const char (&s)[N]) {
    for (size_t i = 0; i < N; ++i) text[i] = s[i];
  }
  static constexpr size_t length = N - 1;
};

inline constexpr int kModuleFunction = -1;

// What binding knows of a callable; its messages name it "Class.name()" or "name()".
struct Signature {
  int owner;  // a ClassId, or kModuleFunction
  const char* name;
  const char* const* params;
  uint8_t count;
  uint8_t required;
  PyObject** interned;  // `count` parameter names, interned on first use
};

// Fill slots[0..count) from a fast call or from an argument tuple and keyword dict; unfilled
// optional slots stay null. False with TypeError set on any binding failure.
//
// bind_fast borrows: the caller of a fast call owns its argument array and the names tuple
// until the call returns (the interpreter's own callers hold them on their stack, and its
// unpacking of a keyword dict into that form takes a reference to each value), and neither
// can be changed from Python code. bind_tuple stores strong references, released by OwnedSlots
// on every exit, success or failure: the keyword dict is a mutable object that Python code run
// by a conversion can reach and empty (through the garbage collector's referrers, or because
// the dict is the caller's own, as with `functools.partial`), which would free the values
// still to be converted.
bool bind_fast(const Signature& s, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames,
               PyObject** slots) noexcept;
bool bind_tuple(const Signature& s, PyObject* args, PyObject* kwargs, PyObject** slots) noexcept;

template <size_t N>
struct OwnedSlots {
  std::array<PyObject*, N> slots{};
  OwnedSlots() = default;
  OwnedSlots(const OwnedSlots&) = delete;
  OwnedSlots& operator=(const OwnedSlots&) = delete;
  ~OwnedSlots() {
    for (PyObject* o : slots) Py_XDECREF(o);
  }
  PyObject** data() noexcept { return slots.data(); }
};

// Replaces a TypeError being raised by "argument '{param}': {text}", keeping its cause.
[[gnu::cold, gnu::noinline]] void reword_failure(const char* param) noexcept;

inline bool check_self(PyObject* self, ClassId c) noexcept {
  if (holds(self, c)) return true;
  raise_not_instance(self, c);
  return false;
}

inline PyObject* wrap(Ref&& r) noexcept { return r.release(); }
template <ClassId C>
PyObject* wrap(Held<C>&& h) {
  return new_object(C, std::move(h.value));
}

namespace detail {

template <class F>
struct Fn;
template <class R, class... A>
struct Fn<R (*)(A...)> {
  using Args = std::tuple<std::decay_t<A>...>;
};
template <class R, class... A>
struct Fn<R (*)(A...) noexcept> : Fn<R (*)(A...)> {};

template <class T>
struct SelfOf {
  static constexpr bool value = false;
};
template <ClassId C>
struct SelfOf<Self<C>> {
  static constexpr bool value = true;
};

template <class T>
inline constexpr bool kOptional = false;
template <class T>
inline constexpr bool kOptional<std::optional<T>> = true;

// Writes "name($self, a, b=None)\n--\n\n" (or counts it when out is null).
template <bool Instance, size_t Required, Name M, Name... P>
constexpr size_t write_doc(char* out) {
  size_t n = 0;
  auto put = [&](const char* s) {
    for (; *s; ++s, ++n)
      if (out) out[n] = *s;
  };
  put(M.text);
  put("(");
  bool first = true;
  if (Instance) {
    put("$self");
    first = false;
  }
  size_t i = 0;
  ((put(first ? "" : ", "), first = false, put(P.text), put(i++ >= Required ? "=None" : "")), ...);
  put(")\n--\n\n");
  return n;
}

template <bool Instance, size_t Required, Name M, Name... P>
struct Doc {
  static constexpr size_t length = write_doc<Instance, Required, M, P...>(nullptr);
  static constexpr std::array<char, length + 1> text = [] {
    std::array<char, length + 1> a{};
    write_doc<Instance, Required, M, P...>(a.data());
    return a;
  }();
};

template <int Owner, Name M, auto F, Name... P>
struct Entry {
  using Args = typename Fn<decltype(F)>::Args;
  static constexpr bool instance = [] {
    if constexpr (std::tuple_size_v<Args> == 0)
      return false;
    else
      return SelfOf<std::tuple_element_t<0, Args>>::value;
  }();
  static constexpr size_t offset = instance ? 1 : 0;
  static constexpr size_t count = sizeof...(P);
  static_assert(std::tuple_size_v<Args> == count + offset, "name every parameter after self, once");
  static_assert(!instance || Owner >= 0, "module functions take no self");

  template <size_t I>
  using Param = std::tuple_element_t<I + offset, Args>;

  static constexpr size_t required = [] {
    return []<size_t... I>(std::index_sequence<I...>) {
      size_t n = 0;
      bool seen_optional = false, ordered = true;
      ((kOptional<Param<I>> ? (seen_optional = true) : (ordered &= !seen_optional, ++n)), ...);
      return ordered ? n : size_t(-1);
    }(std::make_index_sequence<count>());
  }();
  static_assert(required != size_t(-1), "optional parameters come last");

  static constexpr const char* names[count ? count : 1] = {P.text...};
  static inline PyObject* interned[count ? count : 1] = {};
  static constexpr Signature signature{Owner, M.text, names, uint8_t(count), uint8_t(required), interned};
  using Docstring = Doc<instance, required, M, P...>;

  template <size_t I, class T>
  static bool convert(PyObject* o, T& out) {
    if (Kind<T>::convert(o, out)) return true;
    reword_failure(names[I]);
    return false;
  }

  template <size_t... I>
  static auto convert_all(PyObject** slots, std::index_sequence<I...>) {
    std::optional<std::tuple<Param<I>...>> values(std::in_place);
    if (!(convert<I>(slots[I], std::get<I>(*values)) && ...)) values.reset();
    return values;
  }

  template <size_t... I>
  static auto invoke(PyObject* self, std::tuple<Param<I>...>& values, std::index_sequence<I...>) {
    if constexpr (instance)
      return F(std::tuple_element_t<0, Args>{held(self)}, std::move(std::get<I>(values))...);
    else
      return F(std::move(std::get<I>(values))...);
  }

  static PyObject* run(PyObject* self, PyObject** slots) {
    if constexpr (instance)
      if (!check_self(self, static_cast<ClassId>(Owner))) return nullptr;
    constexpr auto seq = std::make_index_sequence<count>();
    auto values = convert_all(slots, seq);
    if (!values) return nullptr;
    return wrap(invoke(self, *values, seq));
  }

  static PyObject* call_fast(PyObject* self, PyObject* const* args, Py_ssize_t nargs,
                             PyObject* kwnames) noexcept {
    return guarded([&]() -> PyObject* {
      std::array<PyObject*, count> slots{};
      if (!bind_fast(signature, args, nargs, kwnames, slots.data())) return nullptr;
      return run(self, slots.data());
    });
  }

  static PyObject* call_noargs(PyObject* self, PyObject*) noexcept {
    return guarded([&] { return run(self, nullptr); });
  }

  static PyMethodDef method_def() {
    int flags = instance ? 0 : METH_STATIC;
    if constexpr (count == 0)
      return {M.text, &call_noargs, flags | METH_NOARGS, Docstring::text.data()};
    else
      return {M.text, reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(&call_fast)),
              flags | METH_FASTCALL | METH_KEYWORDS, Docstring::text.data()};
  }
};

}  // namespace detail

// One line of a class's method table.
template <ClassId C>
struct Methods {
  template <Name M, auto F, Name... P>
  static PyMethodDef def() {
    return detail::Entry<int(C), M, F, P...>::method_def();
  }
};

// One line of the module's function table. Module functions carry the static flag, so they
// receive no module and their `__self__` reads None.
struct Functions {
  template <Name M, auto F, Name... P>
  static PyMethodDef def() {
    PyMethodDef d = detail::Entry<kModuleFunction, M, F, P...>::method_def();
    d.ml_flags |= METH_STATIC;
    return d;
  }
};

// The constructor of a class that Python code may call: its tp_new slot and its class
// docstring, whose text signature is the class name and the parameters. Binding messages name
// it "Class.__new__()".
template <ClassId C, Name ClassName, auto F, Name... P>
struct Constructor {
  using E = detail::Entry<int(C), "__new__", F, P...>;
  static_assert(!E::instance);
  using Docstring = detail::Doc<false, E::required, ClassName, P...>;

  static PyObject* tp_new(PyTypeObject* cls, PyObject* args, PyObject* kwargs) noexcept {
    return guarded([&]() -> PyObject* {
      OwnedSlots<E::count> slots;
      if (!bind_tuple(E::signature, args, kwargs, slots.data())) return nullptr;
      constexpr auto seq = std::make_index_sequence<E::count>();
      auto values = E::convert_all(slots.data(), seq);
      if (!values) return nullptr;
      Held<C> made = E::invoke(nullptr, *values, seq);
      return new_object(cls, std::move(made.value));
    });
  }
};

// The method every class has: the held value as compact JSON text.
Ref json_text(const Value& v);
template <ClassId C>
Ref to_json(Self<C> self) {
  return json_text(self.value);
}

}  // namespace qc::py
