// The room the writer makes in its buffer, at its edges: every text is written after every
// amount already held, so that it ends before, at and past the end of the buffer's inline bytes
// and of heap storage sized exactly; what is written must be the text, and never more than the
// buffer holds. An overflow of the inline bytes lands in the buffer's own pointer and shows in
// the text; one of heap storage shows in the held size, and under the sanitizer or glibc's
// checking allocator (the writer_room_malloc_check test) at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "quarnel/compute/builders.h"
#include "quarnel/compute/model/categorical_unions.h"
#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/json.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/series_unions.h"

namespace qc::model {
namespace {

struct Loose {
  static constexpr TypeKind qc_kind_ = TypeKind::Any;
};
Handle<Loose> loose(Value v) { return {unchecked, std::move(v)}; }

// The longest names a declaration may have, as variant, key and enumeration value.
#define KEY_A \
  "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"
#define KEY_B \
  "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb"
#define VARIANT_V \
  "vvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvv"
#define VARIANT_W \
  "wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww"
#define VARIANT_U \
  "uuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuu"
static_assert(sizeof(KEY_A) - 1 == kMaxWireName && sizeof(VARIANT_V) - 1 == kMaxWireName &&
              sizeof(VARIANT_U) - 1 == kMaxWireName);
struct RoomUnion;
// clang-format off
#define QC_FIELDS(F)           \
  F(a, KEY_A, Optional<Loose>) \
  F(b, KEY_B, Optional<Loose>)
// clang-format on
QC_RECORD(RoomRecord, QC_FIELDS)
#undef QC_FIELDS
// A record whose first field is always written: its variant opens with that field's key.
#define QC_FIELDS(F) F(a, KEY_A, Loose)
QC_RECORD(RoomFirst, QC_FIELDS)
#undef QC_FIELDS
// clang-format off
#define QC_VARIANTS(V)        \
  V(v, VARIANT_V, RoomRecord) \
  V(w, VARIANT_W, Loose)      \
  V(u, VARIANT_U, RoomFirst)
// clang-format on
QC_UNION(RoomUnion, QC_VARIANTS)
#undef QC_VARIANTS
struct Chain;
// A link's frame stays open while its `next` is written, since `after` follows it.
#define QC_FIELDS(F)                 \
  F(next, "next", Optional<Chain>) \
  F(after, "after", Optional<Loose>)
QC_RECORD(Link, QC_FIELDS)
#undef QC_FIELDS
// clang-format off
#define QC_VARIANTS(V)  \
  V(link, "link", Link) \
  V(end, "end", Loose)
// clang-format on
QC_UNION(Chain, QC_VARIANTS)
#undef QC_VARIANTS

std::string repeat(std::string_view s, size_t n) {
  std::string out;
  out.reserve(s.size() * n);
  for (size_t i = 0; i < n; ++i) out += s;
  return out;
}
std::string in_quotes(std::string_view s) { return "\"" + std::string(s) + "\""; }
// `n` unions of the second variant around the text `inner`.
std::string in_unions(const std::string& inner, int n) {
  const std::string w = VARIANT_W;
  return repeat("{\"type\":\"" + w + "\",\"" + w + "\":", size_t(n)) + inner +
         std::string(size_t(n), '}');
}
Value unions(Value v, int n) {
  for (int i = 0; i < n; ++i) v = RoomUnion::w(loose(std::move(v))).value();
  return v;
}

struct Shape {
  std::string name;
  std::function<Value()> make;
  std::string json;
};
void PrintTo(const Shape& s, std::ostream* os) { *os << s.name; }

// Each character with the form it escapes to: six bytes, two bytes, itself.
const std::pair<char, const char*> kCharacters[] = {{'\x1f', "\\u001f"}, {'"', "\\\""}, {'a', "a"}};

// Each character as a text of each length: alone, as a map key, as a list's last item, and as the
// name and value of an unknown variant.
void add_texts(std::vector<Shape>& out, std::initializer_list<size_t> lengths, bool unknowns) {
  for (auto [c, escaped] : kCharacters)
    for (size_t n : lengths) {
      std::string raw(n, c), text = in_quotes(repeat(escaped, n));
      std::string tag = std::to_string(int(c)) + "x" + std::to_string(n);
      out.push_back({"text_" + tag, [raw] { return Value::str(raw); }, text});
      out.push_back(
          {"key_" + tag, [raw] { return string_map({{raw, Value::i32(7)}}); }, "{" + text + ":7}"});
      out.push_back({"item_" + tag, [raw] { return list({Value::str(raw)}); }, "[" + text + "]"});
      if (unknowns)
        out.push_back({"unknown_" + tag,
                       [raw] { return unknown<RoomUnion>(raw, Any(raw)).value(); },
                       "{\"type\":" + text + "," + text + ":" + text + "}"});
    }
}

// Texts of every length around: the longest held in a value (14 bytes), and the inline bytes of
// the buffer (1024, a sixth and a third of it escaped).
std::vector<Shape> short_shapes() {
  std::vector<Shape> out;
  add_texts(out, {1, 13, 14, 15, 16, 17, 169, 170, 171, 340, 341, 1020, 1024}, true);
  // Runs of closing braces of every length, one 8-byte store up to eight.
  for (int n = 1; n <= 12; ++n)
    out.push_back({"braces_" + std::to_string(n), [n] { return unions(Value::f64(-DBL_MAX), n); },
                   in_unions("-1.7976931348623157e+308", n)});
  // A step of the longest constant text: a key after a comma, a union's opening with its first
  // key, and the longest number.
  const std::string v = VARIANT_V, a = KEY_A, b = KEY_B;
  out.push_back(
      {"longest_names",
       [] {
         return list(
             {RoomUnion::v({.a = loose(Value::f64(-DBL_MAX)), .b = loose(Value::f64(-DBL_MIN))})
                  .value(),
              unions(Value::i64(INT64_MIN), 2)});
       },
       "[{\"type\":\"" + v + "\",\"" + v + "\":{\"" + a + "\":-1.7976931348623157e+308,\"" + b +
           "\":-2.2250738585072014e-308}}," + in_unions("-9223372036854775808", 2) + "]"});
  // The longest step there is: a comma and a key, the longest opening (a union's prefix, and
  // its record's brace and first key), the longest short text and the run of braces after it.
  const std::string u = VARIANT_U, control(16, '\x1f');
  out.push_back(
      {"longest_opening",
       [control] {
         Value inner = RoomUnion::u({.a = loose(Value::str(control))}).value();
         return RoomUnion::v({.a = loose(Value::i32(1)), .b = loose(std::move(inner))}).value();
       },
       "{\"type\":\"" + v + "\",\"" + v + "\":{\"" + a + "\":1,\"" + b + "\":{\"type\":\"" + u +
           "\",\"" + u + "\":{\"" + a + "\":\"" + repeat("\\u001f", 16) + "\"}}}}"});
  // Texts just longer than short ones, which make their own room, in that step.
  for (size_t n : {17, 32}) {
    const std::string longer(n, '\x1f');
    out.push_back(
        {"longest_opening_" + std::to_string(n),
         [longer] {
           Value inner = RoomUnion::u({.a = loose(Value::str(longer))}).value();
           return RoomUnion::v({.a = loose(Value::i32(1)), .b = loose(std::move(inner))}).value();
         },
         "{\"type\":\"" + v + "\",\"" + v + "\":{\"" + a + "\":1,\"" + b + "\":{\"type\":\"" + u +
             "\",\"" + u + "\":{\"" + a + "\":\"" + repeat("\\u001f", n) + "\"}}}}"});
  }
  // The same step through a folded chain, whose joined prefixes stand in for an opening and may
  // be longer than one union's.
  const std::string w = VARIANT_W, end = R"({"type":"end","end":)";
  out.push_back(
      {"longest_chain",
       [control] {
         using Longest =
             FoldChain<Level<RoomUnion, RoomUnion::Variant::w>, Level<Chain, Chain::Variant::end>,
                       Level<Chain, Chain::Variant::end>>;
         Value chain = Longest::make(Value::str(control));
         return RoomUnion::v({.a = loose(Value::i32(1)), .b = loose(std::move(chain))}).value();
       },
       "{\"type\":\"" + v + "\",\"" + v + "\":{\"" + a + "\":1,\"" + b + "\":{\"type\":\"" + w +
           "\",\"" + w + "\":" + end + end + "\"" + repeat("\\u001f", 16) + "\"}}}}}"});
  out.push_back({"any_values",
                 [] {
                   return unknown<RoomUnion>("u",
                                             Any::parse(R"({"\u0001\u0001":[18446744073709551615,
                                  -1.7976931348623157e+308,"\u001f\"",{},[],null,false]})"))
                       .value();
                 },
                 R"({"type":"u","u":{"\u0001\u0001":[18446744073709551615,)"
                 R"(-1.7976931348623157e+308,"\u001f\"",{},[],null,false]}})"});
  // Values of an unknown variant longer than a step: numbers of every longest kind, and
  // brackets closing at every depth.
  std::string numbers = "[";
  for (int i = 0; i < 40; ++i)
    numbers += "-1.7976931348623157e+308,18446744073709551615,-9223372036854775808,";
  numbers.back() = ']';
  out.push_back({"any_numbers",
                 [numbers] { return unknown<RoomUnion>("n", Any::parse(numbers)).value(); },
                 R"({"type":"n","n":)" + numbers + "}"});
  for (int depth : {1, 31, 32, 33, 200, 400}) {
    std::string arrays = repeat("[", depth) + repeat("]", depth);
    std::string objects = repeat(R"({"":)", depth) + "{}" + repeat("}", depth);
    out.push_back({"any_arrays_" + std::to_string(depth),
                   [arrays] { return unknown<RoomUnion>("a", Any::parse(arrays)).value(); },
                   R"({"type":"a","a":)" + arrays + "}"});
    out.push_back({"any_objects_" + std::to_string(depth),
                   [objects] { return unknown<RoomUnion>("o", Any::parse(objects)).value(); },
                   R"({"type":"o","o":)" + objects + "}"});
  }
  return out;
}

