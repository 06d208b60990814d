// Wire rules of the runtime: records, unions, collections, scalars, constants and enum reading.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/units.h"

namespace qc::model {
namespace {

// Test-only types covering every presence and payload kind.
#define QC_T_NODE_FIELDS(F)                                                          \
  F(first, "first", Optional) F(optional, "optional", Optional)                    \
  F(items, "items", Collection) F(maybe_items, "maybeItems", OptionalCollection)   \
  F(flag, "flag", Optional)
QC_RECORD(TNode, QC_T_NODE_FIELDS)
#define QC_T_REQ_FIELDS(F) F(required, "required", Required) F(optional, "optional", Optional)
QC_RECORD(TReq, QC_T_REQ_FIELDS)
#define QC_T_EMPTY_FIELDS(F)
QC_RECORD(TEmpty, QC_T_EMPTY_FIELDS)
#define QC_T_CHAIN_FIELDS(F) F(next, "next", Optional)
QC_RECORD(TChain, QC_T_CHAIN_FIELDS)
#define QC_T_UNION_VARIANTS(V) \
  V(node, "node", TNode) V(empty, "empty", TEmpty) V(set, "set", ::qc::Value) V(chain, "chain", TChain)
QC_UNION(TUnion, QC_T_UNION_VARIANTS)

struct Case {
  const char* name;
  Value (*make)();
  const char* json;
};

class RuntimeWire : public testing::TestWithParam<Case> {};

TEST_P(RuntimeWire, Writes) { EXPECT_EQ(to_json(GetParam().make()), GetParam().json); }

INSTANTIATE_TEST_SUITE_P(
    Records, RuntimeWire,
    testing::Values(
        Case{"all_absent_is_empty_object", [] { return TNode{}.build(); }, "{}"},
        Case{"empty_record_payload",
             [] { return TUnion::make(TUnion::empty, TEmpty{}); },
             R"({"type":"empty","empty":{}})"},
        Case{"present_optional_and_empty_list_writes_only_optional",
             [] { return TNode{.optional = Value::i32(1), .items = list({})}.build(); },
             R"({"optional":1})"},
        Case{"optional_collection_present_and_empty_is_written",
             [] { return TNode{.maybe_items = list({})}.build(); }, R"({"maybeItems":[]})"},
        Case{"optional_empty_map_is_written",
             [] { return TNode{.maybe_items = string_map({})}.build(); }, R"({"maybeItems":{}})"},
        Case{"false_boolean_is_written",
             [] { return TNode{.flag = Value::boolean(false)}.build(); }, R"({"flag":false})"},
        Case{"wire_order_is_declaration_order",
             [] {
               return TNode{.first = Value::str("r"), .optional = Value::boolean(true),
                            .items = list({Value::i32(2), Value::i32(1), Value::i32(2)}),
                            .maybe_items = list({}), .flag = Value::boolean(true)}
                   .build();
             },
             R"({"first":"r","optional":true,"items":[2,1,2],"maybeItems":[],"flag":true})"},
        Case{"required_field_alone", [] { return TReq{.required = Value::i32(0)}.build(); },
             R"({"required":0})"},
        Case{"union_with_empty_set_payload",
             [] { return TUnion::make(TUnion::set, string_set({})); },
             R"({"type":"set","set":[]})"},
        Case{"union_record_payload",
             [] { return TUnion::make(TUnion::node, TNode{.first = Value::i64(-1)}); },
             R"({"type":"node","node":{"first":-1}})"},
        Case{"unknown_variant", [] { return TUnion::unknown("foo", Any(3)); },
             R"({"type":"foo","foo":3})"},
        Case{"unknown_variant_name_is_escaped", [] { return TUnion::unknown("a\"b", Any(nullptr)); },
             R"({"type":"a\"b","a\"b":null})"},
        Case{"unknown_variant_structured_value",
             [] {
               return TUnion::unknown("x", Any::parse(R"({"b":[1,2.5,"s\n",true,null],"a":{}})"));
             },
             R"({"type":"x","x":{"a":{},"b":[1,2.5,"s\n",true,null]}})"},
        Case{"map_in_key_order",
             [] {
               return string_map({{"b", Value::i32(1)}, {"a", Value::i32(2)}, {"ab", Value::i32(3)},
                                  {"B", Value::i32(4)}});
             },
             R"({"B":4,"a":2,"ab":3,"b":1})"},
        Case{"map_later_equal_key_wins",
             [] { return string_map({{"k", Value::i32(1)}, {"k", Value::i32(2)}}); },
             R"({"k":2})"},
        Case{"enum_keyed_map_in_declaration_order",
             [] {
               return enum_map({{api::TimeUnit::make(api::TimeUnit::seconds), Value::i32(1)},
                                {api::TimeUnit::unknown("WEEKS"), Value::i32(3)},
                                {api::TimeUnit::make(api::TimeUnit::days), Value::i32(2)}});
             },
             R"({"DAYS":2,"SECONDS":1,"WEEKS":3})"},
        Case{"string_set_sorted_unique",
             [] { return string_set({"b", "a", "b"}); }, R"(["a","b"])"},
        Case{"enum_value", [] { return api::TimeUnit::make(api::TimeUnit::milliseconds); },
             R"("MILLISECONDS")"},
        Case{"enum_unknown_value", [] { return api::TimeUnit::unknown("bar"); }, R"("bar")"},
        Case{"i32_min", [] { return Value::i32(std::numeric_limits<int32_t>::min()); },
             "-2147483648"},
        Case{"i64_min", [] { return Value::i64(std::numeric_limits<int64_t>::min()); },
             "-9223372036854775808"},
        Case{"i64_max", [] { return Value::i64(std::numeric_limits<int64_t>::max()); },
             "9223372036854775807"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Constants, RuntimeWire,
    testing::Values(
        Case{"integer_min_literal", [] { return integer_literal(std::numeric_limits<int32_t>::min()); },
             R"({"type":"literal","literal":-2147483648})"},
        Case{"double_infinity_is_null",
             [] { return double_literal(std::numeric_limits<double>::infinity()); },
             R"({"type":"literal","literal":null})"},
        Case{"double_two", [] { return double_literal(2.0); }, R"({"type":"literal","literal":2.0})"},
        Case{"double_variable",
             [] { return DoubleConstant::make(DoubleConstant::variable, Value::str("v")); },
             R"({"type":"variable","variable":"v"})"},
        Case{"empty_string_literal", [] { return string_literal(""); },
             R"({"type":"literal","literal":""})"},
        Case{"empty_variable_name", [] { return string_variable(""); },
             R"({"type":"variable","variable":""})"},
        Case{"string_set_literal_sorted",
             [] { return StringSetConstant::make(StringSetConstant::literal, string_set({"b", "a", "b"})); },
             R"({"type":"literal","literal":["a","b"]})"},
        Case{"empty_set_literal",
             [] { return StringSetConstant::make(StringSetConstant::literal, string_set({})); },
             R"({"type":"literal","literal":[]})"},
        Case{"string_set_v2_literal",
             [] {
               return StringSetConstantV2::make(
                   StringSetConstantV2::literal,
                   string_constant_set({string_literal("b"), string_literal("a"), string_literal("b"),
                                        string_literal("a")}));
             },
             R"({"type":"literal","literal":[{"type":"literal","literal":"a"},{"type":"literal","literal":"b"}]})"},
        Case{"timestamp_zero", [] { return timestamp(0, 0); }, R"({"seconds":0,"nanos":0})"},
        Case{"timestamp_negative", [] { return timestamp(-5, 7); }, R"({"seconds":-5,"nanos":7})"},
        Case{"timestamp_constant",
             [] { return TimestampConstant::make(TimestampConstant::literal, timestamp(1, 2)); },
             R"({"type":"literal","literal":{"seconds":1,"nanos":2}})"},
        Case{"duration_constant_unnormalised",
             [] { return DurationConstant::make(DurationConstant::literal, run_duration(1, 2000000000)); },
             R"({"type":"literal","literal":{"seconds":1,"nanos":2000000000}})"},
        Case{"constant_numeric_series",
             [] { return ConstantNumericSeries::make(ConstantNumericSeries::double_, double_literal(2.5)); },
             R"({"type":"double","double":{"type":"literal","literal":2.5}})"},
        Case{"constant_unknown", [] { return IntegerConstant::unknown("later", Any("x")); },
             R"({"type":"later","later":"x"})"}),
    [](const auto& info) { return std::string(info.param.name); });

// Doubles: the layout rule over shortest round-trip digits.
struct DoubleCase {
  double value;
  const char* text;
};
class RuntimeDouble : public testing::TestWithParam<DoubleCase> {};
TEST_P(RuntimeDouble, Writes) { EXPECT_EQ(to_json(Value::f64(GetParam().value)), GetParam().text); }
INSTANTIATE_TEST_SUITE_P(
    Layout, RuntimeDouble,
    testing::Values(DoubleCase{2.0, "2.0"}, DoubleCase{0.1, "0.1"}, DoubleCase{1e-5, "0.00001"},
                    DoubleCase{1e-6, "1e-6"}, DoubleCase{1.5e-7, "1.5e-7"},
                    DoubleCase{1e15, "1000000000000000.0"}, DoubleCase{1e16, "1e+16"},
                    DoubleCase{1.2345e20, "1.2345e+20"}, DoubleCase{100.0, "100.0"},
                    DoubleCase{1.5, "1.5"}, DoubleCase{123.456, "123.456"}, DoubleCase{0.5, "0.5"},
                    DoubleCase{0.001, "0.001"}, DoubleCase{-2.5, "-2.5"}, DoubleCase{0.0, "0.0"},
                    DoubleCase{-0.0, "-0.0"}, DoubleCase{5e-324, "5e-324"},
                    DoubleCase{DBL_MAX, "1.7976931348623157e+308"},
                    DoubleCase{0.1 + 0.2, "0.30000000000000004"},
                    DoubleCase{123456789012345.6, "123456789012345.6"},
                    DoubleCase{1.25e-5, "0.0000125"},
                    DoubleCase{std::numeric_limits<double>::quiet_NaN(), "null"},
                    DoubleCase{-std::numeric_limits<double>::infinity(), "null"}));

TEST(RuntimeDoubleRoundTrip, RandomBitsReadBackExactly) {
  std::mt19937_64 rng(12345);
  for (int i = 0; i < 200000; ++i) {
    uint64_t bits = rng();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    if (!std::isfinite(d)) continue;
    char buf[kDoubleSpace + 1];
    size_t n = write_double(buf, d);
    buf[n] = '\0';
    double back = std::strtod(buf, nullptr);
    ASSERT_EQ(std::memcmp(&back, &d, sizeof d), 0) << buf;
    ASSERT_TRUE(std::strchr(buf, '.') || std::strchr(buf, 'e')) << buf;
  }
}

// Strings: every control byte, quote, backslash, slash, DEL and non-ASCII text.
TEST(RuntimeString, EscapesEveryControlByte) {
  const char* expected[32] = {
      "\\u0000", "\\u0001", "\\u0002", "\\u0003", "\\u0004", "\\u0005", "\\u0006", "\\u0007",
      "\\b",     "\\t",     "\\n",     "\\u000b", "\\f",     "\\r",     "\\u000e", "\\u000f",
      "\\u0010", "\\u0011", "\\u0012", "\\u0013", "\\u0014", "\\u0015", "\\u0016", "\\u0017",
      "\\u0018", "\\u0019", "\\u001a", "\\u001b", "\\u001c", "\\u001d", "\\u001e", "\\u001f"};
  for (int c = 0; c < 32; ++c) {
    std::string s(1, char(c));
    EXPECT_EQ(to_json(Value::str(s)), std::string("\"") + expected[c] + "\"") << c;
  }
  EXPECT_EQ(to_json(Value::str("\"\\/\x7f\xc3\xa9\xe2\x82\xac")), "\"\\\"\\\\/\x7f\xc3\xa9\xe2\x82\xac\"");
  EXPECT_EQ(to_json(Value::str("\t\n\x01\"\\/\xc3\xa4")), "\"\\t\\n\\u0001\\\"\\\\/\xc3\xa4\"");
}

// StringConstant sets: stable sort by the constant order, equal neighbours dropped.
TEST(RuntimeStringConstantSet, OrderAndEquality) {
  auto json = [](std::vector<Value> items) { return to_json(string_constant_set(std::move(items))); };
  EXPECT_EQ(json({string_literal("b"), string_literal("a"), string_literal("b"), string_literal("a")}),
            R"([{"type":"literal","literal":"a"},{"type":"literal","literal":"b"}])");
  EXPECT_EQ(json({string_variable("a"), string_literal("z")}),
            R"([{"type":"literal","literal":"z"},{"type":"variable","variable":"a"}])");
  EXPECT_EQ(json({string_literal("abc"), string_literal("ab")}),
            R"([{"type":"literal","literal":"ab"},{"type":"literal","literal":"abc"}])");
  EXPECT_EQ(json({string_literal("a"), string_literal("B")}),
            R"([{"type":"literal","literal":"B"},{"type":"literal","literal":"a"}])");
  EXPECT_EQ(json({string_variable("x"), string_literal("x")}),
            R"([{"type":"literal","literal":"x"},{"type":"variable","variable":"x"}])");
  EXPECT_EQ(json({string_literal("a"), string_literal("")}),
            R"([{"type":"literal","literal":""},{"type":"literal","literal":"a"}])");
  EXPECT_EQ(json({}), "[]");
  EXPECT_EQ(json({StringConstant::unknown("u", Any(2)), string_variable("v"),
                  StringConstant::unknown("u", Any(1)), StringConstant::unknown("u", Any(2))}),
            R"([{"type":"variable","variable":"v"},{"type":"u","u":1},{"type":"u","u":2}])");
  // Non-ASCII bytes order above ASCII (unsigned comparison).
  EXPECT_EQ(json({string_literal("\xc3\xa9"), string_literal("z")}),
            "[{\"type\":\"literal\",\"literal\":\"z\"},{\"type\":\"literal\",\"literal\":\"\xc3\xa9\"}]");
}

// Reading the two enumerations from JSON text.
struct ReadCase {
  const char* text;
  const char* written;  // null: the read fails with the type's message
};
class RuntimeReadTimeUnit : public testing::TestWithParam<ReadCase> {};
TEST_P(RuntimeReadTimeUnit, Reads) {
  EnumRead r = api::TimeUnit::deserialize(GetParam().text);
  if (GetParam().written) {
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(to_json(r.value), GetParam().written);
  } else {
    EXPECT_EQ(r.error, "data did not match any variant of untagged enum TimeUnit");
  }
}
INSTANTIATE_TEST_SUITE_P(
    Texts, RuntimeReadTimeUnit,
    testing::Values(ReadCase{R"("DAYS")", R"("DAYS")"}, ReadCase{R"({"DAYS":null})", R"("DAYS")"},
                    ReadCase{" \t\r\n\"NANOSECONDS\" \n", R"("NANOSECONDS")"},
                    ReadCase{R"("SECONDS")", R"("SECONDS")"}, ReadCase{R"("days")", R"("days")"},
                    ReadCase{R"("Days")", R"("Days")"}, ReadCase{R"(" DAYS")", R"(" DAYS")"},
                    ReadCase{R"("")", R"("")"}, ReadCase{R"("weeks")", R"("weeks")"},
                    ReadCase{R"({"DAYS":1})", nullptr}, ReadCase{R"({"FOO":null})", nullptr},
                    ReadCase{"{}", nullptr}, ReadCase{R"({"DAYS":null,"HOURS":null})", nullptr},
                    ReadCase{"null", nullptr}, ReadCase{"3", nullptr}, ReadCase{"true", nullptr},
                    ReadCase{R"(["DAYS"])", nullptr}));

TEST(RuntimeReadNumericDataType, ReadsAndFails) {
  using objects::NumericDataType;
  EnumRead r = NumericDataType::deserialize(R"("FLOAT64")");
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.value.tag(), Tag::Enum);
  EXPECT_EQ(r.value.enum_index(), uint32_t(NumericDataType::float64));
  EXPECT_EQ(to_json(NumericDataType::deserialize(R"("float64")").value), R"("float64")");
  EXPECT_EQ(NumericDataType::deserialize("[]").error,
            "data did not match any variant of untagged enum NumericDataType");
  // Syntax errors are the reader's own, before any matching.
  for (const char* bad : {"", "\"DAYS\" x", "\"INT64", "{\"INT64\":null"}) {
    EnumRead e = NumericDataType::deserialize(bad);
    EXPECT_FALSE(e.ok()) << bad;
    EXPECT_EQ(e.error.find("data did not match"), std::string::npos) << bad;
  }
}

// Copies share; dropping either side leaves the other intact.
TEST(RuntimeCopy, SharesAndOutlivesSource) {
  Value copy;
  {
    Value src = TUnion::make(TUnion::node, TNode{.first = string_literal("x"),
                                                  .items = list({Value::str("a")})});
    copy = src;
    EXPECT_EQ(to_json(copy), to_json(src));
  }
  EXPECT_EQ(to_json(copy),
            R"({"type":"node","node":{"first":{"type":"literal","literal":"x"},"items":["a"]}})");
}

TEST(RuntimeUnion, MismatchedPayloadIsRejected) {
  EXPECT_THROW(TUnion::make(TUnion::node, TEmpty{}), std::logic_error);
  EXPECT_THROW(TUnion::make(TUnion::set, TEmpty{}), std::logic_error);
  EXPECT_THROW(TUnion::make(TUnion::node, TEmpty{}.build()), std::logic_error);
  EXPECT_THROW(TUnion::make(TUnion::node, Value::i32(1)), std::logic_error);
}

TEST(RuntimeUnion, RecordBuiltAloneBecomesInlinePayload) {
  Value record = TNode{.first = Value::i32(1), .items = list({Value::i32(2)})}.build();
  EXPECT_EQ(to_json(TUnion::make(TUnion::node, record)),
            R"({"type":"node","node":{"first":1,"items":[2]}})");
}

// A million levels: built, copied, written and destroyed without native recursion.
TEST(RuntimeDepth, MillionLevels) {
  constexpr int kDepth = 1000000;
  Value v = TUnion::make(TUnion::empty, TEmpty{});
  for (int i = 0; i < kDepth; ++i) v = TUnion::make(TUnion::chain, TChain{.next = std::move(v)});
  Value copy = v;
  Buffer out;
  write_json(out, copy);
  const std::string_view head = R"({"type":"chain","chain":{"next":)";
  const std::string_view tail = R"({"type":"empty","empty":{}})";
  ASSERT_EQ(out.size(), kDepth * (head.size() + 2) + tail.size());
  EXPECT_EQ(out.view().substr(0, head.size()), head);
  EXPECT_EQ(out.view().substr(kDepth * head.size(), tail.size()), tail);
  v = Value();
  copy = Value();
}

}  // namespace
}  // namespace qc::model
