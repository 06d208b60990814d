// Model values: immutable, reference-counted trees whose node types are constant tables.
//
// A node never changes after it is built, so a copy is a reference-count increment: copying
// a tree of any size costs O(1), and no holder can observe another's copy. Every node type is
// described by a constexpr TypeDesc (record fields with wire keys and presence, or union
// variants with pre-rendered wire names); one writer, one copy and one destructor serve them
// all, none of them recursing on the C stack.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace qc {

// The value held by the unknown variant of every union.
using Any = nlohmann::json;

enum class Kind : uint8_t { Record, Union, List, Set, Map };

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
};

struct TypeDesc {
  Kind kind;
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

// Variant is internal to union nodes: a union held in place inside its parent union's node
// (see make_union); it is only met by reading the slots of a union node.
enum class Tag : uint8_t { None, Bool, I32, I64, F64, Enum, Str, Node, Any, Variant };

class Value;

// Header of every shared block: a node (slots follow), a string (bytes follow) or an Any.
struct Heap {
  enum class Type : uint8_t { Node, Str, Any };
  mutable std::atomic<size_t> refs;
  Type type;
  uint8_t block;     // size class of the allocation, 0 when it came from malloc directly
  uint16_t variant;  // union variant, or kUnknownVariant
  uint32_t count;    // node: slots
  union {
    const TypeDesc* desc;  // node
    size_t length;         // string: bytes, any that memory can hold
    Heap* next;            // reused as the free list while destroying
  };
};

inline constexpr uint16_t kUnknownVariant = 0xFFFF;

void release_heap(const Heap* h) noexcept;

// Drops one reference; true when it was the last. A sole holder skips the locked decrement:
// with one reference, no other thread can hold one to copy from, so the count cannot change
// under us. Most nodes die this way (temporaries, the inner nodes of a released tree).
inline bool drop_ref(const Heap* h) noexcept {
  return h->refs.load(std::memory_order_acquire) == 1 ||
         h->refs.fetch_sub(1, std::memory_order_acq_rel) == 1;
}

class Value {
 public:
  // The longest string held in the value itself rather than in a shared block.
  static constexpr size_t kInlineText = 14;

  Value() noexcept : tag_(0), len_(0), spare_(0), aux_(0), i_(0) {}
  Value(const Value& o) noexcept
      : tag_(o.tag_), len_(o.len_), spare_(o.spare_), aux_(o.aux_), i_(o.i_) {
    if (o.holds_heap()) h_->refs.fetch_add(1, std::memory_order_relaxed);
  }
  Value(Value&& o) noexcept
      : tag_(o.tag_), len_(o.len_), spare_(o.spare_), aux_(o.aux_), i_(o.i_) {
    o.tag_ = 0;
  }
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
    if (holds_heap() && drop_ref(h_)) release_heap(h_);
  }
  void swap(Value& o) noexcept {
    std::swap(tag_, o.tag_);
    std::swap(len_, o.len_);
    std::swap(spare_, o.spare_);
    std::swap(aux_, o.aux_);
    std::swap(i_, o.i_);
  }

  static Value boolean(bool b) noexcept { return Value(Tag::Bool, 0, b ? 1 : 0); }
  static Value i32(int32_t v) noexcept { return Value(Tag::I32, 0, v); }
  static Value i64(int64_t v) noexcept { return Value(Tag::I64, 0, v); }
  static Value f64(double d) noexcept {
    Value v;
    v.tag_ = uint8_t(Tag::F64);
    v.d_ = d;
    return v;
  }
  static Value str(std::string_view s);  // throws std::bad_alloc
  static Value any(const Any& a);
  static Value enumeration(const EnumDesc* e, uint32_t index) noexcept {
    Value v;
    v.tag_ = uint8_t(Tag::Enum);
    v.aux_ = index;
    v.e_ = e;
    return v;
  }
  // Takes over one reference to h.
  static Value adopt(Heap* h, Tag tag) noexcept {
    Value v;
    v.tag_ = uint8_t(tag);
    v.h_ = h;
    return v;
  }

  Tag tag() const noexcept { return Tag(tag_ & ~kInlineFlag); }
  bool is_none() const noexcept { return tag_ == 0; }
  bool as_bool() const noexcept { return i_ != 0; }
  int32_t as_i32() const noexcept { return static_cast<int32_t>(i_); }
  int64_t as_i64() const noexcept { return i_; }
  double as_f64() const noexcept { return d_; }
  // A short string lives in the value itself, so the view lasts as long as this value does
  // (not merely as long as some copy of it).
  std::string_view as_str() const noexcept {
    if (tag_ & kInlineFlag) return {reinterpret_cast<const char*>(this) + 2, len_};
    return {reinterpret_cast<const char*>(h_ + 1), h_->length};
  }
  const EnumDesc* enum_desc() const noexcept { return e_; }
  uint32_t enum_index() const noexcept { return aux_; }
  const Any& as_any() const noexcept;
  // The shared block behind a node, a long string or an Any; null for anything else.
  const Heap* heap() const noexcept { return holds_heap() ? h_ : nullptr; }
  bool holds_heap() const noexcept {
    return uint8_t(tag_ - uint8_t(Tag::Str)) <= uint8_t(Tag::Any) - uint8_t(Tag::Str);
  }