// The longest number a numeric series holds, and its text: three folded levels around a double.
auto longest_number() { return builders::numeric_series_number(-DBL_MAX); }
const std::string kNumberJson = R"({"type":"constant","constant":{"type":"double","double":)"
                                R"({"type":"literal","literal":-1.7976931348623157e+308}}})";

// A text as each typed path writes it: a record variant's last field (a reference's name, in
// an operand and a list's items), a string key of a typed map, within a union held in place, and
// as what a typed place holds besides its type's values (an unknown variant, an enumeration's
// unknown text).
void add_typed_texts(std::vector<Shape>& out, const std::string& name, const std::string& text,
                     const std::string& tag) {
  auto raw = [](const std::string& name) { return NumericSeries::raw({.name = name}); };
  const std::string raw_json = R"({"type":"raw","raw":{"name":)" + text + "}}";
  out.push_back({"typed_name_" + tag,
                 [raw, name] {
                   auto added = NumericSeries::add({.left = raw(name), .right = raw(name)});
                   return NumericSeries::max({.inputs = {added, raw(name)}}).value();
                 },
                 R"({"type":"max","max":{"inputs":[{"type":"add","add":{"left":)" + raw_json +
                     R"(,"right":)" + raw_json + "}}," + raw_json + "]}}"});
  out.push_back({"typed_key_" + tag,
                 [raw, name] {
                   Handle<Map<LocalVariableName, NumericSeries>> inputs{
                       unchecked,
                       string_map({{name, raw("a").value()}, {name + "b", raw(name).value()}})};
                   return NumericSeries::arithmetic({.inputs = inputs, .expression = name}).value();
                 },
                 R"({"type":"arithmetic","arithmetic":{"inputs":{)" + text +
                     R"(:{"type":"raw","raw":{"name":"a"}},)" + text.substr(0, text.size() - 1) +
                     R"(b":)" + raw_json + R"(},"expression":)" + text + "}}"});
  out.push_back({"typed_in_place_" + tag,
                 [raw, name] { return Series::numeric(raw(name)).value(); },
                 R"({"type":"numeric","numeric":)" + raw_json + "}"});
  // An unknown variant as a typed list's item, another item after it; and an enumeration's
  // unknown text as a record variant's last field, its closing braces after it.
  out.push_back(
      {"typed_unknown_" + tag,
       [raw, name] {
         return NumericSeries::max({.inputs = {unknown<NumericSeries>(name, Any(name)), raw(name)}})
             .value();
       },
       R"({"type":"max","max":{"inputs":[{"type":)" + text + "," + text + ":" + text + "}," +
           raw_json + "]}}"});
  out.push_back({"typed_unknown_root_" + tag,
                 [name] { return unknown<NumericSeries>(name, Any(name)).value(); },
                 "{\"type\":" + text + "," + text + ":" + text + "}"});
  out.push_back({"typed_enum_text_" + tag,
                 [raw, name] {
                   return NumericSeries::union_({.input = {raw("a")},
                                                 .operation = unknown<NumericUnionOperation>(name)})
                       .value();
                 },
                 R"({"type":"union","union":{"input":[{"type":"raw","raw":{"name":"a"}}],)"
                 R"("operation":)" +
                     text + "}}"});
}

