// Wire form of the numeric core: the NumericSeries variants of arithmetic, bit operations and
// references, the boolean series, interpolation, and the Series / ComputeNode roots.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/bits_unions.h"
#include "quarnel/compute/model/boolean_unions.h"
#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/interpolation_unions.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/series_unions.h"

#include "wire_case.h"

namespace qc::model {
namespace {

// Payloads owned by other families are written by the runtime like any union value; a stand-in
// union keeps these tests independent of those families.
#define QC_MODEL_A_STAND_IN_VARIANTS(V) V(raw, "raw", Reference)
QC_UNION(StandIn, QC_MODEL_A_STAND_IN_VARIANTS)

Value raw(std::string_view name) {
  return NumericSeries::make(NumericSeries::raw, Reference{.name = Value::str(name)});
}
Value two() {
  return NumericSeries::make(NumericSeries::constant,
                             ConstantNumericSeries::make(ConstantNumericSeries::double_, double_literal(2.0)));
}
Value stand_in(std::string_view name) { return StandIn::make(StandIn::raw, Reference{.name = Value::str(name)}); }
Value forward_fill() {
  return InterpolationConfiguration::make(
      InterpolationConfiguration::forwardFillInterpolation,
      ForwardFillInterpolation{.interpolationRadius =
                                   DurationConstant::make(DurationConstant::literal, run_duration(1, 0))});
}
Value greater_than(Value left, Value right) {
  return BooleanSeries::make(BooleanSeries::greaterThan, GreaterThanSeries{.left = left, .right = right});
}

// Shapes shared by many records, over the raw series x (and y).
template <class R, NumericSeries::Variant V>
Value of_x() {
  return NumericSeries::make(V, R{.x = raw("x")});
}
template <class U, class R, typename U::Variant V>
Value x_and_y() {
  return U::make(V, R{.left = raw("x"), .right = raw("y")});
}
template <class R, NumericSeries::Variant V>
Value x_and_one() {
  return NumericSeries::make(V, R{.input = raw("x"), .operand = integer_literal(1)});
}

const std::string X = R"({"type":"raw","raw":{"name":"x"}})";
const std::string Y = R"({"type":"raw","raw":{"name":"y"}})";
const std::string TWO =
    R"({"type":"constant","constant":{"type":"double","double":{"type":"literal","literal":2.0}}})";
const std::string ONE = R"({"type":"literal","literal":1})";
const std::string FF =
    R"({"type":"forwardFillInterpolation","forwardFillInterpolation":{"interpolationRadius":)"
    R"({"type":"literal","literal":{"seconds":1,"nanos":0}}}})";
const std::string OF_X = R"({"x":)" + X + "}";
const std::string X_Y = R"({"left":)" + X + R"(,"right":)" + Y + "}";
const std::string X_ONE = R"({"input":)" + X + R"(,"operand":)" + ONE + "}";
const std::string X_GT_Y = R"({"type":"greaterThan","greaterThan":)" + X_Y + "}";

QC_WIRE_SUITE(ModelAWire)

INSTANTIATE_TEST_SUITE_P(
    ModelANumericFunctions, ModelAWire,
    testing::Values(
        WireCase{"abs", of_x<Abs, NumericSeries::abs>, union_json("abs", OF_X)},
        WireCase{"negate", of_x<Negate, NumericSeries::negate>, union_json("negate", OF_X)},
        WireCase{"cos", of_x<Cos, NumericSeries::cos>, union_json("cos", OF_X)},
        WireCase{"sin", of_x<Sin, NumericSeries::sin>, union_json("sin", OF_X)},
        WireCase{"tan", of_x<Tan, NumericSeries::tan>, union_json("tan", OF_X)},
        WireCase{"acos", of_x<Acos, NumericSeries::acos>, union_json("acos", OF_X)},
        WireCase{"asin", of_x<Asin, NumericSeries::asin>, union_json("asin", OF_X)},
        WireCase{"ln", of_x<Ln, NumericSeries::ln>, union_json("ln", OF_X)},
        WireCase{"log10", of_x<Log10, NumericSeries::log10>, union_json("log10", OF_X)},
        WireCase{"sqrt", of_x<Sqrt, NumericSeries::sqrt>, union_json("sqrt", OF_X)},
        WireCase{"raw", [] { return raw("x"); }, R"({"type":"raw","raw":{"name":"x"}})"},
        WireCase{"constant", two,
                 R"({"type":"constant","constant":{"type":"double","double":{"type":"literal","literal":2.0}}})"},
        WireCase{"unit_conversion",
                 [] {
                   return NumericSeries::make(NumericSeries::unitConversion,
                                              UnitConversionSeries{.input = raw("x"), .outputUnit = Value::str("m/s")});
                 },
                 union_json("unitConversion", R"({"input":)" + X + R"(,"outputUnit":"m/s"})")},
        WireCase{"unit_conversion_empty_unit_is_written",
                 [] {
                   return NumericSeries::make(NumericSeries::unitConversion,
                                              UnitConversionSeries{.input = raw("x"), .outputUnit = Value::str("")});
                 },
                 union_json("unitConversion", R"({"input":)" + X + R"(,"outputUnit":""})")},
        WireCase{"unary_arithmetic",
                 [] {
                   return NumericSeries::make(
                       NumericSeries::unaryArithmetic,
                       UnaryArithmeticSeries{.input = raw("x"),
                                             .operation = UnaryArithmeticOperation::make(UnaryArithmeticOperation::log)});
                 },
                 union_json("unaryArithmetic", R"({"input":)" + X + R"(,"operation":"LOG"})")},
        WireCase{"unknown_variant",
                 [] { return NumericSeries::unknown("futureOp", Any::parse(R"({"a":1})")); },
                 R"({"type":"futureOp","futureOp":{"a":1}})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelANumericOperations, ModelAWire,
    testing::Values(
        WireCase{"add_raw_and_constant",
                 [] { return NumericSeries::make(NumericSeries::add, Add{.left = raw("x"), .right = two()}); },
                 R"({"type":"add","add":{"left":{"type":"raw","raw":{"name":"x"}},"right":{"type":"constant",)"
                 R"("constant":{"type":"double","double":{"type":"literal","literal":2.0}}}}})"},
        WireCase{"subtract", x_and_y<NumericSeries, Subtract, NumericSeries::subtract>, union_json("subtract", X_Y)},
        WireCase{"multiply", x_and_y<NumericSeries, Multiply, NumericSeries::multiply>, union_json("multiply", X_Y)},
        WireCase{"divide", x_and_y<NumericSeries, Divide, NumericSeries::divide>, union_json("divide", X_Y)},
        WireCase{"floor_divide", x_and_y<NumericSeries, FloorDivide, NumericSeries::floorDivide>,
                 union_json("floorDivide", X_Y)},
        WireCase{"modulo", x_and_y<NumericSeries, Modulo, NumericSeries::modulo>, union_json("modulo", X_Y)},
        WireCase{"power",
                 [] { return NumericSeries::make(NumericSeries::power, Power{.base = raw("x"), .exponent = raw("y")}); },
                 union_json("power", R"({"base":)" + X + R"(,"exponent":)" + Y + "}")},
        WireCase{"atan2_writes_y_first",
                 [] { return NumericSeries::make(NumericSeries::atan2, Atan2{.y = raw("y"), .x = raw("x")}); },
                 union_json("atan2", R"({"y":)" + Y + R"(,"x":)" + X + "}")},
        WireCase{"if_else_order",
                 [] {
                   return NumericSeries::make(
                       NumericSeries::ifElse,
                       NumericIfElseSeries{.condition = greater_than(raw("x"), raw("y")), .trueValue = raw("x"),
                                           .falseValue = raw("y")});
                 },
                 union_json("ifElse", R"({"condition":)" + X_GT_Y + R"(,"trueValue":)" + X + R"(,"falseValue":)" + Y + "}")},
        WireCase{"offset",
                 [] {
                   return NumericSeries::make(NumericSeries::offset,
                                              OffsetSeries{.input = raw("x"), .scalar = double_literal(2.0)});
                 },
                 union_json("offset", R"({"input":)" + X + R"(,"scalar":{"type":"literal","literal":2.0}})")},
        WireCase{"scale_without_unit",
                 [] {
                   return NumericSeries::make(NumericSeries::scale,
                                              ScaleSeries{.input = raw("x"), .scalar = double_literal(0.5)});
                 },
                 union_json("scale", R"({"input":)" + X + R"(,"scalar":{"type":"literal","literal":0.5}})")},
        WireCase{"scale_with_empty_unit",
                 [] {
                   return NumericSeries::make(
                       NumericSeries::scale,
                       ScaleSeries{.input = raw("x"), .scalar = double_literal(0.5), .scalarUnit = Value::str("")});
                 },
                 union_json("scale", R"({"input":)" + X + R"(,"scalar":{"type":"literal","literal":0.5},"scalarUnit":""})")},
        WireCase{"binary_arithmetic",
                 [] {
                   return NumericSeries::make(
                       NumericSeries::binaryArithmetic,
                       BinaryArithmeticSeries{
                           .input1 = raw("y"),
                           .input2 = raw("x"),
                           .operation = BinaryArithmeticOperation::make(BinaryArithmeticOperation::atan2)});
                 },
                 union_json("binaryArithmetic", R"({"input1":)" + Y + R"(,"input2":)" + X + R"(,"operation":"ATAN2"})")},
        WireCase{"binary_arithmetic_unknown_operation_and_interpolation",
                 [] {
                   return NumericSeries::make(
                       NumericSeries::binaryArithmetic,
                       BinaryArithmeticSeries{.input1 = raw("x"), .input2 = raw("y"),
                                              .operation = BinaryArithmeticOperation::unknown("HYPOT"),
                                              .interpolationConfiguration = forward_fill()});
                 },
                 union_json("binaryArithmetic", R"({"input1":)" + X + R"(,"input2":)" + Y +
                                                 R"(,"operation":"HYPOT","interpolationConfiguration":)" + FF + "}")}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelANumericCombinations, ModelAWire,
    testing::Values(
        WireCase{"max_of_nothing_is_empty_object",
                 [] { return NumericSeries::make(NumericSeries::max, MaxSeries{.inputs = list({})}); },
                 R"({"type":"max","max":{}})"},
        WireCase{"mean_without_inputs_writes_only_interpolation",
                 [] {
                   return NumericSeries::make(NumericSeries::mean,
                                              MeanSeries{.inputs = list({}), .interpolationConfiguration = forward_fill()});
                 },
                 union_json("mean", R"({"interpolationConfiguration":)" + FF + "}")},
        WireCase{"min_keeps_duplicates",
                 [] { return NumericSeries::make(NumericSeries::min, MinSeries{.inputs = list({raw("x"), raw("x")})}); },
                 union_json("min", R"({"inputs":[)" + X + "," + X + "]}")},
        WireCase{"sum_with_interpolation",
                 [] {
                   return NumericSeries::make(
                       NumericSeries::sum,
                       SumSeries{.inputs = list({raw("x"), raw("y")}), .interpolationConfiguration = forward_fill()});
                 },
                 union_json("sum", R"({"inputs":[)" + X + "," + Y + R"(],"interpolationConfiguration":)" + FF + "}")},
        WireCase{"product_keeps_order",
                 [] {
                   return NumericSeries::make(NumericSeries::product, ProductSeries{.inputs = list({raw("y"), raw("x")})});
                 },
                 union_json("product", R"({"inputs":[)" + Y + "," + X + "]}")},
        WireCase{"union_inputs_without_operation",
                 [] {
                   return NumericSeries::make(NumericSeries::union_,
                                              NumericUnionSeries{.input = list({raw("x"), raw("y")})});
                 },
                 union_json("union", R"({"input":[)" + X + "," + Y + "]}")},
        WireCase{"union_operation_without_inputs",
                 [] {
                   return NumericSeries::make(
                       NumericSeries::union_,
                       NumericUnionSeries{.input = list({}),
                                          .operation = NumericUnionOperation::make(NumericUnionOperation::throw_)});
                 },
                 R"({"type":"union","union":{"operation":"THROW"}})"},
        WireCase{"arithmetic_inputs_in_name_order",
                 [] {
                   return NumericSeries::make(
                       NumericSeries::arithmetic,
                       ArithmeticSeries{.inputs = string_map({{"b", raw("y")}, {"a", raw("x")}}),
                                        .expression = Value::str("a / b")});
                 },
                 union_json("arithmetic", R"({"inputs":{"a":)" + X + R"(,"b":)" + Y + R"(},"expression":"a / b"})")},
        WireCase{"arithmetic_empty_expression_is_written",
                 [] {
                   return NumericSeries::make(NumericSeries::arithmetic,
                                              ArithmeticSeries{.inputs = string_map({}), .expression = Value::str("")});
                 },
                 R"({"type":"arithmetic","arithmetic":{"expression":""}})"},
        WireCase{"arithmetic_without_inputs_with_interpolation",
                 [] {
                   return NumericSeries::make(
                       NumericSeries::arithmetic,
                       ArithmeticSeries{.expression = Value::str("1"), .interpolationConfiguration = forward_fill()});
                 },
                 union_json("arithmetic", R"({"expression":"1","interpolationConfiguration":)" + FF + "}")},
        WireCase{"derived_payload", [] { return NumericSeries::make(NumericSeries::derived, stand_in("d")); },
                 R"({"type":"derived","derived":{"type":"raw","raw":{"name":"d"}}})"},
        WireCase{"channel_payload", [] { return NumericSeries::make(NumericSeries::channel, stand_in("c")); },
                 R"({"type":"channel","channel":{"type":"raw","raw":{"name":"c"}}})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelABits, ModelAWire,
    testing::Values(
        WireCase{"bit_and", x_and_one<BitAnd, NumericSeries::bitAnd>, union_json("bitAnd", X_ONE)},
        WireCase{"bit_or", x_and_one<BitOr, NumericSeries::bitOr>, union_json("bitOr", X_ONE)},
        WireCase{"bit_xor", x_and_one<BitXor, NumericSeries::bitXor>, union_json("bitXor", X_ONE)},
        WireCase{"bit_shift_right", x_and_one<BitShiftRight, NumericSeries::bitShiftRight>,
                 union_json("bitShiftRight", X_ONE)},
        WireCase{"bit_shift_left_variable_operand",
                 [] {
                   return NumericSeries::make(
                       NumericSeries::bitShiftLeft,
                       BitShiftLeft{.input = raw("x"),
                                    .operand = IntegerConstant::make(IntegerConstant::variable, Value::str("n"))});
                 },
                 union_json("bitShiftLeft", R"({"input":)" + X + R"(,"operand":{"type":"variable","variable":"n"}})")},
        WireCase{"bit_test_writes_index",
                 [] {
                   return NumericSeries::make(NumericSeries::bitTest,
                                              BitTest{.input = raw("x"), .index = integer_literal(1)});
                 },
                 union_json("bitTest", R"({"input":)" + X + R"(,"index":)" + ONE + "}")},
        WireCase{"bit_operation",
                 [] {
                   return NumericSeries::make(
                       NumericSeries::bitOperation,
                       BitOperationSeries{.input = raw("x"),
                                          .function = BitOperationFunction::make(
                                              BitOperationFunction::and_, BitAndFunction{.operand = Value::i64(-1)})});
                 },
                 union_json("bitOperation", R"({"input":)" + X + R"(,"function":{"type":"and","and":{"operand":-1}}})")},
        WireCase{"function_and_full_width_mask",
                 [] {
                   return BitOperationFunction::make(
                       BitOperationFunction::and_,
                       BitAndFunction{.operand = Value::i64(std::numeric_limits<int64_t>::max())});
                 },
                 R"({"type":"and","and":{"operand":9223372036854775807}})"},
        WireCase{"function_or",
                 [] {
                   return BitOperationFunction::make(BitOperationFunction::or_, BitOrFunction{.operand = Value::i64(6)});
                 },
                 R"({"type":"or","or":{"operand":6}})"},
        WireCase{"function_xor_most_negative_mask",
                 [] {
                   return BitOperationFunction::make(
                       BitOperationFunction::xor_,
                       BitXorFunction{.operand = Value::i64(std::numeric_limits<int64_t>::min())});
                 },
                 R"({"type":"xor","xor":{"operand":-9223372036854775808}})"},
        WireCase{"function_shift_right",
                 [] {
                   return BitOperationFunction::make(BitOperationFunction::shiftRight,
                                                     BitShiftRightFunction{.operand = Value::i32(2)});
                 },
                 R"({"type":"shiftRight","shiftRight":{"operand":2}})"},
        WireCase{"function_shift_left",
                 [] {
                   return BitOperationFunction::make(BitOperationFunction::shiftLeft,
                                                     BitShiftLeftFunction{.operand = Value::i32(3)});
                 },
                 R"({"type":"shiftLeft","shiftLeft":{"operand":3}})"},
        WireCase{"function_bit_test_writes_index",
                 [] {
                   return BitOperationFunction::make(BitOperationFunction::bitTest,
                                                     BitTestFunction{.index = Value::i32(7)});
                 },
                 R"({"type":"bitTest","bitTest":{"index":7}})"},
        WireCase{"function_unknown",
                 [] { return BitOperationFunction::unknown("rotate", Any::parse(R"({"by":1})")); },
                 R"({"type":"rotate","rotate":{"by":1}})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelABoolean, ModelAWire,
    testing::Values(
        WireCase{"greater_than", [] { return greater_than(raw("x"), raw("y")); }, X_GT_Y},
        WireCase{"less_than_keeps_operand_order", x_and_y<BooleanSeries, LessThanSeries, BooleanSeries::lessThan>,
                 union_json("lessThan", X_Y)},
        WireCase{"equal_to", x_and_y<BooleanSeries, EqualToSeries, BooleanSeries::equalTo>, union_json("equalTo", X_Y)},
        WireCase{"not_equal_to", x_and_y<BooleanSeries, NotEqualToSeries, BooleanSeries::notEqualTo>,
                 union_json("notEqualTo", X_Y)},
        WireCase{"greater_than_or_equal_to",
                 x_and_y<BooleanSeries, GreaterThanOrEqualToSeries, BooleanSeries::greaterThanOrEqualTo>,
                 union_json("greaterThanOrEqualTo", X_Y)},
        WireCase{"less_than_or_equal_to",
                 x_and_y<BooleanSeries, LessThanOrEqualToSeries, BooleanSeries::lessThanOrEqualTo>,
                 union_json("lessThanOrEqualTo", X_Y)},
        WireCase{"and_with_nested_or_on_the_left",
                 [] {
                   Value either = BooleanSeries::make(
                       BooleanSeries::or_,
                       OrSeries{.left = greater_than(raw("x"), raw("y")), .right = greater_than(raw("x"), raw("y"))});
                   return BooleanSeries::make(BooleanSeries::and_,
                                              AndSeries{.left = either, .right = greater_than(raw("x"), raw("y"))});
                 },
                 union_json("and", R"({"left":)" + union_json("or", R"({"left":)" + X_GT_Y + R"(,"right":)" + X_GT_Y + "}") +
                                    R"(,"right":)" + X_GT_Y + "}")},
        WireCase{"unknown", [] { return BooleanSeries::unknown("foo", Any(true)); }, R"({"type":"foo","foo":true})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelAInterpolation, ModelAWire,
    testing::Values(
        WireCase{"forward_fill_variable_radius",
                 [] {
                   return InterpolationConfiguration::make(
                       InterpolationConfiguration::forwardFillInterpolation,
                       ForwardFillInterpolation{.interpolationRadius =
                                                    DurationConstant::make(DurationConstant::variable, Value::str("r"))});
                 },
                 R"({"type":"forwardFillInterpolation","forwardFillInterpolation":)"
                 R"({"interpolationRadius":{"type":"variable","variable":"r"}}})"},
        WireCase{"forward_fill_literal_radius", forward_fill, FF},
        WireCase{"unknown",
                 [] { return InterpolationConfiguration::unknown("linear", Any::parse(R"({"k":[1]})")); },
                 R"({"type":"linear","linear":{"k":[1]}})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelARoots, ModelAWire,
    testing::Values(
        WireCase{"series_raw", [] { return Series::make(Series::raw, Reference{.name = Value::str("s")}); },
                 R"({"type":"raw","raw":{"name":"s"}})"},
        WireCase{"series_video_same_reference",
                 [] { return Series::make(Series::video, Reference{.name = Value::str("s")}); },
                 R"({"type":"video","video":{"name":"s"}})"},
        WireCase{"series_enum", [] { return Series::make(Series::enum_, stand_in("e")); },
                 R"({"type":"enum","enum":{"type":"raw","raw":{"name":"e"}}})"},
        WireCase{"series_numeric_around_add",
                 [] {
                   return Series::make(Series::numeric,
                                       NumericSeries::make(NumericSeries::add, Add{.left = raw("x"), .right = raw("y")}));
                 },
                 union_json("numeric", union_json("add", X_Y))},
        WireCase{"series_log", [] { return Series::make(Series::log, stand_in("l")); },
                 R"({"type":"log","log":{"type":"raw","raw":{"name":"l"}}})"},
        WireCase{"series_array", [] { return Series::make(Series::array, stand_in("a")); },
                 R"({"type":"array","array":{"type":"raw","raw":{"name":"a"}}})"},
        WireCase{"series_struct", [] { return Series::make(Series::struct_, stand_in("t")); },
                 R"({"type":"struct","struct":{"type":"raw","raw":{"name":"t"}}})"},
        WireCase{"series_unknown", [] { return Series::unknown("table", Any(nullptr)); },
                 R"({"type":"table","table":null})"},
        WireCase{"node_enum", [] { return ComputeNode::make(ComputeNode::enum_, stand_in("e")); },
                 R"({"type":"enum","enum":{"type":"raw","raw":{"name":"e"}}})"},
        WireCase{"node_numeric", [] { return ComputeNode::make(ComputeNode::numeric, raw("x")); },
                 union_json("numeric", X)},
        WireCase{"node_log", [] { return ComputeNode::make(ComputeNode::log, stand_in("l")); },
                 R"({"type":"log","log":{"type":"raw","raw":{"name":"l"}}})"},
        WireCase{"node_ranges", [] { return ComputeNode::make(ComputeNode::ranges, stand_in("r")); },
                 R"({"type":"ranges","ranges":{"type":"raw","raw":{"name":"r"}}})"},
        WireCase{"node_array", [] { return ComputeNode::make(ComputeNode::array, stand_in("a")); },
                 R"({"type":"array","array":{"type":"raw","raw":{"name":"a"}}})"},
        WireCase{"node_struct", [] { return ComputeNode::make(ComputeNode::struct_, stand_in("t")); },
                 R"({"type":"struct","struct":{"type":"raw","raw":{"name":"t"}}})"},
        WireCase{"node_video", [] { return ComputeNode::make(ComputeNode::video, Reference{.name = Value::str("v")}); },
                 R"({"type":"video","video":{"name":"v"}})"},
        WireCase{"node_raw", [] { return ComputeNode::make(ComputeNode::raw, Reference{.name = Value::str("v")}); },
                 R"({"type":"raw","raw":{"name":"v"}})"},
        WireCase{"node_unknown", [] { return ComputeNode::unknown("plot", Any::parse("[1,\"a\"]")); },
                 R"({"type":"plot","plot":[1,"a"]})"}),
    wire_case_name);

// Each enumeration writes its values in declaration order, and any other string unchanged.
template <class E>
void expect_values(const std::vector<std::string>& expected, std::string_view unknown) {
  ASSERT_EQ(E::value_count, expected.size());
  for (uint32_t i = 0; i < E::value_count; ++i)
    EXPECT_EQ(to_json(E::make(static_cast<typename E::Tag>(i))), "\"" + expected[i] + "\"");
  EXPECT_EQ(to_json(E::unknown(unknown)), "\"" + std::string(unknown) + "\"");
}

TEST(ModelAEnums, WriteEveryValue) {
  expect_values<NumericUnionOperation>(
      {"MIN", "MAX", "MEAN", "SUM", "COUNT", "STANDARD_DEVIATION", "ROOT_MEAN_SQUARE", "THROW"}, "MEDIAN");
  expect_values<UnaryArithmeticOperation>({"COS", "SIN", "TAN", "ABS", "ASIN", "ACOS", "LOG", "LN", "SQRT"},
                                          "LOG10");
  expect_values<BinaryArithmeticOperation>({"ATAN2"}, "HYPOT");
}

TEST(ModelAEnums, LogAndLnAreDistinct) {
  EXPECT_NE(to_json(UnaryArithmeticOperation::make(UnaryArithmeticOperation::log)),
            to_json(UnaryArithmeticOperation::make(UnaryArithmeticOperation::ln)));
}

// A copy must stay whole when its source is dropped.
TEST(ModelACopy, OutlivesItsSource) {
  struct Source {
    Value value;
    std::string json;
  };
  std::vector<Source> sources = {
      {NumericSeries::make(
           NumericSeries::arithmetic,
           ArithmeticSeries{.inputs = string_map({{"b", raw("y")}, {"a", raw("x")}}), .expression = Value::str("a+b")}),
       union_json("arithmetic", R"({"inputs":{"a":)" + X + R"(,"b":)" + Y + R"(},"expression":"a+b"})")},
      {NumericSeries::unknown("futureOp", Any::parse(R"({"a":1})")), R"({"type":"futureOp","futureOp":{"a":1}})"},
      {BooleanSeries::make(BooleanSeries::and_,
                           AndSeries{.left = greater_than(raw("x"), raw("y")),
                                     .right = greater_than(raw("x"), raw("y"))}),
       union_json("and", R"({"left":)" + X_GT_Y + R"(,"right":)" + X_GT_Y + "}")},
  };
  for (Source& s : sources) {
    Value copy = s.value;
    s.value = Value{};
    EXPECT_EQ(to_json(copy), s.json);
  }
}

}  // namespace
}  // namespace qc::model
