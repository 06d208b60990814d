// Wire rules of the runtime: records, unions, collections, scalars, constants and enum reading,
// copies, very deep trees, long texts and values shared between threads.
#include <gtest/gtest.h>

#include <malloc.h>
#include <pthread.h>

#include <algorithm>
#include <barrier>
#include <cfloat>
#include <cstdlib>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/units.h"
#include "to_json.h"

namespace qc::model {
namespace {

// Test-only types covering every presence and payload kind. The runtime writes whatever a node
// holds, so their fields take values of any kind, passed in unchecked.
struct Untyped {
  static constexpr TypeKind qc_kind_ = TypeKind::Any;
};
template <class T = Untyped>
Handle<T> as(Value v) {
  return {unchecked, std::move(v)};
}
struct TUnion;
#define QC_FIELDS(F) \
  F(first, "first", Optional<Untyped>) \
  F(optional, "optional", Optional<Untyped>) \
  F(items, "items", List<Untyped>) \
  F(maybe_items, "maybeItems", Optional<List<Untyped>>) \
  F(flag, "flag", Optional<Bool>)
QC_RECORD(TNode, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F)
QC_RECORD(TEmpty, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) F(next, "next", Optional<TUnion>)
QC_RECORD(TChain, QC_FIELDS)
#undef QC_FIELDS
#define QC_VARIANTS(V) \
  V(node, "node", TNode) \
  V(empty, "empty", TEmpty) \
  V(set, "set", Untyped) \
  V(chain, "chain", TChain)
QC_UNION(TUnion, QC_VARIANTS)
#undef QC_VARIANTS

// `times` unions around v, each holding the next as a plain value payload.
Value wrap(Value v, int times) {
  for (int i = 0; i < times; ++i) v = TUnion::set(as(std::move(v))).value();
  return v;
}
Value leaf(int32_t i) { return wrap(Value::i32(i), 1); }
Value node(TNode fields) { return TUnion::node(std::move(fields)).value(); }
Value literal(std::string_view s) { return StringConstant::literal(s).value(); }
Value variable(std::string_view s) { return StringConstant::variable(s).value(); }
std::string wrapped(const std::string& inner, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += R"({"type":"set","set":)";
  return out + inner + std::string(size_t(times), '}');
}

struct Case {
  const char* name;
  Value (*make)();
  std::string json;
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class RuntimeWire : public testing::TestWithParam<Case> {};

TEST_P(RuntimeWire, Writes) { EXPECT_EQ(to_json(GetParam().make()), GetParam().json); }

INSTANTIATE_TEST_SUITE_P(
    Records, RuntimeWire,
    testing::Values(
        Case{"all_absent_is_empty_object", [] { return build(TNode{}).value(); }, "{}"},
        Case{"present_optional_and_empty_list_writes_only_optional",
             [] {
               return build(TNode{.optional = as(Value::i32(1)),
                                  .items = as<List<Untyped>>(list({}))})
                   .value();
             },
             R"({"optional":1})"},
        Case{"optional_collection_present_and_empty_is_written",
             [] { return build(TNode{.maybe_items = as<List<Untyped>>(list({}))}).value(); },
             R"({"maybeItems":[]})"},
        Case{"false_boolean_is_written",
             [] { return build(TNode{.flag = Handle<Bool>(false)}).value(); }, R"({"flag":false})"},
        Case{"wire_order_is_declaration_order",
             [] {
               return build(TNode{.first = as(Value::str("r")),
                                  .optional = as(Value::boolean(true)),
                                  .items = {{as(Value::i32(2)), as(Value::i32(1)),
                                             as(Value::i32(2))}},
                                  .maybe_items = as<List<Untyped>>(list({})),
                                  .flag = Handle<Bool>(true)})
                   .value();
             },
             R"({"first":"r","optional":true,"items":[2,1,2],"maybeItems":[],"flag":true})"},
        Case{"union_with_empty_set_payload", [] { return TUnion::set(as(string_set({}))).value(); },
             R"({"type":"set","set":[]})"},
        Case{"unknown_variant", [] { return unknown<TUnion>("foo", Any(3)).value(); },
             R"({"type":"foo","foo":3})"},
        Case{"unknown_variant_name_is_escaped",
             [] { return unknown<TUnion>("a\"b", Any(nullptr)).value(); },
             R"({"type":"a\"b","a\"b":null})"},
        // Unsigned integers above the signed 64-bit range come back exactly as held.
        Case{"unknown_variant_unsigned_max",
             [] { return unknown<TUnion>("u", Any::parse("[18446744073709551615]")).value(); },
             R"({"type":"u","u":[18446744073709551615]})"},
        Case{"unknown_variant_structured_value",
             [] {
               return unknown<TUnion>("x", Any::parse(R"({"b":[1,2.5,"s\n",true,null],"a":{}})"))
                   .value();
             },
             R"({"type":"x","x":{"a":{},"b":[1,2.5,"s\n",true,null]}})"},
        // Nine levels close past one run of eight braces.
        Case{"unions_in_unions", [] { return wrap(leaf(3), 8); }, wrapped("3", 9)},
        Case{"unions_in_fields_and_lists",
             [] {
               return node(
                   {.first = as(wrap(leaf(5), 2)), .items = {{as(leaf(6)), as(wrap(leaf(8), 3))}}});
             },
             R"({"type":"node","node":{"first":)" + wrapped("5", 3) + R"(,"items":[)" +
                 wrapped("6", 1) + "," + wrapped("8", 4) + "]}}"},
        Case{"map_in_key_order",
             [] {
               return string_map({{"b", Value::i32(1)},
                                  {"a", Value::i32(2)},
                                  {"ab", Value::i32(3)},
                                  {"B", Value::i32(4)}});
             },
             R"({"B":4,"a":2,"ab":3,"b":1})"},
        Case{"map_later_equal_key_wins",
             [] { return string_map({{"k", Value::i32(1)}, {"k", Value::i32(2)}}); }, R"({"k":2})"},
        Case{"enum_keyed_map_in_declaration_order",
             [] {
               return enum_map(
                   {{Handle<api::TimeUnit>(api::TimeUnit::seconds).value(), Value::i32(1)},
                    {unknown<api::TimeUnit>("WEEKS").value(), Value::i32(3)},
                    {Handle<api::TimeUnit>(api::TimeUnit::days).value(), Value::i32(2)}});
             },
             R"({"DAYS":2,"SECONDS":1,"WEEKS":3})"},
        Case{"string_set_sorted_unique", [] { return string_set({"b", "a", "b"}); },
             R"(["a","b"])"},
        Case{"enum_unknown_value", [] { return unknown<api::TimeUnit>("bar").value(); },
             R"("bar")"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Constants, RuntimeWire,
    testing::Values(
        Case{"string_set_literal_sorted",
             [] {
               return StringSetConstant::literal(std::vector<std::string>{"b", "a", "b"}).value();
             },
             R"({"type":"literal","literal":["a","b"]})"},
        Case{
            "string_set_v2_literal",
            [] {
              return StringSetConstantV2::literal(
                         {{StringConstant::literal("b"), StringConstant::literal("a")}})
                  .value();
            },
            R"({"type":"literal","literal":[{"type":"literal","literal":"a"},{"type":"literal","literal":"b"}]})"},
        Case{"duration_constant_unnormalised",
             [] { return DurationConstant::literal({.seconds = 1, .nanos = 2000000000}).value(); },
             R"({"type":"literal","literal":{"seconds":1,"nanos":2000000000}})"}),
    [](const auto& info) { return std::string(info.param.name); });

// Integers: decimal digits, a minus sign before negative values, the full range of each width.
struct IntegerCase {
  Value value;
  const char* text;
};
void PrintTo(const IntegerCase& c, std::ostream* os) { *os << c.text; }
class RuntimeInteger : public testing::TestWithParam<IntegerCase> {};
TEST_P(RuntimeInteger, Writes) { EXPECT_EQ(to_json(GetParam().value), GetParam().text); }
INSTANTIATE_TEST_SUITE_P(
    Digits, RuntimeInteger,
    testing::Values(IntegerCase{Value::i32(0), "0"}, IntegerCase{Value::i32(7), "7"},
                    IntegerCase{Value::i32(10), "10"}, IntegerCase{Value::i32(-99), "-99"},
                    IntegerCase{Value::i32(100), "100"}, IntegerCase{Value::i32(10001), "10001"},
                    IntegerCase{Value::i32(INT32_MAX), "2147483647"},
                    IntegerCase{Value::i32(INT32_MIN), "-2147483648"},
                    IntegerCase{Value::i64(1000000000000), "1000000000000"},
                    IntegerCase{Value::i64(INT64_MAX), "9223372036854775807"},
                    IntegerCase{Value::i64(INT64_MIN), "-9223372036854775808"}));

// Doubles: the layout rule over shortest round-trip digits, and whole numbers up to 2^53 and past
// it.
struct DoubleCase {
  double value;
  const char* text;
};
void PrintTo(const DoubleCase& c, std::ostream* os) { *os << c.text; }
class RuntimeDouble : public testing::TestWithParam<DoubleCase> {};
TEST_P(RuntimeDouble, Writes) { EXPECT_EQ(to_json(Value::f64(GetParam().value)), GetParam().text); }
INSTANTIATE_TEST_SUITE_P(
    Layout, RuntimeDouble,
    testing::Values(
        DoubleCase{2.0, "2.0"}, DoubleCase{0.1, "0.1"}, DoubleCase{1e-5, "0.00001"},
        DoubleCase{1e-6, "1e-6"}, DoubleCase{1.5e-7, "1.5e-7"},
        DoubleCase{1e15, "1000000000000000.0"}, DoubleCase{1e16, "1e+16"},
        DoubleCase{-1e16, "-1e+16"}, DoubleCase{1.2345e20, "1.2345e+20"},
        DoubleCase{123.456, "123.456"}, DoubleCase{0.0, "0.0"}, DoubleCase{-0.0, "-0.0"},
        DoubleCase{5e-324, "5e-324"}, DoubleCase{DBL_MAX, "1.7976931348623157e+308"},
        DoubleCase{0.1 + 0.2, "0.30000000000000004"},
        DoubleCase{123456789012345.6, "123456789012345.6"}, DoubleCase{1.25e-5, "0.0000125"},
        DoubleCase{4503599627370497.0, "4503599627370497.0"},
        DoubleCase{-9007199254740991.0, "-9007199254740991.0"},
        DoubleCase{9007199254740992.0, "9007199254740992.0"},
        DoubleCase{9007199254740994.0, "9007199254740994.0"}, DoubleCase{1.0, "1.0"},
        DoubleCase{-2.0, "-2.0"}, DoubleCase{9.0, "9.0"}, DoubleCase{10.0, "10.0"},
        DoubleCase{99.0, "99.0"}, DoubleCase{100.0, "100.0"},
        DoubleCase{-12345678.0, "-12345678.0"}, DoubleCase{0.5, "0.5"}, DoubleCase{-1.5, "-1.5"},
        DoubleCase{999999999999999.0, "999999999999999.0"},
        DoubleCase{1e14 + 0.5, "100000000000000.5"},
        DoubleCase{9007199254740991.0, "9007199254740991.0"},
        DoubleCase{-9007199254740992.0, "-9007199254740992.0"}, DoubleCase{3e16, "3e+16"},
        DoubleCase{1e100, "1e+100"}, DoubleCase{-2.5e-300, "-2.5e-300"},
        DoubleCase{std::numeric_limits<double>::quiet_NaN(), "null"},
        DoubleCase{std::numeric_limits<double>::infinity(), "null"},
        DoubleCase{-std::numeric_limits<double>::infinity(), "null"}));

// Strings: every control byte, quote, backslash, slash, DEL and non-ASCII text.
TEST(RuntimeString, EscapesEveryControlByte) {
  const char* expected[32] = {
      "\\u0000", "\\u0001", "\\u0002", "\\u0003", "\\u0004", "\\u0005", "\\u0006", "\\u0007",
      "\\b",     "\\t",     "\\n",     "\\u000b", "\\f",     "\\r",     "\\u000e", "\\u000f",
      "\\u0010", "\\u0011", "\\u0012", "\\u0013", "\\u0014", "\\u0015", "\\u0016", "\\u0017",
      "\\u0018", "\\u0019", "\\u001a", "\\u001b", "\\u001c", "\\u001d", "\\u001e", "\\u001f"};
  for (int c = 0; c < 32; ++c)
    EXPECT_EQ(to_json(Value::str(std::string(1, char(c)))), std::string("\"") + expected[c] + "\"")
        << c;
  EXPECT_EQ(to_json(Value::str("\"\\/\x7f\xc3\xa9\xe2\x82\xac")),
            "\"\\\"\\\\/\x7f\xc3\xa9\xe2\x82\xac\"");
  EXPECT_EQ(to_json(Value::str("\t\n\x01\"\\/\xc3\xa4")), "\"\\t\\n\\u0001\\\"\\\\/\xc3\xa4\"");
}

// Texts far longer than one reserved step, escaped, as a scalar, inside a union and as a map key;
// and the writer appends to what its buffer holds.
TEST(RuntimeString, LongTextsOutgrowTheStepAndWritesAppend) {
  std::string raw, escaped;
  for (int i = 0; i < 200000; ++i) raw += "a\"\n\x01", escaped += "a\\\"\\n\\u0001";
  EXPECT_EQ(to_json(Value::str(raw)), "\"" + escaped + "\"");
  EXPECT_EQ(to_json(wrap(Value::str(raw), 2)), wrapped("\"" + escaped + "\"", 2));
  EXPECT_EQ(to_json(string_map({{raw, leaf(1)}})), "{\"" + escaped + "\":" + wrapped("1", 1) + "}");
  // A key that, escaped, fills the room left to the last byte (1 + 170 * 6 + 2 + 1 of the first
  // 1024), followed by a value that needs room of its own.
  std::string controls(170, '\x01'), escaped_controls;
  for (int i = 0; i < 170; ++i) escaped_controls += "\\u0001";
  EXPECT_EQ(to_json(string_map({{controls, Value::i64(-1234567890123456789)}})),
            "{\"" + escaped_controls + "\":-1234567890123456789}");
  EXPECT_EQ(to_json(unknown<TUnion>(raw, Any(raw)).value()),
            "{\"type\":\"" + escaped + "\",\"" + escaped + "\":\"" + escaped + "\"}");
  Buffer out;
  std::string expected = "[";
  out.append("[");
  // Far below the first piece: the drain is never due.
  const Drain unused{[](void*, std::string_view) { return ADD_FAILURE(), true; }, nullptr};
  for (int i = 0; i < 3000; ++i) {
    ASSERT_TRUE(write_json(out, leaf(i), unused));
    expected += wrapped(std::to_string(i), 1);
  }
  EXPECT_EQ(out.view(), expected);
}

// A large output reaches the drain in pieces that each end on a character boundary, and the
// pieces with what is left in the buffer are the whole text.
TEST(RuntimeDrain, PiecesAreWholeCharactersAndAddUpToTheText) {
  std::string pattern = "a\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80";  // 1, 2, 3 and 4 bytes
  for (size_t shift = 0; shift < 4; ++shift) {
    std::string raw = std::string(shift, 'x');
    while (raw.size() < (size_t(40) << 20)) raw += pattern;
    std::string expected = "\"" + raw + "\"";
    struct Taken {
      std::string text;
      std::vector<size_t> cuts;
    } taken;
    auto take = [](void* context, std::string_view piece) {
      auto& t = *static_cast<Taken*>(context);
      t.text += piece;
      t.cuts.push_back(t.text.size());
      return true;
    };
    Buffer out;
    ASSERT_TRUE(write_json(out, Value::str(raw), Drain{take, &taken}));
    EXPECT_GE(taken.cuts.size(), 2u);
    EXPECT_LT(out.size(), size_t(5) << 20);
    ASSERT_EQ(taken.text + std::string(out.view()), expected) << shift;
    for (size_t cut : taken.cuts) EXPECT_NE(expected[cut] & 0xC0, 0x80) << shift << " " << cut;
  }
}

TEST(RuntimeDrain, StoppingClearsTheBuffer) {
  int calls = 0;
  auto stop = [](void* context, std::string_view) {
    ++*static_cast<int*>(context);
    return false;
  };
  Buffer out;
  EXPECT_FALSE(
      write_json(out, Value::str(std::string(size_t(40) << 20, 'a')), Drain{stop, &calls}));
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(out.size(), 0u);
}

// A buffer kept between writes gives back what lies beyond the bound it is shrunk to, and is
// written into as a new one.
TEST(RuntimeBuffer, ShrinkingKeepsAtMostTheBound) {
  const Drain unused{[](void*, std::string_view) { return ADD_FAILURE(), true; }, nullptr};
  for (size_t keep : {size_t(0), size_t(4096), size_t(1) << 20, size_t(8) << 20}) {
    Buffer out;
    ASSERT_TRUE(write_json(out, Value::str(std::string(size_t(2) << 20, 'a')), unused));
    out.reset();
    out.shrink(keep);
    EXPECT_LE(out.capacity(), std::max(keep, Buffer().capacity())) << keep;
    EXPECT_EQ(out.size(), 0u);
    ASSERT_TRUE(write_json(out, Value::i32(7), unused));
    EXPECT_EQ(out.view(), "7");
  }
}

// A writer given a stack to keep starts with the memory it holds and leaves there what it grew it
// to: trees of every depth written one after another with one stack come out whole.
TEST(RuntimeWriterStack, KeptFromOneWriteToTheNext) {
  // Each level's record stays open while the level inside it is written: `flag` follows.
  auto nested_json = [](int depth) {
    std::string out;
    for (int i = 0; i < depth; ++i) out += R"({"type":"node","node":{"first":)";
    out += R"({"type":"empty","empty":{}})";
    for (int i = 0; i < depth; ++i) out += R"(,"flag":true}})";
    return out;
  };
  auto keep_all = [](void*, std::string_view) { return true; };
  WriterStack stack;
  for (int depth : {5000, 3, 20000, 0, 5000}) {
    Value nested = TUnion::empty({}).value();
    for (int i = 0; i < depth; ++i)
      nested = node({.first = as(std::move(nested)), .flag = Handle<Bool>(true)});
    Buffer out;
    ASSERT_TRUE(write_json(out, nested, Drain{keep_all, nullptr}, &stack));
    EXPECT_EQ(out.view(), nested_json(depth)) << depth;
  }
  EXPECT_GT(stack.bytes(), 20000u * 2);
  stack.shrink(stack.bytes());
  EXPECT_GT(stack.bytes(), 0u);
  stack.shrink(0);
  EXPECT_EQ(stack.bytes(), 0u);
}

// A record's last field is written once the record's frame is closed: a chain of records
// through their last fields takes no stack at any depth.
TEST(RuntimeWriterStack, ChainThroughLastFieldsTakesNone) {
  auto keep_all = [](void*, std::string_view) { return true; };
  Handle<TUnion> chain = TUnion::empty({});
  for (int i = 0; i < 20000; ++i) chain = TUnion::chain({.next = std::move(chain)});
  WriterStack stack;
  Buffer out;
  ASSERT_TRUE(write_json(out, chain.value(), Drain{keep_all, nullptr}, &stack));
  EXPECT_EQ(out.size(), 20000 * (32 + 2) + 27);
  EXPECT_EQ(stack.bytes(), 0u);
}

// Kept output memory: a write's buffer and stack stay for the next write up to 8 MiB and 1 MiB,
// what a larger write grew them to is given back as its lease ends, and a write that starts while
// the memory is lent gets none of it.
TEST(RuntimeKeptOutput, KeepsWithinTheBoundsAndLendsOnce) {
  auto keep_all = [](void*, std::string_view) { return true; };
  Value deep = TUnion::empty({}).value();
  for (int i = 0; i < 60000; ++i)
    deep = node({.first = as(std::move(deep)), .flag = Handle<Bool>(true)});
  KeptOutput kept;
  struct Write {
    Value value;
    size_t buffer_at_least;  // what stays after it
  };
  for (const Write& w : {Write{Value::str(std::string(size_t(2) << 20, 'a')), size_t(2) << 20},
                         Write{Value::str(std::string(size_t(20) << 20, 'b')), 0}, Write{deep, 0},
                         Write{Value::i32(7), 0}}) {
    {
      KeptOutput::Lease lease(kept);
      ASSERT_TRUE(lease);
      EXPECT_EQ(lease.buffer().size(), 0u);
      EXPECT_FALSE(KeptOutput::Lease(kept));
      ASSERT_TRUE(write_json(lease.buffer(), w.value, Drain{keep_all, nullptr}, &lease.stack()));
    }
    EXPECT_LE(kept.buffer_capacity(), size_t(8) << 20);
    EXPECT_GE(kept.buffer_capacity(), w.buffer_at_least);
    EXPECT_LE(kept.stack_bytes(), size_t(1) << 20);
  }
  KeptOutput::Lease again(kept);
  EXPECT_TRUE(again);
}

// StringConstant sets: stable sort by the constant order, equal neighbours dropped.
TEST(RuntimeStringConstantSet, OrderAndEquality) {
  auto json = [](std::vector<Value> items) {
    return to_json(string_constant_set(std::move(items)));
  };
  auto lit = [](const char* s) {
    return std::string(R"({"type":"literal","literal":")") + s + "\"}";
  };
  auto var = [](const char* s) {
    return std::string(R"({"type":"variable","variable":")") + s + "\"}";
  };
  EXPECT_EQ(json({literal("b"), literal("a"), literal("b"), literal("a")}),
            "[" + lit("a") + "," + lit("b") + "]");
  EXPECT_EQ(json({variable("a"), literal("z")}), "[" + lit("z") + "," + var("a") + "]");
  EXPECT_EQ(json({literal("abc"), literal("ab")}), "[" + lit("ab") + "," + lit("abc") + "]");
  EXPECT_EQ(json({variable("x"), literal("x")}), "[" + lit("x") + "," + var("x") + "]");
  EXPECT_EQ(json({literal("\xc3\xa9"), literal("z")}),
            "[" + lit("z") + "," + lit("\xc3\xa9") + "]");
  EXPECT_EQ(json({}), "[]");
  EXPECT_EQ(json({unknown<StringConstant>("u", Any(2)).value(), variable("v"),
                  unknown<StringConstant>("u", Any(1)).value(),
                  unknown<StringConstant>("u", Any(2)).value()}),
            "[" + var("v") + R"(,{"type":"u","u":1},{"type":"u","u":2}])");
}

// Reading the two enumerations from JSON text.
struct ReadCase {
  const char* text;
  const char* written;  // null: the read fails with the type's message
};
class RuntimeReadTimeUnit : public testing::TestWithParam<ReadCase> {};
TEST_P(RuntimeReadTimeUnit, Reads) {
  auto r = deserialize<api::TimeUnit>(GetParam().text);
  if (GetParam().written) {
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(to_json(r.value.value()), GetParam().written);
  } else {
    EXPECT_EQ(r.error, "data did not match any variant of untagged enum TimeUnit");
  }
}
INSTANTIATE_TEST_SUITE_P(
    Texts, RuntimeReadTimeUnit,
    testing::Values(ReadCase{R"("DAYS")", R"("DAYS")"}, ReadCase{R"({"DAYS":null})", R"("DAYS")"},
                    ReadCase{" \t\r\n\"NANOSECONDS\" \n", R"("NANOSECONDS")"},
                    ReadCase{R"("days")", R"("days")"}, ReadCase{R"("Days")", R"("Days")"},
                    ReadCase{R"(" DAYS")", R"(" DAYS")"}, ReadCase{R"("")", R"("")"},
                    ReadCase{R"({"DAYS":1})", nullptr}, ReadCase{R"({"FOO":null})", nullptr},
                    ReadCase{"{}", nullptr}, ReadCase{R"({"DAYS":null,"HOURS":null})", nullptr},
                    ReadCase{"null", nullptr}, ReadCase{"3", nullptr}, ReadCase{"true", nullptr},
                    ReadCase{R"(["DAYS"])", nullptr}));

TEST(RuntimeReadNumericDataType, ReadsAndFails) {
  using objects::NumericDataType;
  EXPECT_EQ(deserialize<NumericDataType>(R"("FLOAT64")").value.value().enum_index(),
            uint32_t(NumericDataType::float64));
  EXPECT_EQ(to_json(deserialize<NumericDataType>(R"("float64")").value.value()), R"("float64")");
  EXPECT_EQ(deserialize<NumericDataType>("[]").error,
            "data did not match any variant of untagged enum NumericDataType");
  // Syntax errors are the reader's own, before any matching.
  for (const char* bad : {"", "\"DAYS\" x", "\"INT64", "{\"INT64\":null"}) {
    auto e = deserialize<NumericDataType>(bad);
    EXPECT_FALSE(e.ok()) << bad;
    EXPECT_EQ(e.error.find("data did not match"), std::string::npos) << bad;
  }
}

TEST(RuntimeUnion, MismatchedPayloadIsRejected) {
  const TypeDesc& u = TUnion::qc_desc_;
  const auto node = uint16_t(TUnion::Variant::node), set = uint16_t(TUnion::Variant::set);
  EXPECT_THROW(make_union(u, node, detail::RecordFields<TEmpty>{TEmpty{}}), std::logic_error);
  EXPECT_THROW(make_union(u, set, detail::RecordFields<TEmpty>{TEmpty{}}), std::logic_error);
  EXPECT_THROW(make_union(u, node, build(TEmpty{}).value()), std::logic_error);
  EXPECT_THROW(make_union(u, node, Value::i32(1)), std::logic_error);
}

TEST(RuntimeUnion, RecordBuiltAloneBecomesInlinePayload) {
  Value record = build(TNode{.first = as(Value::i32(1)), .items = {{as(Value::i32(2))}}}).value();
  EXPECT_EQ(to_json(make_union(TUnion::qc_desc_, uint16_t(TUnion::Variant::node), record)),
            R"({"type":"node","node":{"first":1,"items":[2]}})");
}

// A small union given as a payload is held in its parent's node: the wire form is the same
// whether the payload was built for it alone or is shared, its record fields included, and the
// payload itself is left untouched.
TEST(RuntimeUnion, UnionPayloadsHeldInPlaceWriteTheSame) {
  const std::string node_json = R"({"type":"node","node":{"first":"f","flag":true}})";
  Value shared = node({.first = as(Value::str("f")), .flag = Handle<Bool>(true)});
  Value alone = wrap(node({.first = as(Value::str("f")), .flag = Handle<Bool>(true)}), 2);
  Value sharing = wrap(shared, 2);
  for (const Value* v : {&alone, &sharing}) EXPECT_EQ(to_json(*v), wrapped(node_json, 2));
  EXPECT_EQ(to_json(shared), node_json);
  EXPECT_EQ(to_json(wrap(unknown<TUnion>("u", Any(1)).value(), 3)),
            wrapped(R"({"type":"u","u":1})", 3));
  EXPECT_EQ(to_json(list({wrap(leaf(1), 5), wrap(string_set({"s"}), 4)})),
            "[" + wrapped("1", 6) + "," + wrapped(R"(["s"])", 4) + "]");
}

// A union held in place is found only as the first slot of its parent's node: taken out of it
// and written elsewhere, it is refused rather than read past.
TEST(RuntimeUnion, InPlaceUnionOutOfItsPlaceIsRefused) {
  Value outer = TUnion::set(as(leaf(7))).value();
  EXPECT_EQ(to_json(outer), wrapped("7", 2));
  EXPECT_THROW(to_json(outer[0]), std::logic_error);
  EXPECT_THROW(to_json(list({outer[0]})), std::logic_error);
  EXPECT_THROW(to_json(TUnion::set(as(outer[0])).value()), std::logic_error);
}

// The nodes of a value and the slots each holds: 'N' with its slots for a node, 'V' for a union
// held in place, '.' for anything else.
std::string shape(const Value& v) {
  if (v.tag() == Tag::InPlaceUnion) return "V";
  if (v.tag() != Tag::Node) return ".";
  std::string out = "N(";
  for (uint32_t i = 0; i < v.size(); ++i) out += shape(v[i]);
  return out + ")";
}

// Unions made at once around a leaf are the nodes that wrapping it level by level makes.
TEST(RuntimeUnion, FoldedAtOnceAsLevelByLevel) {
  const UnionLevel set{&TUnion::qc_desc_, uint16_t(TUnion::Variant::set)};
  const UnionLevel levels[] = {set, set, set, set};
  for (size_t n = 1; n <= 3; ++n) {
    std::span<const UnionLevel> chain(levels, n);
    ASSERT_TRUE(fold_into_one_node(chain)) << n;
    for (const Value& inner : {Value::i32(7), Value::str(std::string(40, 's')), leaf(7)}) {
      Value expected = wrap(inner, int(n));
      Value made = folded_unions(chain, Value(inner));
      EXPECT_EQ(shape(made), shape(expected)) << n;
      EXPECT_EQ(to_json(made), to_json(expected)) << n;
    }
  }
  EXPECT_FALSE(fold_into_one_node(levels));
  EXPECT_FALSE(fold_into_one_node({}));
  const UnionLevel record{&TUnion::qc_desc_, uint16_t(TUnion::Variant::node)};
  EXPECT_FALSE(fold_into_one_node({&record, 1}));
}

// A folded chain writes, at once, what its levels write one at a time: alone, in a list, and
// held in place by a union around it, where its first slot is no longer its node's first.
template <class Chain>
void expect_chain_writes_as_levels(int n) {
  for (const Value& inner : {Value::i32(7), Value::str(std::string(40, 's')), leaf(7)}) {
    Value made = Chain::make(Value(inner));
    std::string expected = to_json(wrap(inner, n));
    EXPECT_EQ(to_json(made), expected) << n;
    EXPECT_EQ(to_json(list({made, made})), "[" + expected + "," + expected + "]") << n;
    EXPECT_EQ(to_json(TUnion::set(as(made)).value()), to_json(wrap(inner, n + 1))) << n;
  }
}
TEST(RuntimeUnion, FoldedChainWritesAsItsLevels) {
  using Set = Level<TUnion, TUnion::Variant::set>;
  expect_chain_writes_as_levels<FoldChain<Set, Set>>(2);
  expect_chain_writes_as_levels<FoldChain<Set, Set, Set>>(3);
}

// Unions of names 1, 2, 8, 9 and 10 bytes long, whose prefixes are 16 bytes and two more for each
// further byte of the name.
struct Pieces;
#define QC_VARIANTS(V)          \
  V(a, "a", Untyped)            \
  V(b, "bc", Untyped)           \
  V(c, "cdefghij", Untyped)     \
  V(d, "defghijkl", Untyped)    \
  V(e, "efghijklmn", Untyped)
QC_UNION(Pieces, QC_VARIANTS)
#undef QC_VARIANTS
template <Pieces::Variant... V>
using PieceChain = FoldChain<Level<Pieces, V>...>;

// A chain's opening is copied in 16-byte pieces: openings of whole pieces (32, 48 and 64 bytes)
// and two bytes short of or past them write all of the opening and nothing after it.
template <class Chain>
void expect_pieces(std::initializer_list<const char*> names, size_t length) {
  std::string opening;
  for (const char* n : names) opening += std::string(R"({"type":")") + n + R"(",")" + n + R"(":)";
  ASSERT_EQ(opening.size(), length);
  for (auto [leaf, text] : {std::pair{Value::i32(7), "7"}, std::pair{Value::str("s"), R"("s")"}}) {
    std::string one = opening + text + std::string(names.size(), '}');
    Value made = Chain::make(std::move(leaf));
    EXPECT_EQ(to_json(made), one) << length;
    EXPECT_EQ(to_json(list({made, made})), "[" + one + "," + one + "]") << length;
  }
}
TEST(RuntimeUnion, FoldedChainOpeningsAroundWholePieces) {
  using V = Pieces::Variant;
  expect_pieces<PieceChain<V::a, V::a>>({"a", "a"}, 32);
  expect_pieces<PieceChain<V::a, V::b>>({"a", "bc"}, 34);
  expect_pieces<PieceChain<V::a, V::c>>({"a", "cdefghij"}, 46);
  expect_pieces<PieceChain<V::a, V::a, V::a>>({"a", "a", "a"}, 48);
  expect_pieces<PieceChain<V::a, V::a, V::c>>({"a", "a", "cdefghij"}, 62);
  expect_pieces<PieceChain<V::a, V::a, V::d>>({"a", "a", "defghijkl"}, 64);
  expect_pieces<PieceChain<V::a, V::a, V::e>>({"a", "a", "efghijklmn"}, 66);
}

// Strings up to a few bytes are held in the value, longer ones in a block: around that limit,
// escaped or not, as values, keys, set members and constants, they write and order the same.
TEST(RuntimeString, EveryLengthAroundTheInlineLimit) {
  for (size_t n = 0; n <= 40; ++n) {
    std::string plain(n, 'a'), quoted(n, '"');
    EXPECT_EQ(to_json(Value::str(plain)), "\"" + plain + "\"") << n;
    std::string escaped;
    for (size_t i = 0; i < n; ++i) escaped += "\\\"";
    Value q = Value::str(quoted), copy = q;
    q = Value();
    EXPECT_EQ(to_json(copy), "\"" + escaped + "\"") << n;
    EXPECT_EQ(
        to_json(string_map({{plain + "b", leaf(1)}, {plain, leaf(2)}})),
        "{\"" + plain + "\":" + wrapped("2", 1) + ",\"" + plain + "b\":" + wrapped("1", 1) + "}")
        << n;
    EXPECT_EQ(to_json(string_set({plain + "b", plain})), "[\"" + plain + "\",\"" + plain + "b\"]")
        << n;
    EXPECT_EQ(to_json(string_constant_set({literal(plain + "b"), literal(plain)})),
              R"([{"type":"literal","literal":")" + plain + R"("},{"type":"literal","literal":")" +
                  plain + R"(b"}])")
        << n;
  }
}

// A million levels, through record fields and through union payloads: built, copied, written and
// destroyed without native recursion.
TEST(RuntimeDepth, MillionLevels) {
  constexpr int kDepth = 1000000;
  Handle<TUnion> chain = TUnion::empty({});
  for (int i = 0; i < kDepth; ++i) chain = TUnion::chain({.next = std::move(chain)});
  struct Shape {
    Value value;
    std::string head, inner;
    size_t closing;
  } shapes[] = {
      {chain.value(), R"({"type":"chain","chain":{"next":)", R"({"type":"empty","empty":{}})", 2},
      {wrap(leaf(9), kDepth), R"({"type":"set","set":)", wrapped("9", 1), 1}};
  chain = {};
  for (Shape& s : shapes) {
    Value copy = s.value;
    const std::string out = to_json(copy);
    ASSERT_EQ(out.size(), kDepth * (s.head.size() + s.closing) + s.inner.size());
    EXPECT_EQ(out.substr(0, s.head.size()), s.head);
    EXPECT_EQ(out.substr(kDepth * s.head.size(), s.inner.size()), s.inner);
    EXPECT_EQ(out.find_first_not_of('}', kDepth * s.head.size() + s.inner.size()),
              std::string::npos);
    s.value = Value();
  }
}

// Nodes built on one thread and released on others, while those threads build and release their
// own: every thread's result and the shared tree stay whole.
TEST(RuntimeThreads, BuildAndReleaseAcrossThreads) {
  const Value shared = wrap(node({.first = as(leaf(1)), .items = {{as(leaf(2)), as(leaf(3))}}}), 4);
  const std::string shared_json = to_json(shared);
  constexpr int kThreads = 8;
  std::vector<std::vector<Value>> handed(kThreads);
  for (int t = 0; t < kThreads; ++t)
    for (int i = 0; i < 2000; ++i) handed[t].push_back(wrap(leaf(i), 3));
  std::vector<std::string> results(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      std::vector<Value> mine = std::move(handed[t]);  // released here, built on the main thread
      Value built = leaf(t);
      for (int i = 0; i < 20000; ++i) {
        Value step = node({.first = as(shared), .items = {{as(built), as(leaf(i))}}});
        built = (i % 100 == 99) ? leaf(i) : wrap(std::move(step), 1);
      }
      mine.clear();
      results[t] = to_json(built);
    });
  }
  for (auto& th : threads) th.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(results[t], wrapped("19999", 1)) << t;
  EXPECT_EQ(to_json(shared), shared_json);
}

