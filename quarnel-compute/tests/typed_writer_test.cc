// Trees of the model's own types, which the writer writes by their declared types: chains deeper
// than it writes that way, folded constants, nodes of another type or of an unknown variant in a
// typed field, a union held in place taken out of its node, and outputs handed over in pieces or
// stopped.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "quarnel/compute/builders.h"
#include "quarnel/compute/model/durations_unions.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/output.h"
#include "quarnel/compute/model/series_unions.h"
#include "to_json.h"

namespace qc::model {
namespace {

Handle<NumericSeries> raw(std::string_view name) { return NumericSeries::raw({.name = name}); }
std::string raw_json(std::string_view name) {
  return R"({"type":"raw","raw":{"name":")" + std::string(name) + R"("}})";
}
std::string add_json(const std::string& left, const std::string& right) {
  return R"({"type":"add","add":{"left":)" + left + R"(,"right":)" + right + "}}";
}
template <class T>
Handle<T> as(Value v) {
  return {unchecked, std::move(v)};
}

// Chains of every depth to far past the depth written by type, growing through the first field
// (whose record stays open below it) and through the last.
TEST(TypedWriter, ChainsOfEveryDepthThroughEitherField) {
  Handle<NumericSeries> left = raw("a"), right = raw("a");
  std::string left_json = raw_json("a"), right_json = raw_json("a");
  for (int depth = 1; depth <= 150; ++depth) {
    left = NumericSeries::add({.left = left, .right = raw("b")});
    right = NumericSeries::add({.left = raw("b"), .right = right});
    left_json = add_json(left_json, raw_json("b"));
    right_json = add_json(raw_json("b"), right_json);
    ASSERT_EQ(to_json(left.value()), left_json) << depth;
    ASSERT_EQ(to_json(right.value()), right_json) << depth;
  }
}

// A number is three unions folded into one node: written as its levels, as an operand, an item
// and the root.
TEST(TypedWriter, FoldedNumbersWriteTheirLevels) {
  for (auto [number, text] :
       {std::pair{2.0, "2.0"}, {-0.0, "-0.0"}, {0.5, "0.5"}, {-3.0, "-3.0"}}) {
    const std::string constant =
        R"({"type":"constant","constant":{"type":"double","double":{"type":"literal","literal":)" +
        std::string(text) + "}}}";
    Handle<NumericSeries> n = builders::numeric_series_number(number);
    EXPECT_EQ(to_json(n.value()), constant);
    EXPECT_EQ(to_json(NumericSeries::add({.left = raw("a"), .right = n}).value()),
              add_json(raw_json("a"), constant));
    EXPECT_EQ(to_json(NumericSeries::max({.inputs = {n, raw("a"), n}}).value()),
              R"({"type":"max","max":{"inputs":[)" + constant + "," + raw_json("a") + "," +
                  constant + "]}}");
  }
}

// What a typed field holds is written as it is, whatever its type: a node of another union, an
// unknown variant, a scalar where a node belongs and a node where a string does.
TEST(TypedWriter, NodesOfAnotherTypeOrUnknownVariantWriteAsTheyAre) {
  const Value duration = builders::duration_seconds(IntegerConstant::literal(10)).value();
  const std::string duration_json =
      R"({"type":"seconds","seconds":{"seconds":{"type":"literal","literal":10}}})";
  const Handle<NumericSeries> later =
      unknown<NumericSeries>("later", Any::parse(R"({"k":[1,"x"]})"));
  const std::string later_json = R"({"type":"later","later":{"k":[1,"x"]}})";
  struct Case {
    Handle<NumericSeries> left, right;
    std::string json;
  };
  const Case cases[] = {
      {as<NumericSeries>(duration), later, add_json(duration_json, later_json)},
      {later, as<NumericSeries>(Value::str("s")), add_json(later_json, R"("s")")},
      {as<NumericSeries>(Value::i32(-7)), as<NumericSeries>(list({Value::boolean(true)})),
       add_json("-7", "[true]")},
      {NumericSeries::raw({.name = as<String>(raw("x").value())}), raw("y"),
       add_json(R"({"type":"raw","raw":{"name":)" + raw_json("x") + "}}", raw_json("y"))},
  };
  for (const Case& c : cases)
    EXPECT_EQ(to_json(NumericSeries::add({.left = c.left, .right = c.right}).value()), c.json);
}

// A union held in place is read only within the node it lies in: taken out of it into a field,
// it is refused rather than read past, as the first field, the last, and a record's only one;
// in a place of a scalar (a text, an enumeration) it is refused rather than written as one. By
// type, and as a list's item, which the walk writes.
TEST(TypedWriter, UnionHeldInPlaceOutOfItsNodeIsRefused) {
  const Value series = Series::numeric(raw("a")).value();
  ASSERT_EQ(series[0].tag(), Tag::InPlaceUnion);
  EXPECT_EQ(to_json(series), R"({"type":"numeric","numeric":)" + raw_json("a") + "}");
  const auto taken = as<NumericSeries>(series[0]);
  const Handle<NumericSeries> trees[] = {
      NumericSeries::add({.left = taken, .right = raw("b")}),
      NumericSeries::add({.left = raw("b"), .right = taken}),
      NumericSeries::abs({taken}),
      NumericSeries::raw({.name = as<String>(series[0])}),
      NumericSeries::union_(
          {.input = {raw("b")}, .operation = as<NumericUnionOperation>(series[0])}),
  };
  for (const Handle<NumericSeries>& tree : trees) {
    EXPECT_THROW(to_json(tree.value()), std::logic_error);
    EXPECT_THROW(to_json(list({tree.value()})), std::logic_error);
  }
}

// max() of `count` additions of a reference named `name` and one named "b", and its text.
std::pair<Handle<NumericSeries>, std::string> max_of_adds(const std::string& name, int count) {
  std::vector<Handle<NumericSeries>> inputs;
  std::string json = R"({"type":"max","max":{"inputs":[)";
  for (int i = 0; i < count; ++i) {
    inputs.push_back(NumericSeries::add({.left = raw(name), .right = raw("b")}));
    json += (i ? "," : "") + add_json(raw_json(name), raw_json("b"));
  }
  return {NumericSeries::max({.inputs = inputs}), json + "]}}"};
}

// An output past the first piece is handed over in pieces, each ending after a whole character,
// which join to the text.
TEST(TypedWriter, LongOutputsAreHandedOverInWholePieces) {
  const std::string name = "\xc3\xa9" + std::string(size_t(3) << 20, 'n');  // "é" then 3 MiB
  const auto [tree, json] = max_of_adds(name, 12);
  std::vector<std::string> pieces;
  auto take = [](void* to, std::string_view piece) {
    static_cast<std::vector<std::string>*>(to)->emplace_back(piece);
    return true;
  };
  Buffer out;
  ASSERT_TRUE(write_json(out, tree.value(), {take, &pieces}));
  pieces.emplace_back(out.view());
  ASSERT_GE(pieces.size(), 3u);
  std::string joined;
  for (const std::string& piece : pieces) {
    EXPECT_NE(static_cast<unsigned char>(piece.back()), 0xc3u) << "a piece ends within a character";
    joined += piece;
  }
  EXPECT_EQ(joined, json);
}

// A write whose drain refuses a piece stops there, in a node written by type (a wide tree) or in
// the stack of open containers below them (a deep one): it leaves nothing written, and the memory
// kept between writes (its buffer, and its stack, which the deep tree grows) writes the next one
// whole.
TEST(TypedWriter, StoppedWritesLeaveTheKeptMemoryFitForTheNext) {
  const std::string name(size_t(3) << 20, 'n');
  auto [wide, wide_json] = max_of_adds(name, 16);
  Handle<NumericSeries> deep = raw("a");
  std::string deep_json, deep_tail;
  for (int depth = 0; depth < 200; ++depth) {
    const std::string_view right = depth % 12 == 0 ? std::string_view(name) : "b";
    deep = NumericSeries::add({.left = deep, .right = raw(right)});
    deep_json += R"({"type":"add","add":{"left":)";
    deep_tail += R"(,"right":)" + raw_json(right) + "}}";
  }
  deep_json += raw_json("a") + deep_tail;
  struct Taken {
    int calls = 0, stop_at = 0;
    std::string text;
  };
  auto take = [](void* to, std::string_view piece) {
    auto& t = *static_cast<Taken*>(to);
    t.text += piece;
    return ++t.calls != t.stop_at;
  };
  KeptOutput kept;
  for (auto [tree, json] : {std::pair{wide, &wide_json}, std::pair{deep, &deep_json}}) {
    for (int stop_at = 1; stop_at <= 3; ++stop_at) {
      KeptOutput::Lease lease(kept);
      Taken stopped{.stop_at = stop_at};
      EXPECT_FALSE(write_json(lease.buffer(), tree.value(), {take, &stopped}, &lease.stack()));
      EXPECT_EQ(stopped.calls, stop_at);
      EXPECT_EQ(lease.buffer().size(), 0u);
      Taken whole;
      ASSERT_TRUE(write_json(lease.buffer(), tree.value(), {take, &whole}, &lease.stack()));
      EXPECT_GT(whole.calls, 3);
      EXPECT_EQ(whole.text + std::string(lease.buffer().view()), *json) << stop_at;
    }
  }
}

}  // namespace
}  // namespace qc::model
