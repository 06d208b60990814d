// The compact JSON writer of model values, and the reading of enumerations from JSON text.
//
// Keys and variant names are pre-rendered constant text, copied with a few fixed-size moves;
// the writer reserves room for a whole step of it at once (declarations bound its length) and
// then writes through a bare pointer. A union whose payload is not a record needs no frame: its
// closing brace joins those written after whatever ends the chain of such unions.
//
// Two ways through a tree share one set of steps, one per kind of node (a record's field, a
// list's item, a map's entry, a union's opening, a scalar), so that each kind's text is worked
// out in one place. A tree of the model's declared types is walked first by code that the
// declarations make for each type (the typed writer): a node's constant text has a length the
// compiler knows, and each field's type says how to write it, which takes a quarter to a third
// off a small tree's writing. It recurses a bounded number of nodes deep; past that it hands the
// rest of a branch to a walk with a stack of open containers of its own, so that a tree of any
// depth is written in constant C stack. The walk also takes a node that is not of the type its
// place declares, which only a tree made by hand, not through the typed builders, can hold.
#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <utility>

#include <nlohmann/json.hpp>

#include "quarnel/compute/every_model_header.h"  // made by CMake
#include "quarnel/compute/model/json.h"

namespace qc {

namespace {

// 0: copied as is; 'u': \u00XX; anything else: the letter after the backslash.
constexpr auto kEscape = [] {
  std::array<char, 256> t{};
  for (int c = 0; c < 0x20; ++c) t[c] = 'u';
  t['\b'] = 'b';
  t['\t'] = 't';
  t['\n'] = 'n';
  t['\f'] = 'f';
  t['\r'] = 'r';
  t['"'] = '"';
  t['\\'] = '\\';
  return t;
}();

// Strings longer than this are escaped a piece at a time, so that the room reserved for the
// worst case stays small however long the text (six times a text of gigabytes would not fit).
constexpr size_t kStringPiece = size_t(1) << 16;

// The one escaper of the writer. Needs s.size() * 6: a byte becomes at most six.
[[gnu::always_inline]] inline char* put_escaped(char* p, std::string_view s) noexcept {
  for (unsigned char c : s) {
    char e = kEscape[c];
    if (!e) [[likely]] {
      *p++ = static_cast<char>(c);
    } else if (e != 'u') {
      *p++ = '\\';
      *p++ = e;
    } else {
      static constexpr char hex[] = "0123456789abcdef";
      std::memcpy(p, "\\u00", 4);
      p[4] = hex[c >> 4];
      p[5] = hex[c & 15];
      p += 6;
    }
  }
  return p;
}

// Needs s.size() * 6 + 2.
[[gnu::always_inline]] inline char* put_quoted(char* p, std::string_view s) noexcept {
  *p++ = '"';
  p = put_escaped(p, s);
  *p++ = '"';
  return p;
}

// The call of memcpy, kept off the writers' paths.
[[gnu::noinline]] void copy_long(char* p, const char* q, size_t n) noexcept {
  std::memcpy(p, q, n);
}

// Copies constant text. Keys and prefixes are a few dozen bytes: two overlapping fixed-size
// moves copy them without a call, and a text whose length the compiler knows (a typed node's)
// the moves of its length. Needs s.size().
[[gnu::always_inline]] inline char* put_text(char* p, std::string_view s) noexcept {
  const char* q = s.data();
  size_t n = s.size();
  if (__builtin_constant_p(n) && n <= kMaxOpening) {
    std::memcpy(p, q, n);
    return p + n;
  }
  if (n >= 16) {
    if (n > 64) {
      if (n > 128) {
        copy_long(p, q, n);
      } else {  // a long variant's opening
        std::memcpy(p, q, 64);
        std::memcpy(p + n - 64, q + n - 64, 64);
      }
    } else if (n > 32) {
      std::memcpy(p, q, 32);
      std::memcpy(p + n - 32, q + n - 32, 32);
    } else {
      std::memcpy(p, q, 16);
      std::memcpy(p + n - 16, q + n - 16, 16);
    }
  } else if (n >= 8) {
    std::memcpy(p, q, 8);
    std::memcpy(p + n - 8, q + n - 8, 8);
  } else if (n >= 4) {
    std::memcpy(p, q, 4);
    std::memcpy(p + n - 4, q + n - 4, 4);
  } else if (n) {
    p[0] = q[0];
    p[n / 2] = q[n / 2];
    p[n - 1] = q[n - 1];
  }
  return p + n;
}

// Decimal integers, two digits a step. Kept here rather than taken from <charconv>: one standard
// library keeps its integer conversion out of line, taking the base as an argument, and a call
// of it costs more than the digits of a small number.
constexpr auto kDigitPairs = [] {
  std::array<char, 200> t{};
  for (int i = 0; i < 100; ++i) t[2 * i] = char('0' + i / 10), t[2 * i + 1] = char('0' + i % 10);
  return t;
}();

[[gnu::always_inline]] inline int decimal_length(uint64_t v) noexcept {
  for (int n = 1;; n += 4, v /= 10000) {
    if (v < 10) return n;
    if (v < 100) return n + 1;
    if (v < 1000) return n + 2;
    if (v < 10000) return n + 3;
  }
}

// Needs 20 bytes.
[[gnu::always_inline]] inline char* put_unsigned(char* p, uint64_t v) noexcept {
  // The common constants, without the loops.
  if (v < 10) {
    *p = char('0' + v);
    return p + 1;
  }
  if (v < 100) {
    std::memcpy(p, &kDigitPairs[v * 2], 2);
    return p + 2;
  }
  char* end = p + decimal_length(v);
  char* q = end;
  for (; v >= 100; v /= 100) {
    q -= 2;
    std::memcpy(q, &kDigitPairs[(v % 100) * 2], 2);
  }
  if (v >= 10)
    std::memcpy(q - 2, &kDigitPairs[v * 2], 2);
  else
    q[-1] = char('0' + v);
  return end;
}

// Needs 20 bytes; the most negative value included.
[[gnu::always_inline]] inline char* put_integer(char* p, int64_t v) noexcept {
  auto u = static_cast<uint64_t>(v);
  if (v < 0) {
    *p++ = '-';
    u = 0 - u;
  }
  return put_unsigned(p, u);
}

// Whole numbers below 2^53 are the common constants. Each is exact, its neighbours are at most 1
// away, so its shortest round-trip digits are its own: the integer and ".0". Negative zero is one
// of them, written "-0.0". The bound makes the conversion exact, and its round trip tells a whole
// number without a call of trunc() (which baseline x86-64 has no instruction for). Writes such a
// number and returns the end; null, having written nothing, for any other. Needs 23 bytes.
[[gnu::always_inline]] inline char* put_whole_double(char* out, double d) noexcept {
  if (!(std::fabs(d) < 0x1p53)) return nullptr;
  auto whole = static_cast<int64_t>(d);
  if (static_cast<double>(whole) != d) return nullptr;
  char* o = out;
  if (std::signbit(d)) *o++ = '-';
  o = put_unsigned(o, static_cast<uint64_t>(whole < 0 ? -whole : whole));
  std::memcpy(o, ".0", 2);
  return o + 2;
}

}  // namespace

// Out of line: the writer calls it for what put_whole_double leaves, and it is long.
[[gnu::noinline]] size_t write_double(char* out, double d) noexcept {
  if (char* o = put_whole_double(out, d)) return size_t(o - out);
  if (!std::isfinite(d)) {
    std::memcpy(out, "null", 4);
    return 4;
  }
  // Shortest round-trip digits in scientific form, e.g. "-1.2345e+20", then laid out anew.
  char sci[32];
  auto r = std::to_chars(sci, sci + sizeof sci, d, std::chars_format::scientific);
  const char* p = sci;
  char* o = out;
  if (*p == '-') *o++ = '-', ++p;
  char digits[20];
  int n = 0;
  for (; p < r.ptr && *p != 'e'; ++p)
    if (*p != '.') digits[n++] = *p;
  bool negative_exponent = p[1] == '-';
  int e = 0;
  for (const char* q = p + 2; q < r.ptr; ++q) e = e * 10 + (*q - '0');
  if (negative_exponent) e = -e;
  if (e >= -5 && e <= 15) {
    if (n - 1 <= e) {
      std::memcpy(o, digits, size_t(n));
      o += n;
      for (int i = 0; i < e + 1 - n; ++i) *o++ = '0';
      *o++ = '.';
      *o++ = '0';
    } else if (e >= 0) {
      std::memcpy(o, digits, size_t(e + 1));
      o += e + 1;
      *o++ = '.';
      std::memcpy(o, digits + e + 1, size_t(n - e - 1));
      o += n - e - 1;
    } else {
      *o++ = '0';
      *o++ = '.';
      for (int i = 0; i < -e - 1; ++i) *o++ = '0';
      std::memcpy(o, digits, size_t(n));
      o += n;
    }
  } else {
    *o++ = digits[0];
    if (n > 1) {
      *o++ = '.';
      std::memcpy(o, digits + 1, size_t(n - 1));
      o += n - 1;
    }
    *o++ = 'e';
    *o++ = e < 0 ? '-' : '+';
    o = put_unsigned(o, uint64_t(e < 0 ? -e : e));
  }
  return size_t(o - out);
}

namespace {

// The length of the longest prefix of text that ends after a whole UTF-8 character.
size_t whole_characters(std::string_view text) noexcept {
  // The last character starts at most three bytes before the end; continuation bytes are
  // 10xxxxxx, and a leading byte tells its character's length.
  size_t n = text.size();
  for (size_t back = 1; back <= 4 && back <= n; ++back) {
    auto c = static_cast<unsigned char>(text[n - back]);
    if ((c & 0xC0) == 0x80) continue;
    size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return length > back ? n - back : n;
  }
  return n;
}

enum class Mode : uint8_t { Fields, Items, Entries };

// An open container: the values left to write, and what closes it.
struct Frame {
  const Value* cur;
  const Value* end;
  const FieldDesc* field;  // Fields: the descriptor of *cur
  uint32_t braces;         // closing braces of frame-less unions, written after `close`
  char close;
  Mode mode;
  bool first;
};

// The writer's place in the output: the next byte, and the end of the room made for it. Every
// step takes it by value and gives it back, so that it stays in registers across the walk.
struct Cursor {
  char* p;
  char* limit;
};

// What a container's step wrote up to: the cursor after the comma and key, and the value to
// write there (null when the step's field is left out, or when nothing is left to write). A
// record's last field closes the record's frame as it starts: the frame's closing braces are
// then `braces`, which the value's own closing run writes.
struct Next {
  Cursor c;
  const Value* value;
  uint32_t braces;
};

// Strings up to this long are written within a step's room, without a test of their own.
constexpr size_t kShortText = 16;
// A scalar: a number, an enumeration's quoted value, or a short string quoted and escaped.
constexpr size_t kScalarSpace = std::max({kDoubleSpace, kMaxWireName + 2, kShortText * 6 + 2});
// A run of closing braces after a scalar, in one 8-byte store.
constexpr size_t kRunSpace = 8;
// A scalar and a run after it: what the typed writer has room for when it comes to a value.
constexpr size_t kValueSpace = kScalarSpace + kRunSpace;

// Room for one step: a comma, a key, a union's opening, a scalar and the run of up to 8 braces
// that follows it. Longer strings, longer runs and Any values make their own room.
constexpr size_t kStepSpace = 1 + (kMaxWireName + 3) + kMaxOpening + kScalarSpace + kRunSpace;
// The typed writer makes a step's room before a comma and a key, or a union's opening, and writes
// a scalar after them with what is left.
static_assert(kStepSpace - (1 + kMaxWireName + 3) >= kValueSpace);
static_assert(kStepSpace - kMaxOpening >= kValueSpace);

// How many children of a container to fetch ahead (see Writer::push).
constexpr uint32_t kPrefetch = 8;

// Thrown when the drain asks the writer to stop.
struct Stopped {};

// How many nodes deep the typed writer goes (each takes a little C stack) before it hands the
// rest of a branch to the stack of open containers.
constexpr int kTypedDepth = 48;

// The type at index I of a declaration's part types.
template <size_t I, class L>
struct At;
template <class H, class... T>
struct At<0, detail::Types<H, T...>> {
  using type = H;
};
template <size_t I, class H, class... T>
  requires(I > 0)
struct At<I, detail::Types<H, T...>> : At<I - 1, detail::Types<T...>> {};

// The element type of a collection: of a map, its value's.
template <class T>
struct Element;
template <template <class> class C, class T>
struct Element<C<T>> {
  using type = T;
};
template <class K, class V>
struct Element<Map<K, V>> {
  using type = V;
};

// 1, 2, ..., N - 1: the fields after the first.
template <size_t N, class = std::make_index_sequence<N - 1>>
struct TailOf;
template <size_t N, size_t... J>
struct TailOf<N, std::index_sequence<J...>> {
  using type = std::index_sequence<(J + 1)...>;
};
template <size_t N>
using Tail = typename TailOf<N>::type;

class Writer;
template <class T>
struct Typed;

// Value::node_key() of a node of type T and variant 0, read from memory rather than worked out
// from two addresses at each test. Set as the program loads, as the table of roots is (see
// Typed), before anything is written.
template <class T>
inline const uint64_t kNodeKey = Value::node_key(T::qc_desc_);

// The typed writer of a declared record or union, found by its descriptor.
struct TypedRoot {
  const TypeDesc* desc;
  Cursor (*write)(Writer&, Cursor, const Value&);
};

// Filled as the program loads, one entry for each type the typed writer is made for (see
// Typed), and only read after.
constexpr size_t kTypedSlots = 1024;
TypedRoot g_typed[kTypedSlots];

// The slot a descriptor's entry starts looking from: the top 10 bits of a multiplicative hash.
static_assert(kTypedSlots == size_t(1) << 10);
size_t typed_slot(const TypeDesc* d) noexcept {
  return size_t((uint64_t(reinterpret_cast<uintptr_t>(d)) >> 3) * 0x9E3779B97F4A7C15u >> 54);
}

bool add_typed(const TypedRoot& root) noexcept {
  static size_t count = 0;
  if (count >= kTypedSlots / 2) return false;  // left to walk(): the model has some 300
  for (size_t i = typed_slot(root.desc);; i = (i + 1) % kTypedSlots) {
    if (g_typed[i].desc == root.desc) return true;
    if (!g_typed[i].desc) {
      g_typed[i] = root;
      ++count;
      return true;
    }
  }
}

// The writer's errors, raised out of line.
[[noreturn, gnu::noinline, gnu::cold]] void out_of_place() {
  throw std::logic_error("a union held in place is out of its place");
}

[[noreturn, gnu::noinline, gnu::cold]] void missing_value() {
  throw std::logic_error("a required value is missing");
}

[[noreturn, gnu::noinline, gnu::cold]] void bad_map_key() {
  throw std::logic_error("map key is neither a string nor an enumeration value");
}

// The entry found last: a program writes the roots of a few types again and again.
std::atomic<const TypedRoot*> g_typed_last{&g_typed[0]};

[[gnu::always_inline]] inline const TypedRoot* find_typed(const TypeDesc& d) noexcept {
  const TypedRoot* last = g_typed_last.load(std::memory_order_relaxed);
  if (last->desc == &d) [[likely]]
    return last;
  for (size_t i = typed_slot(&d);; i = (i + 1) % kTypedSlots) {
    if (g_typed[i].desc == &d) {
      g_typed_last.store(&g_typed[i], std::memory_order_relaxed);
      return &g_typed[i];
    }
    if (!g_typed[i].desc) return nullptr;
  }
}

class Writer {
 public:
  Writer(Buffer& out, const Drain& drain, WriterStack* kept)
      : out_(out), drain_(drain), drain_at_(out.size() + kFirstPiece), kept_(kept) {}
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;
  ~Writer() {
    if (base_ == inline_) return;
    if (kept_)
      kept_->give(base_, size_t(cap_ - base_) * sizeof(Frame));
    else
      std::free(base_);
  }

