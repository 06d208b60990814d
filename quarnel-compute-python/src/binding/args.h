// Argument forms: which Python objects a builder parameter accepts, in which order the
// alternatives are tried, what each becomes, and how a refusal reads. The form follows from the
// parameter's type: a plain float, int or text; a time unit or data type name; an object of
// the class that holds the parameter's model type; for a numeric series or a constant either
// such an object or a plain number or text (the two-way forms); for a Series a NumericSeries,
// CategoricalSeries or StructSeries object; optional, list and dict forms of these.
//
// `Arg<P>::convert(object, storage)` fills the storage or returns false with a Python exception
// set; `Arg<P>::finish(storage)` then makes the operand. Finishing comes only once every
// argument has converted, so an int is narrowed to 32 bits after a later argument's error.
//
// Each form also says what it takes, for the typed stubs (tools/stubgen): `Arg<P>::type()` is its
// type there and `Arg<P>::said()` the words of its docstring, evaluated at compile time only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "classes.h"
#include "python_api.h"
#include "quarnel/compute/builders.h"

namespace qc::py {

// The Series variant of a series class's value.
inline builders::Series as_series(builders::NumericSeries s) {
  return builders::series_from_numeric_series(std::move(s));
}
inline builders::Series as_series(builders::EnumSeries s) {
  return builders::series_from_enum_series(std::move(s));
}
inline builders::Series as_series(builders::StructSeries s) {
  return builders::series_from_struct_series(std::move(s));
}

template <class P>
struct Arg;

namespace form {
// A text made at compile time, for the stubs' description of each parameter. GCC 11 and clang
// 14 to 15 cannot make a std::string in a constant expression, so the texts are made in a fixed
// array; a text longer than it stops the build.
class Text {
 public:
  static constexpr size_t kCapacity = 2048;
  constexpr Text() = default;
  constexpr Text(const char* s) { append(s); }
  constexpr Text(std::string_view s) { append(s); }
  constexpr Text& operator+=(std::string_view s) { return append(s); }
  constexpr Text& operator+=(const char* s) { return append(s); }
  constexpr Text& operator+=(const Text& t) { return append(t.view()); }
  constexpr Text& operator+=(char c) {
    if (size_ == kCapacity) throw "a compile-time text is longer than form::Text::kCapacity";
    data_[size_++] = c;
    return *this;
  }
  friend constexpr Text operator+(Text a, const Text& b) { return a += b; }
  friend constexpr Text operator+(Text a, std::string_view b) { return a += b; }
  friend constexpr Text operator+(Text a, const char* b) { return a += b; }
  friend constexpr Text operator+(std::string_view a, const Text& b) { return Text(a) += b; }
  friend constexpr Text operator+(const char* a, const Text& b) { return Text(a) += b; }
  constexpr std::string_view view() const { return {data_, size_}; }
  constexpr size_t size() const { return size_; }
  constexpr const char* begin() const { return data_; }
  constexpr const char* end() const { return data_ + size_; }