  // Node access (tag() == Tag::Node).
  const TypeDesc& desc() const noexcept { return *h_->desc; }
  uint16_t variant() const noexcept { return h_->variant; }
  uint32_t size() const noexcept { return h_->count; }
  const Value& operator[](uint32_t i) const noexcept { return slots()[i]; }
  const Value* slots() const noexcept { return reinterpret_cast<const Value*>(h_ + 1); }

  // A union held in place (tag() == Tag::Variant): its type and variant; its payload is the
  // slots that follow this one.
  static Value in_place(const TypeDesc* desc, uint16_t variant) noexcept {
    Value v;
    v.tag_ = uint8_t(Tag::Variant);
    v.aux_ = variant;
    v.t_ = desc;
    return v;
  }
  const TypeDesc& in_place_desc() const noexcept { return *t_; }
  uint16_t in_place_variant() const noexcept { return uint16_t(aux_); }

 private:
  static constexpr uint8_t kInlineFlag = 0x80;
  Value(Tag t, uint32_t aux, int64_t i) noexcept
      : tag_(uint8_t(t)), len_(0), spare_(0), aux_(aux), i_(i) {}

  // A short string's bytes take the 14 bytes after tag_ and len_.
  uint8_t tag_;  // Tag, with kInlineFlag for a string held in place
  uint8_t len_;
  uint16_t spare_;
  uint32_t aux_;
  union {
    int64_t i_;
    double d_;
    Heap* h_;
    const EnumDesc* e_;
    const TypeDesc* t_;
  };
};

static_assert(sizeof(Value) == 16);

// Allocates a node and returns its `count` slots as raw memory: the caller constructs every
// slot (placement new, which cannot throw for a Value) before anything else can fail or read
// the node. Preparing every operand first keeps that window free of throwing code.
Value* new_node(const TypeDesc* desc, uint16_t variant, uint32_t count, Value& out);

// --- Collections ---------------------------------------------------------------------------

extern const TypeDesc kListDesc;
extern const TypeDesc kSetDesc;
extern const TypeDesc kMapDesc;

// A list keeps the caller's order and duplicates.
Value list(std::vector<Value> items);
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
  { P::desc.kind } -> std::convertible_to<Kind>;
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
requires detail::RecordPayload<R> Value make_record(R&& r) {
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
// Tag::Variant value naming that union and its variant, and the union's own slots follow. Such
// chains take one node instead of one per level.
Value union_of_value(const TypeDesc& u, uint16_t variant, Value payload);

// The payload of a union node as a value of its own: the first slot, or for a union held in
// place a new node equal to it (its slots shared, not copied).
Value union_payload(const Value& u);

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
    out = union_of_value(u, variant, Value(std::forward<P>(payload)));
  }
  return out;
}

Value make_unknown(const TypeDesc& u, std::string_view name, const Any& value);

// --- JSON ----------------------------------------------------------------------------------

// A growing byte buffer with a reserve-then-write contract: reserve(n) returns room for at
// least n bytes at the end (room() says how many), commit(n) keeps the first n of them. The
// first few hundred bytes live inline; beyond that the storage is malloc'd and grown with
// realloc, which moves a large buffer by remapping its pages instead of copying them.
class Buffer {
 public:
  Buffer() = default;
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;
  ~Buffer() {
    if (data_ != inline_) std::free(data_);
  }
  char* reserve(size_t n) {
    if (cap_ - size_ < n) grow(n);
    return data_ + size_;
  }
  size_t room() const noexcept { return cap_ - size_; }
  void commit(size_t n) noexcept { size_ += n; }
  void put(char c) { *reserve(1) = c, ++size_; }
  void append(std::string_view s) {
    char* p = reserve(s.size());
    if (!s.empty()) __builtin_memcpy(p, s.data(), s.size());
    size_ += s.size();
  }
  const char* data() const noexcept { return data_; }
  size_t size() const noexcept { return size_; }
  std::string_view view() const noexcept { return {data_, size_}; }
  // Empties the buffer and gives its heap storage back.
  void clear() noexcept {
    if (data_ != inline_) std::free(data_);
    data_ = inline_;
    size_ = 0;
    cap_ = sizeof(inline_);
  }

 private:
  [[gnu::noinline]] void grow(size_t n);
  char inline_[1024];
  char* data_ = inline_;
  size_t size_ = 0;
  size_t cap_ = sizeof(inline_);
};

// The longest key, variant name or enumeration value a declaration may have: the writer
// reserves room for one step of constant text at a time, and the declarations check this.
inline constexpr size_t kMaxWireName = 96;

// Appends the compact wire form of v. Cannot fail but by running out of memory.
void write_json(Buffer& out, const Value& v);
// The same, calling `interrupted` after every few megabytes of output: when it returns nonzero
// the writing stops, `out` is cleared (its storage freed) and false is returned.
bool write_json(Buffer& out, const Value& v, int (*interrupted)());
std::string to_json(const Value& v);

// Scalar writers used by write_json (exposed for tests and fuzzing).
inline constexpr size_t kDoubleSpace = 32;  // write_double needs this much room
size_t write_double(char* out, double d) noexcept;
void write_string(Buffer& out, std::string_view s);

// Result of reading an enumeration from JSON text.
struct EnumRead {
  Value value;
  std::string error;  // empty on success
  bool ok() const noexcept { return error.empty(); }
};

// Reads a JSON text as a value of the enumeration: a listed string, an object whose one member
// is a listed name with a null value, or (failing those) any other string as the unknown value.
EnumRead read_enum(const EnumDesc& e, std::string_view json_text);

}  // namespace qc
