// Declaring a model type: one X-macro list per type, expanded into a struct and its constant
// tables. Each field and each variant names its model type (handle.h); nothing per type is
// written by hand beyond the list itself.
//
//   #define QC_FIELDS(F) ...
//     F(left, "left", NumericSeries) ...
//     F(right, "right", NumericSeries)
//   QC_RECORD(Add, QC_FIELDS)
//   #undef QC_FIELDS
//
// (each `...` a space and a backslash), and likewise `V(add, "add", Add)` entries of a
// `QC_VARIANTS(V)` list for `QC_UNION(NumericSeries, QC_VARIANTS)`, and `E(days, "DAYS")` entries
// of a `QC_VALUES(E)` list for `QC_ENUM(TimeUnit, QC_VALUES)`.
//
// A list takes one entry per line, each line but the last ending in a single space and a
// backslash; a list of one entry may share its #define's line. The formatter leaves macro bodies
// as they are written (.clang-format: SkipMacroDefinitionBody), so a new entry is one new line,
// whatever its length. Each entry writes its wire name out, even where it equals the identifier:
// a grep for a name seen on the wire finds its declaration, and the names that differ
// (`operator_` for "operator", a value's lower-case identifier) take the same form. An
// enumeration value's identifier is its wire text in lower case, with a trailing `_` where that
// is a C++ keyword; any other name does not compile.
//
// A field's presence follows from its type: an Optional is left out when absent (an Optional
// list or map is written even when empty), a List, Set or Map is left out when empty, anything
// else is always written. A record is filled with designated initialisers, `Add{.left = a,
// .right = b}`: a field that is always written has no default, so leaving it out does not
// compile, and any other field left out stays unset. A union value is made by the constructor of
// its variant, `NumericSeries::add({.left = a, .right = b})`, which takes a record payload as its
// fields (held inline in the union's node) and any other payload as a handle. Beyond the
// fields, the variant constructors and the `Variant` and `Enumerator` enumerations, every name the
// macros add to a type begins with `qc_`, so no field or variant can collide with one.
//
// A family of types takes two headers. `family.h` declares its records and enumerations, and
// names any union by a forward declaration alone: a field's type need not be complete.
// `family_unions.h` declares its unions, after including the headers of every record and
// enumeration their variants hold, which must be complete to tell an inline record payload
// from a handle. So types of different families may refer to one another without an include
// cycle. A family that declares no union, or nothing but unions, has one of the two alone.
#pragma once

#include <cstddef>
#include <string_view>

#include "quarnel/compute/model/handle.h"

namespace qc::detail {
// Whether id is text in lower case, less a trailing `_`.
constexpr bool lower_case_of(std::string_view id, std::string_view text) {
  if (id.ends_with('_')) id.remove_suffix(1);
  if (id.size() != text.size()) return false;
  for (size_t i = 0; i < id.size(); ++i) {
    char c = text[i] >= 'A' && text[i] <= 'Z' ? char(text[i] - 'A' + 'a') : text[i];
    if (id[i] != c) return false;
  }
  return true;
}
}  // namespace qc::detail

#define QC_KEY_(key) "\"" key "\":"
#define QC_COUNT_(...) +1
#define QC_TYPE_(id, wire, ...) __VA_ARGS__,
#define QC_CHECK_NAME_(id, wire, ...) \
  static_assert(::qc::detail::plain_text(wire), "wire name needs escaping: " wire); \
  static_assert(sizeof(wire) - 1 <= ::qc::kMaxWireName, "wire name too long: " wire);

#define QC_FIELD_MEMBER_(id, key, ...) ::qc::FieldHandle<__VA_ARGS__> id;
#define QC_FIELD_DESC_(id, key, ...) ::qc::FieldDesc{QC_KEY_(key), ::qc::presence_of<__VA_ARGS__>},
#define QC_FIELD_MOVE_(id, key, ...) new (qc_slots_++)::qc::Value(std::move(qc_record_.id).value());

#define QC_RECORD(Name, FIELDS) \
  struct Name { \
    FIELDS(QC_FIELD_MEMBER_) \
    static constexpr ::qc::TypeKind qc_kind_ = ::qc::TypeKind::Record; \
    static constexpr ::qc::FieldDesc qc_fields_[] = {FIELDS(QC_FIELD_DESC_)::qc::FieldDesc{}}; \
    static constexpr ::qc::TypeDesc qc_desc_{::qc::Shape::Record, #Name, qc_fields_, \
                                             0 FIELDS(QC_COUNT_)}; \
    using qc_parts_ = ::qc::detail::Types<FIELDS(QC_TYPE_)::qc::detail::End>; \
    static void qc_move_([[maybe_unused]] Name&& qc_record_, \
                         [[maybe_unused]] ::qc::Value* qc_slots_) noexcept { \
      FIELDS(QC_FIELD_MOVE_) \
    } \
    FIELDS(QC_CHECK_NAME_) \
  };

#define QC_VARIANT_ID_(id, name, ...) id,
#define QC_PREFIX_(name) "{\"type\":\"" name "\",\"" name "\":"
#define QC_VARIANT_DESC_(id, name, ...) \
  ::qc::VariantDesc{QC_PREFIX_(name), ::qc::detail::payload_record<__VA_ARGS__, qc_self_>(), \
                    ::qc::detail::opening<QC_PREFIX_(name), __VA_ARGS__, qc_self_>()},
#define QC_VARIANT_MAKE_(id, name, ...) \
  static ::qc::Handle<qc_self_> id(::qc::detail::PayloadArg<__VA_ARGS__, qc_self_> qc_p_) { \
    return ::qc::detail::make_variant<qc_self_>(Variant::id, std::move(qc_p_)); \
  }

#define QC_UNION(Name, VARIANTS) \
  struct Name { \
    using qc_self_ = Name; \
    static constexpr ::qc::TypeKind qc_kind_ = ::qc::TypeKind::Union; \
    enum class Variant : uint16_t { VARIANTS(QC_VARIANT_ID_) }; \
    static constexpr ::qc::VariantDesc qc_variants_[] = { \
        VARIANTS(QC_VARIANT_DESC_)::qc::VariantDesc{}}; \
    static constexpr ::qc::TypeDesc qc_desc_{ \
        ::qc::Shape::Union, #Name, nullptr, 0, qc_variants_, 0 VARIANTS(QC_COUNT_)}; \
    using qc_parts_ = ::qc::detail::Types<VARIANTS(QC_TYPE_)::qc::detail::End>; \
    VARIANTS(QC_VARIANT_MAKE_) \
    VARIANTS(QC_CHECK_NAME_) \
  };

#define QC_ENUM_ID_(id, text) id,
#define QC_ENUM_TEXT_(id, text) std::string_view{"\"" text "\""},
#define QC_ENUM_CHECK_(id, text) \
  static_assert(::qc::detail::lower_case_of(#id, text), \
                "name an enumeration value by its wire text in lower case: " text);

#define QC_ENUM(Name, VALUES) \
  struct Name { \
    static constexpr ::qc::TypeKind qc_kind_ = ::qc::TypeKind::Enum; \
    enum Enumerator : uint16_t { VALUES(QC_ENUM_ID_) }; \
    static constexpr std::string_view qc_values_[] = {VALUES(QC_ENUM_TEXT_)}; \
    static constexpr ::qc::EnumDesc qc_enum_{#Name, qc_values_, 0 VALUES(QC_COUNT_)}; \
    VALUES(QC_CHECK_NAME_) \
    VALUES(QC_ENUM_CHECK_) \
  };