// Trees of the model's own types, which the writer writes by their declared types: the same
// texts as names, a number's folded levels, a list of them, and a chain deeper than the writer
// goes by type.
std::vector<Shape> typed_shapes() {
  std::vector<Shape> out;
  auto raw = [](const std::string& name) { return NumericSeries::raw({.name = name}); };
  auto raw_json = [](const std::string& name) {
    return R"({"type":"raw","raw":{"name":)" + name + "}}";
  };
  auto add_json = [](const std::string& left, const std::string& right) {
    return R"({"type":"add","add":{"left":)" + left + R"(,"right":)" + right + "}}";
  };
  for (auto [c, escaped] : kCharacters)
    for (size_t n : {1, 14, 15, 16, 17, 169, 170, 171, 340, 341, 1024})
      add_typed_texts(out, std::string(n, c), in_quotes(repeat(escaped, n)),
                      std::to_string(int(c)) + "x" + std::to_string(n));
  out.push_back(
      {"typed_number",
       [raw] { return NumericSeries::add({.left = raw("a"), .right = longest_number()}).value(); },
       add_json(raw_json("\"a\""), kNumberJson)});
  out.push_back({"typed_number_root", [] { return longest_number().value(); }, kNumberJson});
  const std::string half = R"({"type":"constant","constant":{"type":"double","double":)"
                           R"({"type":"literal","literal":-0.5}}})";
  out.push_back({"typed_numbers",
                 [] {
                   auto n = builders::numeric_series_number(-0.5);
                   return NumericSeries::max({.inputs = {n, n, n}}).value();
                 },
                 R"({"type":"max","max":{"inputs":[)" + half + "," + half + "," + half + "]}}"});
  std::string chain = raw_json("\"a\"");
  for (int i = 0; i < 60; ++i) chain = add_json(chain, kNumberJson);
  out.push_back({"typed_chain",
                 [raw] {
                   Handle<NumericSeries> chain = raw("a");
                   for (int i = 0; i < 60; ++i)
                     chain = NumericSeries::add({.left = chain, .right = longest_number()});
                   return chain.value();
                 },
                 chain});
  // Nested through the last field, whose closing runs then follow one another to the end, after a
  // text that fills the room it made.
  const std::string name(169, '\x1f');
  std::string right = raw_json(in_quotes(repeat("\\u001f", 169)));
  for (int i = 0; i < 40; ++i) right = add_json(raw_json("\"b\""), right);
  out.push_back({"typed_right_chain",
                 [raw, name] {
                   Handle<NumericSeries> chain = raw(name);
                   for (int i = 0; i < 40; ++i)
                     chain = NumericSeries::add({.left = raw("b"), .right = chain});
                   return chain.value();
                 },
                 right});
  return out;
}

