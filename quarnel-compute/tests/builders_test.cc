// The builders: the variant each builds, which operand fills which field, what stays empty, the
// order of the tag sets and of the combined names, and the time-unit and data-type names.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "quarnel/compute/builders.h"
#include "quarnel/compute/model/constants.h"

namespace qc::builders {
namespace {

// Builders look into no operand, so references named a, b and c stand for every operand, given
// to each builder as the type it takes.
Value raw(const char* name) { return numeric_series_reference(name).value(); }
Value a() { return raw("a"); }
Value b() { return raw("b"); }
Value c() { return raw("c"); }

template <class R, class... P>
Value call(R (*build)(P...), std::vector<Value> operands) {
  return [&]<size_t... I>(std::index_sequence<I...>) {
    return build(P(unchecked, std::move(operands[I]))...).value();
  }
  (std::index_sequence_for<P...>());
}
template <auto Build>
Value one(Value x) {
  return call(Build, {std::move(x)});
}
template <auto Build>
Value two(Value x, Value y) {
  return call(Build, {std::move(x), std::move(y)});
}
template <auto Build>
Value three(Value x, Value y, Value z) {
  return call(Build, {std::move(x), std::move(y), std::move(z)});
}
template <class T>
std::vector<Handle<T>> handles(std::vector<Value> values) {
  std::vector<Handle<T>> out;
  for (Value& v : values) out.emplace_back(unchecked, std::move(v));
  return out;
}
template <class T, auto Build>
Value of_list(std::vector<Value> items) {
  return Build(handles<T>(std::move(items))).value();
}
std::string node(const std::string& variant, const std::string& payload) {
  return R"({"type":")" + variant + R"(",")" + variant + R"(":)" + payload + "}";
}
// A JSON object of the given members, in the given order.
std::string obj(std::initializer_list<std::pair<const char*, std::string>> members) {
  std::string out;
  for (const auto& [k, v] : members)
    out += (out.empty() ? "{\"" : ",\"") + std::string(k) + "\":" + v;
  return out + "}";
}
const std::string A = node("raw", R"({"name":"a"})"), B = node("raw", R"({"name":"b"})"),
                  C = node("raw", R"({"name":"c"})");
std::string lit(const char* s) {
  return std::string(R"({"type":"literal","literal":")") + s + "\"}";
}

// Every node the binding makes comes from a builder; the Python suite checks each method's node,
// so these cases keep to the builders' own contract.
TEST(Builders, OperandsFillTheirFieldsInOrder) {
  struct Two {
    Value (*build)(Value, Value);
    const char *variant, *first, *second;
  };
  const Two two_fields[] = {
      {two<numeric_series_add>, "add", "left", "right"},
      {two<numeric_series_subtract>, "subtract", "left", "right"},
      {two<numeric_series_multiply>, "multiply", "left", "right"},
      {two<numeric_series_divide>, "divide", "left", "right"},
      {two<numeric_series_floor_divide>, "floorDivide", "left", "right"},
      {two<numeric_series_modulo>, "modulo", "left", "right"},
      {two<numeric_series_power>, "power", "base", "exponent"},
      {two<atan2>, "atan2", "y", "x"},
      {two<numeric_series_tail>, "selectNewestPoints", "input", "numPoints"},
      {two<numeric_series_head>, "selectOldestPoints", "input", "numPoints"},
      {two<numeric_series_nth_point_downsample>, "nthPointDownsample", "input", "n"},
      {two<numeric_series_largest_triangle_three_buckets>, "largestTriangleThreeBuckets", "input",
       "maxPointsToReturn"},
      {two<numeric_series_bit_and>, "bitAnd", "input", "operand"},
      {two<numeric_series_bit_or>, "bitOr", "input", "operand"},
      {two<numeric_series_bit_xor>, "bitXor", "input", "operand"},
      {two<numeric_series_bit_test>, "bitTest", "input", "index"},
      {two<numeric_series_bit_shift_right>, "bitShiftRight", "input", "operand"},
      {two<numeric_series_bit_shift_left>, "bitShiftLeft", "input", "operand"},
      {two<numeric_series_time_shift>, "timeShiftV2", "input", "duration"},
      {two<numeric_series_to_start_of_interval>, "toStartOfInterval", "input", "window"},
      {two<numeric_series_numeric_aggregation>, "numericAggregation", "input", "operator"},
      {two<boolean_series_greater_than>, "greaterThan", "left", "right"},
      {two<boolean_series_and>, "and", "left", "right"},
      {two<boolean_series_less_than>, "lessThan", "left", "right"},
      {two<boolean_series_equal_to>, "equalTo", "left", "right"},
      {two<boolean_series_not_equal_to>, "notEqualTo", "left", "right"},
      {two<boolean_series_or>, "or", "left", "right"},
      {two<boolean_series_greater_than_or_equal_to>, "greaterThanOrEqualTo", "left", "right"},
      {two<boolean_series_less_than_or_equal_to>, "lessThanOrEqualTo", "left", "right"},
      {two<categorical_series_enum_aggregation>, "enumAggregation", "input", "operator"},
      {two<dataset_time_shift>, "timeShift", "input", "offset"},
      {two<duration_add>, "add", "left", "right"},
      {two<duration_subtract>, "subtract", "left", "right"},
      {two<aggregation_builder_rolling_time>, "rollingTime", "input", "window"},
      {two<aggregation_builder_rolling_points>, "rollingPoints", "input", "points"},
      {two<signal_filter_configuration_band_pass>, "bandPass", "lowPassbandFrequency",
       "highPassbandFrequency"},
      {two<signal_filter_configuration_band_stop>, "bandStop", "lowStopbandFrequency",
       "highStopbandFrequency"}};
  for (const Two& t : two_fields)
    EXPECT_EQ(to_json(t.build(a(), b())), node(t.variant, obj({{t.first, A}, {t.second, B}})))
        << t.variant;
  struct Three {
    Value (*build)(Value, Value, Value);
    const char *variant, *first, *second, *third;
  };
  const Three three_fields[] = {
      {three<numeric_if_else>, "ifElse", "condition", "trueValue", "falseValue"},
      {three<aggregation_builder_group_by>, "groupBy", "input", "tags", "timestamp"},
      {three<dataset_tag>, "tag", "input", "key", "value"},
      {three<numeric_series_select_numeric>, "selectNumeric", "name", "dataset", "sampling"}};
  for (const Three& t : three_fields)
    EXPECT_EQ(to_json(t.build(a(), b(), c())),
              node(t.variant, obj({{t.first, A}, {t.second, B}, {t.third, C}})));
}

TEST(Builders, SeriesConversionsWrapTheSeries) {
  const std::pair<Value (*)(Value), const char*> conversions[] = {
      {one<series_from_enum_series>, "enum"},
      {one<series_from_numeric_series>, "numeric"},
      {one<series_from_struct_series>, "struct"}};
  for (auto [build, variant] : conversions) EXPECT_EQ(to_json(build(a())), node(variant, A));
}

TEST(Builders, ListsKeepOrderAndDuplicatesAndVanishWhenEmpty) {
  struct List {
    Value (*build)(std::vector<Value>);
    const char *variant, *key;
  };
  const List lists[] = {
      {of_list<model::NumericSeries, max>, "max", "inputs"},
      {of_list<model::NumericSeries, mean>, "mean", "inputs"},
      {of_list<model::NumericSeries, min>, "min", "inputs"},
      {of_list<model::NumericSeries, sum>, "sum", "inputs"},
      {of_list<model::NumericSeries, product>, "product", "inputs"},
      {of_list<model::Dataset, dataset_combine>, "combine", "inputs"},
      {of_list<model::NumericSeries, numeric_series_union>, "union", "input"},
      {of_list<model::RangeSeries, range_series_union>, "unionRange", "inputs"},
      {of_list<model::RangeSeries, range_series_intersect>, "intersectRange", "inputs"}};
  for (const List& l : lists) {
    EXPECT_EQ(to_json(l.build({})), node(l.variant, "{}"));
    EXPECT_EQ(to_json(l.build({b(), a(), b()})),
              node(l.variant, obj({{l.key, "[" + B + "," + A + "," + B + "]"}})))
        << l.variant;
  }
}

TEST(Builders, TagListsBecomeSetsInStringConstantOrder) {
  auto tags = [] {
    return std::vector<StringConstant>{
        string_constant_literal("b"),    string_constant_variable("a"),
        string_constant_literal("\x80"), string_constant_literal("ab"),
        string_constant_literal("b"),    string_constant_literal("Z")};
  };
  const NumericSeries input(unchecked, a());
  const std::string set = "[" + lit("Z") + "," + lit("ab") + "," + lit("b") + "," + lit("\x80") +
                          R"(,{"type":"variable","variable":"a"}])";
  EXPECT_EQ(to_json(numeric_series_select_tags(input, tags()).value()),
            node("selectTags", obj({{"input", A}, {"tagKeys", set}})));
  EXPECT_EQ(to_json(numeric_series_z_score(input, tags()).value()),
            node("zScore", obj({{"input", A}, {"groupByTags", set}})));
  EXPECT_EQ(to_json(group_by_tags_subset(tags()).value()), node("subset", obj({{"tags", set}})));
  EXPECT_EQ(to_json(numeric_series_select_tags(input, {}).value()),
            node("selectTags", obj({{"input", A}})));
  EXPECT_EQ(to_json(numeric_series_z_score(input, {}).value()),
            node("zScore", obj({{"input", A}})));
  EXPECT_EQ(to_json(group_by_tags_subset({}).value()), node("subset", "{}"));
}

TEST(Builders, OptionalOperandsAreWrittenOnlyWhenGiven) {
  const NumericSeries input(unchecked, a());
  const Series series(unchecked, a());
  const auto exclude = negative_value_configuration_exclude_negative_values();
  const std::string ex = node("excludeNegativeValues", "{}");
  const std::string one = R"({"type":"literal","literal":1.0})";
  auto json = [](const auto& handle) { return to_json(handle.value()); };
  EXPECT_EQ(json(numeric_series_derivative(input, std::nullopt, {})),
            node("derivative", obj({{"input", A}})));
  EXPECT_EQ(json(numeric_series_derivative(input, TimeUnit::nanoseconds, exclude)),
            node("derivative", obj({{"input", A},
                                    {"timeUnit", R"("NANOSECONDS")"},
                                    {"negativeValuesConfiguration", ex}})));
  EXPECT_EQ(json(numeric_series_value_difference(input, exclude)),
            node("valueDifference", obj({{"input", A}, {"negativeValuesConfiguration", ex}})));
  EXPECT_EQ(json(numeric_series_time_difference(series, std::nullopt)),
            node("timeDifference", obj({{"input", A}})));
  EXPECT_EQ(json(numeric_series_time_difference(series, TimeUnit::microseconds)),
            node("timeDifference", obj({{"input", A}, {"timeUnit", R"("MICROSECONDS")"}})));
  EXPECT_EQ(json(numeric_series_absolute_timestamp(series, TimeUnit::days)),
            node("absoluteTimestamp", obj({{"input", A}, {"timeUnit", R"("DAYS")"}})));
  EXPECT_EQ(
      to_json(call(numeric_series_signal_filter, {a(), b(), c(), {}})),
      node("signalFilter", obj({{"input", A}, {"signalFilterConfiguration", B}, {"order", C}})));
  EXPECT_EQ(to_json(call(numeric_series_signal_filter, {a(), b(), c(), a()})),
            node("signalFilter", obj({{"input", A},
                                      {"signalFilterConfiguration", B},
                                      {"order", C},
                                      {"samplingFrequency", A}})));
  EXPECT_EQ(to_json(call(numeric_series_select_numeric, {a(), {}, b()})),
            node("selectNumeric", obj({{"name", A}, {"sampling", B}})));
  const StructSeries structs(unchecked, a());
  EXPECT_EQ(
      json(struct_series_extract_numeric(
          structs, {string_constant_literal("b"), string_constant_literal("b")}, std::nullopt)),
      node("extractFromStruct",
           obj({{"input", A}, {"fieldPath", "[" + lit("b") + "," + lit("b") + "]"}})));
  EXPECT_EQ(json(struct_series_extract_numeric(structs, {}, NumericDataType::uint64)),
            node("extractFromStruct", obj({{"input", A}, {"dataType", R"("UINT64")"}})));
  EXPECT_EQ(json(categorical_series_value_map(input, handles<model::RangeMap>({b(), a()}), {})),
            node("valueMap", obj({{"input", A}, {"mapping", "[" + B + "," + A + "]"}})));
  EXPECT_EQ(json(categorical_series_value_map(input, {}, StringConstant(unchecked, b()))),
            node("valueMap", obj({{"input", A}, {"default", B}})));
  // The output comes first among the operands and last on the wire.
  EXPECT_EQ(to_json(call(range_map_create, {a(), {}, {}})), obj({{"output", A}}));
  EXPECT_EQ(to_json(call(range_map_create, {a(), {}, double_constant_literal(1).value()})),
            obj({{"end", one}, {"output", A}}));
  EXPECT_EQ(to_json(call(range_map_create, {a(), b(), c()})),
            obj({{"start", B}, {"end", C}, {"output", A}}));
}

TEST(Builders, MadeOperatorsAndSources) {
  auto aggregation = [](const std::string& op) {
    return node("numericAggregation", obj({{"input", A}, {"operator", op}}));
  };
  const std::pair<Value (*)(Value), const char*> fixed[] = {
      {one<numeric_series_numeric_aggregation_sum>, "sum"},
      {one<numeric_series_numeric_aggregation_average>, "average"},
      {one<numeric_series_numeric_aggregation_min>, "min"},
      {one<numeric_series_numeric_aggregation_max>, "max"},
      {one<numeric_series_numeric_aggregation_count>, "count"},
      {one<numeric_series_numeric_aggregation_standard_deviation>, "standardDeviation"},
      {one<numeric_series_numeric_aggregation_root_mean_square>, "rootMeanSquare"}};
  for (auto [build, op] : fixed) EXPECT_EQ(to_json(build(a())), aggregation(node(op, "{}"))) << op;
  EXPECT_EQ(to_json(two<numeric_series_numeric_aggregation_percentile>(a(), b())),
            aggregation(node("percentile", obj({{"percentile", B}}))));
  EXPECT_EQ(to_json(two<numeric_series_numeric_aggregation_udf>(a(), b())),
            aggregation(node("udf", obj({{"source", B}}))));
  // Source texts are taken as given, blanks and all.
  const std::string rust = node("rust", R"({"sourceCode":" x "})");
  const AggregationBuilder builder(unchecked, a());
  EXPECT_EQ(to_json(numeric_series_numeric_aggregation_udf_rust(builder, " x ").value()),
            aggregation(node("udf", obj({{"source", rust}}))));
  EXPECT_EQ(
      to_json(numeric_series_udf(handles<model::Series>({b(), a()}), UdfSource(unchecked, c()))
                  .value()),
      node("scalarUdf", obj({{"inputs", "[" + B + "," + A + "]"}, {"source", C}})));
  EXPECT_EQ(to_json(numeric_series_scalar_udf_rust({}, " x ").value()),
            node("scalarUdf", obj({{"source", rust}})));
  // Of two equal names the later series stays; names are ordered by their bytes.
  auto series = [](Value v) { return Series(unchecked, std::move(v)); };
  EXPECT_EQ(
      to_json(struct_series_combine(
                  {{"b", series(a())}, {"a", series(b())}, {"B", series(a())}, {"b", series(c())}})
                  .value()),
      node("combine", obj({{"inputs", obj({{"B", A}, {"a", B}, {"b", C}})}})));
  EXPECT_EQ(to_json(struct_series_combine({}).value()), node("combine", "{}"));
}

TEST(BuildersNames, AcceptedNamesMapOneToOneInOrder) {
  const char* units[] = {"days",         "hours",        "minutes",    "seconds",
                         "milliseconds", "microseconds", "nanoseconds"};
  const char* unit_wire[] = {"DAYS",         "HOURS",        "MINUTES",    "SECONDS",
                             "MILLISECONDS", "MICROSECONDS", "NANOSECONDS"};
  const char* types[] = {"int64", "float64", "uint64"};
  const char* type_wire[] = {"INT64", "FLOAT64", "UINT64"};
  for (int i = 0; i < 7; ++i) {
    ASSERT_TRUE(try_from<TimeUnit>(units[i]).ok()) << units[i];
    EXPECT_EQ(int(try_from<TimeUnit>(units[i]).value()), i);
    EXPECT_EQ(to_json(to_model(TimeUnit(i)).value()), std::string("\"") + unit_wire[i] + "\"");
    if (i >= 3) continue;
    ASSERT_TRUE(try_from<NumericDataType>(types[i]).ok()) << types[i];
    EXPECT_EQ(int(try_from<NumericDataType>(types[i]).value()), i);
    EXPECT_EQ(to_json(to_model(NumericDataType(i)).value()),
              std::string("\"") + type_wire[i] + "\"");
  }
}

TEST(BuildersNames, AnythingElseIsRejectedWithTheTextAsGiven) {
  for (const char* text : {"Days", "DAYS", " days", "days ", "day", ""}) {
    EXPECT_FALSE(try_from<TimeUnit>(text).ok());
    EXPECT_EQ(try_from<TimeUnit>(text).error().message(),
              std::string("Invalid custom type: ") + text);
  }
  for (const char* text : {"INT64", "float", "int"}) {
    EXPECT_FALSE(try_from<NumericDataType>(text).ok());
    EXPECT_EQ(try_from<NumericDataType>(text).error().message(),
              std::string("Invalid custom type: ") + text);
  }
}

}  // namespace
}  // namespace qc::builders
