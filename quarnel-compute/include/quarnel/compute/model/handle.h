// Typed handles over model values, and the model types as data.
//
// The runtime is untyped: one Value, one writer, one copy and one destructor serve every node
// (the writer runs code made for each declared type first, and falls back on the untyped one).
// The front is typed: Handle<T> is a Value known to hold a T, where T is a declared record,
// union or enumeration, a scalar (String, I32, I64, F64, Bool, Any, a named string) or a
// collection of them (List, Set, Map, Optional). A handle adds nothing to the Value it wraps, so
// a node of the wrong kind in a field or an operand is refused by the compiler at no run-time
// cost. Each type is also described as data (ModelType), so a test can walk the whole model.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "quarnel/compute/model/value.h"

namespace qc {

// --- Model types ------------------------------------------------------------------------------

// Scalar types. `Any` (the JSON value of an unknown variant) is its own tag.
struct String {};
struct I32 {};
struct I64 {};
struct F64 {};
struct Bool {};

// Constant text given as a template argument.
template <size_t N>
struct FixedText {
  char text[N]{};
  constexpr FixedText(const char (&s)[N]) {
    for (size_t i = 0; i < N; ++i) text[i] = s[i];
  }
  constexpr std::string_view view() const { return {text, N - 1}; }
};

// A string with a name of its own ("LocalVariableName"); it writes and orders as its text.
template <FixedText Name>
struct NamedString {};

template <class T>
struct List {};
template <class T>
struct Set {};
template <class K, class V>
struct Map {};
template <class T>
struct Optional {};

// What a model type is: declared (record, union, enumeration), a scalar, or a collection. Not a
// node's Shape (value.h), which says how the slots of a record, union or collection node are
// read. Declared kinds first, collections last: a walk tells them apart by this order.
enum class TypeKind : uint8_t {
  Record,
  Union,
  Enum,
  String,
  I32,
  I64,
  F64,
  Bool,
  Any,
  List,
  Set,
  Map,
  Optional,
};

// One model type as data. The parts of a record are its fields' types, of a union its
// variants' payload types, of a list, set or optional its element type, of a map its key and
// value types; they are found through a function so that types may refer to one another.
struct ModelType {
  TypeKind kind;
  std::string_view name;                  // the declared name, "string", "i32", ..., or "list"
  const TypeDesc* node = nullptr;         // record or union: its wire descriptor
  const EnumDesc* enumeration = nullptr;  // enumeration: its values
  std::span<const ModelType* const> (*parts)() = nullptr;

