// Allocation, release, collections and the StringConstant order of model values.
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "model/block_cache.h"
#include "quarnel/compute/model/value.h"

namespace qc {
namespace {

inline size_t node_bytes(uint32_t count) noexcept { return sizeof(Heap) + sizeof(Value) * count; }
inline size_t str_bytes(size_t length) noexcept {
  return sizeof(Heap) + sizeof(size_t) + length + 1;
}
constexpr size_t kAnyBytes = sizeof(Heap) + sizeof(Any);

// Allocates a block of `bytes` holding one reference.
[[gnu::always_inline]] inline Heap* alloc_heap(size_t bytes) {
  auto* h = static_cast<Heap*>(take_block(bytes));
  if (!h) throw std::bad_alloc();
  new (&h->refs) std::atomic<uint32_t>(1);
  h->count = 0;
  return h;
}

[[gnu::always_inline]] inline void free_heap(BlockCache& c, Heap* h, size_t bytes) noexcept {
  give_block(c, h, bytes);
}

// Frees a block that holds no values: a long string or an Any.
void free_leaf(BlockCache& c, Heap* h, Tag tag) noexcept {
  if (tag == Tag::Any) {
    reinterpret_cast<Any*>(h + 1)->~Any();
    return free_heap(c, h, kAnyBytes);
  }
  free_heap(c, h, str_bytes(*reinterpret_cast<const size_t*>(h + 1)));
}

// Where the release of a node stands while it releases a child: the node's first slot (already
// released) holds the next slot to look at and the count, and its header the node it is a child
// of.
struct Place {
  uint32_t next, count;
};

// The bytes of a StringConstant: literal/variable text, or the unknown variant's name.
int compare_bytes(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  int c = n ? std::memcmp(a.data(), b.data(), n) : 0;
  if (c != 0) return c;
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// Variant rank of a StringConstant: declared variants first, then the unknown variant.
uint32_t rank(const Value& v) { return v.variant() == kUnknownVariant ? 0x10000u : v.variant(); }

}  // namespace

const TypeDesc kListDesc{Shape::List, "list"};
const TypeDesc kSetDesc{Shape::Set, "set"};
const TypeDesc kMapDesc{Shape::Map, "map"};

void pin_refs(const Heap* h) noexcept { h->refs.store(kPinnedRefs, std::memory_order_relaxed); }

// Destroys without recursion or allocation: on reaching a child that dies too, the walk goes
// down into it, leaving in the parent the way back (see Place), and returns when the child is
// freed; a tree of any depth is released in constant stack.
void release_heap(const Heap* first, Tag tag) noexcept {
  BlockCache& cache = thread_block_cache();
  Heap* h = const_cast<Heap*>(first);
  if (tag != Tag::Node) return free_leaf(cache, h, tag);
  Heap* parent = nullptr;
  uint32_t i = 0, n = h->count;
  for (;;) {
    Value* s = reinterpret_cast<Value*>(h + 1);
    while (i < n) {
      const Value& v = s[i++];
      if (!v.holds_heap()) continue;
      Heap* c = const_cast<Heap*>(v.heap());
      if (!drop_ref(c)) continue;
      if (v.tag() != Tag::Node) {
        free_leaf(cache, c, v.tag());
        continue;
      }
      Place here{i, n};
      std::memcpy(static_cast<void*>(s), &here, sizeof here);
      std::memcpy(static_cast<void*>(h), &parent, sizeof parent);
      parent = h;
      h = c;
      i = 0;
      n = c->count;
      s = reinterpret_cast<Value*>(h + 1);
    }
    free_heap(cache, h, node_bytes(n));
    if (!parent) return;
    h = parent;
    std::memcpy(&parent, static_cast<const void*>(h), sizeof parent);
    Place back;
    std::memcpy(&back, static_cast<const void*>(h + 1), sizeof back);
    i = back.next;
    n = back.count;
  }
}

Value Value::str(std::string_view s) {
  if (s.size() <= kInlineText) {
    Value v(Tag::Str, uint64_t(kInlineFlag) | uint64_t(s.size()) << 8, 0);
    if (!s.empty()) std::memcpy(reinterpret_cast<char*>(&v) + 2, s.data(), s.size());
    return v;
  }
  Heap* h = alloc_heap(str_bytes(s.size()));
  auto* length = reinterpret_cast<size_t*>(h + 1);
  *length = s.size();
  char* d = reinterpret_cast<char*>(length + 1);
  if (!s.empty()) std::memcpy(d, s.data(), s.size());
  d[s.size()] = '\0';
  return adopt(h, Tag::Str);
}

Value Value::any(const Any& a) {
  Heap* h = alloc_heap(kAnyBytes);
  try {
    new (h + 1) Any(a);
  } catch (...) {
    free_heap(thread_block_cache(), h, kAnyBytes);
    throw;
  }
  return adopt(h, Tag::Any);
}

const Any& Value::as_any() const noexcept { return *reinterpret_cast<const Any*>(h_ + 1); }

[[gnu::cold, noreturn]] void desc_out_of_range(const TypeDesc* desc) {
  throw std::logic_error("type table of " + std::string(desc->name) +
                         " lies too far from the others");
}

Value* new_node(const TypeDesc* desc, uint16_t variant, uint32_t count, Value& out) {
  intptr_t offset = reinterpret_cast<intptr_t>(desc) - reinterpret_cast<intptr_t>(&kListDesc);
  if (offset != intptr_t(int32_t(offset))) desc_out_of_range(desc);
  Heap* h = alloc_heap(node_bytes(count));
  h->count = count;
  out = Value::adopt_node(h, int32_t(offset), variant);
  return reinterpret_cast<Value*>(h + 1);
}

namespace detail {
void bad_payload(const TypeDesc& u, uint16_t variant) {
  throw std::logic_error("payload does not match variant " + std::to_string(variant) + " of " +
                         std::string(u.name));
}
}  // namespace detail

Value union_from_record(const TypeDesc& u, uint16_t variant, const Value& record) {
  const TypeDesc* expected = u.variants[variant].record;
  if (record.tag() != Tag::Node || &record.desc() != expected) detail::bad_payload(u, variant);
  Value out;
  Value* s = new_node(&u, variant, expected->field_count, out);
  for (uint32_t i = 0; i < expected->field_count; ++i) new (s + i) Value(record[i]);
  return out;
}

namespace {
// Whether a payload is a union held in place by the union around it.
bool folds(const Value& payload) {
  return payload.tag() == Tag::Node && payload.desc().shape == Shape::Union &&
         payload.variant() != kUnknownVariant && payload.size() <= kInPlaceSlots;
}
}  // namespace

Value union_of_value(const TypeDesc& u, uint16_t variant, Value&& payload) {
  Value out;
  if (folds(payload)) {
    uint32_t n = payload.size();
    Value* s = new_node(&u, variant, n + 1, out);
    new (s) Value(Value::in_place(&payload.desc(), payload.variant()));
    Heap* h = const_cast<Heap*>(payload.heap());
    const Value* from = payload.slots();
    if (h->refs.load(std::memory_order_acquire) == 1) {
      // The only holder: the slots move over as they are and the emptied block goes.
      for (uint32_t i = 0; i < n; ++i)
        std::memcpy(static_cast<void*>(s + 1 + i), from + i, sizeof(Value));
      new (&payload) Value();
      free_heap(thread_block_cache(), h, node_bytes(n));
      return out;
    }
    for (uint32_t i = 0; i < n; ++i) new (s + 1 + i) Value(from[i]);
    return out;
  }
  Value* s = new_node(&u, variant, 1, out);
  new (s) Value(std::move(payload));
  return out;
}

Value folded_unions(std::span<const UnionLevel> levels, Value&& leaf, const FoldedChain* chain) {
  if (folds(leaf)) {  // seldom: a small union as the leaf folds in too, as union_of_value folds it
    for (size_t i = levels.size(); i-- > 0;)
      leaf = union_of_value(*levels[i].desc, levels[i].variant, std::move(leaf));
    return std::move(leaf);
  }
  // The outermost level's node holds each level inside it in place, then the leaf.
  Value out;
  auto n = uint32_t(levels.size());
  Value* s = new_node(levels[0].desc, levels[0].variant, n, out);
  for (uint32_t i = 1; i < n; ++i)
    new (s + i - 1)
        Value(Value::in_place(levels[i].desc, levels[i].variant, i == 1 ? chain : nullptr));
  new (s + n - 1) Value(std::move(leaf));
  return out;
}

Value make_unknown(const TypeDesc& u, std::string_view name, const Any& value) {
  Value name_v = Value::str(name);
  Value any_v = Value::any(value);
  Value out;
  Value* s = new_node(&u, kUnknownVariant, 2, out);
  new (s) Value(std::move(name_v));
  new (s + 1) Value(std::move(any_v));
  return out;
}

void collection_too_long() { throw std::length_error("collection too long"); }

namespace {
Value collection(const TypeDesc* desc, std::vector<Value>&& items) {
  if (items.size() > UINT32_MAX) collection_too_long();
  Value out;
  Value* s = new_node(desc, 0, static_cast<uint32_t>(items.size()), out);
  for (auto& v : items) new (s++) Value(std::move(v));
  return out;
}
}  // namespace

Value list(std::vector<Value> items) { return collection(&kListDesc, std::move(items)); }

Value string_set(std::vector<std::string> items) {
  std::sort(items.begin(), items.end(),
            [](const std::string& a, const std::string& b) { return compare_bytes(a, b) < 0; });
  items.erase(std::unique(items.begin(), items.end()), items.end());
  std::vector<Value> vs;
  vs.reserve(items.size());
  for (auto& s : items) vs.push_back(Value::str(s));
  return collection(&kSetDesc, std::move(vs));
}

bool string_constant_less(const Value& a, const Value& b) {
  uint32_t ra = rank(a), rb = rank(b);
  if (ra != rb) return ra < rb;
  int c = compare_bytes(a[0].as_str(), b[0].as_str());
  if (c != 0) return c < 0;
  if (a.variant() == kUnknownVariant) return a[1].as_any() < b[1].as_any();
  return false;
}

bool string_constant_equal(const Value& a, const Value& b) {
  if (a.variant() != b.variant()) return false;
  if (a[0].as_str() != b[0].as_str()) return false;
  if (a.variant() == kUnknownVariant) return a[1].as_any() == b[1].as_any();
  return true;
}

Value string_constant_set(std::vector<Value> items) {
  std::stable_sort(items.begin(), items.end(), string_constant_less);
  std::vector<Value> kept;
  kept.reserve(items.size());
  for (size_t i = 0; i < items.size(); ++i)
    if (i + 1 == items.size() || !string_constant_equal(items[i], items[i + 1]))
      kept.push_back(std::move(items[i]));
  return collection(&kSetDesc, std::move(kept));
}

namespace {
Value map_from_sorted(std::vector<std::pair<Value, Value>>&& entries,
                      bool (*same)(const Value&, const Value&)) {
  std::vector<Value> slots;
  slots.reserve(entries.size() * 2);
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i + 1 < entries.size() && same(entries[i].first, entries[i + 1].first)) continue;
    slots.push_back(std::move(entries[i].first));
    slots.push_back(std::move(entries[i].second));
  }
  return collection(&kMapDesc, std::move(slots));
}
}  // namespace