  void run(const Value& root) {
    char* start = out_.reserve(kStepSpace);
    // As bound() gives it, with the first piece due kFirstPiece bytes on.
    Cursor c{start, start + std::min(out_.room(), kFirstPiece)};
    const TypedRoot* typed = root.flagged_tag() == Tag::Node ? find_typed(root.desc()) : nullptr;
    c = typed ? typed->write(*this, c, root) : walk(c, root);
    out_.commit(size_t(c.p - (out_.data() + out_.size())));
  }

  // The typed writer of a root node whose descriptor is T's.
  template <class T>
  static Cursor typed_root(Writer& w, Cursor c, const Value& v) {
    if constexpr (type_kind<T> == TypeKind::Union) {
      constexpr auto& table = Variants<T>::table;
      if (v.variant() >= std::size(table)) return w.put_unknown(c, v);
      return table[v.variant()](w, c, v.slots(), nullptr, kTypedDepth - 1);
    } else {
      return w.put_record<T>(c, v.slots(), kTypedDepth - 1);
    }
  }

 private:
  // --- One step per kind of node, for both ways through a tree ---------------------------------

  // A record's field, after its value was found written (not skipped): a comma unless it is the
  // first, then its key. Needs 1 + the key's size.
  [[gnu::always_inline]] static char* put_key(char* p, bool& first, std::string_view key) {
    return put_text(separate(p, first), key);
  }