// Lists, maps (keyed by text and by an enumeration, of unions and of scalars) and Any values
// where a chain of `n` additions puts them, through its first field or its last (whose closing
// braces then follow the value): as the root, and around the depth the writer goes by type (48
// nodes). At 46 a list or map is written by type and its items by the walk, at 47 the walk takes
// the list or map, from 48 on the whole value, and at 50 the chain's last levels with it. Each
// item or entry that comes last ends with a text that made its own room and a run of eight braces.
std::vector<Shape> deep_shapes() {
  auto raw = [](const std::string& name) { return NumericSeries::raw({.name = name}); };
  auto raw_json = [](const std::string& name) {
    return R"({"type":"raw","raw":{"name":)" + name + "}}";
  };
  const std::string text(169, '\x1f'), quoted = in_quotes(repeat("\\u001f", 169));
  const std::string b = raw_json("\"b\""), long_raw = raw_json(quoted);
  auto last = [=] {
    return NumericSeries::abs({NumericSeries::abs({NumericSeries::abs({raw(text)})})});
  };
  const std::string last_json =
      repeat(R"({"type":"abs","abs":{"x":)", 3) + long_raw + repeat("}}", 3);
  auto as_series = [](Value v) { return Handle<NumericSeries>(unchecked, std::move(v)); };
  struct Payload {
    std::string name;
    std::function<Handle<NumericSeries>()> make;
    std::string json;
  };
  const Payload payloads[] = {
      {"list", [=] { return NumericSeries::max({.inputs = {raw("b"), last()}}); },
       R"({"type":"max","max":{"inputs":[)" + b + "," + last_json + "]}}"},
      {"text_map",
       [=] {
         return NumericSeries::arithmetic(
             {.inputs = {{"a", last()}, {text, last()}}, .expression = "a"});
       },
       R"({"type":"arithmetic","arithmetic":{"inputs":{)" + quoted + ":" + last_json + R"(,"a":)" +
           last_json + R"(},"expression":"a"}})"},
      // Keys that make their own room, each before the longest value a step holds: a folded
      // number's joined openings, its double and its run of braces.
      {"number_map",
       [=] {
         return NumericSeries::arithmetic({.inputs = {{std::string(100, '\x1f'), longest_number()},
                                                      {std::string(100, '\x01'), longest_number()}},
                                           .expression = "a"});
       },
       R"({"type":"arithmetic","arithmetic":{"inputs":{)" + in_quotes(repeat("\\u0001", 100)) +
           ":" + kNumberJson + "," + in_quotes(repeat("\\u001f", 100)) + ":" + kNumberJson +
           R"(},"expression":"a"}})"},
      {"enum_map",
       [=] {
         using Key = Handle<RefpropProperty>;
         return NumericSeries::refprop(
             {.inputs = {{{Key(RefpropProperty::mass_specific_internal_energy), last()},
                          {Key(RefpropProperty::temperature), last()}}},
              .outputProperty = RefpropProperty::viscosity,
              .substance = RefpropSubstance::carbon_monoxide});
       },
       R"({"type":"refprop","refprop":{"inputs":{"TEMPERATURE":)" + last_json +
           R"(,"MASS_SPECIFIC_INTERNAL_ENERGY":)" + last_json +
           R"(},"outputProperty":"VISCOSITY","substance":"CARBON_MONOXIDE"}})"},
      {"scalar_map",
       [=] {
         return NumericSeries::enumToNumeric({.input = EnumSeries::raw({.name = "e"}),
                                              .mapping = {{"a", DoubleConstant::literal(-DBL_MAX)},
                                                          {text, DoubleConstant::variable(text)}}});
       },
       R"({"type":"enumToNumeric","enumToNumeric":{"input":{"type":"raw","raw":{"name":"e"}},)"
       R"("mapping":{)" +
           quoted + R"(:{"type":"variable","variable":)" + quoted +
           R"(},"a":{"type":"literal","literal":-1.7976931348623157e+308}}}})"},
      {"loose_map",
       [=] { return as_series(string_map({{text, Value::str(text)}, {"a", Value::i32(7)}})); },
       "{" + quoted + ":" + quoted + R"(,"a":7})"},
      {"any", [=] { return as_series(Value::any(Any::parse(R"([{"\u001f":[]},{"":{}}])"))); },
       R"([{"\u001f":[]},{"":{}}])"},
      {"any_text", [=] { return as_series(Value::any(Any(text))); }, quoted},
      {"unknown", [=] { return unknown<NumericSeries>(text, Any::parse(R"({"k":[-1.5,{}]})")); },
       R"({"type":)" + quoted + "," + quoted + R"(:{"k":[-1.5,{}]}})"},
  };
  std::vector<Shape> out;
  for (const Payload& p : payloads)
    for (int n : {0, 46, 47, 48, 50})
      for (bool right : {false, true}) {
        if (n == 0 && right) continue;
        const std::string add = R"({"type":"add","add":{"left":)";
        std::string json =
            right ? repeat(add + b + R"(,"right":)", size_t(n)) + p.json + repeat("}}", size_t(n))
                  : repeat(add, size_t(n)) + p.json + repeat(R"(,"right":)" + b + "}}", size_t(n));
        out.push_back({"deep_" + p.name + "_" + std::to_string(n) + (right ? "_last" : ""),
                       [=] {
                         Handle<NumericSeries> tree = p.make();
                         for (int i = 0; i < n; ++i)
                           tree = right ? NumericSeries::add({.left = raw("b"), .right = tree})
                                        : NumericSeries::add({.left = tree, .right = raw("b")});
                         return tree.value();
                       },
                       json});
      }
  return out;
}

