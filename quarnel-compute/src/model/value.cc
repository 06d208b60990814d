// Allocation, release, collections and the StringConstant order of model values.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/value.h"

namespace qc {
namespace {

// Small blocks go through a bounded per-thread cache in front of malloc. Building an
// expression makes and drops many short-lived nodes (an operator's operands, the three nodes of
// a constant, the previous link of a chain), and malloc's general path costs more than the rest
// of making a node. A block's class is its malloc chunk (usable 16k + 8 bytes), so a cached
// block costs no more memory than malloc would give it, and the cache's bound keeps a released
// tree's memory flowing back to malloc.
constexpr size_t kBlockClasses = 8;   // usable sizes 24, 40, ... 136 bytes
constexpr uint32_t kCacheDepth = 128;  // blocks kept per class

struct FreeBlock {
  FreeBlock* next;
};

struct BlockCache {
  FreeBlock* head[kBlockClasses];
  uint32_t depth[kBlockClasses];
  bool armed;   // the closer below is registered for this thread
  bool closed;  // the thread is ending: blocks go straight back to malloc
};
// Trivially destructible and zero-initialised, so using it costs no initialisation check.
thread_local BlockCache t_blocks;

// Returns the cached blocks to malloc when the thread ends.
struct BlockCacheCloser {
  ~BlockCacheCloser() {
    BlockCache& c = t_blocks;
    c.closed = true;
    for (size_t k = 0; k < kBlockClasses; ++k) {
      while (FreeBlock* b = c.head[k]) {
        c.head[k] = b->next;
        std::free(b);
      }
      c.depth[k] = 0;
    }
  }
  void arm() noexcept { t_blocks.armed = true; }
};
thread_local BlockCacheCloser t_blocks_closer;

// Class k holds blocks of 16k + 8 usable bytes; 0 for anything too large.
inline size_t block_class(size_t bytes) {
  size_t k = bytes <= 24 ? 1 : (bytes - 8 + 15) / 16;
  return k <= kBlockClasses ? k : 0;
}

void* alloc_block(size_t bytes) {
  size_t k = block_class(bytes);
  if (k) {
    BlockCache& c = t_blocks;
    if (FreeBlock* b = c.head[k - 1]) {
      c.head[k - 1] = b->next;
      --c.depth[k - 1];
      return b;
    }
    bytes = 16 * k + 8;
  }
  void* p = std::malloc(bytes);
  if (!p) throw std::bad_alloc();
  return p;
}

// The first use constructs the closer, which registers its destructor for this thread.
[[gnu::noinline, gnu::cold]] void arm_closer() noexcept { t_blocks_closer.arm(); }

void free_block(void* p, size_t bytes) noexcept {
  size_t k = block_class(bytes);
  if (k) {
    BlockCache& c = t_blocks;
    if (c.depth[k - 1] < kCacheDepth && !c.closed) {
      if (!c.armed) arm_closer();
      auto* b = static_cast<FreeBlock*>(p);
      b->next = c.head[k - 1];
      c.head[k - 1] = b;
      ++c.depth[k - 1];
      return;
    }
  }
  std::free(p);
}

size_t payload_bytes(const Heap* h) {
  switch (h->type) {
    case Heap::Type::Node:
      return sizeof(Value) * size_t(h->count);
    case Heap::Type::Str:
      return size_t(h->count) + 1;
    case Heap::Type::Any:
      break;
  }
  return sizeof(Any);
}

void free_heap(Heap* h) noexcept { free_block(h, sizeof(Heap) + payload_bytes(h)); }

Heap* alloc_heap(Heap::Type type, size_t payload_bytes) {
  Heap* h = static_cast<Heap*>(alloc_block(sizeof(Heap) + payload_bytes));
  new (&h->refs) std::atomic<size_t>(1);
  h->type = type;
  h->variant = 0;
  h->count = 0;
  h->desc = nullptr;
  return h;
}

// The bytes of a StringConstant: literal/variable text, or the unknown variant's name.
int compare_bytes(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  int c = n ? std::memcmp(a.data(), b.data(), n) : 0;
  if (c != 0) return c;
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// Variant rank of a StringConstant: declared variants first, then the unknown variant.
uint32_t rank(const Value& v) {
  return v.variant() == kUnknownVariant ? 0x10000u : v.variant();
}

}  // namespace

const TypeDesc kListDesc{Kind::List, "list"};
const TypeDesc kSetDesc{Kind::Set, "set"};
const TypeDesc kMapDesc{Kind::Map, "map"};

// Destroys without recursion: blocks whose count drops to zero are chained through their
// header and freed in a loop, so a tree of any depth is released in constant stack.
void release_heap(const Heap* first) noexcept {
  Heap* pending = const_cast<Heap*>(first);
  pending->next = nullptr;
  while (pending) {
    Heap* h = pending;
    pending = h->next;
    if (h->type == Heap::Type::Node) {
      Value* s = reinterpret_cast<Value*>(h + 1);
      for (uint32_t i = 0; i < h->count; ++i) {
        Value& v = s[i];
        if (v.tag() >= Tag::Str) {
          Heap* c = const_cast<Heap*>(v.heap());
          if (drop_ref(c)) {
            c->next = pending;
            pending = c;
          }
        }
      }
    } else if (h->type == Heap::Type::Any) {
      reinterpret_cast<Any*>(h + 1)->~Any();
    }
    free_heap(h);
  }
}

Value Value::str(std::string_view s) {
  Heap* h = alloc_heap(Heap::Type::Str, s.size() + 1);
  h->count = static_cast<uint32_t>(s.size());
  if (s.size() != h->count) {
    free_block(h, sizeof(Heap) + s.size() + 1);
    throw std::length_error("string too long");
  }
  char* d = reinterpret_cast<char*>(h + 1);
  if (!s.empty()) std::memcpy(d, s.data(), s.size());
  d[s.size()] = '\0';
  return adopt(h, Tag::Str);
}

Value Value::any(const Any& a) {
  Heap* h = alloc_heap(Heap::Type::Any, sizeof(Any));
  try {
    new (h + 1) Any(a);
  } catch (...) {
    free_heap(h);
    throw;
  }
  return adopt(h, Tag::Any);
}

const Any& Value::as_any() const noexcept { return *reinterpret_cast<const Any*>(h_ + 1); }

Value* new_node(const TypeDesc* desc, uint16_t variant, uint32_t count, Value& out) {
  Heap* h = alloc_heap(Heap::Type::Node, sizeof(Value) * size_t(count));
  h->desc = desc;
  h->variant = variant;
  h->count = count;
  Value* s = reinterpret_cast<Value*>(h + 1);
  for (uint32_t i = 0; i < count; ++i) new (s + i) Value();
  out = Value::adopt(h, Tag::Node);
  return s;
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
  for (uint32_t i = 0; i < expected->field_count; ++i) s[i] = record[i];
  return out;
}

Value make_unknown(const TypeDesc& u, std::string_view name, const Any& value) {
  Value name_v = Value::str(name);
  Value any_v = Value::any(value);
  Value out;
  Value* s = new_node(&u, kUnknownVariant, 2, out);
  s[0] = std::move(name_v);
  s[1] = std::move(any_v);
  return out;
}

namespace {
Value collection(const TypeDesc* desc, std::vector<Value>&& items) {
  if (items.size() > UINT32_MAX) throw std::length_error("collection too long");
  Value out;
  Value* s = new_node(desc, 0, static_cast<uint32_t>(items.size()), out);
  for (auto& v : items) *s++ = std::move(v);
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
  return map_from_sorted(std::move(vs), [](const Value& a, const Value& b) {
    return a.as_str() == b.as_str();
  });
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
