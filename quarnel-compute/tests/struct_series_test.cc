// Wire form of struct series and of every extraction out of a struct series.
#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/categorical_unions.h"
#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/context_unions.h"
#include "quarnel/compute/model/durations_unions.h"
#include "quarnel/compute/model/interpolation_unions.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/selection_unions.h"
#include "quarnel/compute/model/series_unions.h"
#include "quarnel/compute/model/struct_series_unions.h"
#include "quarnel/compute/model/units.h"

#include "wire_case.h"

namespace qc::model {
namespace {

#define LIT(text) "{\"type\":\"literal\",\"literal\":\"" text "\"}"
#define RAW(name) "{\"type\":\"raw\",\"raw\":{\"name\":\"" name "\"}}"
#define PATH_A_B "[" LIT("a") "," LIT("b") "]"

Value raw_s() { return StructSeries::make(StructSeries::raw, Reference{.name = Value::str("s")}); }
Value path(std::initializer_list<const char*> steps) {
  std::vector<Value> items;
  for (const char* s : steps) items.push_back(string_literal(s));
  return list(std::move(items));
}
Value numeric_extraction(Value field_path, Value data_type = {}) {
  return NumericSeries::make(NumericSeries::extractFromStruct,
                             ExtractNumericFromStructSeries{.input = raw_s(), .fieldPath = std::move(field_path),
                                                            .dataType = std::move(data_type)});
}
Value series_x() { return Series::make(Series::raw, Reference{.name = Value::str("x")}); }

QC_WIRE_SUITE(ModelF1StructWire)

INSTANTIATE_TEST_SUITE_P(
    ModelF1StructVariants, ModelF1StructWire,
    testing::Values(
        WireCase{"channel",
                 [] {
                   return StructSeries::make(
                       StructSeries::channel,
                       ChannelSeries::make(ChannelSeries::dataSource,
                                           DataSourceChannel{.dataSourceRid = string_literal("ri.ds"),
                                                             .channel = string_literal("c")}));
                 },
                 R"({"type":"channel","channel":{"type":"dataSource","dataSource":{"dataSourceRid":)" LIT("ri.ds")
                 R"(,"channel":)" LIT("c") "}}}"},
        WireCase{"raw", raw_s, RAW("s")},
        WireCase{"combine_of_nothing_is_empty_object",
                 [] { return StructSeries::make(StructSeries::combine, CombineStructSeries{.inputs = string_map({})}); },
                 R"({"type":"combine","combine":{}})"},
        WireCase{"combine_members_ordered_by_name_bytes_then_interpolation",
                 [] {
                   Value interpolation = InterpolationConfiguration::make(
                       InterpolationConfiguration::forwardFillInterpolation,
                       ForwardFillInterpolation{.interpolationRadius =
                                                    DurationConstant::make(DurationConstant::variable, Value::str("r"))});
                   return StructSeries::make(
                       StructSeries::combine,
                       CombineStructSeries{.inputs = string_map({{"b", series_x()}, {"a", series_x()}, {"B", series_x()}}),
                                           .interpolationConfiguration = interpolation});
                 },
                 R"({"type":"combine","combine":{"inputs":{"B":)" RAW("x") R"(,"a":)" RAW("x") R"(,"b":)" RAW("x")
                 R"(},"interpolationConfiguration":{"type":"forwardFillInterpolation","forwardFillInterpolation":)"
                 R"({"interpolationRadius":{"type":"variable","variable":"r"}}}}})"},
        WireCase{"select_struct",
                 [] {
                   return StructSeries::make(StructSeries::selectStruct, SelectSeries{.name = string_literal("s")});
                 },
                 R"({"type":"selectStruct","selectStruct":{"name":)" LIT("s") "}}"},
        WireCase{"extract_struct",
                 [] {
                   return StructSeries::make(StructSeries::extractFromStruct,
                                             ExtractStructFromStructSeries{.input = raw_s(), .fieldPath = path({"a", "b"})});
                 },
                 R"({"type":"extractFromStruct","extractFromStruct":{"input":)" RAW("s") R"(,"fieldPath":)" PATH_A_B "}}"},
        WireCase{"to_start_of_interval_takes_a_duration_expression",
                 [] {
                   return StructSeries::make(
                       StructSeries::toStartOfInterval,
                       StructToStartOfIntervalSeries{
                           .input = raw_s(),
                           .window = Duration::make(Duration::seconds, DurationSeconds{.seconds = integer_literal(1)})});
                 },
                 R"({"type":"toStartOfInterval","toStartOfInterval":{"input":)" RAW("s")
                 R"(,"window":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":1}}}}})"},
        WireCase{"time_shift_by_variable",
                 [] {
                   return StructSeries::make(
                       StructSeries::timeShift,
                       StructTimeShiftSeries{.input = raw_s(),
                                             .duration = DurationConstant::make(DurationConstant::variable, Value::str("d"))});
                 },
                 R"({"type":"timeShift","timeShift":{"input":)" RAW("s")
                 R"(,"duration":{"type":"variable","variable":"d"}}})"},
        WireCase{"filter_by_tag",
                 [] {
                   Value values = StringSetConstantV2::make(StringSetConstantV2::literal,
                                                            string_constant_set({string_literal("v")}));
                   return StructSeries::make(
                       StructSeries::filterByTag,
                       StructTagFilterSeries{.input = raw_s(),
                                             .predicate = TagPredicate::make(
                                                 TagPredicate::in, TagIn{.key = string_literal("k"), .values = values})});
                 },
                 R"({"type":"filterByTag","filterByTag":{"input":)" RAW("s") R"(,"predicate":{"type":"in","in":{"key":)"
                 LIT("k") R"(,"values":{"type":"literal","literal":[)" LIT("v") "]}}}}}"},
        WireCase{"select_tags_with_empty_set_writes_input_only",
                 [] {
                   return StructSeries::make(StructSeries::selectTags,
                                             StructSelectTagsSeries{.input = raw_s(), .tagKeys = string_constant_set({})});
                 },
                 R"({"type":"selectTags","selectTags":{"input":)" RAW("s") "}}"},
        WireCase{"select_tags_as_a_sorted_set",
                 [] {
                   return StructSeries::make(
                       StructSeries::selectTags,
                       StructSelectTagsSeries{.input = raw_s(),
                                              .tagKeys = string_constant_set(
                                                  {string_literal("b"), string_literal("a"), string_literal("b")})});
                 },
                 R"({"type":"selectTags","selectTags":{"input":)" RAW("s") R"(,"tagKeys":)" PATH_A_B "}}"},
        WireCase{"unknown", [] { return StructSeries::unknown("foo", Any(true)); }, R"({"type":"foo","foo":true})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelF1Extractions, ModelF1StructWire,
    testing::Values(
        WireCase{"numeric_with_path_and_data_type",
                 [] { return numeric_extraction(path({"a", "b"}), objects::NumericDataType::make(objects::NumericDataType::float64)); },
                 R"({"type":"extractFromStruct","extractFromStruct":{"input":)" RAW("s") R"(,"fieldPath":)" PATH_A_B
                 R"(,"dataType":"FLOAT64"}})"},
        WireCase{"numeric_with_empty_path_and_no_data_type_writes_input_only",
                 [] { return numeric_extraction(list({})); },
                 R"({"type":"extractFromStruct","extractFromStruct":{"input":)" RAW("s") "}}"},
        WireCase{"path_keeps_order_and_repeats",
                 [] { return numeric_extraction(path({"b", "a", "b"})); },
                 R"({"type":"extractFromStruct","extractFromStruct":{"input":)" RAW("s") R"(,"fieldPath":[)" LIT("b") ","
                 LIT("a") "," LIT("b") "]}}"},
        WireCase{"path_step_may_be_a_variable",
                 [] { return numeric_extraction(list({string_variable("p")})); },
                 R"({"type":"extractFromStruct","extractFromStruct":{"input":)" RAW("s")
                 R"(,"fieldPath":[{"type":"variable","variable":"p"}]}})"},
        WireCase{"data_type_int64",
                 [] { return numeric_extraction({}, objects::NumericDataType::make(objects::NumericDataType::int64)); },
                 R"({"type":"extractFromStruct","extractFromStruct":{"input":)" RAW("s") R"(,"dataType":"INT64"}})"},
        WireCase{"data_type_uint64",
                 [] { return numeric_extraction({}, objects::NumericDataType::make(objects::NumericDataType::uint64)); },
                 R"({"type":"extractFromStruct","extractFromStruct":{"input":)" RAW("s") R"(,"dataType":"UINT64"}})"},
        WireCase{"data_type_unknown_kept_verbatim",
                 [] { return numeric_extraction({}, objects::NumericDataType::unknown("float32")); },
                 R"({"type":"extractFromStruct","extractFromStruct":{"input":)" RAW("s") R"(,"dataType":"float32"}})"},
        WireCase{"categorical",
                 [] {
                   return EnumSeries::make(EnumSeries::extractFromStruct,
                                           ExtractEnumFromStructSeries{.input = raw_s(), .fieldPath = path({"a", "b"})});
                 },
                 R"({"type":"extractFromStruct","extractFromStruct":{"input":)" RAW("s") R"(,"fieldPath":)" PATH_A_B "}}"}),
    wire_case_name);

// "selectTags" of "timeShift" of "extractFromStruct": the copy writes every level after the
// source is gone.
TEST(ModelF1StructCopy, ThreeLevelChainOutlivesItsSource) {
  Value source = StructSeries::make(
      StructSeries::selectTags,
      StructSelectTagsSeries{
          .input = StructSeries::make(
              StructSeries::timeShift,
              StructTimeShiftSeries{
                  .input = StructSeries::make(StructSeries::extractFromStruct,
                                              ExtractStructFromStructSeries{.input = raw_s(), .fieldPath = path({"a"})}),
                  .duration = DurationConstant::make(DurationConstant::literal, run_duration(1, 2))}),
          .tagKeys = string_constant_set({string_literal("t")})});
  Value copy = source;
  source = Value{};
  EXPECT_EQ(to_json(copy),
            R"({"type":"selectTags","selectTags":{"input":{"type":"timeShift","timeShift":{"input":)"
            R"({"type":"extractFromStruct","extractFromStruct":{"input":)" RAW("s") R"(,"fieldPath":[)" LIT("a")
            R"(]}},"duration":{"type":"literal","literal":{"seconds":1,"nanos":2}}}},"tagKeys":[)" LIT("t") "]}}");
}

}  // namespace
}  // namespace qc::model