  std::span<const ModelType* const> part_types() const {
    return parts ? parts() : std::span<const ModelType* const>{};
  }
};

// How a record field of type T takes part in the wire form: optional fields are those of an
// Optional type, collection fields those of a list, set or map.
namespace detail {
template <class T>
struct PresenceOf {
  static constexpr Presence value = Presence::Required;
};
template <class T>
struct PresenceOf<List<T>> {
  static constexpr Presence value = Presence::Collection;
};
template <class T>
struct PresenceOf<Set<T>> {
  static constexpr Presence value = Presence::Collection;
};
template <class K, class V>
struct PresenceOf<Map<K, V>> {
  static constexpr Presence value = Presence::Collection;
};
template <class T>
struct PresenceOf<Optional<T>> {
  static constexpr Presence value = PresenceOf<T>::value == Presence::Collection
                                        ? Presence::OptionalCollection
                                        : Presence::Optional;
};
}  // namespace detail
template <class T>
inline constexpr Presence presence_of = detail::PresenceOf<T>::value;

namespace detail {

// A declared type says its kind in `qc_kind_`; the others are known by their form.
template <class T>
struct TypeKindOf {
  static constexpr TypeKind value = T::qc_kind_;
};
template <>
struct TypeKindOf<String> {
  static constexpr TypeKind value = TypeKind::String;
};
template <FixedText N>
struct TypeKindOf<NamedString<N>> {
  static constexpr TypeKind value = TypeKind::String;
};
template <>
struct TypeKindOf<I32> {
  static constexpr TypeKind value = TypeKind::I32;
};
template <>
struct TypeKindOf<I64> {
  static constexpr TypeKind value = TypeKind::I64;
};
template <>
struct TypeKindOf<F64> {
  static constexpr TypeKind value = TypeKind::F64;
};
template <>
struct TypeKindOf<Bool> {
  static constexpr TypeKind value = TypeKind::Bool;
};
template <>
struct TypeKindOf<Any> {
  static constexpr TypeKind value = TypeKind::Any;
};
template <class T>
struct TypeKindOf<List<T>> {
  static constexpr TypeKind value = TypeKind::List;
};
template <class T>
struct TypeKindOf<Set<T>> {
  static constexpr TypeKind value = TypeKind::Set;
};
template <class K, class V>
struct TypeKindOf<Map<K, V>> {
  static constexpr TypeKind value = TypeKind::Map;
};
template <class T>
struct TypeKindOf<Optional<T>> {
  static constexpr TypeKind value = TypeKind::Optional;
};

// The end of a declaration's list of part types.
struct End {};
template <class... T>
struct Types {};

template <class List, class... Done>
struct PartsOf;

}  // namespace detail

template <class T>
inline constexpr TypeKind type_kind = detail::TypeKindOf<T>::value;

namespace detail {

// Defined below model_type, which it refers to; taking its address defers that to the end of
// the translation unit, when every type it names is complete.
template <class... T>
std::span<const ModelType* const> parts();

// Types<A, B, End> -> parts<A, B>
template <class... Done>
struct PartsOf<Types<End>, Done...> {
  static constexpr auto function = &parts<Done...>;
};
template <class Head, class... Tail, class... Done>
struct PartsOf<Types<Head, Tail...>, Done...> : PartsOf<Types<Tail...>, Done..., Head> {};

template <class T>
constexpr ModelType describe() {
  constexpr TypeKind kind = type_kind<T>;
  if constexpr (kind == TypeKind::Enum)
    return {kind, T::qc_enum_.name, nullptr, &T::qc_enum_};
  else
    return {kind, T::qc_desc_.name, &T::qc_desc_, nullptr,
            PartsOf<typename T::qc_parts_>::function};
}

template <class T>
struct Describe {
  static constexpr ModelType value = describe<T>();
};
template <>
struct Describe<String> {
  static constexpr ModelType value{TypeKind::String, "string"};
};
template <FixedText N>
struct Describe<NamedString<N>> {
  static constexpr ModelType value{TypeKind::String, N.view()};
};
template <>
struct Describe<I32> {
  static constexpr ModelType value{TypeKind::I32, "i32"};
};
template <>
struct Describe<I64> {
  static constexpr ModelType value{TypeKind::I64, "i64"};
};
template <>
struct Describe<F64> {
  static constexpr ModelType value{TypeKind::F64, "f64"};
};
template <>
struct Describe<Bool> {
  static constexpr ModelType value{TypeKind::Bool, "bool"};
};
template <>
struct Describe<Any> {
  static constexpr ModelType value{TypeKind::Any, "Any"};
};
template <class T>
struct Describe<List<T>> {
  static constexpr ModelType value{TypeKind::List, "list", nullptr, nullptr, &parts<T>};
};
template <class T>
struct Describe<Set<T>> {
  static constexpr ModelType value{TypeKind::Set, "set", nullptr, nullptr, &parts<T>};
};
template <class K, class V>
struct Describe<Map<K, V>> {
  static constexpr ModelType value{TypeKind::Map, "map", nullptr, nullptr, &parts<K, V>};
};
template <class T>
struct Describe<Optional<T>> {
  static constexpr ModelType value{TypeKind::Optional, "optional", nullptr, nullptr, &parts<T>};
};

}  // namespace detail

template <class T>
inline constexpr ModelType model_type = detail::Describe<T>::value;

namespace detail {
template <class... T>
std::span<const ModelType* const> parts() {
  static constexpr const ModelType* table[] = {&model_type<T>..., nullptr};
  return {table, sizeof...(T)};
}
}  // namespace detail

// The text of a type as the declarations read: "list<NumericSeries>", "map<string,f64>".
std::string type_text(const ModelType& type);

// --- Handles ----------------------------------------------------------------------------------

// Marks the one way to make a handle from a bare Value: the caller vouches for its type.
struct Unchecked {};
inline constexpr Unchecked unchecked{};

namespace detail {

class HandleBase {
 public:
  const Value& value() const& noexcept { return value_; }
  Value value() && noexcept { return std::move(value_); }
  // Holds no value: an absent optional, or a handle default-made or moved from. An empty list
  // is a value.
  bool is_none() const noexcept { return value_.is_none(); }

 protected:
  HandleBase() noexcept = default;
  explicit HandleBase(Value v) noexcept : value_(std::move(v)) {}

