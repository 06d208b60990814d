// Model values: immutable, reference-counted trees whose node types are constant tables.
//
// A node never changes after it is built, so a copy is a reference-count increment: copying
// a tree of any size costs O(1), and no holder can observe another's copy. Every node type is
// described by a constexpr TypeDesc (record fields with wire keys and presence, or union
// variants with pre-rendered wire names); one writer (model/json.h), one copy and one destructor
// serve them all, none of them recursing on the C stack beyond a fixed depth.
#pragma once

#include <atomic>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "quarnel/compute/model/output.h"

namespace qc {

// The value held by the unknown variant of every union.
using Any = nlohmann::json;

// How a node's slots are read: a record's fields, a union's payload, or a collection's items
// (a map's alternate keys and values).
enum class Shape : uint8_t { Record, Union, List, Set, Map };

// How a record field takes part in the wire form.
enum class Presence : uint8_t {
  Required,            // always written
  Optional,            // left out when absent
  Collection,          // list, set or map: left out when empty
  OptionalCollection,  // left out when absent, written even when empty
};

struct TypeDesc;

struct FieldDesc {
  std::string_view key;  // pre-rendered `"key":`
  Presence presence = Presence::Required;
};

struct VariantDesc {
  std::string_view prefix;           // pre-rendered `{"type":"name","name":`
  const TypeDesc* record = nullptr;  // payload record held inline in the union node, or null
  // The prefix, the record's brace and its first key, `{"type":"name","name":{"key":`, when
  // the record's first field is always written; else empty.
  std::string_view opening = {};
};

struct TypeDesc {
  Shape shape;
  std::string_view name;
  const FieldDesc* fields = nullptr;  // Record
  uint32_t field_count = 0;
  const VariantDesc* variants = nullptr;  // Union
  uint32_t variant_count = 0;
};

struct EnumDesc {
  std::string_view name;
  const std::string_view* values;  // pre-rendered `"VALUE"`, in declaration order
  uint32_t count;
};

// What a value holds. InPlaceUnion is internal to union nodes: a union held in place inside its
// parent union's node (see make_union), only met by reading the slots of a union node.
enum class Tag : uint8_t { None, Bool, I32, I64, F64, Enum, Str, Node, Any, InPlaceUnion };

class Value;

// Header of every shared block: a node (its slots follow), a long string (its length, then its
// bytes) or an Any. What a block holds, and a node's type and variant, are kept by the values
// that point at it, so that the header takes 8 bytes: a node of n slots is then exactly one of
// malloc's chunk sizes, and nothing of it is padding.
struct Heap {
  mutable std::atomic<uint32_t> refs;
  uint32_t count;  // node: slots
};

inline constexpr uint16_t kUnknownVariant = 0xFFFF;

// Releases a block whose last reference was dropped; tag says what it holds.
void release_heap(const Heap* h, Tag tag) noexcept;

// A count this high is never dropped: the block lives to the end of the process rather than
// letting 32 bits wrap (which would take billions of holders of one block).
inline constexpr uint32_t kPinnedRefs = 0xC0000000u;
[[gnu::cold]] void pin_refs(const Heap* h) noexcept;

inline void add_ref(const Heap* h) noexcept {
  if (h->refs.fetch_add(1, std::memory_order_relaxed) >= 0x80000000u) [[unlikely]]
    pin_refs(h);
}

// Drops one reference; true when it was the last. A sole holder skips the locked decrement:
// with one reference, no other thread can hold one to copy from, so the count cannot change
// under us. Most nodes die this way (temporaries, the inner nodes of a released tree).
inline bool drop_ref(const Heap* h) noexcept {
  uint32_t r = h->refs.load(std::memory_order_acquire);
  if (r == 1) return true;
  if (r >= 0x80000000u) [[unlikely]]
    return false;
  return h->refs.fetch_sub(1, std::memory_order_acq_rel) == 1;
}

// The types of the collections. Type tables are constants of the program, so a node's type is
// kept as a 32-bit distance from kListDesc (new_node checks that it fits).
extern const TypeDesc kListDesc;
extern const TypeDesc kSetDesc;
extern const TypeDesc kMapDesc;

// Clang passes and returns a value, and a handle over one, in two registers rather than
// through memory. Moving a value is a copy of its 16 bytes, so its address may change at a call
// (nothing keeps a value's address across one). Without this, a value made in a callee comes
// back as two 8-byte stores that clang's caller reads back as one 16-byte load, which the
// store cannot forward: building s.time_difference() took some 10% longer than GCC's build
// with fewer instructions; with this it takes a third less than before, a quarter less than
// GCC's build, and every row that builds nodes gains (benchmarks/compare.py). GCC has no such
// attribute, and copies a value as two words.
#if defined(__clang__)
#define QC_TRIVIAL_ABI [[clang::trivial_abi]]
#else
#define QC_TRIVIAL_ABI
#endif

// A chain of unions that one node holds (folded_unions), written as its levels' prefixes joined
// into one constant text (json.h makes it from the declarations).
struct FoldedChain {
  // Every level's `{"type":"name","name":`, outermost first; the text goes on past it, zero
  // bytes up to a whole kOpeningPiece (json.h).
  std::string_view opening;
  uint32_t levels = 0;
};

class QC_TRIVIAL_ABI Value {
 public:
  // The longest string held in the value itself rather than in a shared block.
  static constexpr size_t kInlineText = 14;