  static char* separate(char* p, bool& first) {
    if (!first) *p++ = ',';
    first = false;
    return p;
  }

  // A map entry's key and colon, then a step's room for its value: the key may have taken what
  // room there was. Needs an enumeration value's room; a string key makes its own.
  [[gnu::always_inline]] Cursor put_entry_key(Cursor c, const Value& key) {
    if (key.tag() == Tag::Enum)
      c.p = put_text(c.p, key.enum_desc()->values[key.enum_index()]);
    else if (key.tag() == Tag::Str)
      c = put_string(c, key.as_str());
    else
      bad_map_key();
    *c.p++ = ':';
    return ensure(c, kStepSpace);
  }

  // The opening of a union whose payload is a record: the prefix and the record's brace, or, when
  // the variant has it (vd.opening), all that and the record's first key. Needs kMaxOpening.
  [[gnu::always_inline]] static char* put_record_opening(char* p, const VariantDesc& vd) {
    if (!vd.opening.empty()) return put_text(p, vd.opening);
    p = put_text(p, vd.prefix);
    *p++ = '{';
    return p;
  }

  // The variant of v, a union held in place, whose payload follows it within the slots of the
  // node it lies in, ending at `end` (null where v lies in no union's node): refused unless the
  // payload lies within them.
  [[gnu::always_inline]] static uint16_t held_in_place(const Value& v, const Value* end) {
    const TypeDesc& d = v.in_place_desc();
    uint16_t i = v.in_place_variant();
    if (!end || i >= d.variant_count || !fits_in_place(d.variants[i], &v + 1, end)) out_of_place();
    return i;
  }

