// The builders: the variant each builds, which operand fills which field, what stays empty, the
// order of the tag sets and of the combined names, and the time-unit and data-type names.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "quarnel/compute/builders.h"
#include "quarnel/compute/model/calculus_unions.h"
#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/reference.h"

namespace qc::builders {
namespace {

namespace m = model;

// Builders check no operand's type, so references named a, b and c stand for every operand.
Value raw(const char* name) {
  return m::NumericSeries::make(m::NumericSeries::raw, m::Reference{.name = Value::str(name)});
}
Value a() { return raw("a"); }
Value b() { return raw("b"); }
Value c() { return raw("c"); }
std::string node(const std::string& variant, const std::string& payload) {
  return R"({"type":")" + variant + R"(",")" + variant + R"(":)" + payload + "}";
}
// A JSON object of the given members, in the given order.
std::string obj(std::initializer_list<std::pair<const char*, std::string>> members) {
  std::string out;
  for (const auto& [k, v] : members) out += (out.empty() ? "{\"" : ",\"") + std::string(k) + "\":" + v;
  return out + "}";
}
const std::string A = node("raw", R"({"name":"a"})"), B = node("raw", R"({"name":"b"})"),
                  C = node("raw", R"({"name":"c"})");
std::string lit(const char* s) { return std::string(R"({"type":"literal","literal":")") + s + "\"}"; }

TEST(Builders, OperandsFillTheirFieldsInOrder) {
  struct Two { Value (*build)(Value, Value); const char *variant, *first, *second; };
  const Two two[] = {
      {numeric_series_add, "add", "left", "right"}, {numeric_series_subtract, "subtract", "left", "right"},
      {numeric_series_multiply, "multiply", "left", "right"}, {numeric_series_divide, "divide", "left", "right"},
      {numeric_series_floor_divide, "floorDivide", "left", "right"}, {numeric_series_modulo, "modulo", "left", "right"},
      {numeric_series_power, "power", "base", "exponent"}, {atan2, "atan2", "y", "x"},
      {numeric_series_tail, "selectNewestPoints", "input", "numPoints"},
      {numeric_series_head, "selectOldestPoints", "input", "numPoints"},
      {numeric_series_nth_point_downsample, "nthPointDownsample", "input", "n"},
      {numeric_series_largest_triangle_three_buckets, "largestTriangleThreeBuckets", "input", "maxPointsToReturn"},
      {numeric_series_bit_and, "bitAnd", "input", "operand"}, {numeric_series_bit_or, "bitOr", "input", "operand"},
      {numeric_series_bit_xor, "bitXor", "input", "operand"}, {numeric_series_bit_test, "bitTest", "input", "index"},
      {numeric_series_bit_shift_right, "bitShiftRight", "input", "operand"},
      {numeric_series_bit_shift_left, "bitShiftLeft", "input", "operand"},
      {numeric_series_time_shift, "timeShiftV2", "input", "duration"},
      {numeric_series_to_start_of_interval, "toStartOfInterval", "input", "window"},
      {numeric_series_numeric_aggregation, "numericAggregation", "input", "operator"},
      {boolean_series_greater_than, "greaterThan", "left", "right"}, {boolean_series_and, "and", "left", "right"},
      {boolean_series_less_than, "lessThan", "left", "right"}, {boolean_series_equal_to, "equalTo", "left", "right"},
      {boolean_series_not_equal_to, "notEqualTo", "left", "right"}, {boolean_series_or, "or", "left", "right"},
      {boolean_series_greater_than_or_equal_to, "greaterThanOrEqualTo", "left", "right"},
      {boolean_series_less_than_or_equal_to, "lessThanOrEqualTo", "left", "right"},
      {categorical_series_enum_aggregation, "enumAggregation", "input", "operator"},
      {dataset_time_shift, "timeShift", "input", "offset"}, {duration_add, "add", "left", "right"},
      {duration_subtract, "subtract", "left", "right"},
      {aggregation_builder_rolling_time, "rollingTime", "input", "window"},
      {aggregation_builder_rolling_points, "rollingPoints", "input", "points"},
      {signal_filter_configuration_band_pass, "bandPass", "lowPassbandFrequency", "highPassbandFrequency"},
      {signal_filter_configuration_band_stop, "bandStop", "lowStopbandFrequency", "highStopbandFrequency"}};
  for (const Two& t : two)
    EXPECT_EQ(to_json(t.build(a(), b())), node(t.variant, obj({{t.first, A}, {t.second, B}}))) << t.variant;
  struct Three { Value (*build)(Value, Value, Value); const char *variant, *first, *second, *third; };
  const Three three[] = {{numeric_if_else, "ifElse", "condition", "trueValue", "falseValue"},
                         {aggregation_builder_group_by, "groupBy", "input", "tags", "timestamp"},
                         {dataset_tag, "tag", "input", "key", "value"},
                         {numeric_series_select_numeric, "selectNumeric", "name", "dataset", "sampling"}};
  for (const Three& t : three)
    EXPECT_EQ(to_json(t.build(a(), b(), c())), node(t.variant, obj({{t.first, A}, {t.second, B}, {t.third, C}})));
}

TEST(Builders, ListsKeepOrderAndDuplicatesAndVanishWhenEmpty) {
  struct List { Value (*build)(std::vector<Value>); const char *variant, *key; };
  const List lists[] = {{max, "max", "inputs"}, {mean, "mean", "inputs"}, {min, "min", "inputs"},
                        {sum, "sum", "inputs"}, {product, "product", "inputs"}, {dataset_combine, "combine", "inputs"},
                        {numeric_series_union, "union", "input"}, {range_series_union, "unionRange", "inputs"},
                        {range_series_intersect, "intersectRange", "inputs"}};
  for (const List& l : lists) {
    EXPECT_EQ(to_json(l.build({})), node(l.variant, "{}"));
    EXPECT_EQ(to_json(l.build({b(), a(), b()})), node(l.variant, obj({{l.key, "[" + B + "," + A + "," + B + "]"}})))
        << l.variant;
  }
}

TEST(Builders, TagListsBecomeSetsInStringConstantOrder) {
  const std::vector<Value> tags = {m::string_literal("b"), m::string_variable("a"), m::string_literal("\x80"),
                                   m::string_literal("ab"), m::string_literal("b"), m::string_literal("Z")};
  const std::string set = "[" + lit("Z") + "," + lit("ab") + "," + lit("b") + "," + lit("\x80") +
                          R"(,{"type":"variable","variable":"a"}])";
  EXPECT_EQ(to_json(numeric_series_select_tags(a(), tags)), node("selectTags", obj({{"input", A}, {"tagKeys", set}})));
  EXPECT_EQ(to_json(numeric_series_z_score(a(), tags)), node("zScore", obj({{"input", A}, {"groupByTags", set}})));
  EXPECT_EQ(to_json(group_by_tags_subset(tags)), node("subset", obj({{"tags", set}})));
  EXPECT_EQ(to_json(numeric_series_select_tags(a(), {})), node("selectTags", obj({{"input", A}})));
  EXPECT_EQ(to_json(numeric_series_z_score(a(), {})), node("zScore", obj({{"input", A}})));
  EXPECT_EQ(to_json(group_by_tags_subset({})), node("subset", "{}"));
}

TEST(Builders, OptionalOperandsAreWrittenOnlyWhenGiven) {
  const Value exclude = m::NegativeValueConfiguration::make(m::NegativeValueConfiguration::excludeNegativeValues,
                                                            m::EmptyNegativeValuePayload{});
  const std::string ex = node("excludeNegativeValues", "{}"), one = R"({"type":"literal","literal":1.0})";
  EXPECT_EQ(to_json(numeric_series_derivative(a(), std::nullopt, Value{})), node("derivative", obj({{"input", A}})));
  EXPECT_EQ(to_json(numeric_series_derivative(a(), TimeUnit::nanoseconds, exclude)),
            node("derivative",
                 obj({{"input", A}, {"timeUnit", R"("NANOSECONDS")"}, {"negativeValuesConfiguration", ex}})));
  EXPECT_EQ(to_json(numeric_series_value_difference(a(), exclude)),
            node("valueDifference", obj({{"input", A}, {"negativeValuesConfiguration", ex}})));
  EXPECT_EQ(to_json(numeric_series_time_difference(a(), std::nullopt)), node("timeDifference", obj({{"input", A}})));
  EXPECT_EQ(to_json(numeric_series_time_difference(a(), TimeUnit::microseconds)),
            node("timeDifference", obj({{"input", A}, {"timeUnit", R"("MICROSECONDS")"}})));
  EXPECT_EQ(to_json(numeric_series_absolute_timestamp(a(), TimeUnit::days)),
            node("absoluteTimestamp", obj({{"input", A}, {"timeUnit", R"("DAYS")"}})));
  EXPECT_EQ(to_json(numeric_series_signal_filter(a(), b(), c(), Value{})),
            node("signalFilter", obj({{"input", A}, {"signalFilterConfiguration", B}, {"order", C}})));
  EXPECT_EQ(to_json(numeric_series_signal_filter(a(), b(), c(), a())),
            node("signalFilter",
                 obj({{"input", A}, {"signalFilterConfiguration", B}, {"order", C}, {"samplingFrequency", A}})));
  EXPECT_EQ(to_json(numeric_series_select_numeric(a(), Value{}, b())),
            node("selectNumeric", obj({{"name", A}, {"sampling", B}})));
  EXPECT_EQ(to_json(struct_series_extract_numeric(a(), {m::string_literal("b"), m::string_literal("b")}, std::nullopt)),
            node("extractFromStruct", obj({{"input", A}, {"fieldPath", "[" + lit("b") + "," + lit("b") + "]"}})));
  EXPECT_EQ(to_json(struct_series_extract_numeric(a(), {}, NumericDataType::uint64)),
            node("extractFromStruct", obj({{"input", A}, {"dataType", R"("UINT64")"}})));
  EXPECT_EQ(to_json(categorical_series_value_map(a(), {b(), a()}, Value{})),
            node("valueMap", obj({{"input", A}, {"mapping", "[" + B + "," + A + "]"}})));
  EXPECT_EQ(to_json(categorical_series_value_map(a(), {}, b())), node("valueMap", obj({{"input", A}, {"default", B}})));
  // The output comes first among the operands and last on the wire.
  EXPECT_EQ(to_json(range_map_create(a(), Value{}, Value{})), obj({{"output", A}}));
  EXPECT_EQ(to_json(range_map_create(a(), Value{}, m::double_literal(1))), obj({{"end", one}, {"output", A}}));
  EXPECT_EQ(to_json(range_map_create(a(), b(), c())), obj({{"start", B}, {"end", C}, {"output", A}}));
}

TEST(Builders, MadeOperatorsAndSources) {
  auto aggregation = [](const std::string& op) {
    return node("numericAggregation", obj({{"input", A}, {"operator", op}}));
  };
  const std::pair<Value (*)(Value), const char*> fixed[] = {
      {numeric_series_numeric_aggregation_sum, "sum"}, {numeric_series_numeric_aggregation_average, "average"},
      {numeric_series_numeric_aggregation_min, "min"}, {numeric_series_numeric_aggregation_max, "max"},
      {numeric_series_numeric_aggregation_count, "count"},
      {numeric_series_numeric_aggregation_standard_deviation, "standardDeviation"},
      {numeric_series_numeric_aggregation_root_mean_square, "rootMeanSquare"}};
  for (auto [build, op] : fixed) EXPECT_EQ(to_json(build(a())), aggregation(node(op, "{}"))) << op;
  EXPECT_EQ(to_json(numeric_series_numeric_aggregation_percentile(a(), b())),
            aggregation(node("percentile", obj({{"percentile", B}}))));
  EXPECT_EQ(to_json(numeric_series_numeric_aggregation_udf(a(), b())), aggregation(node("udf", obj({{"source", B}}))));
  // Source texts are taken as given, blanks and all.
  const std::string rust = node("rust", R"({"sourceCode":" x "})");
  EXPECT_EQ(to_json(numeric_series_numeric_aggregation_udf_rust(a(), " x ")),
            aggregation(node("udf", obj({{"source", rust}}))));
  EXPECT_EQ(to_json(numeric_series_udf({b(), a()}, c())),
            node("scalarUdf", obj({{"inputs", "[" + B + "," + A + "]"}, {"source", C}})));
  EXPECT_EQ(to_json(numeric_series_scalar_udf_rust({}, " x ")), node("scalarUdf", obj({{"source", rust}})));
  // Of two equal names the later series stays; names are ordered by their bytes.
  EXPECT_EQ(to_json(struct_series_combine({{"b", a()}, {"a", b()}, {"B", a()}, {"b", c()}})),
            node("combine", obj({{"inputs", obj({{"B", A}, {"a", B}, {"b", C}})}})));
  EXPECT_EQ(to_json(struct_series_combine({})), node("combine", "{}"));
  EXPECT_EQ(to_json(series_from_enum_series(a())), node("enum", A));
  EXPECT_EQ(to_json(series_from_numeric_series(a())), node("numeric", A));
  EXPECT_EQ(to_json(series_from_struct_series(a())), node("struct", A));
}

TEST(BuildersNames, AcceptedNamesMapOneToOneInOrder) {
  const char* units[] = {"days", "hours", "minutes", "seconds", "milliseconds", "microseconds", "nanoseconds"};
  const char* unit_wire[] = {"DAYS", "HOURS", "MINUTES", "SECONDS", "MILLISECONDS", "MICROSECONDS", "NANOSECONDS"};
  const char* types[] = {"int64", "float64", "uint64"};
  const char* type_wire[] = {"INT64", "FLOAT64", "UINT64"};
  for (int i = 0; i < 7; ++i) {
    ASSERT_TRUE(try_from<TimeUnit>(units[i]).ok()) << units[i];
    EXPECT_EQ(int(try_from<TimeUnit>(units[i]).value()), i);
    EXPECT_EQ(to_json(to_model(TimeUnit(i))), std::string("\"") + unit_wire[i] + "\"");
    if (i >= 3) continue;
    ASSERT_TRUE(try_from<NumericDataType>(types[i]).ok()) << types[i];
    EXPECT_EQ(int(try_from<NumericDataType>(types[i]).value()), i);
    EXPECT_EQ(to_json(to_model(NumericDataType(i))), std::string("\"") + type_wire[i] + "\"");
  }
}

TEST(BuildersNames, AnythingElseIsRejectedWithTheTextAsGiven) {
  for (const char* text : {"Days", "DAYS", " days", "days ", "day", ""}) {
    EXPECT_FALSE(try_from<TimeUnit>(text).ok());
    EXPECT_EQ(try_from<TimeUnit>(text).error().message(), std::string("Invalid custom type: ") + text);
  }
  for (const char* text : {"INT64", "float", "int"}) {
    EXPECT_FALSE(try_from<NumericDataType>(text).ok());
    EXPECT_EQ(try_from<NumericDataType>(text).error().message(), std::string("Invalid custom type: ") + text);
  }
}

}  // namespace
}  // namespace qc::builders