// The last reference to a tree dropped by several threads at once, round after round: exactly one
// of them releases it (the sanitizer run sees a double release or a use after it), and a part of
// it still held elsewhere stays whole.
TEST(RuntimeThreads, ManyThreadsDropCopiesOfOneValueAtOnce) {
  constexpr int kThreads = 8, kRounds = 3000;
  const Value held = wrap(node({.first = as(Value::str("kept"))}), 2);
  const std::string held_json = to_json(held);
  std::vector<Value> copies(kThreads);
  std::barrier sync(kThreads + 1);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      for (int r = 0; r < kRounds; ++r) {
        sync.arrive_and_wait();  // the copies are handed out
        copies[t] = Value();
        sync.arrive_and_wait();  // every copy is dropped
      }
    });
  for (int r = 0; r < kRounds; ++r) {
    Value shared =
        node({.first = as(held), .items = as<List<Untyped>>(list({leaf(r), Value::str("x")}))});
    for (Value& c : copies) c = shared;
    shared = Value();
    sync.arrive_and_wait();
    sync.arrive_and_wait();
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(to_json(held), held_json);
}

// A reference count about to pass 31 bits pins its block instead of wrapping: copies and drops
// then leave it alone (it lives to the end of the process), and the value stays whole.
TEST(RuntimeCopy, ReferenceCountPinsRatherThanWraps) {
  Value v = wrap(leaf(4), 3);
  auto& refs = const_cast<Heap*>(v.heap())->refs;
  refs.store(0x7FFFFFFFu);
  {
    Value a = v, b = v;
    EXPECT_EQ(refs.load(), kPinnedRefs);
  }
  EXPECT_EQ(refs.load(), kPinnedRefs);
  EXPECT_EQ(to_json(v), wrapped("4", 4));
  refs.store(1);  // hand the block back, so that the leak checker sees it freed
}

