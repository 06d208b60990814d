// The compact JSON writer of model values, and the reading of enumerations from JSON text.
//
// The writer keeps its own stack of open containers instead of recursing, so a tree of any
// depth is written in constant C stack. Keys and variant names are pre-rendered constant
// text, copied with a few fixed-size moves; the writer reserves room for a whole step of it
// at once (declarations bound its length) and then writes through a bare pointer. A union
// whose payload is not a record needs no frame: its closing brace is added to those that the
// enclosing frame writes when it closes.
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/value.h"

namespace qc {

void Buffer::grow(size_t n) {
  size_t cap = cap_ * 2;
  if (cap - size_ < n) cap = size_ + n;
  char* d;
  if (data_ == inline_) {
    d = static_cast<char*>(std::malloc(cap));
    if (d) std::memcpy(d, data_, size_);
  } else {
    d = static_cast<char*>(std::realloc(data_, cap));
  }
  if (!d) throw std::bad_alloc();
  data_ = d;
  cap_ = cap;
}

void Buffer::shrink(size_t keep) noexcept {
  if (data_ == inline_ || cap_ <= keep) return;
  // Shrinking in place keeps the pages that remain, already backed by memory.
  void* d = keep > sizeof(inline_) ? std::realloc(data_, keep) : nullptr;
  if (!d) return clear();
  data_ = static_cast<char*>(d);
  cap_ = keep;
  size_ = 0;
}

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

// Worst case of a string: every byte becomes six, plus the quotes.
inline size_t string_space(std::string_view s) { return s.size() * 6 + 2; }

// Strings longer than this are escaped a piece at a time, so that the room reserved for the
// worst case stays small however long the text (six times a text of gigabytes would not fit).
constexpr size_t kStringPiece = size_t(1) << 16;

// Needs s.size() * 6.
char* put_escaped(char* p, std::string_view s) noexcept {
  for (unsigned char c : s) {
    char e = kEscape[c];
    if (!e) {
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

// Needs string_space(s).
char* put_string(char* p, std::string_view s) noexcept {
  *p++ = '"';
  p = put_escaped(p, s);
  *p++ = '"';
  return p;
}

// Copies constant text. Keys and prefixes are a few dozen bytes: two overlapping fixed-size
// moves copy them without a call. Needs s.size().
[[gnu::always_inline]] inline char* put_text(char* p, std::string_view s) noexcept {
  const char* q = s.data();
  size_t n = s.size();
  if (n >= 16) {
    if (n > 64) {
      std::memcpy(p, q, n);
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

}  // namespace

void write_string(Buffer& out, std::string_view s) {
  if (s.size() <= kStringPiece) {
    char* p = out.reserve(string_space(s));
    out.commit(size_t(put_string(p, s) - p));
    return;
  }
  out.put('"');
  for (size_t i = 0; i < s.size(); i += kStringPiece) {
    std::string_view piece = s.substr(i, kStringPiece);
    char* p = out.reserve(piece.size() * 6);
    out.commit(size_t(put_escaped(p, piece) - p));
  }
  out.put('"');
}

size_t write_double(char* out, double d) noexcept {
  if (!std::isfinite(d)) {
    std::memcpy(out, "null", 4);
    return 4;
  }
  if (d == 0) {
    if (std::signbit(d)) {
      std::memcpy(out, "-0.0", 4);
      return 4;
    }
    std::memcpy(out, "0.0", 3);
    return 3;
  }
  // Whole numbers below 2^53 are the common constants. Each is exact, its neighbours are at
  // most 1 away, so its shortest round-trip digits are its own: the integer and ".0".
  if (std::fabs(d) < 0x1p53 && d == std::trunc(d)) {
    char* o = std::to_chars(out, out + 24, static_cast<int64_t>(d)).ptr;
    o[0] = '.';
    o[1] = '0';
    return size_t(o + 2 - out);
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
  int e = 0;
  std::from_chars(p + 1 + (p[1] == '+'), r.ptr, e);
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
    o = std::to_chars(o, o + 8, e < 0 ? -e : e).ptr;
  }
  return size_t(o - out);
}

namespace {

template <class I>
void write_int(Buffer& out, I v) {
  char* p = out.reserve(24);
  out.commit(size_t(std::to_chars(p, p + 24, v).ptr - p));
}

void write_f64(Buffer& out, double d) {
  char* p = out.reserve(kDoubleSpace);
  out.commit(write_double(p, d));
}

// Recursive, unlike the node writer: an Any is held only by an unknown variant, which C++
// callers build and Python input never reaches.
void write_any(Buffer& out, const Any& a) {
  switch (a.type()) {
    case Any::value_t::null:
    case Any::value_t::discarded:
      out.append("null");
      return;
    case Any::value_t::boolean:
      out.append(a.get<bool>() ? "true" : "false");
      return;
    case Any::value_t::number_integer:
      write_int(out, a.get<int64_t>());
      return;
    case Any::value_t::number_unsigned:
      write_int(out, a.get<uint64_t>());
      return;
    case Any::value_t::number_float:
      write_f64(out, a.get<double>());
      return;
    case Any::value_t::string:
      write_string(out, a.get_ref<const std::string&>());
      return;
    case Any::value_t::binary:
      out.append("null");
      return;
    case Any::value_t::array: {
      out.put('[');
      bool first = true;
      for (const auto& e : a) {
        if (!first) out.put(',');
        first = false;
        write_any(out, e);
      }
      out.put(']');
      return;
    }
    case Any::value_t::object: {
      out.put('{');
      bool first = true;
      for (const auto& [k, v] : a.items()) {
        if (!first) out.put(',');
        first = false;
        write_string(out, k);
        out.put(':');
        write_any(out, v);
      }
      out.put('}');
      return;
    }
  }
}

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

enum class Mode : uint8_t { Fields, Items, Pairs };

// An open container: the values left to write, and what closes it.
struct Frame {
  const Value* cur;
  const Value* end;
  const FieldDesc* field;  // Fields mode: the descriptor of *cur
  uint32_t braces;         // closing braces of frame-less unions, written after `close`
  char close;
  Mode mode;
  bool first;
};

// Room for one step of constant text: a comma, a key, a union prefix and its brace (or a
// union's opening, no longer than those together), and a scalar. Strings, closing runs and Any
// values reserve their own.
constexpr size_t kStepSpace = 1 + (kMaxWireName + 3) + (2 * kMaxWireName + 15) + kDoubleSpace;

// How many children of a container to fetch ahead (see Writer::push).
constexpr uint32_t kPrefetch = 8;

// When output goes to the drain. The first piece is large: an output smaller than it stays in
// one buffer, as without a drain, and a larger one starts as a piece too large for the heap, so
// that the memory receiving it grows without copying. Later pieces pass through the start of
// the same buffer, already in memory, a few megabytes at a time.
constexpr size_t kFirstPiece = size_t(31) << 20;
constexpr size_t kDrainEvery = size_t(4) << 20;

// Thrown when the drain asks the writer to stop.
struct Stopped {};

// The output position and its limit live in locals of run(), where they stay in registers; the
// slow paths take them as arguments and give them back.
class Writer {
 public:
  explicit Writer(Buffer& out, const Drain* drain = nullptr, WriterStack* kept = nullptr)
      : out_(out), drain_(drain), drain_at_(out.size() + kFirstPiece), kept_(kept) {
    size_t bytes = 0;
    void* d = kept ? kept->take(bytes) : nullptr;
    if (d && bytes >= sizeof(inline_)) {
      base_ = static_cast<Frame*>(d);
      cap_ = base_ + bytes / sizeof(Frame);
    } else {
      std::free(d);
    }
  }
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
    char* p = out_.reserve(kStepSpace);
    char* limit = bound(p, kStepSpace);
    Frame* top = base_;
    const Value* v = &root;
    uint32_t braces = 0;
    // The end of the union node whose payload v is in, or null: a union held in place is only
    // found there, and its payload must lie within that node.
    const Value* node_end = nullptr;
    // Writes c (unless 0) and then `braces` closing braces; short runs take one 8-byte store.
    auto close = [&](char c, uint32_t n) {
      ensure(p, limit, size_t(n) + 9);
      if (c) *p++ = c;
      if (n <= 8)
        std::memcpy(p, "}}}}}}}}", 8);
      else
        std::memset(p, '}', n);
      p += n;
    };
    auto text = [&](std::string_view s) {
      if (s.size() <= kStringPiece) {
        ensure(p, limit, string_space(s) + 1);
        p = put_string(p, s);
        return;
      }
      *p++ = '"';
      for (size_t i = 0; i < s.size(); i += kStringPiece) {
        std::string_view piece = s.substr(i, kStringPiece);
        ensure(p, limit, piece.size() * 6 + 2);
        p = put_escaped(p, piece);
      }
      *p++ = '"';
    };
    auto push = [&](const Value* first, uint32_t n, Mode mode, const FieldDesc* fields, char c,
                    bool at_first = true) {
      if (top == cap_) [[unlikely]]
        top = grow_stack(top);
      *top++ = Frame{first, first + n, fields, braces, c, mode, at_first};
      // A large tree's nodes lie scattered in memory, and fetching each one in turn would
      // leave the writer waiting on one cache miss after another. The children of a node are
      // known as soon as it opens: ask for the first few at once, so that their misses overlap.
      for (uint32_t i = 0, m = n < kPrefetch ? n : kPrefetch; i < m; ++i) prefetch(first[i]);
    };
    // A record payload being opened: its variant, and its fields.
    const VariantDesc* variant = nullptr;
    const Value* fields = nullptr;
    for (;;) {
      // Write *v, or open it, followed by `braces` closing braces. Room for a step is reserved.
      for (;;) {
        switch (v->tag()) {
          case Tag::None:
            // Only a required field left unset by a faulty builder gets here.
            p = put_text(p, "null");
            break;
          case Tag::Bool:
            p = put_text(p, v->as_bool() ? "true" : "false");
            break;
          case Tag::I32:
            p = std::to_chars(p, p + 24, v->as_i32()).ptr;
            break;
          case Tag::I64:
            p = std::to_chars(p, p + 24, v->as_i64()).ptr;
            break;
          case Tag::F64:
            p += write_double(p, v->as_f64());
            break;
          case Tag::Enum:
            p = put_text(p, v->enum_desc()->values[v->enum_index()]);
            break;
          case Tag::Str:
            text(v->as_str());
            break;
          case Tag::Any: {
            Buffer& out = flush(p);
            write_any(out, v->as_any());
            p = resume(limit);
            break;
          }
          case Tag::Variant: {
            // A union held in place in its parent's node: its payload is the slots after it.
            const VariantDesc& vd = v->in_place_desc().variants[v->in_place_variant()];
            if (!node_end || node_end - (v + 1) < ptrdiff_t(vd.record ? vd.record->field_count : 1))
              throw std::logic_error("a union held in place is out of its place");
            ++braces;
            if (vd.record) {
              variant = &vd;
              fields = v + 1;
              goto open_record;
            }
            p = put_text(p, vd.prefix);
            ++v;
            ensure(p, limit, kStepSpace);
            continue;
          }
          case Tag::Node: {
            const TypeDesc& d = v->desc();
            const Value* s = v->slots();
            switch (d.kind) {
              case Kind::Record:
                *p++ = '{';
                push(s, d.field_count, Mode::Fields, d.fields, '}');
                goto opened;
              case Kind::List:
              case Kind::Set:
                *p++ = '[';
                push(s, v->size(), Mode::Items, nullptr, ']');
                goto opened;
              case Kind::Map:
                *p++ = '{';
                push(s, v->size() & ~1u, Mode::Pairs, nullptr, '}');
                goto opened;
              case Kind::Union:
                break;
            }
            if (v->variant() == kUnknownVariant) {
              std::string_view name = s[0].as_str();
              Buffer& out = flush(p);
              out.append("{\"type\":");
              write_string(out, name);
              out.put(',');
              write_string(out, name);
              out.put(':');
              write_any(out, s[1].as_any());
              out.put('}');
              p = resume(limit);
              break;
            }
            const VariantDesc& vd = d.variants[v->variant()];
            ++braces;
            if (vd.record) {
              variant = &vd;
              fields = s;
              goto open_record;
            }
            p = put_text(p, vd.prefix);
            // The payload follows in place; its own step needs fresh room.
            node_end = s + v->size();
            v = s;
            ensure(p, limit, kStepSpace);
            continue;
          }
        }
        close(0, braces);
        break;
      open_record:
        // When the opening text holds the first key too, the first field is written next,
        // without a turn through the record's frame.
        if (!variant->opening.empty()) {
          p = put_text(p, variant->opening);
          push(fields + 1, variant->record->field_count - 1, Mode::Fields,
               variant->record->fields + 1, '}', false);
          v = fields;
          braces = 0;
          node_end = nullptr;
          ensure(p, limit, kStepSpace);
          continue;
        }
        p = put_text(p, variant->prefix);
        *p++ = '{';
        push(fields, variant->record->field_count, Mode::Fields, variant->record->fields, '}');
        break;
      }
    opened:
      // The next value to write: the next one in the innermost open container.
      for (;;) {
        if (top == base_) {
          out_.commit(size_t(p - (out_.data() + out_.size())));
          return;
        }
        Frame& f = top[-1];
        if (f.cur == f.end) {
          close(f.close, f.braces);
          --top;
          continue;
        }
        ensure(p, limit, kStepSpace);
        v = f.cur++;
        if (f.mode == Mode::Fields) {
          const FieldDesc& fd = *f.field++;
          if (fd.presence != Presence::Required && skipped(fd.presence, *v)) continue;
          if (!f.first) *p++ = ',';
          f.first = false;
          p = put_text(p, fd.key);
        } else if (f.mode == Mode::Items) {
          if (!f.first) *p++ = ',';
          f.first = false;
          // Keep the fetches of a long list's items running ahead of the writing.
          if (f.end - f.cur > kPrefetch) prefetch(f.cur[kPrefetch - 1]);
        } else {
          if (!f.first) *p++ = ',';
          f.first = false;
          const Value& k = *v;
          if (k.tag() == Tag::Enum) {
            p = put_text(p, k.enum_desc()->values[k.enum_index()]);
          } else if (k.tag() == Tag::Str) {
            text(k.as_str());
          } else {
            throw std::logic_error("map key is neither a string nor an enumeration value");
          }
          *p++ = ':';
          ensure(p, limit, kStepSpace);  // a long key may have taken the step's room
          v = f.cur++;
        }
        braces = 0;
        node_end = nullptr;
        break;
      }
    }
  }

 private:
  // The end of the room from p on: the buffer's, or with a drain the point where the next
  // piece is due if that is nearer (crossing it then refills), but never less than n.
  char* bound(char* p, size_t n) const {
    size_t room = out_.room();
    if (drain_) {
      size_t left = drain_at_ > out_.size() ? drain_at_ - out_.size() : 0;
      room = std::min(room, std::max(n, left));
    }
    return p + room;
  }

  [[gnu::noinline]] char* refill(char* p, size_t n, char*& limit) {
    out_.commit(size_t(p - (out_.data() + out_.size())));
    if (drain_ && out_.size() >= drain_at_) {
      size_t whole = whole_characters(out_.view());
      if (!drain_->take(drain_->context, out_.view().substr(0, whole))) throw Stopped{};
      out_.consume(whole);
      drain_at_ = out_.size() + kDrainEvery;
    }
    p = out_.reserve(n);
    limit = bound(p, n);
    return p;
  }

  // Makes room for n bytes at p. A function, not a closure over run()'s locals: the compiler
  // kept such a closure in memory, and with it the position and the limit it refers to. The
  // refill writes a temporary, so that the limit's own address never leaves run().
  [[gnu::always_inline]] void ensure(char*& p, char*& limit, size_t n) {
    if (size_t(limit - p) < n) [[unlikely]] {
      char* l;
      p = refill(p, n, l);
      limit = l;
    }
  }

  // Hands the buffer to a writer that works on it directly, and takes it back.
  Buffer& flush(char* p) {
    out_.commit(size_t(p - (out_.data() + out_.size())));
    return out_;
  }
  char* resume(char*& limit) {
    char* p = out_.reserve(0);
    limit = bound(p, 0);
    return p;
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

  [[gnu::noinline]] Frame* grow_stack(Frame* top) {
    size_t n = size_t(top - base_), cap = n * 2;
    auto* d = static_cast<Frame*>(std::malloc(cap * sizeof(Frame)));
    if (!d) throw std::bad_alloc();
    std::memcpy(static_cast<void*>(d), base_, n * sizeof(Frame));
    if (base_ != inline_) std::free(base_);
    base_ = d;
    cap_ = d + cap;
    return d + n;
  }

  Buffer& out_;
  const Drain* drain_;
  size_t drain_at_;
  WriterStack* kept_;
  Frame inline_[32];
  Frame* base_ = inline_;
  Frame* cap_ = inline_ + 32;
};

}  // namespace

void write_json(Buffer& out, const Value& v) { Writer(out).run(v); }

bool write_json(Buffer& out, const Value& v, Drain drain, WriterStack* stack) {
  try {
    Writer(out, &drain, stack).run(v);
  } catch (const Stopped&) {
    out.clear();
    return false;
  }
  return true;
}

std::string to_json(const Value& v) {
  Buffer b;
  write_json(b, v);
  return std::string(b.view());
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