  [[gnu::always_inline]] static bool fits_in_place(const VariantDesc& vd, const Value* payload,
                                                   const Value* end) {
    return end - payload >= ptrdiff_t(vd.record ? vd.record->field_count : 1);
  }

  // The folded chain (FoldChain) that `payload`, the first of a union node's slots that end at
  // `end`, begins, when its leaf is a scalar within the node; else null, and its levels are
  // written one at a time.
  [[gnu::always_inline]] static const FoldedChain* folded_chain(const Value* payload,
                                                                const Value* end) {
    if (payload->flagged_tag() != Tag::InPlaceUnion) return nullptr;
    const FoldedChain* f = payload->in_place_chain();
    if (!f || end - payload < ptrdiff_t(f->levels)) return nullptr;
    const Value& leaf = payload[f->levels - 1];
    if (leaf.tag() == Tag::Node || leaf.tag() == Tag::InPlaceUnion) return nullptr;
    return f;
  }

  // That chain: its joined prefixes, its leaf, and the closing braces of its levels and `braces`
  // more. Needs kMaxOpening and a value's room after it. Out of line, and called last, so that a
  // variant's writer keeps no register for the calls that a scalar may make.
  [[gnu::noinline]] Cursor put_folded(Cursor c, const FoldedChain& f, const Value* payload,
                                      uint32_t braces) {
    // The padded opening in whole pieces: a short loop, where a copy of its exact length takes
    // a tree of tests of it. What goes past the opening lies in the value's room after it, and
    // the value is written over it.
    static_assert(kOpeningPiece - 1 <= kValueSpace);
    const char* q = f.opening.data();
    for (size_t i = 0; i < f.opening.size(); i += kOpeningPiece)
      std::memcpy(c.p + i, q + i, kOpeningPiece);
    c.p += f.opening.size();
    return close_run(put_scalar(c, payload[f.levels - 1]), f.levels + braces);
  }

  // Keeps the fetches of a collection's children running ahead of the writing: the one
  // kPrefetch after `next`, if the collection, ending at `end`, has it.
  static void fetch_ahead(const Value* next, const Value* end) {
    if (end - next > ptrdiff_t(kPrefetch)) prefetch(next[kPrefetch]);
  }

  // --- The typed writer ------------------------------------------------------------------------
  //
  // A value whose model type is known is written by code made for that type: a variant's
  // prefix, a record's keys and their commas are constants of known length, and no tag is
  // tested where the type fixes it. It recurses, a node at a time, for kTypedDepth nodes; below
  // that, and for a node not of the type it expects, it hands the value to walk().

  template <class T>
  [[gnu::always_inline]] Cursor put_typed(Cursor c, const Value& v, const Value* end, int depth) {
    constexpr TypeKind kind = type_kind<T>;
    if constexpr (kind == TypeKind::Union) {
      (void)Typed<T>::registered;
      constexpr auto& table = Variants<T>::table;
      // A node of T with a known variant.
      uint64_t variant = v.node_key() - kNodeKey<T>;
      if (variant < std::size(table) && depth > 0) [[likely]]
        return table[variant](*this, c, v.slots(), nullptr, depth - 1);
      return put_other_union<T>(c, v, end, depth);
    } else if constexpr (kind == TypeKind::Record) {
      (void)Typed<T>::registered;
      if (v.flagged_tag() != Tag::Node || &v.desc() != &T::qc_desc_ || depth <= 0)
        return walk(c, v);
      return put_record<T>(c, v.slots(), depth - 1);
    } else if constexpr (kind == TypeKind::List || kind == TypeKind::Set) {
      const TypeDesc& want = kind == TypeKind::List ? kListDesc : kSetDesc;
      if (v.flagged_tag() != Tag::Node || &v.desc() != &want || depth <= 0) return walk(c, v);
      return put_items<typename Element<T>::type>(c, v, depth - 1);
    } else if constexpr (kind == TypeKind::Map) {
      if (v.flagged_tag() != Tag::Node || &v.desc() != &kMapDesc || depth <= 0) return walk(c, v);
      return put_entries<typename Element<T>::type>(c, v, depth - 1);
    } else if constexpr (kind == TypeKind::Optional) {
      return put_typed<typename Element<T>::type>(c, v, end, depth);
    } else {
      return put_typed_scalar<kind>(c, v);
    }
  }

  template <class R>
  Cursor put_record(Cursor c, const Value* s, int depth) {
    c = ensure(c, kStepSpace);
    *c.p++ = '{';
    c = put_fields<R>(c, s, depth, true, std::make_index_sequence<R::qc_desc_.field_count>{});
    return close(c, '}', 0);
  }

