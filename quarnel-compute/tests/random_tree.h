// Random trees of the model's types, made from the types as data (ModelType) as the typed
// builders make them: unions of known and unknown variants (whose payloads are Any values),
// enumerations' listed values and unknown texts, maps keyed by text and by an enumeration, lists,
// sets, optional fields present and absent, and numbers folded into one node. A tree goes down a
// spine of a given length, past the depth the writer goes by type when that is long; off the
// spine it makes a bounded number of nodes, then leaves unions unknown and collections empty.
// The choices come from a function, so that a seeded generator or a fuzzer's input drives them.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "quarnel/compute/builders.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/registry.h"

namespace qc {

class RandomTree {
 public:
  // choose(n) gives a number below n.
  explicit RandomTree(std::function<uint64_t(uint64_t)> choose) : choose_(std::move(choose)) {}

  // The declared records and unions, each a root to make trees of.
  static const std::vector<const ModelType*>& roots() {
    static const std::vector<const ModelType*> all = [] {
      std::vector<const ModelType*> out;
      for (const ModelType* t : model::declared_types())
        if (t->kind != TypeKind::Enum) out.push_back(t);
      return out;
    }();
    return all;
  }

  // A value of type t, `spine` levels deep at least where the types let it go on; at most
  // `nodes` nodes off the spine.
  Value make(const ModelType& t, int spine, int nodes) {
    budget_ = nodes;
    return value(t, spine);
  }

 private:
  Value value(const ModelType& t, int spine) {
    const auto parts = t.part_types();
    switch (t.kind) {
      case TypeKind::Record:
        return record(t, spine);
      case TypeKind::Union:
        return union_of(t, spine);
      case TypeKind::Enum:
        if (choose_(5) == 0) return Value::str(text());
        return Value::enumeration(t.enumeration, uint32_t(choose_(t.enumeration->count)));
      case TypeKind::String:
        return Value::str(text());
      case TypeKind::I32:
        return Value::i32(int32_t(number()));
      case TypeKind::I64:
        return Value::i64(int64_t(number()));
      case TypeKind::F64:
        return Value::f64(real());
      case TypeKind::Bool:
        return Value::boolean(choose_(2));
      case TypeKind::Any:
        return Value::any(any(3));
      case TypeKind::Optional:
        if (spine <= 0 && choose_(3) == 0) return Value();
        return value(*parts[0], spine);
      case TypeKind::List:
      case TypeKind::Set:
      case TypeKind::Map:
        return collection(t, spine);
    }
    return Value();
  }

  // Whether a part can take the spine on without end: it reaches a type that holds itself.
  static bool goes_on(const ModelType& t) {
    enum State { Open, Bounded, Endless };  // Open: being worked out, on a cycle if met again
    static std::map<const ModelType*, State> known;
    auto [at, added] = known.try_emplace(&t, Open);
    if (!added) return at->second != Bounded;
    bool endless = false;
    for (const ModelType* part : t.part_types()) endless = goes_on(*part) || endless;
    known[&t] = endless ? Endless : Bounded;
    return endless;
  }

  // The index below n of the part that takes the spine on: a random one of those that can.
  size_t down(std::span<const ModelType* const> parts) {
    std::vector<size_t> on;
    for (size_t i = 0; i < parts.size(); ++i)
      if (goes_on(*parts[i])) on.push_back(i);
    return on.empty() ? parts.size() : on[choose_(on.size())];
  }

  Value record(const ModelType& t, int spine) {
    const auto parts = t.part_types();
    const size_t on = spine > 0 ? down(parts) : parts.size();
    --budget_;
    std::vector<Value> fields;
    for (size_t i = 0; i < parts.size(); ++i)
      fields.push_back(value(*parts[i], i == on ? spine - 1 : 0));
    Value out;
    Value* s = new_node(t.node, 0, uint32_t(fields.size()), out);
    for (Value& f : fields) new (s++) Value(std::move(f));
    return out;
  }