  Value() noexcept : head_(0), i_(0) {}
  Value(const Value& o) noexcept : head_(o.head_), i_(o.i_) {
    if (o.holds_heap()) add_ref(h_);
  }
  Value(Value&& o) noexcept : head_(o.head_), i_(o.i_) { o.head_ = 0; }
  Value& operator=(const Value& o) noexcept {
    Value tmp(o);
    swap(tmp);
    return *this;
  }
  Value& operator=(Value&& o) noexcept {
    Value tmp(std::move(o));
    swap(tmp);
    return *this;
  }
  ~Value() {
    if (holds_heap() && drop_ref(h_)) release_heap(h_, Tag(tag_byte()));
  }
  void swap(Value& o) noexcept {
    std::swap(head_, o.head_);
    std::swap(i_, o.i_);
  }

  static Value boolean(bool b) noexcept { return Value(Tag::Bool, 0, b ? 1 : 0); }
  static Value i32(int32_t v) noexcept { return Value(Tag::I32, 0, v); }
  static Value i64(int64_t v) noexcept { return Value(Tag::I64, 0, v); }
  static Value f64(double d) noexcept {
    Value v(Tag::F64, 0, 0);
    v.d_ = d;
    return v;
  }
  static Value str(std::string_view s);  // throws std::bad_alloc
  static Value any(const Any& a);
  static Value enumeration(const EnumDesc* e, uint32_t index) noexcept {
    Value v(Tag::Enum, uint64_t(index) << 32, 0);
    v.e_ = e;
    return v;
  }
  // Takes over one reference to h, a block holding a long string or an Any.
  static Value adopt(Heap* h, Tag tag) noexcept {
    Value v(tag, 0, 0);
    v.h_ = h;
    return v;
  }
  // Takes over one reference to h, a node of the given type and variant.
  static Value adopt_node(Heap* h, int32_t desc_offset, uint16_t variant) noexcept {
    Value v(Tag::Node, uint64_t(variant) << 16 | uint64_t(uint32_t(desc_offset)) << 32, 0);
    v.h_ = h;
    return v;
  }

  Tag tag() const noexcept { return Tag(tag_byte() & ~kInlineFlag); }
  // tag(), but for a string held in place, whose flag it keeps: a quicker test for the tags of
  // nodes and unions held in place.
  Tag flagged_tag() const noexcept { return Tag(tag_byte()); }
  bool is_none() const noexcept { return tag_byte() == 0; }
  bool as_bool() const noexcept { return i_ != 0; }
  int32_t as_i32() const noexcept { return static_cast<int32_t>(i_); }
  int64_t as_i64() const noexcept { return i_; }
  double as_f64() const noexcept { return d_; }
  // A short string lives in the value itself, so the view lasts as long as this value does
  // (not merely as long as some copy of it).
  std::string_view as_str() const noexcept {
    if (tag_byte() & kInlineFlag)
      return {reinterpret_cast<const char*>(this) + 2, uint8_t(head_ >> 8)};
    const auto* length = reinterpret_cast<const size_t*>(h_ + 1);
    return {reinterpret_cast<const char*>(length + 1), *length};
  }
  const EnumDesc* enum_desc() const noexcept { return e_; }
  uint32_t enum_index() const noexcept { return aux(); }
  const Any& as_any() const noexcept;
  // The shared block behind a node, a long string or an Any; null for anything else.
  const Heap* heap() const noexcept { return holds_heap() ? h_ : nullptr; }
  bool holds_heap() const noexcept {
    return uint8_t(tag_byte() - uint8_t(Tag::Str)) <= uint8_t(Tag::Any) - uint8_t(Tag::Str);
  }