  // What a union's place holds besides a node of one of its variants: a union held in place,
  // an unknown variant, or (past the depth bound, or of another type) a node for walk().
  template <class T>
  Cursor put_other_union(Cursor c, const Value& v, const Value* end, int depth) {
    constexpr auto& table = Variants<T>::table;
    const Tag tag = v.flagged_tag();
    if (tag == Tag::InPlaceUnion && &v.in_place_desc() == &T::qc_desc_)
      return table[held_in_place(v, end)](*this, c, &v + 1, end, depth);
    if (tag == Tag::Node && &v.desc() == &T::qc_desc_ && v.variant() >= std::size(table))
      return put_unknown(c, v);
    return walk(c, v);
  }

  // Needs kValueSpace, as every put_typed() does. A value of its kind's tag goes to
  // put_scalar(), whose tests of the tag then fold away; any other to put_other_scalar().
  template <TypeKind kind>
  [[gnu::always_inline]] Cursor put_typed_scalar(Cursor c, const Value& v) {
    const Tag tag = v.tag();
    bool typed;
    if constexpr (kind == TypeKind::F64)
      typed = tag == Tag::F64;
    else if constexpr (kind == TypeKind::String)
      typed = tag == Tag::Str;
    else if constexpr (kind == TypeKind::Enum)
      typed = tag == Tag::Enum;
    else if constexpr (kind == TypeKind::I32 || kind == TypeKind::I64)
      typed = tag == Tag::I32 || tag == Tag::I64;
    else if constexpr (kind == TypeKind::Bool)
      typed = tag == Tag::Bool;
    else
      typed = false;
    if (typed) [[likely]]
      return put_scalar(c, v);
    return put_other_scalar(c, v);
  }

  // A value whose tag is not its place's kind: a scalar as what it holds (an Any value, or an
  // enumeration's unknown text); a node, which a tree made by hand may hold there, by walk().
  [[gnu::noinline]] Cursor put_other_scalar(Cursor c, const Value& v) {
    const Tag tag = v.flagged_tag();
    if (tag == Tag::Node || tag == Tag::InPlaceUnion) return walk(c, v);
    return put_scalar(c, v);
  }

  // A record's fields, from s on; `first` until one is written.
  template <class R, size_t... J>
  [[gnu::always_inline]] Cursor put_fields(Cursor c, [[maybe_unused]] const Value* s,
                                           [[maybe_unused]] int depth, [[maybe_unused]] bool first,
                                           std::index_sequence<J...>) {
    ((c = put_field<R, J>(c, s[J], depth, first)), ...);
    return c;
  }

  template <class R, size_t J>
  [[gnu::always_inline]] Cursor put_field(Cursor c, const Value& v, int depth, bool& first) {
    constexpr FieldDesc fd = R::qc_fields_[J];
    if constexpr (fd.presence != Presence::Required)
      if (skipped(fd.presence, v)) return c;
    c = ensure(c, kStepSpace);
    c.p = put_key(c.p, first, fd.key);
    return put_typed<typename At<J, typename R::qc_parts_>::type>(c, v, nullptr, depth);
  }

  template <class T>
  Cursor put_items(Cursor c, const Value& v, int depth) {
    const Value* s = v.slots();
    const Value* e = s + v.size();
    c = ensure(c, kStepSpace);
    *c.p++ = '[';
    bool first = true;
    for (const Value* i = s; i != e; ++i) {
      fetch_ahead(i, e);
      c = ensure(c, kStepSpace);
      c.p = separate(c.p, first);
      c = put_typed<T>(c, *i, nullptr, depth);
    }
    return close(c, ']', 0);
  }

  template <class V>
  Cursor put_entries(Cursor c, const Value& v, int depth) {
    const Value* s = v.slots();
    const Value* e = s + (v.size() & ~1u);
    c = ensure(c, kStepSpace);
    *c.p++ = '{';
    bool first = true;
    for (const Value* i = s; i != e; i += 2) {
      c = ensure(c, kStepSpace);
      c.p = separate(c.p, first);
      c = put_typed<V>(put_entry_key(c, i[0]), i[1], nullptr, depth);
    }
    return close(c, '}', 0);
  }

  // One variant of union U: its opening, then its payload, which starts at `payload` and lies
  // in a node whose slots end at `end` (null: the node is the union's own).
  template <class U, size_t I>
  static Cursor put_variant(Writer& w, Cursor c, const Value* payload, const Value* end,
                            int depth) {
    using P = typename At<I, typename U::qc_parts_>::type;
    constexpr VariantDesc vd = U::qc_variants_[I];
    // Making room takes a call that the writer comes back from to this variant's start, so that
    // nothing here needs keeping across it.
    if (!has_room(c, kStepSpace)) [[unlikely]]
      return room_then_variant<U, I>(w, c, payload, end, depth);
    if constexpr (!detail::record_payload<P, U>()) {
      if constexpr (type_kind<P> == TypeKind::Union) {
        if (!end) {
          end = payload + reinterpret_cast<const Heap*>(payload)[-1].count;
          if (const FoldedChain* f = folded_chain(payload, end))
            return w.put_folded(c, *f, payload, 0);
        }
      }
      c.p = put_text(c.p, vd.prefix);
      return w.close(w.put_typed<P>(c, *payload, end, depth), 0, 1);
    } else {
      (void)Typed<P>::registered;
      constexpr size_t n = P::qc_desc_.field_count;
      c.p = put_record_opening(c.p, vd);
      if constexpr (!vd.opening.empty()) {
        c = w.put_typed<typename At<0, typename P::qc_parts_>::type>(c, payload[0], nullptr, depth);
        c = w.put_fields<P>(c, payload, depth, false, Tail<n>{});
      } else {
        c = w.put_fields<P>(c, payload, depth, true, std::make_index_sequence<n>{});
      }
      return w.close(c, '}', 1);
    }
  }

  template <class U, size_t I>
  [[gnu::noinline, gnu::cold]] static Cursor room_then_variant(Writer& w, Cursor c,
                                                               const Value* payload,
                                                               const Value* end, int depth) {
    return put_variant<U, I>(w, w.refill(c, kStepSpace), payload, end, depth);
  }

  using VariantWriter = Cursor (*)(Writer&, Cursor, const Value*, const Value*, int);