size_t in_use() { return mallinfo2().uordblks; }

// Every kind of value gives back all it took when its last holder drops it: thousands made and
// dropped leave malloc's count of bytes in use where it was, give or take what the caches happen
// to hold (a leak of one block per value would be tens of kilobytes). Under the sanitizer that
// count is not kept, and the leak checker at exit makes the same check.
TEST(RuntimeRelease, EveryKindGivesBackItsMemory) {
  using Make = Value (*)(int);
  const Make kinds[] = {
      [](int i) { return Value::str(std::string(1000 + i % 7, 'x')); },
      [](int) { return Value::any(Any::parse(R"({"a":[1,"two",{"b":null}]})")); },
      [](int i) { return node({.first = as(leaf(i)), .flag = Handle<Bool>(true)}); },
      [](int i) { return wrap(Value::str(std::string(20 + i % 5, 'd')), 40); },
      [](int i) { return list({wrap(wrap(leaf(i), 1), 1), Value::str("a"), list({})}); },
      [](int) { return unknown<TUnion>("u", Any::parse("[1,2,3]")).value(); },
      [](int i) { return string_map({{"k", leaf(i)}, {"j", Value::str("v")}}); },
      [](int) { return string_constant_set({literal("b"), variable("a")}); },
  };
  for (size_t k = 0; k < std::size(kinds); ++k) {
    size_t before = 0;
    for (int round = 0; round < 2; ++round) {  // the first fills the caches that the second reuses
      if (round == 1) before = in_use();
      std::vector<Value> made;
      for (int i = 0; i < 2000; ++i) made.push_back(kinds[k](i));
      Value shared = list(std::vector<Value>(made.begin(), made.begin() + 100));
      made.clear();
    }
    EXPECT_LT(std::max(in_use(), before) - std::min(in_use(), before), 4096u) << "kind " << k;
  }
}