  Value union_of(const ModelType& t, int spine) {
    const TypeDesc& d = *t.node;
    if (spine <= 0 && (budget_ <= 0 || choose_(12) == 0)) return make_unknown(d, text(), any(3));
    if (spine <= 0 && &d == &model::NumericSeries::qc_desc_ && choose_(4) == 0)
      return builders::numeric_series_number(real()).value();
    --budget_;
    // On the spine, a variant whose payload takes it on, if a few tries find one.
    auto variant = uint16_t(choose_(d.variant_count));
    for (int i = 0; spine > 0 && i < 16 && !goes_on(*t.part_types()[variant]); ++i)
      variant = uint16_t(choose_(d.variant_count));
    const ModelType& payload = *t.part_types()[variant];
    if (d.variants[variant].record)
      return union_from_record(d, variant, record(payload, spine - 1));
    return union_of_value(d, variant, value(payload, spine - 1));
  }

  Value collection(const ModelType& t, int spine) {
    const auto parts = t.part_types();
    size_t n = budget_ > 0 ? choose_(4) : 0;
    if (spine > 0 && n == 0) n = 1;
    const size_t on = spine > 0 ? choose_(n) : n;
    --budget_;
    const ModelType& item = *parts.back();
    std::vector<Value> items;
    for (size_t i = 0; i < n; ++i) items.push_back(value(item, i == on ? spine - 1 : 0));
    if (t.kind == TypeKind::List) return list(std::move(items));
    if (t.kind == TypeKind::Set) {
      if (item.kind != TypeKind::String) return string_constant_set(std::move(items));
      std::vector<std::string> texts;
      for (const Value& v : items) texts.emplace_back(v.as_str());
      return string_set(std::move(texts));
    }
    if (parts[0]->kind == TypeKind::Enum) {
      std::vector<std::pair<Value, Value>> entries;
      for (Value& v : items) entries.emplace_back(value(*parts[0], 0), std::move(v));
      return enum_map(std::move(entries));
    }
    std::vector<std::pair<std::string, Value>> entries;
    for (Value& v : items) entries.emplace_back(text(), std::move(v));
    return string_map(std::move(entries));
  }

  std::string text() {
    static const char* const kPieces[] = {"a", "b", "\x1f", "\"", "\\", "\n", "\xc3\xa9", "/"};
    size_t n = choose_(8) == 0 ? 20 + choose_(200) : choose_(16);
    std::string out;
    for (size_t i = 0; i < n; ++i) out += kPieces[choose_(std::size(kPieces))];
    return out;
  }

  int64_t number() {
    static constexpr int64_t kNumbers[] = {0,    1,           -1,        99,       100,
                                           -100, 12345678901, INT64_MIN, INT64_MAX};
    return kNumbers[choose_(std::size(kNumbers))];
  }

  double real() {
    using Limits = std::numeric_limits<double>;
    static constexpr double kReals[] = {
        0.0, -0.0, 2.0, 0.5, -1e-7, 1e16, Limits::max(), -Limits::infinity(), Limits::quiet_NaN()};
    return kReals[choose_(std::size(kReals))];
  }

  Any any(int depth) {
    switch (choose_(depth > 0 ? 8 : 6)) {
      case 0:
        return nullptr;
      case 1:
        return bool(choose_(2));
      case 2:
        return number();
      case 3:
        return uint64_t(number());
      case 4:
        return real();
      case 5:
        return text();
      case 6: {
        Any out = Any::array();
        for (size_t i = choose_(4); i > 0; --i) out.push_back(any(depth - 1));
        return out;
      }
      default: {
        Any out = Any::object();
        for (size_t i = choose_(4); i > 0; --i) out[text()] = any(depth - 1);
        return out;
      }
    }
  }

  std::function<uint64_t(uint64_t)> choose_;
  int budget_ = 0;
};

// How many nodes deep v goes: each node is a level the typed writer takes.
inline int node_depth(const Value& v) {
  if (v.tag() != Tag::Node) return 0;
  int deepest = 0;
  for (uint32_t i = 0; i < v.size(); ++i) deepest = std::max(deepest, node_depth(v[i]));
  return deepest + 1;
}

}  // namespace qc