  template <class U, class Indices = std::make_index_sequence<U::qc_desc_.variant_count>>
  struct Variants;
  template <class U, size_t... I>
  struct Variants<U, std::index_sequence<I...>> {
    static constexpr VariantWriter table[] = {&put_variant<U, I>...};
  };

  // --- The walk with a stack of open containers -----------------------------------------------
  //
  // It alternates two parts: put_value() writes a value or opens it, and next_value() finds the
  // next one, in the innermost open container, through one step per kind of container.

  // Writes v whole, whatever it holds. Needs a step's room.
  [[gnu::noinline]] Cursor walk(Cursor c, const Value& v) {
    Frame* top = base_;
    Next next{ensure(c, kStepSpace), &v, 0};
    while (next.value) next = next_value(put_value(next.c, top, *next.value, next.braces), top);
    return next.c;
  }

  // The next value to write: the next one in the innermost open container, once those that
  // are done are closed. Null when the root is done.
  [[gnu::always_inline]] Next next_value(Cursor c, Frame*& top) {
    while (top != base_) {
      Frame& f = top[-1];
      if (f.cur == f.end) {
        c = close(c, f.close, f.braces);
        --top;
        continue;
      }
      c = ensure(c, kStepSpace);
      Next next = f.mode == Mode::Fields  ? next_field(c, top)
                  : f.mode == Mode::Items ? next_item(c, f)
                                          : next_entry(c, f);
      if (next.value) return next;
      c = next.c;
    }
    return {c, nullptr, 0};
  }

  // A record: its next field, unless the field is left out. The last one takes the record's
  // closing braces along and closes its frame.
  [[gnu::always_inline]] Next next_field(Cursor c, Frame*& top) {
    Frame& f = top[-1];
    const Value* v = f.cur++;
    const FieldDesc& fd = *f.field++;
    if (fd.presence != Presence::Required && skipped(fd.presence, *v)) return {c, nullptr, 0};
    c.p = put_key(c.p, f.first, fd.key);
    if (f.cur != f.end) return {c, v, 0};
    --top;
    return {c, v, f.braces + 1};
  }

  // A list or set: its next item.
  [[gnu::always_inline]] Next next_item(Cursor c, Frame& f) {
    c.p = separate(c.p, f.first);
    const Value* v = f.cur++;
    fetch_ahead(v, f.end);
    return {c, v, 0};
  }

  // A map: the key of its next entry, whose value follows it.
  [[gnu::always_inline]] Next next_entry(Cursor c, Frame& f) {
    c.p = separate(c.p, f.first);
    const Value& key = *f.cur;
    f.cur += 2;
    return {put_entry_key(c, key), &key + 1, 0};
  }

  // Writes v, or opens it: a record, list or map gets a frame, whose values come next.
  // A union needs no frame unless its payload is a record of more than one field: its opening is
  // written here, then its payload in the same way, and its closing brace joins those written
  // after whatever ends the chain (a scalar, or the frame of the container that the chain
  // reaches), as do the `braces` given, those of frames already closed. Needs a step's room.
  [[gnu::always_inline]] Cursor put_value(Cursor c, Frame*& top, const Value& value,
                                          uint32_t braces) {
    const Value* v = &value;
    bool first_level = true;
    // The end of the slots of the union node that v lies in, or null: a union held in place is
    // only found there, and its payload must lie within them.
    const Value* end = nullptr;
    // Each turn writes the opening of one union and moves on to its payload.
    for (;;) {
      const VariantDesc* variant;
      const Value* payload;
      bool own_node;
      // Nodes first, then unions held in place, then scalars, the order of how often they
      // come: marked, so that no compiler turns the tests into a tree of compares or a table.
      const Tag tag = v->flagged_tag();
      if (tag == Tag::Node) [[likely]] {
        // One test sends on both a node that is not a union (its variant is 0, and it has no
        // variants) and a union's unknown variant.
        const TypeDesc& d = v->desc();
        if (v->variant() >= d.variant_count) {
          if (d.shape != Shape::Union) return open_container(c, top, *v, braces);
          return close(put_unknown(c, *v), 0, braces);
        }
        variant = &d.variants[v->variant()];
        payload = v->slots();
        end = payload + v->size();
        own_node = true;
      } else if (tag == Tag::InPlaceUnion) {
        variant = &v->in_place_desc().variants[held_in_place(*v, end)];
        payload = v + 1;
        own_node = false;
      } else {
        return close_run(put_scalar(c, *v), braces);
      }
      // The step's room holds the first union's opening; each further one makes its own.
      if (!first_level) c = ensure(c, kStepSpace);
      first_level = false;
      const TypeDesc* record = variant->record;
      if (!record) {
        if (own_node)
          if (const FoldedChain* f = folded_chain(payload, end))
            return put_folded(c, *f, payload, braces);
        c.p = put_text(c.p, variant->prefix);
        ++braces;
        v = payload;
        continue;
      }
      c.p = put_record_opening(c.p, *variant);
      ++braces;
      if (variant->opening.empty()) {
        if (record->field_count == 0) return close(c, '}', braces);
        push(top, {payload, payload + record->field_count, record->fields, braces, '}',
                   Mode::Fields, true});
        return c;
      }
      // The opening holds the first key too: the first field is written next, without a turn
      // through the record's frame, which a record of one field needs none of.
      if (record->field_count == 1) {
        ++braces;
      } else {
        push(top, {payload + 1, payload + record->field_count, record->fields + 1, braces, '}',
                   Mode::Fields, false});
        braces = 0;
      }
      v = payload;
      end = nullptr;
    }
  }

  [[gnu::always_inline]] Cursor open_container(Cursor c, Frame*& top, const Value& v,
                                               uint32_t braces) {
    const TypeDesc& d = v.desc();
    const Value* s = v.slots();
    switch (d.shape) {
      case Shape::Record:
        *c.p++ = '{';
        push(top, {s, s + d.field_count, d.fields, braces, '}', Mode::Fields, true});
        break;
      case Shape::List:
      case Shape::Set:
        *c.p++ = '[';
        push(top, {s, s + v.size(), nullptr, braces, ']', Mode::Items, true});
        break;
      case Shape::Map:
        *c.p++ = '{';
        push(top, {s, s + (v.size() & ~1u), nullptr, braces, '}', Mode::Entries, true});
        break;
      case Shape::Union:
        break;
    }
    return c;
  }