// Texts past a few heap pages, and around the piece that long texts are escaped by (64 KiB).
std::vector<Shape> long_shapes() {
  std::vector<Shape> out;
  add_texts(out, {1000, 65536, 65537}, false);
  for (auto [c, escaped] : kCharacters)
    for (size_t n : {65536, 65537})
      add_typed_texts(out, std::string(n, c), in_quotes(repeat(escaped, n)),
                      std::to_string(int(c)) + "x" + std::to_string(n));
  return out;
}

const Drain kNever{[](void*, std::string_view) { return ADD_FAILURE(), true; }, nullptr};

// A buffer with heap storage of exactly `bytes` (more than twice its inline bytes: it grows to
// what is asked) holding `held` bytes.
void prepare(Buffer& out, size_t bytes, size_t held) {
  if (bytes) {
    out.append(std::string(bytes, '.'));
    out.reset();
  }
  out.append(std::string(held, '.'));
}

// Writes v after `held` bytes; false (with a failure recorded) when the text or its size is off.
bool writes(const Shape& s, size_t bytes, size_t held) {
  Buffer out;
  prepare(out, bytes, held);
  if (!write_json(out, s.make(), kNever)) return ADD_FAILURE(), false;
  // Compared first: an overflow of the inline bytes moves the buffer's pointer.
  bool whole = out.size() == held + s.json.size() && out.view().substr(held) == s.json &&
               out.view().find_first_not_of('.') == held;
  EXPECT_TRUE(whole) << s.name << " after " << held << " bytes in " << bytes;
  EXPECT_LE(out.size(), out.capacity()) << s.name << " after " << held << " bytes in " << bytes;
  return whole && out.size() <= out.capacity();
}