 private:
  Value value_;
};

template <class T>
std::vector<Value> values_of(std::vector<T>&& handles) {
  std::vector<Value> out;
  out.reserve(handles.size());
  for (T& h : handles) out.push_back(std::move(h).value());
  return out;
}

}  // namespace detail

// A declared record, union or enumeration. An enumeration's handle is made from one of its
// values (`api::TimeUnit::days`).
template <class T>
class Handle : public detail::HandleBase {
 public:
  Handle() noexcept = default;
  Handle(Unchecked, Value v) noexcept : HandleBase(std::move(v)) {}
  template <class E = T>
  Handle(typename E::Enumerator value) noexcept
      : HandleBase(Value::enumeration(&E::qc_enum_, value)) {}
};

namespace detail {
class TextHandle : public HandleBase {
 public:
  TextHandle() noexcept = default;
  TextHandle(Unchecked, Value v) noexcept : HandleBase(std::move(v)) {}
  TextHandle(std::string_view text) : HandleBase(Value::str(text)) {}
  TextHandle(const char* text) : HandleBase(Value::str(text)) {}
  TextHandle(const std::string& text) : HandleBase(Value::str(text)) {}
};
}  // namespace detail

template <>
class Handle<String> : public detail::TextHandle {
  using TextHandle::TextHandle;
};
template <FixedText N>
class Handle<NamedString<N>> : public detail::TextHandle {
  using detail::TextHandle::TextHandle;
};

namespace detail {
template <class Native, Value (*Make)(Native) noexcept>
class NumberHandle : public HandleBase {
 public:
  NumberHandle() noexcept = default;
  NumberHandle(Unchecked, Value v) noexcept : HandleBase(std::move(v)) {}
  NumberHandle(Native v) noexcept : HandleBase(Make(v)) {}
};
}  // namespace detail

template <>
class Handle<I32> : public detail::NumberHandle<int32_t, &Value::i32> {
  using NumberHandle::NumberHandle;
};
template <>
class Handle<I64> : public detail::NumberHandle<int64_t, &Value::i64> {
  using NumberHandle::NumberHandle;
};
template <>
class Handle<F64> : public detail::NumberHandle<double, &Value::f64> {
  using NumberHandle::NumberHandle;
};
template <>
class Handle<Bool> : public detail::HandleBase {
 public:
  Handle() noexcept = default;
  Handle(Unchecked, Value v) noexcept : HandleBase(std::move(v)) {}
  template <class B>
    requires std::same_as<B, bool>
  Handle(B v) noexcept : HandleBase(Value::boolean(v)) {}
};
template <>
class Handle<Any> : public detail::HandleBase {
 public:
  Handle() noexcept = default;
  Handle(Unchecked, Value v) noexcept : HandleBase(std::move(v)) {}
};

// A list keeps the caller's order and duplicates.
template <class T>
class Handle<List<T>> : public detail::HandleBase {
 public:
  Handle() noexcept = default;
  Handle(Unchecked, Value v) noexcept : HandleBase(std::move(v)) {}
  Handle(std::vector<Handle<T>> items) : HandleBase(list(detail::values_of(std::move(items)))) {}
  Handle(std::initializer_list<Handle<T>> items) : Handle(std::vector<Handle<T>>(items)) {}
};

// A set is ascending and free of duplicates, whatever the caller's order: strings by their
// bytes, StringConstant values by their own order.
template <class T>
class Handle<Set<T>> : public detail::HandleBase {
 public:
  Handle() noexcept = default;
  Handle(Unchecked, Value v) noexcept : HandleBase(std::move(v)) {}
  Handle(std::vector<std::string> items)
    requires std::same_as<T, String>
      : HandleBase(string_set(std::move(items))) {}
  Handle(std::vector<Handle<T>> items)
    requires(!std::same_as<T, String>)
      : HandleBase(string_constant_set(detail::values_of(std::move(items)))) {}
  Handle(std::initializer_list<std::string> items)
    requires std::same_as<T, String>
      : Handle(std::vector<std::string>(items)) {}
  Handle(std::initializer_list<Handle<T>> items)
    requires(!std::same_as<T, String>)
      : Handle(std::vector<Handle<T>>(items)) {}
};

// A map is ascending by key: a text key by its bytes, an enumeration key in the enumeration's
// declaration order. Of two equal keys the later one given stays.
template <class K, class V>
class Handle<Map<K, V>> : public detail::HandleBase {
 public:
  using Entries = std::vector<std::pair<std::string, Handle<V>>>;
  using EnumEntries = std::vector<std::pair<Handle<K>, Handle<V>>>;
  Handle() noexcept = default;
  Handle(Unchecked, Value v) noexcept : HandleBase(std::move(v)) {}
  Handle(Entries entries)
    requires(type_kind<K> == TypeKind::String)
      : HandleBase(string_map(unwrap(std::move(entries)))) {}
  Handle(std::initializer_list<typename Entries::value_type> entries)
    requires(type_kind<K> == TypeKind::String)
      : Handle(Entries(entries)) {}
  Handle(EnumEntries entries)
    requires(type_kind<K> == TypeKind::Enum)
      : HandleBase(enum_map(unwrap(std::move(entries)))) {}