  // --- Scalars ---------------------------------------------------------------------------------

  // Needs a scalar's room, and leaves a run's: strings longer than short ones and Any values
  // make their own room. Tests the tags in the order of how often they come, the common first:
  // a switch becomes a table or a tree of compares by the compiler's choice, and either costs
  // the common tags more.
  [[gnu::always_inline]] Cursor put_scalar(Cursor c, const Value& v) {
    const Tag t = v.tag();
    if (t == Tag::Str) {
      std::string_view s = v.as_str();
      if (s.size() > kShortText) [[unlikely]]
        return ensure(put_string(c, s), kRunSpace);
      c.p = put_quoted(c.p, s);
      return c;
    }
    if (t == Tag::F64) {
      char* o = put_whole_double(c.p, v.as_f64());
      c.p = o ? o : put_fraction(c.p, v.as_f64());
    } else if (t == Tag::Enum) {
      c.p = put_text(c.p, v.enum_desc()->values[v.enum_index()]);
    } else if (t == Tag::I32 || t == Tag::I64) {
      c.p = put_integer(c.p, v.as_i64());
    } else if (t == Tag::Bool) {
      c.p = put_text(c.p, v.as_bool() ? "true" : "false");
    } else if (t == Tag::Any) {
      return ensure(put_any(c, v.as_any()), kRunSpace);
    } else if (t == Tag::None) {
      // An absent optional is never written; a required value is never absent in a tree the
      // typed front built, and is refused rather than written as null.
      missing_value();
    }
    return c;  // a node or a union held in place is not a scalar: put_value() opens them
  }

  // write_double(), out of line, for the doubles that put_whole_double() leaves and those of Any
  // values. Needs kDoubleSpace.
  [[gnu::noinline]] char* put_fraction(char* p, double d) { return p + write_double(p, d); }

  // Quoted and escaped, with room left for one more byte.
  [[gnu::always_inline]] Cursor put_string(Cursor c, std::string_view s) {
    if (s.size() > kStringPiece) [[unlikely]]
      return put_long_string(c, s);
    c = ensure(c, s.size() * 6 + 3);
    c.p = put_quoted(c.p, s);
    return c;
  }

  // The same, a piece at a time.
  [[gnu::noinline, gnu::cold]] Cursor put_long_string(Cursor c, std::string_view s) {
    c = ensure(c, 1);
    *c.p++ = '"';
    for (size_t at = 0; at < s.size(); at += kStringPiece) {
      std::string_view piece = s.substr(at, kStringPiece);
      c = ensure(c, piece.size() * 6 + 2);
      c.p = put_escaped(c.p, piece);
    }
    *c.p++ = '"';
    return c;
  }

  // The unknown variant of a union: the name it was given, and its JSON value as it is.
  [[gnu::noinline, gnu::cold]] Cursor put_unknown(Cursor c, const Value& u) {
    std::string_view name = u[0].as_str();
    c.p = put_text(c.p, "{\"type\":");
    c = put_string(c, name);
    *c.p++ = ',';
    c = put_string(c, name);
    *c.p++ = ':';
    c = ensure(put_any(c, u[1].as_any()), 1);
    *c.p++ = '}';
    return c;
  }

  // Recursive, unlike the node writer: an Any is held only by an unknown variant, which C++
  // callers build and Python input never reaches.
  [[gnu::noinline, gnu::cold]] Cursor put_any(Cursor c, const Any& a) {
    c = ensure(c, kDoubleSpace);  // any number, or one bracket
    switch (a.type()) {
      case Any::value_t::null:
      case Any::value_t::discarded:
      case Any::value_t::binary:
        c.p = put_text(c.p, "null");
        break;
      case Any::value_t::boolean:
        c.p = put_text(c.p, *a.get_ptr<const Any::boolean_t*>() ? "true" : "false");
        break;
      case Any::value_t::number_integer:
        c.p = put_integer(c.p, *a.get_ptr<const Any::number_integer_t*>());
        break;
      case Any::value_t::number_unsigned:
        c.p = put_unsigned(c.p, *a.get_ptr<const Any::number_unsigned_t*>());
        break;
      case Any::value_t::number_float:
        c.p = put_fraction(c.p, *a.get_ptr<const Any::number_float_t*>());
        break;
      case Any::value_t::string:
        return put_string(c, *a.get_ptr<const Any::string_t*>());
      case Any::value_t::array: {
        *c.p++ = '[';
        bool first = true;
        for (const Any& item : *a.get_ptr<const Any::array_t*>()) {
          c = ensure(c, 1);
          if (!std::exchange(first, false)) *c.p++ = ',';
          c = put_any(c, item);
        }
        c = ensure(c, 1);
        *c.p++ = ']';
        break;
      }
      case Any::value_t::object: {
        *c.p++ = '{';
        bool first = true;
        for (const auto& [key, item] : *a.get_ptr<const Any::object_t*>()) {
          c = ensure(c, 1);
          if (!std::exchange(first, false)) *c.p++ = ',';
          c = put_string(c, key);
          *c.p++ = ':';
          c = put_any(c, item);
        }
        c = ensure(c, 1);
        *c.p++ = '}';
        break;
      }
    }
    return c;
  }

  // Writes `bracket` (unless 0), then n closing braces; short runs take one 8-byte store, and a
  // run whose length the compiler knows (a typed node's own) a store of its length.
  [[gnu::always_inline]] Cursor close(Cursor c, char bracket, uint32_t n) {
    c = ensure(c, size_t(n) + 9);
    if (bracket) *c.p++ = bracket;
    if (__builtin_constant_p(n) && n <= 2)
      std::memcpy(c.p, "}}", n);
    else if (n <= 8)
      std::memcpy(c.p, "}}}}}}}}", 8);
    else
      std::memset(c.p, '}', n);
    c.p += n;
    return c;
  }