// Malloc's bytes in use after `rounds` runs of `work`, less those after the first run (which
// fills the caches that later runs reuse).
template <class Work>
long grown_over(int rounds, Work work) {
  work();
  size_t before = in_use();
  for (int r = 1; r < rounds; ++r) work();
  return long(in_use()) - long(before);
}

// Assigning over a value that holds memory drops what it held, by copy as by move.
TEST(RuntimeRelease, AssigningOverAValueDropsWhatItHeld) {
  Value target = Value::str(std::string(1000, 't'));
  const Value other = wrap(Value::str(std::string(900, 'o')), 3);
  long grown = grown_over(20000, [&] {
    Value fresh = wrap(Value::str(std::string(1000, 'f')), 2);
    target = fresh;  // copy: fresh's block now has two holders
    target = other;  // copy over the last holder but one
    target = wrap(Value::str(std::string(1000, 'm')), 1);  // move over a value held alone
  });
  EXPECT_LT(std::abs(grown), 65536) << "over 20000 rounds";
  EXPECT_EQ(to_json(other), wrapped('"' + std::string(900, 'o') + '"', 3));
}

// A thread's cache of freed blocks goes back to malloc when the thread ends, and a value
// released later in the thread's end (by a thread-specific destructor that runs after the
// cache's) goes straight to malloc: hundreds of threads, each leaving its cache full, leave
// malloc's bytes in use where they were.
struct LateRelease {
  pthread_key_t key;
  LateRelease() {
    pthread_key_create(&key, [](void* v) { delete static_cast<Value*>(v); });
  }
  ~LateRelease() { pthread_key_delete(key); }
};

Value small_tree(int n) {
  std::vector<Value> leaves;
  for (int i = 0; i < n; ++i) leaves.push_back(leaf(i));
  return list(std::move(leaves));
}

TEST(RuntimeRelease, EndingThreadsGiveBackTheirCachedBlocks) {
  LateRelease late;  // its key is made after the runtime's: its destructor runs later
  for (bool released_late : {false, true}) {
    long grown = grown_over(300, [&] {
      std::thread([&] {
        // Fills the cache of its leaves' class (block_cache_test.cc fills every class).
        for (int i = 0; i < 4; ++i) small_tree(200);
        if (released_late) pthread_setspecific(late.key, new Value(small_tree(200)));
      }).join();
    });
    EXPECT_LT(std::abs(grown), 262144) << "over 300 threads, released late: " << released_late;
  }
}

}  // namespace
}  // namespace qc::model