class WriterRoom : public testing::TestWithParam<Shape> {};

// After every amount held in a new buffer, to past its inline bytes; and around the end of heap
// storage sized exactly, as a kept buffer of an earlier call is.
TEST_P(WriterRoom, EndsBeforeAtAndPastTheEndOfTheBuffer) {
  const Shape& s = GetParam();
  for (size_t held = 0; held <= 1100; ++held)
    if (!writes(s, 0, held)) return;
  for (size_t bytes : {size_t(2049), size_t(4096) + 3}) {
    size_t from = bytes > s.json.size() + 400 ? bytes - s.json.size() - 400 : 0;
    for (size_t held = from; held <= bytes; ++held)
      if (!writes(s, bytes, held)) return;
  }
}

INSTANTIATE_TEST_SUITE_P(Short, WriterRoom, testing::ValuesIn(short_shapes()),
                         [](const auto& info) { return info.param.name; });
INSTANTIATE_TEST_SUITE_P(Typed, WriterRoom, testing::ValuesIn(typed_shapes()),
                         [](const auto& info) { return info.param.name; });
INSTANTIATE_TEST_SUITE_P(Deep, WriterRoom, testing::ValuesIn(deep_shapes()),
                         [](const auto& info) { return info.param.name; });

class WriterRoomTyped : public testing::TestWithParam<Shape> {};

// The typed writer makes room as it goes, before each step of constant text: in storage that
// ends at every byte of the last few hundred that a long tree writes, where its last fields and
// closing braces follow values that may have used up the room.
TEST_P(WriterRoomTyped, EndsAtEveryByteOfItsLastSteps) {
  const Shape& s = GetParam();
  ASSERT_GT(s.json.size(), 1200u);  // past the room the writer makes at its start
  for (size_t held : {size_t(0), size_t(1), size_t(1024)})
    for (size_t bytes = held + s.json.size() - 600; bytes <= held + s.json.size() + 16; ++bytes)
      if (!writes(s, bytes, held)) return;
}

INSTANTIATE_TEST_SUITE_P(Typed, WriterRoomTyped, testing::ValuesIn([] {
                           std::vector<Shape> out;
                           for (auto shapes : {typed_shapes, deep_shapes})
                             for (Shape& s : shapes())
                               if (s.json.size() > 1200) out.push_back(std::move(s));
                           return out;
                         }()),
                         [](const auto& info) { return info.param.name; });