Value string_map(std::vector<std::pair<std::string, Value>> entries) {
  std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
    return compare_bytes(a.first, b.first) < 0;
  });
  std::vector<std::pair<Value, Value>> vs;
  vs.reserve(entries.size());
  for (auto& [k, v] : entries) vs.emplace_back(Value::str(k), std::move(v));
  return map_from_sorted(std::move(vs),
                         [](const Value& a, const Value& b) { return a.as_str() == b.as_str(); });
}

namespace {
// Known enumeration values by declaration order, then unknown ones (strings) by bytes.
int compare_enum_keys(const Value& a, const Value& b) {
  bool ka = a.tag() == Tag::Enum, kb = b.tag() == Tag::Enum;
  if (ka != kb) return ka ? -1 : 1;
  if (ka) return a.enum_index() < b.enum_index() ? -1 : a.enum_index() > b.enum_index() ? 1 : 0;
  return compare_bytes(a.as_str(), b.as_str());
}
}  // namespace

Value enum_map(std::vector<std::pair<Value, Value>> entries) {
  std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
    return compare_enum_keys(a.first, b.first) < 0;
  });
  return map_from_sorted(std::move(entries), [](const Value& a, const Value& b) {
    return compare_enum_keys(a, b) == 0;
  });
}

}  // namespace qc
