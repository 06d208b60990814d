// The builders: which variant each builds, which fields it fills, the tag sets' order, and
// the time-unit and data-type names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quarnel/compute/builders.h"
#include "quarnel/compute/model/aggregation_unions.h"
#include "quarnel/compute/model/boolean_unions.h"
#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/durations_unions.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/reference.h"

namespace qc::builders {
namespace {

namespace m = model;

Value raw(const char* name) { return m::NumericSeries::make(m::NumericSeries::raw, m::Reference{.name = Value::str(name)}); }
const std::string A = R"({"type":"raw","raw":{"name":"a"}})";
const std::string B = R"({"type":"raw","raw":{"name":"b"}})";
std::string lit(const char* s) { return std::string(R"({"type":"literal","literal":")") + s + "\"}"; }
std::string var(const char* s) { return std::string(R"({"type":"variable","variable":")") + s + "\"}"; }
std::string node(const std::string& variant, const std::string& payload) {
  return R"({"type":")" + variant + R"(",")" + variant + R"(":)" + payload + "}";
}
Value days(int32_t n) { return m::Duration::make(m::Duration::days, m::DurationDays{.days = m::integer_literal(n)}); }
const std::string kDays1 = R"({"type":"days","days":{"days":{"type":"literal","literal":1}}})";

struct Binary {
  Value (*build)(Value, Value);
  const char* variant;
  const char* first;
  const char* second;
};

TEST(BuildersNumeric, BinaryBuildersFillTheirTwoFields) {
  const Binary cases[] = {
      {numeric_series_add, "add", "left", "right"},
      {numeric_series_subtract, "subtract", "left", "right"},
      {numeric_series_multiply, "multiply", "left", "right"},
      {numeric_series_divide, "divide", "left", "right"},
      {numeric_series_floor_divide, "floorDivide", "left", "right"},
      {numeric_series_modulo, "modulo", "left", "right"},
      {numeric_series_power, "power", "base", "exponent"},
      {atan2, "atan2", "y", "x"},
      {boolean_series_greater_than, "greaterThan", "left", "right"},
      {boolean_series_less_than, "lessThan", "left", "right"},
      {boolean_series_equal_to, "equalTo", "left", "right"},
      {boolean_series_not_equal_to, "notEqualTo", "left", "right"},
      {boolean_series_greater_than_or_equal_to, "greaterThanOrEqualTo", "left", "right"},
      {boolean_series_less_than_or_equal_to, "lessThanOrEqualTo", "left", "right"},
  };
  for (const Binary& c : cases)
    EXPECT_EQ(to_json(c.build(raw("a"), raw("b"))),
              node(c.variant, std::string("{\"") + c.first + "\":" + A + ",\"" + c.second + "\":" + B + "}"))
        << c.variant;
}

TEST(BuildersNumeric, IntegerOperandBuilders) {
  const Binary cases[] = {
      {numeric_series_tail, "selectNewestPoints", "input", "numPoints"},
      {numeric_series_head, "selectOldestPoints", "input", "numPoints"},
      {numeric_series_nth_point_downsample, "nthPointDownsample", "input", "n"},
      {numeric_series_largest_triangle_three_buckets, "largestTriangleThreeBuckets", "input", "maxPointsToReturn"},
      {numeric_series_bit_and, "bitAnd", "input", "operand"},
      {numeric_series_bit_or, "bitOr", "input", "operand"},
      {numeric_series_bit_xor, "bitXor", "input", "operand"},
      {numeric_series_bit_shift_right, "bitShiftRight", "input", "operand"},
      {numeric_series_bit_shift_left, "bitShiftLeft", "input", "operand"},
      {numeric_series_bit_test, "bitTest", "input", "index"},
  };
  for (const Binary& c : cases)
    EXPECT_EQ(to_json(c.build(raw("a"), m::integer_literal(-3))),
              node(c.variant, std::string("{\"") + c.first + "\":" + A + ",\"" + c.second +
                                  R"(":{"type":"literal","literal":-3}})"))
        << c.variant;
}

TEST(BuildersNumeric, ListBuildersKeepOrderAndDuplicatesAndWriteNothingWhenEmpty) {
  struct List {
    Value (*build)(std::vector<Value>);
    const char* variant;
    const char* key;
  };
  const List cases[] = {{max, "max", "inputs"},   {mean, "mean", "inputs"},
                        {min, "min", "inputs"},   {sum, "sum", "inputs"},
                        {product, "product", "inputs"}, {numeric_series_union, "union", "input"}};
  for (const List& c : cases) {
    EXPECT_EQ(to_json(c.build({})), node(c.variant, "{}"));
    EXPECT_EQ(to_json(c.build({raw("b"), raw("a"), raw("b")})),
              node(c.variant, std::string("{\"") + c.key + "\":[" + B + "," + A + "," + B + "]}"));
  }
}

TEST(BuildersNumeric, IfElseTakesConditionThenBothBranches) {
  Value cond = boolean_series_less_than(raw("a"), raw("b"));
  EXPECT_EQ(to_json(numeric_if_else(cond, raw("a"), raw("b"))),
            node("ifElse", "{\"condition\":" + to_json(cond) + ",\"trueValue\":" + A + ",\"falseValue\":" + B + "}"));
}

TEST(BuildersNumeric, TagSetsAreSortedByVariantThenBytesWithoutDuplicates) {
  Value s = numeric_series_select_tags(raw("a"), {m::string_literal("b"), m::string_literal("a"),
                                                  m::string_literal("b"), m::string_variable("a")});
  EXPECT_EQ(to_json(s), node("selectTags", "{\"input\":" + A + ",\"tagKeys\":[" + lit("a") + "," + lit("b") + "," +
                                               var("a") + "]}"));
  Value z = numeric_series_z_score(raw("a"), {m::string_literal("\x80"), m::string_literal("ab"),
                                              m::string_literal("a"), m::string_literal("Z")});
  EXPECT_EQ(to_json(z), node("zScore", "{\"input\":" + A + ",\"groupByTags\":[" + lit("Z") + "," + lit("a") + "," +
                                           lit("ab") + "," + lit("\x80") + "]}"));
  EXPECT_EQ(to_json(numeric_series_z_score(raw("a"), {})), node("zScore", "{\"input\":" + A + "}"));
}

TEST(BuildersNumeric, OptionalOperandsLeaveTheirFieldsOut) {
  EXPECT_EQ(to_json(numeric_series_derivative(raw("a"), std::nullopt, Value{})), node("derivative", "{\"input\":" + A + "}"));
  EXPECT_EQ(to_json(numeric_series_derivative(raw("a"), TimeUnit::nanoseconds, Value{})),
            node("derivative", "{\"input\":" + A + ",\"timeUnit\":\"NANOSECONDS\"}"));
  EXPECT_EQ(to_json(numeric_series_select_numeric(m::string_literal("n"), Value{}, Value{})),
            node("selectNumeric", "{\"name\":" + lit("n") + "}"));
  EXPECT_EQ(to_json(numeric_series_value_difference(raw("a"), Value{})), node("valueDifference", "{\"input\":" + A + "}"));
  Value series = series_from_numeric_series(raw("a"));
  EXPECT_EQ(to_json(numeric_series_time_difference(series, std::nullopt)),
            node("timeDifference", "{\"input\":" + node("numeric", A) + "}"));
  EXPECT_EQ(to_json(numeric_series_absolute_timestamp(series, TimeUnit::days)),
            node("absoluteTimestamp", "{\"input\":" + node("numeric", A) + ",\"timeUnit\":\"DAYS\"}"));
  EXPECT_EQ(to_json(numeric_series_signal_filter(raw("a"), raw("b"), m::integer_literal(2), Value{})),
            node("signalFilter", "{\"input\":" + A + ",\"signalFilterConfiguration\":" + B +
                                     R"(,"order":{"type":"literal","literal":2}})"));
}

TEST(BuildersNumeric, ExtractNumericKeepsThePathAndConvertsTheDataType) {
  EXPECT_EQ(to_json(struct_series_extract_numeric(raw("a"), {m::string_literal("a"), m::string_literal("a")},
                                                  std::nullopt)),
            node("extractFromStruct", "{\"input\":" + A + ",\"fieldPath\":[" + lit("a") + "," + lit("a") + "]}"));
  EXPECT_EQ(to_json(struct_series_extract_numeric(raw("a"), {}, NumericDataType::uint64)),
            node("extractFromStruct", "{\"input\":" + A + ",\"dataType\":\"UINT64\"}"));
}

TEST(BuildersNumeric, TimeShiftBuildsTheV2VariantWithADuration) {
  EXPECT_EQ(to_json(numeric_series_time_shift(raw("a"), days(1))),
            node("timeShiftV2", "{\"input\":" + A + ",\"duration\":" + kDays1 + "}"));
  EXPECT_EQ(to_json(numeric_series_to_start_of_interval(raw("a"), days(1))),
            node("toStartOfInterval", "{\"input\":" + A + ",\"window\":" + kDays1 + "}"));
}

TEST(BuildersNumeric, AggregationOperatorsAndUdfSources) {
  Value agg = aggregation_builder_rolling_points(series_from_numeric_series(raw("a")), m::integer_literal(5));
  const std::string in = node("rollingPoints", "{\"input\":" + node("numeric", A) +
                                                   R"(,"points":{"type":"literal","literal":5}})");
  struct Fixed {
    Value (*build)(Value);
    const char* op;
  };
  const Fixed cases[] = {{numeric_series_numeric_aggregation_sum, "sum"},
                         {numeric_series_numeric_aggregation_average, "average"},
                         {numeric_series_numeric_aggregation_min, "min"},
                         {numeric_series_numeric_aggregation_max, "max"},
                         {numeric_series_numeric_aggregation_count, "count"},
                         {numeric_series_numeric_aggregation_standard_deviation, "standardDeviation"},
                         {numeric_series_numeric_aggregation_root_mean_square, "rootMeanSquare"}};
  for (const Fixed& c : cases)
    EXPECT_EQ(to_json(c.build(agg)), node("numericAggregation", "{\"input\":" + in + ",\"operator\":" + node(c.op, "{}") + "}"));
  EXPECT_EQ(to_json(numeric_series_numeric_aggregation_percentile(agg, m::double_literal(0.5))),
            node("numericAggregation", "{\"input\":" + in + ",\"operator\":" +
                                           node("percentile", R"({"percentile":{"type":"literal","literal":0.5}})") + "}"));
  const std::string rust = node("rust", R"({"sourceCode":" x "})");
  EXPECT_EQ(to_json(numeric_series_numeric_aggregation_udf_rust(agg, " x ")),
            node("numericAggregation", "{\"input\":" + in + ",\"operator\":" + node("udf", "{\"source\":" + rust + "}") + "}"));
  EXPECT_EQ(to_json(numeric_series_scalar_udf_rust({series_from_numeric_series(raw("a"))}, " x ")),
            node("scalarUdf", "{\"inputs\":[" + node("numeric", A) + "],\"source\":" + rust + "}"));
  EXPECT_EQ(to_json(numeric_series_scalar_udf_rust({}, "")), node("scalarUdf", R"({"source":{"type":"rust","rust":{"sourceCode":""}}})"));
}

TEST(BuildersOther, StructCombineKeepsTheLastOfEqualNamesInByteOrder) {
  Value c = struct_series_combine({{"b", series_from_numeric_series(raw("a"))},
                                   {"a", series_from_numeric_series(raw("b"))},
                                   {"b", series_from_numeric_series(raw("b"))}});
  EXPECT_EQ(to_json(c), node("combine", "{\"inputs\":{\"a\":" + node("numeric", B) + ",\"b\":" + node("numeric", B) + "}}"));
  EXPECT_EQ(to_json(struct_series_combine({})), R"({"type":"combine","combine":{}})");
}

TEST(BuildersOther, ListResultsKeepOrderAndOmitEmptyLists) {
  EXPECT_EQ(to_json(range_series_union({})), node("unionRange", "{}"));
  EXPECT_EQ(to_json(range_series_intersect({})), node("intersectRange", "{}"));
  EXPECT_EQ(to_json(dataset_combine({})), node("combine", "{}"));
  EXPECT_EQ(to_json(range_series_union({raw("b"), raw("a"), raw("b")})),
            node("unionRange", "{\"inputs\":[" + B + "," + A + "," + B + "]}"));
  EXPECT_EQ(to_json(dataset_combine({raw("b"), raw("b")})), node("combine", "{\"inputs\":[" + B + "," + B + "]}"));
}

TEST(BuildersOther, GroupByTagsSubsetIsAnOrderedSet) {
  EXPECT_EQ(to_json(group_by_tags_subset({m::string_literal("b"), m::string_literal("a"), m::string_literal("a")})),
            node("subset", "{\"tags\":[" + lit("a") + "," + lit("b") + "]}"));
}

TEST(BuildersOther, RangeMapTakesTheOutputFirstAndWritesItLast) {
  EXPECT_EQ(to_json(range_map_create(m::string_literal("x"), Value{}, Value{})), "{\"output\":" + lit("x") + "}");
  EXPECT_EQ(to_json(range_map_create(m::string_literal("x"), Value{}, m::double_literal(2))),
            R"({"end":{"type":"literal","literal":2.0},"output":)" + lit("x") + "}");
  EXPECT_EQ(to_json(range_map_create(m::string_literal("x"), m::double_literal(1), m::double_literal(2))),
            R"({"start":{"type":"literal","literal":1.0},"end":{"type":"literal","literal":2.0},"output":)" + lit("x") + "}");
}

TEST(BuildersOther, ValueMapKeepsTheMappingOrderAndOmitsAnAbsentDefault) {
  Value r1 = range_map_create(m::string_literal("p"), Value{}, Value{});
  Value r2 = range_map_create(m::string_literal("o"), Value{}, Value{});
  EXPECT_EQ(to_json(categorical_series_value_map(raw("a"), {r1, r2}, Value{})),
            node("valueMap", "{\"input\":" + A + ",\"mapping\":[{\"output\":" + lit("p") + "},{\"output\":" + lit("o") + "}]}"));
  EXPECT_EQ(to_json(categorical_series_value_map(raw("a"), {}, m::string_literal("d"))),
            node("valueMap", "{\"input\":" + A + ",\"default\":" + lit("d") + "}"));
}

TEST(BuildersOther, TwoOperandBuildersOfTheOtherKinds) {
  Value bool1 = boolean_series_less_than(raw("a"), raw("b"));
  const std::string b1 = to_json(bool1);
  EXPECT_EQ(to_json(boolean_series_and(bool1, bool1)), node("and", "{\"left\":" + b1 + ",\"right\":" + b1 + "}"));
  EXPECT_EQ(to_json(boolean_series_or(bool1, bool1)), node("or", "{\"left\":" + b1 + ",\"right\":" + b1 + "}"));
  EXPECT_EQ(to_json(duration_add(days(1), days(1))), node("add", "{\"left\":" + kDays1 + ",\"right\":" + kDays1 + "}"));
  EXPECT_EQ(to_json(duration_subtract(days(1), days(1))),
            node("subtract", "{\"left\":" + kDays1 + ",\"right\":" + kDays1 + "}"));
  EXPECT_EQ(to_json(dataset_tag(raw("a"), m::string_literal("k"), m::string_literal("v"))),
            node("tag", "{\"input\":" + A + ",\"key\":" + lit("k") + ",\"value\":" + lit("v") + "}"));
  EXPECT_EQ(to_json(dataset_time_shift(raw("a"), days(1))), node("timeShift", "{\"input\":" + A + ",\"offset\":" + kDays1 + "}"));
  EXPECT_EQ(to_json(signal_filter_configuration_band_pass(m::double_literal(2), m::double_literal(1))),
            node("bandPass", R"({"lowPassbandFrequency":{"type":"literal","literal":2.0},"highPassbandFrequency":{"type":"literal","literal":1.0}})"));
  EXPECT_EQ(to_json(signal_filter_configuration_band_stop(m::double_literal(1), m::double_literal(2))),
            node("bandStop", R"({"lowStopbandFrequency":{"type":"literal","literal":1.0},"highStopbandFrequency":{"type":"literal","literal":2.0}})"));
  EXPECT_EQ(to_json(aggregation_builder_rolling_time(raw("a"), days(1))),
            node("rollingTime", "{\"input\":" + A + ",\"window\":" + kDays1 + "}"));
  EXPECT_EQ(to_json(aggregation_builder_group_by(raw("a"), raw("b"), raw("a"))),
            node("groupBy", "{\"input\":" + A + ",\"tags\":" + B + ",\"timestamp\":" + A + "}"));
  EXPECT_EQ(to_json(categorical_series_enum_aggregation(raw("a"), raw("b"))),
            node("enumAggregation", "{\"input\":" + A + ",\"operator\":" + B + "}"));
}

TEST(BuildersOther, SeriesConversionsPickTheVariantOfTheHeldKind) {
  EXPECT_EQ(to_json(series_from_enum_series(raw("a"))), node("enum", A));
  EXPECT_EQ(to_json(series_from_numeric_series(raw("a"))), node("numeric", A));
  EXPECT_EQ(to_json(series_from_struct_series(raw("a"))), node("struct", A));
}

TEST(BuildersNames, AcceptedNamesMapOneToOneInOrder) {
  const char* units[] = {"days", "hours", "minutes", "seconds", "milliseconds", "microseconds", "nanoseconds"};
  const char* wire[] = {"\"DAYS\"", "\"HOURS\"", "\"MINUTES\"", "\"SECONDS\"", "\"MILLISECONDS\"",
                        "\"MICROSECONDS\"", "\"NANOSECONDS\""};
  for (int i = 0; i < 7; ++i) {
    Converted<TimeUnit> c = try_from<TimeUnit>(units[i]);
    ASSERT_TRUE(c.ok()) << units[i];
    EXPECT_EQ(int(c.value()), i);
    EXPECT_EQ(to_json(to_model(c.value())), wire[i]);
  }
  const char* types[] = {"int64", "float64", "uint64"};
  const char* type_wire[] = {"\"INT64\"", "\"FLOAT64\"", "\"UINT64\""};
  for (int i = 0; i < 3; ++i) {
    Converted<NumericDataType> c = try_from<NumericDataType>(types[i]);
    ASSERT_TRUE(c.ok()) << types[i];
    EXPECT_EQ(int(c.value()), i);
    EXPECT_EQ(to_json(to_model(c.value())), type_wire[i]);
  }
}

TEST(BuildersNames, AnythingElseIsRejectedWithTheTextAsGiven) {
  for (const char* text : {"Days", "DAYS", " days", "days ", "day", ""}) {
    Converted<TimeUnit> c = try_from<TimeUnit>(text);
    EXPECT_FALSE(c.ok());
    EXPECT_EQ(c.error().message(), std::string("Invalid custom type: ") + text);
  }
  for (const char* text : {"INT64", "float", "int"}) {
    Converted<NumericDataType> c = try_from<NumericDataType>(text);
    EXPECT_FALSE(c.ok());
    EXPECT_EQ(c.error().message(), std::string("Invalid custom type: ") + text);
  }
}

}  // namespace
}  // namespace qc::builders
