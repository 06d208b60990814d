// The writer's and the allocator's quick paths: whole doubles, unions nested in unions, long
// texts that outgrow one reserved step, output appended to a buffer, and values released on
// threads other than the one that built them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "quarnel/compute/model/decl.h"

namespace qc::model {
namespace {

// A union whose payloads are not records: "wrap" holds another PWrap, "leaf" a scalar.
#define QC_P_WRAP_VARIANTS(V) V(wrap, "wrap", ::qc::Value) V(leaf, "leaf", ::qc::Value)
QC_UNION(PWrap, QC_P_WRAP_VARIANTS)
#define QC_P_PAIR_FIELDS(F) F(first, "first", Required) F(rest, "rest", Collection) F(tail, "tail", Optional)
QC_RECORD(PPair, QC_P_PAIR_FIELDS)
#define QC_P_HOLDER_VARIANTS(V) V(pair, "pair", PPair)
QC_UNION(PHolder, QC_P_HOLDER_VARIANTS)

Value leaf(int32_t i) { return PWrap::make(PWrap::leaf, Value::i32(i)); }
Value wrap(Value v, int times) {
  for (int i = 0; i < times; ++i) v = PWrap::make(PWrap::wrap, std::move(v));
  return v;
}
std::string wrapped_text(const std::string& inner, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += R"({"type":"wrap","wrap":)";
  out += inner;
  out.append(size_t(times), '}');
  return out;
}

struct DoubleCase {
  double value;
  const char* text;
};
void PrintTo(const DoubleCase& c, std::ostream* os) { *os << c.text; }

class RuntimeWholeDouble : public testing::TestWithParam<DoubleCase> {};

TEST_P(RuntimeWholeDouble, WritesDigitsAndPointZero) {
  EXPECT_EQ(to_json(Value::f64(GetParam().value)), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, RuntimeWholeDouble,
    testing::Values(DoubleCase{1.0, "1.0"}, DoubleCase{-1.0, "-1.0"}, DoubleCase{10.0, "10.0"},
                    DoubleCase{-250.0, "-250.0"}, DoubleCase{19999.0, "19999.0"},
                    DoubleCase{4503599627370496.0, "4503599627370496.0"},          // 2^52
                    DoubleCase{4503599627370497.0, "4503599627370497.0"},          // 2^52 + 1
                    DoubleCase{9007199254740991.0, "9007199254740991.0"},          // 2^53 - 1
                    DoubleCase{-9007199254740991.0, "-9007199254740991.0"},
                    DoubleCase{9007199254740992.0, "9007199254740992.0"},          // 2^53
                    DoubleCase{9007199254740994.0, "9007199254740994.0"},          // 2^53 + 2
                    DoubleCase{1e16, "1e+16"}, DoubleCase{-1e16, "-1e+16"}, DoubleCase{2.5, "2.5"},
                    DoubleCase{-0.5, "-0.5"}));

// Every whole number below 2^53 is its own digits followed by ".0", and reads back exactly.
TEST(RuntimeWholeDoubleRandom, DigitsAreTheInteger) {
  std::mt19937_64 rng(7);
  for (int i = 0; i < 100000; ++i) {
    int shift = int(rng() % 54);
    int64_t n = int64_t(rng() >> (63 - shift % 63)) % (int64_t(1) << 53);
    if (n == 0) continue;
    if (rng() & 1) n = -n;
    char buf[kDoubleSpace + 1];
    size_t len = write_double(buf, double(n));
    ASSERT_EQ(std::string(buf, len), std::to_string(n) + ".0");
  }
}

struct NestCase {
  const char* name;
  Value (*make)();
  std::string json;
};
void PrintTo(const NestCase& c, std::ostream* os) { *os << c.name; }

class RuntimeNestedUnion : public testing::TestWithParam<NestCase> {};

TEST_P(RuntimeNestedUnion, ClosesEveryLevel) { EXPECT_EQ(to_json(GetParam().make()), GetParam().json); }

INSTANTIATE_TEST_SUITE_P(
    Shapes, RuntimeNestedUnion,
    testing::Values(
        NestCase{"leaf", [] { return leaf(1); }, R"({"type":"leaf","leaf":1})"},
        NestCase{"three_levels", [] { return wrap(leaf(2), 3); },
                 wrapped_text(R"({"type":"leaf","leaf":2})", 3)},
        NestCase{"nine_levels_past_one_short_run", [] { return wrap(leaf(3), 9); },
                 wrapped_text(R"({"type":"leaf","leaf":3})", 9)},
        NestCase{"around_a_record_union", [] {
                   return wrap(PHolder::make(PHolder::pair, PPair{.first = leaf(4)}), 2);
                 },
                 wrapped_text(R"({"type":"pair","pair":{"first":{"type":"leaf","leaf":4}}})", 2)},
        NestCase{"inside_fields_and_lists", [] {
                   return PHolder::make(PHolder::pair,
                                        PPair{.first = wrap(leaf(5), 2),
                                              .rest = list({wrap(leaf(6), 1), leaf(7), wrap(leaf(8), 3)}),
                                              .tail = wrap(Value::str("t"), 1)});
                 },
                 R"({"type":"pair","pair":{"first":)" + wrapped_text(R"({"type":"leaf","leaf":5})", 2) +
                     R"(,"rest":[)" + wrapped_text(R"({"type":"leaf","leaf":6})", 1) +
                     R"(,{"type":"leaf","leaf":7},)" + wrapped_text(R"({"type":"leaf","leaf":8})", 3) +
                     R"(],"tail":{"type":"wrap","wrap":"t"}}})"}),
    [](const testing::TestParamInfo<NestCase>& i) { return std::string(i.param.name); });

// A million unions nested in unions, written in constant stack: all closing braces come at the end.
TEST(RuntimeNestedUnionDepth, MillionLevels) {
  constexpr int kDepth = 1000000;
  Value v = wrap(leaf(9), kDepth);
  Buffer out;
  write_json(out, v);
  const std::string head = R"({"type":"wrap","wrap":)";
  const std::string inner = R"({"type":"leaf","leaf":9})";
  ASSERT_EQ(out.size(), kDepth * (head.size() + 1) + inner.size());
  EXPECT_EQ(out.view().substr(0, head.size()), head);
  EXPECT_EQ(out.view().substr(kDepth * head.size(), inner.size()), inner);
  EXPECT_EQ(out.view().find_first_not_of('}', kDepth * head.size() + inner.size()), std::string_view::npos);
}

// Texts far longer than one reserved step, escaped, as a scalar, inside a union and as a map key.
TEST(RuntimeLongText, OutgrowsTheStep) {
  std::string raw, escaped;
  for (int i = 0; i < 200000; ++i) {
    raw += "a\"\n\x01";
    escaped += "a\\\"\\n\\u0001";
  }
  EXPECT_EQ(to_json(Value::str(raw)), "\"" + escaped + "\"");
  EXPECT_EQ(to_json(wrap(Value::str(raw), 2)), wrapped_text("\"" + escaped + "\"", 2));
  EXPECT_EQ(to_json(string_map({{raw, leaf(1)}})), "{\"" + escaped + R"(":{"type":"leaf","leaf":1}})");
}

// The writer appends: what the buffer held stays in front.
TEST(RuntimeBuffer, WriteAppends) {
  Buffer out;
  out.append("[");
  for (int i = 0; i < 3000; ++i) {
    if (i) out.put(',');
    write_json(out, wrap(leaf(i), 1));
  }
  out.put(']');
  std::string expected = "[";
  for (int i = 0; i < 3000; ++i)
    expected += (i ? "," : "") + wrapped_text(R"({"type":"leaf","leaf":)" + std::to_string(i) + "}", 1);
  EXPECT_EQ(out.view(), expected + "]");
}

// Nodes built on one thread and released on others, while those threads build and release their
// own: every thread's result and the shared tree stay whole.
TEST(RuntimeThreads, BuildAndReleaseAcrossThreads) {
  const Value shared = wrap(PHolder::make(PHolder::pair, PPair{.first = leaf(1), .rest = list({leaf(2), leaf(3)})}), 4);
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
        Value step = PHolder::make(PHolder::pair, PPair{.first = shared, .rest = list({built, leaf(i)})});
        built = (i % 100 == 99) ? leaf(i) : wrap(std::move(step), 1);
      }
      mine.clear();
      results[t] = to_json(built);
    });
  }
  for (auto& th : threads) th.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(results[t], R"({"type":"leaf","leaf":19999})") << t;
  EXPECT_EQ(to_json(shared), shared_json);
}

}  // namespace
}  // namespace qc::model
