// The binder: turns builders into Python methods, module functions and constructors.
//
// A method is one line in its class's table, naming the builder that makes its node, and what
// the stubs say of it (About):
//
//   Table::method<"head", &builders::numeric_series_head, "num_points">(
//       {"selectOldestPoints", "The oldest points of the series."}),
//   Table::factory<"Reference", &builders::numeric_series_reference, "name">(
//       {"raw", "The series of that name, bound elsewhere."}),
//
// A `method` is an instance method: the object's value is the builder's first operand (as the
// Series variant of its class where the builder takes a Series), and the docstring reads
// "head($self, num_points)". A `factory` is a static method. Each further builder parameter's
// type gives its argument form (args.h); an optional one (std::optional, an Optional handle) is
// shown "=None", and a missing argument and None both leave it absent. The builder's result
// type gives the class of the object returned. Name one parameter per builder parameter after
// self, in order. The typed stubs and the reference are generated from these same lines
// (tools/stubgen.sh): each line carries its texts and, made at compile time, the types and words
// of its parameters and result (`Line::form`); a parameter's meaning comes from the line's
// `args` or else, by its name, from param_texts.h.
//
// Every call runs the same frame: bind the arguments to fixed slots (positional, then keywords
// matched by identity with interned names before falling back to text), check `self`, convert
// every argument in parameter order (a TypeError is reworded under the parameter's name), then
// make the operands (an int is narrowed to 32 bits only now, so a later argument's error is
// reported first), call the builder, wrap the result. Error texts are built only when a call
// fails, out of line. C++ exceptions never leave a call (errors.h).
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "args.h"
#include "classes.h"
#include "errors.h"
#include "ownership.h"

namespace qc::py {

inline constexpr int kModuleFunction = -1;

// What the stubs and the reference say of a line: the wire variant of the node it builds (null
// for none), what it makes, a doctest example (run against the module by the tests; null for
// none), and parameter meanings proper to this line, "name: meaning" a line each (null where
// param_texts.h gives them). Not shown by the module, whose docstrings are text signatures.
struct About {
  const char* node = nullptr;
  const char* text = nullptr;
  const char* example = nullptr;
  const char* args = nullptr;
};

// A line of a class's or of the module's table: the interpreter's method definition, the form of
// its signature as JSON (name, static, result and each parameter's name, type, words and
// optionality), and its About. A table is ended by an empty line.
struct Line {
  PyMethodDef def{};
  const char* form = nullptr;
  About about{};
  // The builder called: a module function whose About is empty says what the method with the
  // same builder says.
  void (*builder)() = nullptr;
};

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
               PyObject** slots);
bool bind_tuple(const Signature& s, PyObject* args, PyObject* kwargs, PyObject** slots);

template <size_t N>
struct OwnedSlots {
  std::array<PyObject*, N> slots{};
  OwnedSlots() = default;
  OwnedSlots(const OwnedSlots&) = delete;
  OwnedSlots& operator=(const OwnedSlots&) = delete;
  ~OwnedSlots() {
    for (PyObject* o : slots) drop(o);
  }
  PyObject** data() noexcept { return slots.data(); }
};

// Replaces a TypeError being raised by "argument '{param}': {text}", keeping its cause.
[[gnu::cold, gnu::noinline]] void reword_failure(const char* param);

template <ClassId C>
bool check_self(PyObject* self) {
  if (holds<C>(self)) return true;
  raise_not_instance(self, C);
  return false;
}

inline PyObject* wrap(Ref&& r) noexcept { return r.release(); }
template <class Model>
PyObject* wrap(Handle<Model>&& h) {
  return new_object<class_of<Model>>(std::move(h));
}

// The held value as compact JSON text: the method every class has.
Ref json_text(const Value& v);