 private:
  constexpr Text& append(std::string_view s) {
    for (char c : s) *this += c;
    return *this;
  }
  char data_[kCapacity]{};
  size_t size_ = 0;
};

// "an Aggregation", "a Duration".
constexpr Text article(std::string_view name) {
  return Text(name[0] == 'A' || name[0] == 'E' || name[0] == 'I' || name[0] == 'O' || name[0] == 'U'
                  ? "an "
                  : "a ") +
         name;
}
// The names Python code gives the values of a model enumeration: its wire texts in lower case.
template <class E>
constexpr Text names() {
  Text out;
  for (size_t i = 0; i < E::qc_enum_.count; ++i) {
    std::string_view wire = E::qc_values_[i];  // with its quotation marks
    out += i ? ", \"" : "\"";
    for (char c : wire.substr(1, wire.size() - 2)) out += c >= 'A' && c <= 'Z' ? char(c + 32) : c;
    out += '"';
  }
  return out;
}
template <class E>
constexpr Text named() {
  return "one of " + names<E>() + " (or an object whose str() is one of them)";
}
inline constexpr std::string_view kSeries = "a NumericSeries, CategoricalSeries or StructSeries";
}  // namespace form

// What a parameter holds between converting and finishing when the two are the same.
template <class T>
struct Plain {
  static constexpr bool optional = false;
  using Storage = T;
  static T finish(T&& in) { return std::move(in); }
};

// A plain float, int (narrowed to 32 bits when finished) or text.
template <>
struct Arg<double> : Plain<double> {
  static bool convert(PyObject* o, double& out);
  static constexpr form::Text type() { return "_Number"; }
  static constexpr form::Text said() { return "a number"; }
};
template <>
struct Arg<int32_t> {
  static constexpr bool optional = false;
  using Storage = int64_t;
  static bool convert(PyObject* o, int64_t& out);
  static int32_t finish(int64_t&& in);  // throws Panic beyond 32 bits
  static constexpr form::Text type() { return "SupportsIndex"; }
  static constexpr form::Text said() { return "an int (32-bit)"; }
};
template <>
struct Arg<std::string_view> {
  static constexpr bool optional = false;
  using Storage = std::string;
  static bool convert(PyObject* o, std::string& out);
  static std::string_view finish(std::string&& in) { return in; }  // the storage outlives the call
  static constexpr form::Text type() { return "str"; }
  static constexpr form::Text said() { return "a str"; }
};

// A time unit or data type named as Python code names it ("days", "int64").
template <>
struct Arg<builders::TimeUnit> : Plain<builders::TimeUnit> {
  static bool convert(PyObject* o, builders::TimeUnit& out);
  static constexpr form::Text type() { return "_TimeUnit"; }
  static constexpr form::Text said() { return form::named<model::api::TimeUnit>(); }
};
template <>
struct Arg<builders::NumericDataType> : Plain<builders::NumericDataType> {
  static bool convert(PyObject* o, builders::NumericDataType& out);
  static constexpr form::Text type() { return "_DataType"; }
  static constexpr form::Text said() { return form::named<model::objects::NumericDataType>(); }
};

// An object of the class that holds the model type, whose value is taken.
template <class Model>
struct Arg<Handle<Model>> : Plain<Handle<Model>> {
  static_assert(kHeldByClass<Model>, "no class holds this model type");
  static bool convert(PyObject* o, Handle<Model>& out) {
    constexpr ClassId c = class_of<Model>;
    if (!holds<c>(o)) {
      raise_not_instance(o, c);
      return false;
    }
    out = held<c>(o);
    return true;
  }
  static constexpr form::Text type() { return class_name(class_of<Model>); }
  static constexpr form::Text said() { return form::article(class_name(class_of<Model>)); }
};

// The two-way forms: alternative Wrapped, an object of the class whose value is taken, or
// Native0, a plain value made into the model value when finished.
// The parameter type whose form takes a two-way form's native alternative.
template <class Native>
using NativeParam = std::conditional_t<
    std::is_same_v<Native, int64_t>, int32_t,
    std::conditional_t<std::is_same_v<Native, std::string>, std::string_view, Native>>;

template <class Model, class Native>
struct TwoWay {
  static constexpr bool optional = false;
  struct Storage {
    Handle<Model> wrapped;  // empty: the native value is used
    Native native{};
  };
  static bool convert(PyObject* o, Storage& out);
  static Handle<Model> finish(Storage&& in);
  static constexpr form::Text type() {
    return form::Text(class_name(class_of<Model>)) + " | " + Arg<NativeParam<Native>>::type();
  }
  static constexpr form::Text said() {
    return form::article(class_name(class_of<Model>)) + " or " + Arg<NativeParam<Native>>::said() +
           (std::is_same_v<Model, model::NumericSeries> ? " (a constant series)" : "");
  }
};
template <>
struct Arg<builders::NumericSeries> : TwoWay<model::NumericSeries, double> {};
template <>
struct Arg<builders::DoubleConstant> : TwoWay<model::DoubleConstant, double> {};
template <>
struct Arg<builders::IntegerConstant> : TwoWay<model::IntegerConstant, int64_t> {};
template <>
struct Arg<builders::StringConstant> : TwoWay<model::StringConstant, std::string> {};
template <>
struct Arg<builders::ConstantNumericSeries> : TwoWay<model::ConstantNumericSeries, double> {};

// A CategoricalSeries, NumericSeries or StructSeries object, as the Series variant of its class.
template <>
struct Arg<builders::Series> : Plain<builders::Series> {
  static bool convert(PyObject* o, builders::Series& out);
  static constexpr form::Text type() { return "_Series"; }
  static constexpr form::Text said() { return form::kSeries; }
};

// Optional parameter: missing (null) or None is absent; anything else must convert.
template <class T, class Present = Arg<T>>
struct OptionalArg {
  static constexpr bool optional = true;
  using Storage = std::optional<typename Present::Storage>;
  static bool convert(PyObject* o, Storage& out) {
    if (!o || o == Py_None) return true;
    return Present::convert(o, out.emplace());
  }
  static constexpr form::Text type() { return Present::type() + " | None"; }
  static constexpr form::Text said() { return Present::said() + ", or None"; }
};
template <class T>
struct Arg<std::optional<T>> : OptionalArg<T> {
  static std::optional<T> finish(typename OptionalArg<T>::Storage&& in) {
    if (!in) return std::nullopt;
    return Arg<T>::finish(std::move(*in));
  }
};
template <class Model>
struct Arg<Handle<Optional<Model>>> : OptionalArg<Handle<Model>> {
  static Handle<Optional<Model>> finish(typename OptionalArg<Handle<Model>>::Storage&& in) {
    if (!in) return {};
    return Arg<Handle<Model>>::finish(std::move(*in));
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

// The converted elements of a list argument: the first few in place, since most lists given to
// a builder are short, and all of them on the heap past that.
template <class T, size_t N = 8>
class ShortVector {
 public:
  ShortVector() noexcept = default;
  ShortVector(const ShortVector&) = delete;
  ShortVector& operator=(const ShortVector&) = delete;
  ~ShortVector() {
    std::destroy_n(data_, size_);
    if (data_ != in_place()) std::allocator<T>().deallocate(data_, capacity_);
  }
  void reserve(size_t n) {
    if (n <= capacity_) return;
    T* d = std::allocator<T>().allocate(n);
    std::uninitialized_move_n(data_, size_, d);
    std::destroy_n(data_, size_);
    if (data_ != in_place()) std::allocator<T>().deallocate(data_, capacity_);
    data_ = d;
    capacity_ = n;
  }
  T& emplace_back() {
    if (size_ == capacity_) reserve(capacity_ * 2);
    return *new (data_ + size_++) T();
  }
  size_t size() const noexcept { return size_; }
  T& operator[](size_t i) noexcept { return data_[i]; }
  T* begin() noexcept { return data_; }
  T* end() noexcept { return data_ + size_; }

 private:
  T* in_place() noexcept { return reinterpret_cast<T*>(storage_); }
  alignas(T) unsigned char storage_[N * sizeof(T)];
  T* data_ = in_place();
  size_t size_ = 0;
  size_t capacity_ = N;
};

// List or set of a form: any sequence but a str, converted element by element in iteration
// order into the one list of values that the collection is then made of.
template <class T>
struct Elements {
  static constexpr bool optional = false;
  using Element = Arg<Handle<T>>;
  using Storage = ShortVector<typename Element::Storage>;
  static bool convert(PyObject* o, Storage& out) {
    // A list or tuple itself is read by index, as its iterator reads it: up to its length at
    // each step, which a conversion running Python code may change. Each element is held while
    // it converts.
    if (PyList_CheckExact(o)) {
      for (Py_ssize_t i = 0; i < PyList_Size(o); ++i)
        if (!Element::convert(Ref::borrow(PyList_GetItem(o, i)).get(), out.emplace_back()))
          return false;
      return true;
    }
    if (PyTuple_CheckExact(o)) {
      for (Py_ssize_t i = 0, n = PyTuple_Size(o); i < n; ++i)
        if (!Element::convert(PyTuple_GetItem(o, i), out.emplace_back())) return false;
      return true;
    }
    Ref it;
    size_t reserve = 0;
    if (!begin_sequence(o, it, reserve)) return false;
    out.reserve(reserve);
    while (Ref item = Ref::steal(PyIter_Next(it.get())))
      if (!Element::convert(item.get(), out.emplace_back())) return false;
    return !PyErr_Occurred();
  }
  static std::vector<Value> values(Storage&& in) {
    std::vector<Value> out;
    out.reserve(in.size());
    for (auto& v : in) out.push_back(Element::finish(std::move(v)).value());
    return out;
  }
  static constexpr form::Text type() { return "Sequence[" + Element::type() + "]"; }
  static constexpr form::Text said() {
    return "a sequence (not a str), each element " + Element::said();
  }
};
template <class T>
struct Arg<Handle<List<T>>> : Elements<T> {
  using Element = typename Elements<T>::Element;
  static Handle<List<T>> finish(typename Elements<T>::Storage&& in) {
    return {unchecked, make_list(in.size(), [&](size_t i) {
              return Element::finish(std::move(in[i])).value();
            })};
  }
};
// Tags: sorted and freed of duplicates, whatever the caller's order.
template <>
struct Arg<builders::SetOf<model::StringConstant>> : Elements<model::StringConstant> {
  static builders::SetOf<model::StringConstant> finish(Storage&& in) {
    return {unchecked, string_constant_set(values(std::move(in)))};
  }
};

// A dict of str keys and Series values, in the dict's order (the map orders them).
template <>
struct Arg<Handle<Map<String, model::Series>>> {
  static constexpr bool optional = false;
  using Storage = std::vector<std::pair<std::string, Value>>;
  static bool convert(PyObject* o, Storage& out);
  static Handle<Map<String, model::Series>> finish(Storage&& in) {
    return {unchecked, string_map(std::move(in))};
  }
  static constexpr form::Text type() { return "_SeriesDict"; }
  static constexpr form::Text said() {
    return "a dict of str names to series, each " + form::Text(form::kSeries);
  }
};

}  // namespace qc::py