  // Node access (tag() == Tag::Node). The type and variant are read from the value itself.
  const TypeDesc& desc() const noexcept {
    return *reinterpret_cast<const TypeDesc*>(reinterpret_cast<uintptr_t>(&kListDesc) +
                                              uintptr_t(intptr_t(int32_t(aux()))));
  }
  uint16_t variant() const noexcept { return uint16_t(head_ >> 16); }
  // The tag, type and variant in one word, the variant lowest: whether a value is a node of
  // type d with a variant below n is then one comparison, node_key() - node_key(d) < n.
  uint64_t node_key() const noexcept { return std::rotr(head_, 16); }
  static uint64_t node_key(const TypeDesc& d) noexcept {
    auto offset = reinterpret_cast<uintptr_t>(&d) - reinterpret_cast<uintptr_t>(&kListDesc);
    return std::rotr(uint64_t(Tag::Node) | uint64_t(uint32_t(offset)) << 32, 16);
  }
  uint32_t size() const noexcept { return h_->count; }
  const Value& operator[](uint32_t i) const noexcept { return slots()[i]; }
  const Value* slots() const noexcept { return reinterpret_cast<const Value*>(h_ + 1); }

  // A union held in place (tag() == Tag::InPlaceUnion): its type and variant; its payload is the
  // slots that follow this one. `chain`, when given, is the folded chain (json.h) whose node this
  // value is the first slot of; one too far from kListDesc to be kept as a distance is dropped,
  // and the chain is then written a level at a time.
  static Value in_place(const TypeDesc* desc, uint16_t variant,
                        const FoldedChain* chain = nullptr) noexcept {
    auto offset =
        intptr_t(reinterpret_cast<uintptr_t>(chain) - reinterpret_cast<uintptr_t>(&kListDesc));
    if (!chain || offset != intptr_t(int32_t(offset))) offset = 0;
    Value v(Tag::InPlaceUnion, uint64_t(variant) << 16 | uint64_t(uint32_t(offset)) << 32, 0);
    v.t_ = desc;
    return v;
  }
  const TypeDesc& in_place_desc() const noexcept { return *t_; }
  uint16_t in_place_variant() const noexcept { return uint16_t(head_ >> 16); }
  const FoldedChain* in_place_chain() const noexcept {
    if (!aux()) return nullptr;
    return reinterpret_cast<const FoldedChain*>(reinterpret_cast<uintptr_t>(&kListDesc) +
                                                uintptr_t(intptr_t(int32_t(aux()))));
  }

 private:
  static constexpr uint8_t kInlineFlag = 0x80;
  Value(Tag t, uint64_t head, int64_t i) noexcept : head_(uint64_t(t) | head), i_(i) {}
  uint8_t tag_byte() const noexcept { return uint8_t(head_); }
  uint32_t aux() const noexcept { return uint32_t(head_ >> 32); }