class WriterRoomLong : public testing::TestWithParam<Shape> {};

// Texts of thousands of bytes and more, escaped a piece at a time past 64 KiB: into a new buffer,
// into heap storage sized to their raw bytes, and into storage that ends a few bytes before or
// after their text does.
TEST_P(WriterRoomLong, FitsStorageSizedForTheRawTextOrNearlyTheWhole) {
  const Shape& s = GetParam();
  for (size_t held : {size_t(0), size_t(1), size_t(1023), size_t(1024), size_t(1025)})
    if (!writes(s, 0, held)) return;
  for (size_t held : {size_t(0), size_t(1), size_t(1024)}) {
    if (!writes(s, std::max(s.json.size() / 6, size_t(4096)), held)) return;
    for (size_t bytes = held + s.json.size() - 16; bytes <= held + s.json.size() + 16; ++bytes)
      if (!writes(s, bytes, held)) return;
  }
}

INSTANTIATE_TEST_SUITE_P(Long, WriterRoomLong, testing::ValuesIn(long_shapes()),
                         [](const auto& info) { return info.param.name; });

// A long text is escaped a piece at a time, so that the room made for it is one piece's worst
// case however long the text: storage that holds that and the text's bytes is not grown, for a
// text alone and for one written by type.
TEST(WriterRoomPieces, LongTextsTakeTheRoomOfOnePiece) {
  const size_t bytes = 65536 * 6 + 64;
  const std::string text(65536 + 1000, 'a');
  const Shape shapes[] = {
      {"text", [text] { return Value::str(text); }, in_quotes(text)},
      {"typed_name", [text] { return NumericSeries::raw({.name = text}).value(); },
       R"({"type":"raw","raw":{"name":)" + in_quotes(text) + "}}"}};
  for (const Shape& s : shapes) {
    Buffer out;
    prepare(out, bytes, 0);
    ASSERT_EQ(out.capacity(), bytes);
    ASSERT_TRUE(write_json(out, s.make(), kNever));
    EXPECT_EQ(out.view(), s.json) << s.name;
    EXPECT_EQ(out.capacity(), bytes) << s.name;
  }
}

// A stack kept from one write to the next, used by trees whose depth ends before, at and past
// the end of what it holds: every depth from the one it last grew to up to twice that.
TEST(WriterRoomStack, KeptStackAtEveryDepthAroundItsEnd) {
  std::vector<Value> chains;  // chains[d]: d links
  Handle<Chain> chain = Chain::end(loose(Value::i32(1)));
  for (int d = 0; d <= 2 * 1000 + 8; ++d) {
    chains.push_back(chain.value());
    chain = Chain::link({.next = std::move(chain), .after = loose(Value::i32(0))});
  }
  const std::string link = R"({"type":"link","link":{"next":)", end = R"({"type":"end","end":1})";
  for (size_t grown : {size_t(40), size_t(300), size_t(1000)}) {
    WriterStack stack;
    for (size_t d = grown; d <= 2 * grown + 8; ++d) {
      Buffer out;
      ASSERT_TRUE(write_json(out, chains[d], kNever, &stack));
      ASSERT_EQ(out.view(), repeat(link, d) + end + repeat(R"(,"after":0}})", d))
          << grown << " then " << d;
    }
  }
}

// reserve(n) gives room for n bytes beyond what the buffer holds, whatever it holds, and keeps
// what it holds: inline, at the switch to heap storage, and far beyond twice the storage.
TEST(WriterRoomBuffer, ReserveMakesRoomBeyondWhatIsHeld) {
  for (size_t held : {size_t(0), size_t(1), size_t(1000), size_t(1024), size_t(3000)})
    for (size_t asked :
         {size_t(1), size_t(24), size_t(1025), size_t(2048), size_t(5000), size_t(1) << 20}) {
      Buffer out;
      std::string before;
      for (size_t i = 0; i < held; ++i) before += char('a' + i % 26);
      out.append(before);
      char* p = out.reserve(asked);
      ASSERT_GE(out.room(), asked) << held << " + " << asked;
      ASSERT_EQ(p, out.data() + held);
      std::fill(p, p + asked, '!');
      out.commit(asked);
      EXPECT_EQ(out.view(), before + std::string(asked, '!')) << held << " + " << asked;
    }
}

}  // namespace
}  // namespace qc::model