  [[gnu::noinline, gnu::cold]] Cursor close_long_run(Cursor c, uint32_t n) {
    return close(c, 0, n);
  }

  // The braces after a scalar: a short run fits the room that the scalar leaves.
  [[gnu::always_inline]] Cursor close_run(Cursor c, uint32_t n) {
    if (n > kRunSpace) [[unlikely]]
      return close_long_run(c, n);
    std::memcpy(c.p, "}}}}}}}}", kRunSpace);
    c.p += n;
    return c;
  }

  // --- Room -----------------------------------------------------------------------------------

  [[gnu::always_inline]] static bool has_room(Cursor c, size_t n) {
    return size_t(c.limit - c.p) >= n;
  }

  [[gnu::always_inline]] Cursor ensure(Cursor c, size_t n) {
    if (!has_room(c, n)) [[unlikely]]
      return refill(c, n);
    return c;
  }

  // Keeps what was written, hands a due piece to the drain, and makes room for n bytes.
  [[gnu::noinline, gnu::cold]] Cursor refill(Cursor c, size_t n) {
    out_.commit(size_t(c.p - (out_.data() + out_.size())));
    if (out_.size() >= drain_at_) {
      size_t whole = whole_characters(out_.view());
      if (!drain_.take(drain_.context, out_.view().substr(0, whole))) throw Stopped{};
      out_.consume(whole);
      drain_at_ = out_.size() + kDrainEvery;
    }
    char* p = out_.reserve(n);
    return {p, bound(p, n)};
  }

  // The end of the room from p on: the buffer's, or the point where the next piece is due if
  // that is nearer (crossing it then refills), but never less than n.
  char* bound(char* p, size_t n) const {
    size_t left = drain_at_ > out_.size() ? drain_at_ - out_.size() : 0;
    return p + std::min(out_.room(), std::max(n, left));
  }

  // --- The stack of open containers -----------------------------------------------------------

  [[gnu::always_inline]] void push(Frame*& top, const Frame& frame) {
    if (top == cap_) [[unlikely]]
      top = grow_stack(top);
    *top++ = frame;
    // A large tree's nodes lie scattered in memory, and fetching each one in turn would leave
    // the writer waiting on one cache miss after another. The items of a collection are known
    // as soon as it opens: ask for the first few at once, so that their misses overlap. A
    // record's few fields are not worth it: asking for them made every write slower, a large
    // tree's included (a sum of 20,000 terms by 8%).
    if (frame.mode == Mode::Fields) return;
    const Value* end = frame.end - frame.cur > kPrefetch ? frame.cur + kPrefetch : frame.end;
    for (const Value* v = frame.cur; v != end; ++v) prefetch(*v);
  }

  // Leaves the frames within the writer for the kept memory, if it is larger, or for a heap
  // block twice the size. A small tree never comes here.
  [[gnu::noinline]] Frame* grow_stack(Frame* top) {
    size_t n = size_t(top - base_), cap = n * 2;
    Frame* d = nullptr;
    if (base_ == inline_ && kept_) {
      size_t bytes = 0;
      d = static_cast<Frame*>(kept_->take(bytes));
      if (bytes / sizeof(Frame) > n) {
        cap = bytes / sizeof(Frame);
      } else {
        std::free(d);
        d = nullptr;
      }
    }
    if (!d) d = static_cast<Frame*>(std::malloc(cap * sizeof(Frame)));
    if (!d) throw std::bad_alloc();
    std::memcpy(static_cast<void*>(d), base_, n * sizeof(Frame));
    if (base_ != inline_) std::free(base_);
    base_ = d;
    cap_ = d + cap;
    return d + n;
  }

  static bool skipped(Presence p, const Value& v) {
    switch (p) {
      case Presence::Required:
        return false;
      case Presence::Optional:
      case Presence::OptionalCollection:
        return v.is_none();
      case Presence::Collection:
        return v.is_none() || (v.tag() == Tag::Node && v.size() == 0);
    }
    return false;
  }

  static void prefetch(const Value& v) {
    if (v.holds_heap()) __builtin_prefetch(v.heap());
  }

  Buffer& out_;
  const Drain& drain_;
  size_t drain_at_;
  WriterStack* kept_;
  Frame inline_[32];
  Frame* base_ = inline_;
  Frame* cap_ = inline_ + std::size(inline_);
};

// Registers the typed writer of T as the program loads. Made for every type that the typed
// writer of the root of a request reaches.
template <class T>
struct Typed {
  static inline const bool registered = add_typed({&T::qc_desc_, &Writer::typed_root<T>});
};
[[maybe_unused]] const bool g_every_type_typed = Typed<model::ComputeNodeWithContext>::registered;

}  // namespace

bool write_json(Buffer& out, const Value& v, Drain drain, WriterStack* stack) {
  try {
    Writer(out, drain, stack).run(v);
  } catch (const Stopped&) {
    out.clear();
    return false;
  }
  return true;
}

EnumRead read_enum(const EnumDesc& e, std::string_view json_text) {
  EnumRead r;
  Any j;
  try {
    j = Any::parse(json_text.begin(), json_text.end());
  } catch (const Any::exception& ex) {
    r.error = ex.what();
    return r;
  }
  auto find = [&](std::string_view name) -> int {
    for (uint32_t i = 0; i < e.count; ++i) {
      std::string_view quoted = e.values[i];
      if (quoted.substr(1, quoted.size() - 2) == name) return int(i);
    }
    return -1;
  };
  if (j.is_string()) {
    const std::string& s = j.get_ref<const std::string&>();
    int i = find(s);
    r.value = i >= 0 ? Value::enumeration(&e, uint32_t(i)) : Value::str(s);
    return r;
  }
  if (j.is_object() && j.size() == 1 && j.begin().value().is_null()) {
    int i = find(j.begin().key());
    if (i >= 0) {
      r.value = Value::enumeration(&e, uint32_t(i));
      return r;
    }
  }
  r.error = "data did not match any variant of untagged enum " + std::string(e.name);
  return r;
}

}  // namespace qc
