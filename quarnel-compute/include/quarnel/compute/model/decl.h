// Declaring a node type: one X-macro list per type, expanded into a struct and its constant
// table. Nothing per type is written by hand beyond the list itself.
//
//   #define QC_ADD_FIELDS(F) F(left, "left", Required) F(right, "right", Required)
//   QC_RECORD(Add, QC_ADD_FIELDS)
//
//   #define QC_NUMERIC_SERIES_VARIANTS(V) V(abs, "abs", Abs) V(add, "add", Add) ...
//   QC_UNION(NumericSeries, QC_NUMERIC_SERIES_VARIANTS)
//
//   #define QC_TIME_UNIT_VALUES(E) E(days, "DAYS") E(hours, "HOURS") ...
//   QC_ENUM(TimeUnit, QC_TIME_UNIT_VALUES)
//
// A record is built with designated initialisers, `Add{.left = a, .right = b}`; a field left
// out stays empty (absent or, for a collection, empty). A union value is built with
// `NumericSeries::make(NumericSeries::add, Add{...})`; a payload that is a record is stored
// inline in the union's node, any other payload (a union, a scalar, a collection) as a Value.
// A variant's payload type in the list is the C++ type: a record, a union, or `::qc::Value`
// for a scalar or collection payload.
#pragma once

#include "quarnel/compute/model/value.h"

#define QC_KEY_(key) "\"" key "\":"

#define QC_FIELD_MEMBER_(id, key, presence) ::qc::Value id;
#define QC_FIELD_DESC_(id, key, presence) \
  ::qc::FieldDesc{QC_KEY_(key), ::qc::Presence::presence},
#define QC_FIELD_MOVE_(id, key, presence) new (slot++)::qc::Value(std::move(id));
#define QC_FIELD_COUNT_(id, key, presence) +1
#define QC_FIELD_CHECK_(id, key, presence)                                  \
  static_assert(::qc::detail::plain_text(key), "key needs escaping: " key); \
  static_assert(sizeof(key) - 1 <= ::qc::kMaxWireName, "key too long: " key);

#define QC_RECORD(Name, FIELDS)                                                         \
  struct Name {                                                                         \
    FIELDS(QC_FIELD_MEMBER_)                                                            \
    static constexpr uint32_t field_count = 0 FIELDS(QC_FIELD_COUNT_);                  \
    static constexpr ::qc::FieldDesc fields_[field_count + 1] = {        \
        FIELDS(QC_FIELD_DESC_)::qc::FieldDesc{std::string_view{}, ::qc::Presence::Required}}; \
    static constexpr ::qc::TypeDesc desc{::qc::Kind::Record, #Name, fields_, field_count}; \
    void move_into([[maybe_unused]] ::qc::Value* slot) && { FIELDS(QC_FIELD_MOVE_) }    \
    ::qc::Value build() && { return ::qc::make_record(std::move(*this)); }              \
    FIELDS(QC_FIELD_CHECK_)                                                             \
  };

#define QC_VARIANT_TAG_(id, name, Payload) id,
#define QC_VARIANT_DESC_(id, name, Payload)                           \
  ::qc::VariantDesc{"{\"type\":\"" name "\",\"" name "\":",           \
                    ::qc::detail::inline_record<Payload>()},
#define QC_VARIANT_COUNT_(id, name, Payload) +1
#define QC_VARIANT_CHECK_(id, name, Payload)                                            \
  static_assert(::qc::detail::plain_text(name), "variant name needs escaping: " name); \
  static_assert(sizeof(name) - 1 <= ::qc::kMaxWireName, "variant name too long: " name);

#define QC_UNION(Name, VARIANTS)                                                             \
  struct Name {                                                                              \
    enum Variant : uint16_t { VARIANTS(QC_VARIANT_TAG_) };                                   \
    static constexpr uint32_t variant_count = 0 VARIANTS(QC_VARIANT_COUNT_);                 \
    static constexpr ::qc::VariantDesc variants_[variant_count + 1] = {                      \
        VARIANTS(QC_VARIANT_DESC_)::qc::VariantDesc{std::string_view{}, nullptr}};                                                         \
    static constexpr ::qc::TypeDesc desc{::qc::Kind::Union, #Name, nullptr, 0, variants_,    \
                                         variant_count};                                    \
    template <class P>                                                                       \
    static ::qc::Value make(Variant v, P&& payload) {                                        \
      return ::qc::make_union(desc, v, std::forward<P>(payload));                            \
    }                                                                                        \
    static ::qc::Value unknown(std::string_view name, const ::qc::Any& value) {              \
      return ::qc::make_unknown(desc, name, value);                                          \
    }                                                                                        \
    VARIANTS(QC_VARIANT_CHECK_)                                                              \
  };

#define QC_ENUM_TAG_(id, text) id,
#define QC_ENUM_TEXT_(id, text) std::string_view{"\"" text "\""},
#define QC_ENUM_COUNT_(id, text) +1
#define QC_ENUM_CHECK_(id, text)                                                 \
  static_assert(::qc::detail::plain_text(text), "enum value needs escaping: " text); \
  static_assert(sizeof(text) - 1 <= ::qc::kMaxWireName, "enum value too long: " text);

#define QC_ENUM(Name, VALUES)                                                              \
  struct Name {                                                                            \
    enum Tag : uint16_t { VALUES(QC_ENUM_TAG_) };                                          \
    static constexpr uint32_t value_count = 0 VALUES(QC_ENUM_COUNT_);                      \
    static constexpr std::string_view values_[value_count] = {VALUES(QC_ENUM_TEXT_)};      \
    static constexpr ::qc::EnumDesc desc{#Name, values_, value_count};                     \
    static ::qc::Value make(Tag t) noexcept { return ::qc::Value::enumeration(&desc, t); } \
    /* Any string the enumeration does not list; written back verbatim. */                 \
    static ::qc::Value unknown(std::string_view text) { return ::qc::Value::str(text); }   \
    static ::qc::EnumRead deserialize(std::string_view json_text) {                        \
      return ::qc::read_enum(desc, json_text);                                             \
    }                                                                                      \
    VALUES(QC_ENUM_CHECK_)                                                                 \
  };