namespace detail {

// A compile-time text as a static array.
template <class Make>
struct Baked {
  static constexpr size_t length = Make::make().size();
  static constexpr std::array<char, length + 1> text = [] {
    std::array<char, length + 1> a{};
    form::Text s = Make::make();
    std::copy(s.begin(), s.end(), a.begin());
    return a;
  }();
};

constexpr form::Text quoted(std::string_view s) {
  form::Text out = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

template <class R>
struct ResultName;
template <class Model>
struct ResultName<Handle<Model>> {
  static_assert(kHeldByClass<Model>, "a builder's result is held by a class");
  static constexpr std::string_view name = class_name(class_of<Model>);
};

template <class F>
struct Fn;
template <class R, class... A>
struct Fn<R (*)(A...)> {
  using Result = R;
  using Params = std::tuple<std::decay_t<A>...>;
};

// The object's value as the builder's first operand: as it is, or as a Series.
template <class First, ClassId C>
First self_operand(PyObject* self) {
  if constexpr (std::is_same_v<First, Held<C>>)
    return held<C>(self);
  else
    return as_series(held<C>(self));
}

// Writes "name($self, a, b=None)\n--\n\n" (or counts it when out is null).
template <bool Instance, size_t Required, FixedText M, FixedText... P>
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

template <bool Instance, size_t Required, FixedText M, FixedText... P>
struct Doc {
  static constexpr size_t length = write_doc<Instance, Required, M, P...>(nullptr);
  static constexpr std::array<char, length + 1> text = [] {
    std::array<char, length + 1> a{};
    write_doc<Instance, Required, M, P...>(a.data());
    return a;
  }();
};

template <int Owner, bool Instance, FixedText M, auto F, FixedText... P>
struct Entry {
  using Params = typename Fn<decltype(F)>::Params;
  using Result = typename Fn<decltype(F)>::Result;
  static constexpr size_t offset = Instance ? 1 : 0;
  static constexpr size_t count = sizeof...(P);
  static_assert(std::tuple_size_v<Params> == count + offset,
                "name every builder parameter after self, once");
  static_assert(!Instance || Owner >= 0, "module functions take no self");

  template <size_t I>
  using Param = std::tuple_element_t<I + offset, Params>;
  template <size_t I>
  using ArgOf = Arg<Param<I>>;

  static constexpr size_t required = [] {
    return []<size_t... I>(std::index_sequence<I...>) {
      size_t n = 0;
      bool seen_optional = false, ordered = true;
      ((ArgOf<I>::optional ? (seen_optional = true) : (ordered &= !seen_optional, ++n)), ...);
      return ordered ? n : size_t(-1);
    }(std::make_index_sequence<count>());
  }();
  static_assert(required != size_t(-1), "optional parameters come last");

  static constexpr const char* names[count ? count : 1] = {P.text...};
  static inline PyObject* interned[count ? count : 1] = {};
  static constexpr Signature signature{Owner,   M.text, names, uint8_t(count), uint8_t(required),
                                       interned};
  using Docstring = Doc<Instance, required, M, P...>;

  static const char* doc() { return Docstring::text.data(); }

  // The form of the signature, for the stubs: evaluated at compile time.
  struct Form {
    static constexpr form::Text make() {
      form::Text out = "{\"name\":" + quoted(M.text) +
                       ",\"static\":" + (Instance ? "false" : "true") +
                       ",\"result\":" + quoted(ResultName<Result>::name) + ",\"params\":[";
      [&]<size_t... I>(std::index_sequence<I...>) {
        ((out += form::Text(I ? "," : "") + "{\"name\":" + quoted(names[I]) + ",\"type\":" +
                 quoted(ArgOf<I>::type().view()) + ",\"said\":" + quoted(ArgOf<I>::said().view()) +
                 ",\"optional\":" + (ArgOf<I>::optional ? "true" : "false") + "}"),
         ...);
      }(std::make_index_sequence<count>());
      return out + "]}";
    }
  };
  static const char* form() { return Baked<Form>::text.data(); }

  template <size_t I>
  static bool convert(PyObject* o, typename ArgOf<I>::Storage& out) {
    if (ArgOf<I>::convert(o, out)) return true;
    reword_failure(names[I]);
    return false;
  }

  // Converts every argument, then makes the operands and calls the builder, handing its
  // result to `done`.
  template <class Done, size_t... I>
  static PyObject* build(PyObject* self, PyObject** slots, Done done, std::index_sequence<I...>) {
    std::tuple<typename ArgOf<I>::Storage...> converted;
    if (!(convert<I>(slots[I], std::get<I>(converted)) && ...)) return nullptr;
    if constexpr (Instance) {
      auto first = self_operand<std::tuple_element_t<0, Params>, ClassId(Owner)>(self);
      std::tuple<Param<I>...> operands{ArgOf<I>::finish(std::move(std::get<I>(converted)))...};
      return done(F(std::move(first), std::move(std::get<I>(operands))...));
    } else {
      std::tuple<Param<I>...> operands{ArgOf<I>::finish(std::move(std::get<I>(converted)))...};
      return done(F(std::move(std::get<I>(operands))...));
    }
  }

  static PyObject* run(PyObject* self, PyObject** slots) {
    if constexpr (Instance)
      if (!check_self<ClassId(Owner)>(self)) return nullptr;
    return build(
        self, slots, [](auto&& result) { return wrap(std::move(result)); },
        std::make_index_sequence<count>());
  }

  static PyObject* call_fast(PyObject* self, PyObject* const* args, Py_ssize_t nargs,
                             PyObject* kwnames) {
    return entered([&]() -> PyObject* {
      std::array<PyObject*, count> slots{};
      // Arguments given by position alone, as many as the builder needs, fill the slots as
      // they are; anything else is bound by the general rules.
      if (!kwnames && nargs >= Py_ssize_t(required) && nargs <= Py_ssize_t(count))
        std::copy(args, args + nargs, slots.data());
      else if (!bind_fast(signature, args, nargs, kwnames, slots.data()))
        return nullptr;
      return run(self, slots.data());
    });
  }

  static PyObject* call_noargs(PyObject* self, PyObject*) {
    return entered([&] { return run(self, nullptr); });
  }

  static Line line(const About& about) {
    return {method_def(), form(), about, reinterpret_cast<void (*)()>(F)};
  }

  static PyMethodDef method_def() {
    int flags = Instance ? 0 : METH_STATIC;
    if constexpr (count == 0)
      return {M.text, &call_noargs, flags | METH_NOARGS, doc()};
    else
      return {M.text, reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(&call_fast)),
              flags | METH_FASTCALL | METH_KEYWORDS, doc()};
  }
};

template <FixedText M>
constexpr bool upper_camel() {
  return M.text[0] >= 'A' && M.text[0] <= 'Z';
}

}  // namespace detail