 private:
  template <class Key>
  static std::vector<std::pair<Key, Value>> unwrap(std::vector<std::pair<Key, Handle<V>>>&& in) {
    std::vector<std::pair<Key, Value>> out;
    out.reserve(in.size());
    for (auto& [k, v] : in) out.emplace_back(std::move(k), std::move(v).value());
    return out;
  }
  static std::vector<std::pair<Value, Value>> unwrap(EnumEntries&& in) {
    std::vector<std::pair<Value, Value>> out;
    out.reserve(in.size());
    for (auto& [k, v] : in) out.emplace_back(std::move(k).value(), std::move(v).value());
    return out;
  }
};

// Absent by default; present when made from a value of T.
template <class T>
class Handle<Optional<T>> : public detail::HandleBase {
 public:
  Handle() noexcept = default;
  Handle(Unchecked, Value v) noexcept : HandleBase(std::move(v)) {}
  Handle(Handle<T> present) noexcept : HandleBase(std::move(present).value()) {}
};

// A record's required field: a handle without a default, so that a designated initialiser that
// leaves the field out, or gives it `{}`, does not compile.
template <class T>
class RequiredHandle : public Handle<T> {
 public:
  RequiredHandle() = delete;
  using Handle<T>::Handle;
  RequiredHandle(Handle<T> h) noexcept : Handle<T>(std::move(h)) {}
};

// The member type of a record field of type T.
template <class T>
using FieldHandle =
    std::conditional_t<presence_of<T> == Presence::Required, RequiredHandle<T>, Handle<T>>;

static_assert(sizeof(Handle<String>) == sizeof(Value));
static_assert(sizeof(Handle<List<String>>) == sizeof(Value));

// --- Making values of declared types -----------------------------------------------------------

namespace detail {

// A record's fields in the shape the runtime's record payload takes, its own names aside.
template <class R>
struct RecordFields {
  R&& fields;
  static constexpr const TypeDesc& desc = R::qc_desc_;
  static constexpr uint32_t field_count = R::qc_desc_.field_count;
  void move_into(Value* slots) && { R::qc_move_(std::move(fields), slots); }
};

// Whether a variant's payload is a record held inline in the union node. A union may hold
// itself (through "not" of a query), so its own name is answered before its kind is asked.
template <class Payload, class Self>
constexpr bool record_payload() {
  if constexpr (std::is_same_v<Payload, Self>)
    return false;
  else
    return type_kind<Payload> == TypeKind::Record;
}
template <class Payload, class Self>
constexpr const TypeDesc* payload_record() {
  if constexpr (record_payload<Payload, Self>())
    return &Payload::qc_desc_;
  else
    return nullptr;
}
// A variant's prefix followed by its record's brace and first key, as one constant text.
template <FixedText Prefix, class Record>
struct Opening {
  static constexpr std::string_view key = Record::qc_fields_[0].key;
  static constexpr size_t size = Prefix.view().size() + 1 + key.size();
  static constexpr auto text = [] {
    std::array<char, size> out{};
    size_t n = 0;
    for (char c : Prefix.view()) out[n++] = c;
    out[n++] = '{';
    for (char c : key) out[n++] = c;
    return out;
  }();
};
template <FixedText Prefix, class Payload, class Self>
constexpr std::string_view opening() {
  if constexpr (record_payload<Payload, Self>())
    if constexpr (Payload::qc_desc_.field_count > 0 &&
                  Payload::qc_fields_[0].presence == Presence::Required)
      return {Opening<Prefix, Payload>::text.data(), Opening<Prefix, Payload>::size};
  return {};
}
// A record payload is given as its fields; any other payload as a handle.
template <class Payload, class Self>
using PayloadArg = std::conditional_t<record_payload<Payload, Self>(), Payload, Handle<Payload>>;

template <class U, class P>
Handle<U> make_variant(typename U::Variant variant, P&& payload) {
  const auto index = static_cast<uint16_t>(variant);
  if constexpr (std::is_base_of_v<HandleBase, std::remove_cvref_t<P>>)
    return {unchecked, make_union(U::qc_desc_, index, std::move(payload).value())};
  else
    return {unchecked, make_union(U::qc_desc_, index, RecordFields<P>{std::move(payload)})};
}

}  // namespace detail

// A record value made on its own, for a field or a list that holds the record.
template <class R>
  requires(type_kind<R> == TypeKind::Record)
Handle<R> build(R fields) {
  return {unchecked, make_record(detail::RecordFields<R>{std::move(fields)})};
}

// The unknown variant of a union: a name this model does not know and its JSON value.
template <class U>
  requires(type_kind<U> == TypeKind::Union)
Handle<U> unknown(std::string_view name, const Any& value) {
  return {unchecked, make_unknown(U::qc_desc_, name, value)};
}

// The unknown value of an enumeration: any text it does not list, written back verbatim.
template <class E>
  requires(type_kind<E> == TypeKind::Enum)
Handle<E> unknown(std::string_view text) {
  return {unchecked, Value::str(text)};
}

}  // namespace qc
