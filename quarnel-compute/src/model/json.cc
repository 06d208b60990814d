// The compact JSON writer of model values, and the reading of enumerations from JSON text.
//
// The writer keeps its own stack of open containers instead of recursing, so a tree of any
// depth is written in constant C stack. Keys and variant names are pre-rendered constant
// text; scalars are formatted straight into reserved buffer space.
#include <charconv>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/value.h"

namespace qc {

void Buffer::grow(size_t n) {
  size_t cap = cap_ * 2;
  if (cap - size_ < n) cap = size_ + n;
  char* d = static_cast<char*>(::operator new(cap));
  std::memcpy(d, data_, size_);
  if (data_ != inline_) ::operator delete(data_);
  data_ = d;
  cap_ = cap;
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

}  // namespace

void write_string(Buffer& out, std::string_view s) {
  // Worst case: every byte becomes six.
  char* p = out.reserve(s.size() * 6 + 2);
  char* const start = p;
  *p++ = '"';
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
  *p++ = '"';
  out.commit(size_t(p - start));
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

enum class Mode : uint8_t { Fields, Items, Single, Pairs };

struct Frame {
  const Value* cur;
  const Value* end;
  const FieldDesc* field;  // Fields mode: the descriptor of *cur
  std::string_view close;
  Mode mode;
  bool first;
};

class Writer {
 public:
  explicit Writer(Buffer& out) : out_(out) {}

  void run(const Value& root) {
    begin(root);
    while (!stack_.empty()) {
      Frame& f = stack_.back();
      if (f.cur == f.end) {
        out_.append(f.close);
        stack_.pop_back();
        continue;
      }
      const Value* v = f.cur++;
      switch (f.mode) {
        case Mode::Fields: {
          const FieldDesc& fd = *f.field++;
          if (skipped(fd.presence, *v)) continue;
          if (!f.first) out_.put(',');
          f.first = false;
          out_.append(fd.key);
          break;
        }
        case Mode::Items:
          if (!f.first) out_.put(',');
          f.first = false;
          break;
        case Mode::Single:
          break;
        case Mode::Pairs:
          if (!f.first) out_.put(',');
          f.first = false;
          write_key(*v);
          out_.put(':');
          v = f.cur++;
          break;
      }
      begin(*v);  // may push, so `f` is not used after this
    }
  }

 private:
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

  void write_key(const Value& k) {
    if (k.tag() == Tag::Enum)
      out_.append(k.enum_desc()->values[k.enum_index()]);
    else if (k.tag() == Tag::Str)
      write_string(out_, k.as_str());
    else
      throw std::logic_error("map key is neither a string nor an enumeration value");
  }

  void push(const Value* first, uint32_t n, Mode mode, const FieldDesc* fields,
            std::string_view close) {
    stack_.push_back(Frame{first, first + n, fields, close, mode, true});
  }

  void begin(const Value& v) {
    switch (v.tag()) {
      case Tag::None:
        // Only a required field left unset by a faulty builder gets here.
        out_.append("null");
        return;
      case Tag::Bool:
        out_.append(v.as_bool() ? "true" : "false");
        return;
      case Tag::I32:
        write_int(out_, v.as_i32());
        return;
      case Tag::I64:
        write_int(out_, v.as_i64());
        return;
      case Tag::F64:
        write_f64(out_, v.as_f64());
        return;
      case Tag::Enum:
        out_.append(v.enum_desc()->values[v.enum_index()]);
        return;
      case Tag::Str:
        write_string(out_, v.as_str());
        return;
      case Tag::Any:
        write_any(out_, v.as_any());
        return;
      case Tag::Node:
        break;
    }
    const TypeDesc& d = v.desc();
    const Value* s = v.slots();
    switch (d.kind) {
      case Kind::Record:
        out_.put('{');
        push(s, d.field_count, Mode::Fields, d.fields, "}");
        return;
      case Kind::List:
      case Kind::Set:
        out_.put('[');
        push(s, v.size(), Mode::Items, nullptr, "]");
        return;
      case Kind::Map:
        out_.put('{');
        push(s, v.size() & ~1u, Mode::Pairs, nullptr, "}");
        return;
      case Kind::Union:
        break;
    }
    if (v.variant() == kUnknownVariant) {
      std::string_view name = s[0].as_str();
      out_.append("{\"type\":");
      write_string(out_, name);
      out_.put(',');
      write_string(out_, name);
      out_.put(':');
      write_any(out_, s[1].as_any());
      out_.put('}');
      return;
    }
    const VariantDesc& vd = d.variants[v.variant()];
    out_.append(vd.prefix);
    if (vd.record) {
      out_.put('{');
      push(s, vd.record->field_count, Mode::Fields, vd.record->fields, "}}");
    } else {
      push(s, 1, Mode::Single, nullptr, "}");
    }
  }

  Buffer& out_;
  std::vector<Frame> stack_;
};

}  // namespace

void write_json(Buffer& out, const Value& v) { Writer(out).run(v); }

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