// The lines of a class's method table. Static methods are named in upper camel case and
// instance methods in snake case, as every class of the module names them.
template <ClassId C>
struct Methods {
  template <FixedText M, auto F, FixedText... P>
  static Line method(const About& about) {
    static_assert(!detail::upper_camel<M>(), "instance methods are named in snake case");
    return detail::Entry<int(C), true, M, F, P...>::line(about);
  }
  template <FixedText M, auto F, FixedText... P>
  static Line factory(const About& about) {
    static_assert(detail::upper_camel<M>(), "static methods are named in upper camel case");
    return detail::Entry<int(C), false, M, F, P...>::line(about);
  }
  static Line to_json() {
    return {{"to_json", &to_json_entry, METH_NOARGS, detail::Doc<true, 0, "to_json">::text.data()},
            R"({"name":"to_json","static":false,"result":"str","params":[]})",
            {nullptr, "The held tree as compact JSON text, in the wire form."}};
  }

 private:
  // Reads the value in place, where the binding frame would copy the handle into an operand:
  // the caller's reference keeps self, and so its value, alive for the call, and the value
  // never changes, so the copy's two atomic count updates would buy nothing.
  static PyObject* to_json_entry(PyObject* self, PyObject*) {
    return entered([&]() -> PyObject* {
      if (!check_self<C>(self)) return nullptr;
      return json_text(held<C>(self).value()).release();
    });
  }
};

// One line of the module's function table. Module functions carry the static flag, so they
// receive no module and their `__self__` reads None.
struct Functions {
  template <FixedText M, auto F, FixedText... P>
  static Line def(const About& about) {
    return detail::Entry<kModuleFunction, false, M, F, P...>::line(about);
  }
};

// The constructor of a class that Python code may call: its tp_new slot and its class
// docstring, whose text signature is the class name and the parameters. Binding messages name
// it "Class.__new__()".
template <ClassId C, FixedText ClassName, auto F, FixedText... P>
struct Constructor {
  using Frame = detail::Entry<int(C), false, "__new__", F, P...>;
  using Docstring = detail::Doc<false, Frame::required, ClassName, P...>;
  // The line the class's docstring (its text signature) and the stubs' `__new__` come from.
  static Line line(const About& about) {
    return {{"__new__", nullptr, 0, Docstring::text.data()},
            Frame::form(),
            about,
            reinterpret_cast<void (*)()>(F)};
  }

  static PyObject* tp_new(PyTypeObject* cls, PyObject* args, PyObject* kwargs) {
    return entered([&]() -> PyObject* {
      OwnedSlots<Frame::count> slots;
      if (!bind_tuple(Frame::signature, args, kwargs, slots.data())) return nullptr;
      return Frame::build(
          nullptr, slots.data(), [cls](Held<C>&& v) { return new_object<C>(cls, std::move(v)); },
          std::make_index_sequence<Frame::count>());
    });
  }
};

}  // namespace qc::py