  // Byte 0: the Tag, with kInlineFlag for a string held in place; byte 1: that string's length;
  // bytes 2-3: the variant of a node or of a union held in place; bytes 4-7: an enumeration's
  // index, a node's type or an in-place union's folded chain as its distance from kListDesc. A
  // string held in place takes the 14 bytes from byte 2 on (so the tag is byte 0 in memory:
  // little-endian only).
  uint64_t head_;
  union {
    int64_t i_;
    double d_;
    Heap* h_;
    const EnumDesc* e_;
    const TypeDesc* t_;
  };
};

static_assert(std::endian::native == std::endian::little);
static_assert(sizeof(Value) == 16);

// Allocates a node and returns its `count` slots as raw memory: the caller constructs every
// slot (placement new, which cannot throw for a Value) before anything else can fail or read
// the node. Preparing every operand first keeps that window free of throwing code.
Value* new_node(const TypeDesc* desc, uint16_t variant, uint32_t count, Value& out);

// --- Collections ---------------------------------------------------------------------------

// A list keeps the caller's order and duplicates.
Value list(std::vector<Value> items);
// The list of the n values make(0), make(1)...: the node is made first, each slot empty until its
// value is made, so that a failure of make releases the values made before it.
[[noreturn]] void collection_too_long();
template <class Make>
Value make_list(size_t n, Make&& make) {
  if (n > UINT32_MAX) collection_too_long();
  Value out;
  Value* s = new_node(&kListDesc, 0, uint32_t(n), out);
  for (size_t i = 0; i < n; ++i) new (s + i) Value();
  for (size_t i = 0; i < n; ++i) s[i] = make(i);
  return out;
}
// A set of strings: ascending by bytes, duplicates dropped.
Value string_set(std::vector<std::string> items);
// A set of StringConstant: stable sort by the constant order, then each element equal to its
// successor dropped.
Value string_constant_set(std::vector<Value> items);
// A map keyed by string: ascending by the key's bytes; of equal keys the last one given wins.
Value string_map(std::vector<std::pair<std::string, Value>> entries);
// A map keyed by an enumeration: in the enumeration's declaration order, unknown keys after
// the known ones by their bytes; of equal keys the last one given wins.
Value enum_map(std::vector<std::pair<Value, Value>> entries);

// Order and equality of StringConstant values.
bool string_constant_less(const Value& a, const Value& b);
bool string_constant_equal(const Value& a, const Value& b);

// --- Records and unions ----------------------------------------------------------------------

namespace detail {

template <class P>
concept RecordPayload = requires(P p, Value* s) {
  { P::desc.shape } -> std::convertible_to<Shape>;
  std::move(p).move_into(s);
  P::field_count;
};

template <class P>
constexpr const TypeDesc* inline_record() {
  if constexpr (RecordPayload<P>)
    return &P::desc;
  else
    return nullptr;
}

[[noreturn]] void bad_payload(const TypeDesc& u, uint16_t variant);

constexpr bool plain_text(std::string_view s) {
  for (char c : s)
    if (c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20) return false;
  return true;
}

}  // namespace detail

template <class R>
  requires detail::RecordPayload<R>
Value make_record(R&& r) {
  Value out;
  Value* s = new_node(&R::desc, 0, R::field_count, out);
  std::move(r).move_into(s);
  return out;
}

// Makes a union value from a record value already built on its own: the record's fields are
// shared into the union's node.
Value union_from_record(const TypeDesc& u, uint16_t variant, const Value& record);

// Makes a union value whose payload is not a record. A payload that is itself a small union
// (a constant's `double` of a `literal`, say) is held in place: the node's first slot is then a
// Tag::InPlaceUnion value naming that union and its variant, and the union's own slots follow. Such
// chains take one node instead of one per level.
Value union_of_value(const TypeDesc& u, uint16_t variant, Value&& payload);

// How many slots a union held in place may bring: a chain of small unions folds into one node,
// while a long chain of them still gets a node every few levels (no node grows with depth).
inline constexpr uint32_t kInPlaceSlots = 2;

// One level of a chain of unions: the union type, and the variant whose payload is the level
// inside it (or the leaf).
struct UnionLevel {
  const TypeDesc* desc;
  uint16_t variant;
};

// Whether `levels` fold into one node around a leaf that is not a node, each variant's payload
// being a plain value: the tables given to folded_unions are checked with this where declared.
constexpr bool fold_into_one_node(std::span<const UnionLevel> levels) {
  if (levels.empty() || levels.size() > kInPlaceSlots + 1) return false;
  for (const UnionLevel& l : levels)
    if (l.variant >= l.desc->variant_count || l.desc->variants[l.variant].record) return false;
  return true;
}

// The value that union_of_value gives for `leaf` wrapped in each union of `levels` in turn, the
// innermost last: the same node, but made at once instead of one node per level, each freed
// when the next folds it in. The levels must fold into one node (fold_into_one_node); `chain`
// is their joined opening (FoldChain in json.h), or null.
Value folded_unions(std::span<const UnionLevel> levels, Value&& leaf,
                    const FoldedChain* chain = nullptr);

template <class P>
Value make_union(const TypeDesc& u, uint16_t variant, P&& payload) {
  using T = std::remove_cvref_t<P>;
  if constexpr (std::is_same_v<T, Value>) {
    if (variant < u.variant_count && u.variants[variant].record)
      return union_from_record(u, variant, payload);
  }
  if (variant >= u.variant_count || u.variants[variant].record != detail::inline_record<T>())
    detail::bad_payload(u, variant);
  Value out;
  if constexpr (detail::RecordPayload<T>) {
    T moved(std::forward<P>(payload));
    Value* s = new_node(&u, variant, T::field_count, out);
    std::move(moved).move_into(s);
  } else {
    if constexpr (std::is_same_v<P, Value>) {
      out = union_of_value(u, variant, std::move(payload));
    } else {
      Value held(std::forward<P>(payload));
      out = union_of_value(u, variant, std::move(held));
    }
  }
  return out;
}

Value make_unknown(const TypeDesc& u, std::string_view name, const Any& value);

// The longest key, variant name or enumeration value a declaration may have: the writer
// (json.h) reserves room for one step of constant text at a time, and the declarations check
// this.
inline constexpr size_t kMaxWireName = 96;

}  // namespace qc
