// Very deep trees: building, copying, writing and destroying them must not recurse on the C
// stack once per level, or a hundred thousand levels overflow the default stack.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "quarnel/compute/model/boolean_unions.h"
#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/durations_unions.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/series_unions.h"

namespace qc::model {
namespace {

constexpr int kDepth = 100000;

const std::string X = R"({"type":"raw","raw":{"name":"x"}})";
const std::string ONE = R"({"type":"literal","literal":1})";

Value raw_x() { return NumericSeries::make(NumericSeries::raw, Reference{.name = Value::str("x")}); }

// One level of the numeric tree: how it wraps its operand, and the text around the operand.
struct Level {
  Value (*wrap)(Value);
  std::string open;
  std::string close;
};

const Level kNumericLevels[] = {
    {[](Value v) { return NumericSeries::make(NumericSeries::add, Add{.left = std::move(v), .right = raw_x()}); },
     R"({"type":"add","add":{"left":)", R"(,"right":)" + X + "}}"},
    {[](Value v) { return NumericSeries::make(NumericSeries::negate, Negate{.x = std::move(v)}); },
     R"({"type":"negate","negate":{"x":)", "}}"},
    {[](Value v) { return NumericSeries::make(NumericSeries::abs, Abs{.x = std::move(v)}); },
     R"({"type":"abs","abs":{"x":)", "}}"},
    {[](Value v) { return NumericSeries::make(NumericSeries::max, MaxSeries{.inputs = list({std::move(v)})}); },
     R"({"type":"max","max":{"inputs":[)", "]}}"},
    {[](Value v) {
       return NumericSeries::make(NumericSeries::bitAnd, BitAnd{.input = std::move(v), .operand = integer_literal(1)});
     },
     R"({"type":"bitAnd","bitAnd":{"input":)", R"(,"operand":)" + ONE + "}}"},
    // Through the boolean union: the operand is the left side of the condition.
    {[](Value v) {
       Value condition =
           BooleanSeries::make(BooleanSeries::lessThan, LessThanSeries{.left = std::move(v), .right = raw_x()});
       return NumericSeries::make(
           NumericSeries::ifElse,
           NumericIfElseSeries{.condition = std::move(condition), .trueValue = raw_x(), .falseValue = raw_x()});
     },
     R"({"type":"ifElse","ifElse":{"condition":{"type":"lessThan","lessThan":{"left":)",
     R"(,"right":)" + X + R"(}},"trueValue":)" + X + R"(,"falseValue":)" + X + "}}"},
};
constexpr int kLevelKinds = sizeof(kNumericLevels) / sizeof(kNumericLevels[0]);

// Builds the tree level by level and the text it must write, the opening texts outermost first.
std::pair<Value, std::string> build_numeric(int depth) {
  Value v = raw_x();
  std::string opens, closes;
  for (int i = 0; i < depth; ++i) {
    const Level& level = kNumericLevels[i % kLevelKinds];
    v = level.wrap(std::move(v));
    closes += level.close;
  }
  for (int i = depth - 1; i >= 0; --i) opens += kNumericLevels[i % kLevelKinds].open;
  return {std::move(v), opens + X + closes};
}

TEST(ModelADepth, NumericTreeCopiesWritesAndDestroys) {
  auto [tree, expected] = build_numeric(kDepth);
  Value copy = tree;
  tree = Value{};  // the copy alone now holds the tree
  EXPECT_EQ(to_json(copy), expected);
  copy = Value{};
}

TEST(ModelADepth, SeriesAroundDeepTreeOutlivesItsSource) {
  auto [tree, expected] = build_numeric(kDepth);
  Value series = Series::make(Series::numeric, tree);
  Value copy = series;
  tree = Value{};
  series = Value{};
  EXPECT_EQ(to_json(copy), R"({"type":"numeric","numeric":)" + expected + "}");
}

TEST(ModelADepth, DurationChain) {
  Value d = Duration::make(Duration::days, DurationDays{.days = integer_literal(1)});
  std::string opens, closes;
  for (int i = 0; i < kDepth; ++i) {
    if (i % 2 == 0) {
      d = Duration::make(Duration::negate, DurationNegate{.input = std::move(d)});
    } else {
      Value r = Duration::make(Duration::reference, Reference{.name = Value::str("r")});
      d = Duration::make(Duration::subtract, DurationSubtract{.left = std::move(d), .right = std::move(r)});
    }
  }
  for (int i = kDepth - 1; i >= 0; --i)
    opens += i % 2 == 0 ? R"({"type":"negate","negate":{"input":)" : R"({"type":"subtract","subtract":{"left":)";
  for (int i = 0; i < kDepth; ++i)
    closes += i % 2 == 0 ? "}}" : R"(,"right":{"type":"reference","reference":{"name":"r"}}}})";
  Value copy = d;
  d = Value{};
  EXPECT_EQ(to_json(copy), opens + R"({"type":"days","days":{"days":{"type":"literal","literal":1}}})" + closes);
}

}  // namespace
}  // namespace qc::model
