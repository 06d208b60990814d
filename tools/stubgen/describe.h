// The binding tables described as JSON, for the stub generator: each entry's parameter names,
// the kinds their builder parameter types give them (following the same Arg<> structure that
// converts them) and the class of its result. Only the describe_bindings program is built with
// it (QC_PY_DESCRIBE); `_compute` keeps its text signatures.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "args.h"
#include "classes.h"

namespace qc::py::describe {

inline std::string quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

inline std::string class_kind(ClassId c) {
  return R"({"kind":"object","class":)" + quoted(class_info(c).name) + "}";
}

template <class Model>
std::string result_class() {
  static_assert(kHeldByClass<Model>, "a builder's result is held by a class");
  return quoted(class_info(class_of<Model>).name);
}
template <class R>
struct Result;
template <class Model>
struct Result<Handle<Model>> {
  static std::string json() { return result_class<Model>(); }
};

template <class N>
constexpr const char* native_name() {
  if constexpr (std::is_same_v<N, double>)
    return "float";
  else if constexpr (std::is_same_v<N, int64_t>)
    return "int";
  else {
    static_assert(std::is_same_v<N, std::string>, "a native alternative the stubs cannot name");
    return "str";
  }
}

// The names Python code gives the values of the builder-side enumeration T, of the model's E.
template <class E, class T>
std::string names() {
  std::string out = "[";
  for (size_t i = 0; i < E::qc_enum_.count; ++i)
    out += (i ? "," : "") + quoted(builders::name_of(T(i)));
  return out + "]";
}

// The kind of a parameter type. A parameter type without a case here does not compile: a new
// kind needs its description before any stub can be made.
template <class P>
struct Kind;

inline std::string plain(const double*) { return R"({"kind":"float"})"; }
inline std::string plain(const builders::TimeUnit*) {
  return R"({"kind":"time_unit","names":)" + names<model::api::TimeUnit, builders::TimeUnit>() +
         "}";
}
inline std::string plain(const builders::NumericDataType*) {
  return R"({"kind":"data_type","names":)" +
         names<model::objects::NumericDataType, builders::NumericDataType>() + "}";
}
inline std::string plain(const builders::Series*) {
  return R"({"kind":"series","classes":["NumericSeries","CategoricalSeries","StructSeries"]})";
}
template <class Model>
std::string plain(const Handle<Model>*) {
  return class_kind(class_of<Model>);
}

template <class Model, class Native>
std::string of(const TwoWay<Model, Native>*) {
  return R"({"kind":"two_way","class":)" + quoted(class_info(class_of<Model>).name) +
         R"(,"native":)" + quoted(native_name<Native>()) + "}";
}
template <class T, class K>
std::string of(const OptionalArg<T, K>*) {
  return R"({"kind":"optional","of":)" + Kind<T>::json() + "}";
}
template <class T>
std::string of(const Elements<T>*) {
  return R"({"kind":"sequence","of":)" + Kind<Handle<T>>::json() + "}";
}
template <class T>
std::string of(const Plain<T>*) {
  return plain(static_cast<const T*>(nullptr));
}

template <class P>
struct Kind {
  static std::string json() { return of(static_cast<const Arg<P>*>(nullptr)); }
};
template <>
struct Kind<int32_t> {
  static std::string json() { return R"({"kind":"int"})"; }
};
template <>
struct Kind<std::string_view> {
  static std::string json() { return R"({"kind":"str"})"; }
};
template <>
struct Kind<Handle<Map<String, model::Series>>> {
  static std::string json() {
    return R"({"kind":"dict","key":{"kind":"str"},"of":)" +
           plain(static_cast<const builders::Series*>(nullptr)) + "}";
  }
};

// The builder's name, as the compiler spells the template argument ("qc::builders::max").
template <auto F>
std::string builder_name() {
  std::string_view s = __PRETTY_FUNCTION__;
  size_t at = s.find("F = ");
  if (at == std::string_view::npos) return "";
  s = s.substr(at + 4);
  s = s.substr(0, s.find_first_of(";]"));
  if (size_t colons = s.rfind("::"); colons != std::string_view::npos) s = s.substr(colons + 2);
  return std::string(s);
}

template <class E, bool Instance, auto F>
std::string entry() {
  std::string out = R"({"name":)" + quoted(E::signature.name) + R"(,"builder":)" +
                    quoted(builder_name<F>()) + R"(,"static":)" + (Instance ? "false" : "true") +
                    R"(,"result":)" + Result<typename E::Result>::json() + R"(,"params":[)";
  [&]<size_t... I>(std::index_sequence<I...>) {
    ((out += (I ? "," : "") + std::string(R"({"name":)") + quoted(E::names[I]) + R"(,"kind":)" +
             Kind<typename E::template Param<I>>::json() + "}"),
     ...);
  }(std::make_index_sequence<E::count>());
  return out + "]}";
}

inline const char* to_json() {
  return R"({"name":"to_json","builder":"","static":false,"result":"str","params":[]})";
}

}  // namespace qc::py::describe
