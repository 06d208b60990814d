// Wire form of array series, the numeric and categorical array unions, and index selection.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/array_series_unions.h"
#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/durations_unions.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/selection_unions.h"
#include "quarnel/compute/model/struct_series_unions.h"

#include "wire_case.h"

namespace qc::model {
namespace {

#define LIT(text) "{\"type\":\"literal\",\"literal\":\"" text "\"}"
#define RAW(name) "{\"type\":\"raw\",\"raw\":{\"name\":\"" name "\"}}"
#define CHANNEL_C \
  R"({"type":"channel","channel":{"type":"dataSource","dataSource":{"dataSourceRid":)" LIT("ri.ds") R"(,"channel":)" LIT("c") "}}}"
#define DAYS_1 R"({"type":"days","days":{"days":{"type":"literal","literal":1}}})"
#define PREDICATE_K_IN_V \
  R"({"type":"in","in":{"key":)" LIT("k") R"(,"values":{"type":"literal","literal":[)" LIT("v") "]}}}"

template <class U>
Value raw_v() {
  return U::make(U::raw, Reference{.name = Value::str("v")});
}
Value struct_raw_s() { return StructSeries::make(StructSeries::raw, Reference{.name = Value::str("s")}); }
Value channel_c() {
  return ChannelSeries::make(ChannelSeries::dataSource, DataSourceChannel{.dataSourceRid = string_literal("ri.ds"),
                                                                          .channel = string_literal("c")});
}
Value days_1() { return Duration::make(Duration::days, DurationDays{.days = integer_literal(1)}); }
Value shift_d() { return DurationConstant::make(DurationConstant::variable, Value::str("d")); }
Value predicate_k_in_v() {
  return TagPredicate::make(
      TagPredicate::in,
      TagIn{.key = string_literal("k"),
            .values = StringSetConstantV2::make(StringSetConstantV2::literal, string_constant_set({string_literal("v")}))});
}
Value tag_keys_b_a() { return string_constant_set({string_literal("b"), string_literal("a")}); }
Value select_index(Value index) {
  return NumericSeries::make(NumericSeries::select1dArrayIndex,
                             SelectIndexFrom1dNumericArraySeries{.input = raw_v<Numeric1dArraySeries>(), .index = std::move(index)});
}

QC_WIRE_SUITE(ModelF1ArrayWire)

INSTANTIATE_TEST_SUITE_P(
    ModelF1ArraySeriesVariants, ModelF1ArrayWire,
    testing::Values(
        WireCase{"numeric_nests_the_inner_union",
                 [] { return ArraySeries::make(ArraySeries::numeric1d, raw_v<Numeric1dArraySeries>()); },
                 R"({"type":"numeric1d","numeric1d":)" RAW("v") "}"},
        WireCase{"enum", [] { return ArraySeries::make(ArraySeries::enum1d, raw_v<Enum1dArraySeries>()); },
                 R"({"type":"enum1d","enum1d":)" RAW("v") "}"},
        WireCase{"unknown", [] { return ArraySeries::unknown("foo", Any(nullptr)); }, R"({"type":"foo","foo":null})"},
        WireCase{"unknown_inside_numeric",
                 [] { return ArraySeries::make(ArraySeries::numeric1d, Numeric1dArraySeries::unknown("foo", Any(nullptr))); },
                 R"({"type":"numeric1d","numeric1d":{"type":"foo","foo":null}})"}),
    wire_case_name);

// Both array unions have the same variants but for the selection's name; one table serves both,
// each over the raw array series v of its own kind.
template <class U, typename U::Variant SelectVariant, class Extract, class ToStart, class Shift, class Filter,
          class Select>
std::vector<WireCase> array_cases(const char* select_json) {
  return {
      WireCase{"channel", [] { return U::make(U::channel, channel_c()); }, CHANNEL_C},
      WireCase{"raw", raw_v<U>, RAW("v")},
      WireCase{"select", [] { return U::make(SelectVariant, SelectSeries{.name = string_literal("a")}); }, select_json},
      WireCase{"extract_keeps_path_order",
               [] {
                 return U::make(U::extractFromStruct,
                                Extract{.input = struct_raw_s(), .fieldPath = list({string_literal("b"), string_literal("a")})});
               },
               R"({"type":"extractFromStruct","extractFromStruct":{"input":)" RAW("s") R"(,"fieldPath":[)" LIT("b") ","
               LIT("a") "]}}"},
      WireCase{"extract_path_step_may_be_a_variable",
               [] {
                 return U::make(U::extractFromStruct,
                                Extract{.input = struct_raw_s(), .fieldPath = list({string_variable("p")})});
               },
               R"({"type":"extractFromStruct","extractFromStruct":{"input":)" RAW("s")
               R"(,"fieldPath":[{"type":"variable","variable":"p"}]}})"},
      WireCase{"extract_with_empty_path_writes_input_only",
               [] { return U::make(U::extractFromStruct, Extract{.input = struct_raw_s(), .fieldPath = list({})}); },
               R"({"type":"extractFromStruct","extractFromStruct":{"input":)" RAW("s") "}}"},
      WireCase{"to_start_of_interval", [] { return U::make(U::toStartOfInterval, ToStart{.input = raw_v<U>(), .window = days_1()}); },
               R"({"type":"toStartOfInterval","toStartOfInterval":{"input":)" RAW("v") R"(,"window":)" DAYS_1 "}}"},
      WireCase{"time_shift", [] { return U::make(U::timeShift, Shift{.input = raw_v<U>(), .duration = shift_d()}); },
               R"({"type":"timeShift","timeShift":{"input":)" RAW("v") R"(,"duration":{"type":"variable","variable":"d"}}})"},
      WireCase{"filter_by_tag",
               [] { return U::make(U::filterByTag, Filter{.input = raw_v<U>(), .predicate = predicate_k_in_v()}); },
               R"({"type":"filterByTag","filterByTag":{"input":)" RAW("v") R"(,"predicate":)" PREDICATE_K_IN_V "}}"},
      WireCase{"select_tags_sorted", [] { return U::make(U::selectTags, Select{.input = raw_v<U>(), .tagKeys = tag_keys_b_a()}); },
               R"({"type":"selectTags","selectTags":{"input":)" RAW("v") R"(,"tagKeys":[)" LIT("a") "," LIT("b") "]}}"},
      WireCase{"select_tags_with_empty_set_writes_input_only",
               [] { return U::make(U::selectTags, Select{.input = raw_v<U>(), .tagKeys = string_constant_set({})}); },
               R"({"type":"selectTags","selectTags":{"input":)" RAW("v") "}}"},
      WireCase{"unknown", [] { return U::unknown("bar", Any(-1)); }, R"({"type":"bar","bar":-1})"},
  };
}

INSTANTIATE_TEST_SUITE_P(
    ModelF1NumericArrayVariants, ModelF1ArrayWire,
    testing::ValuesIn(
        array_cases<Numeric1dArraySeries, Numeric1dArraySeries::selectNumeric1dArray, ExtractNumeric1dArrayFromStructSeries,
                    Numeric1dArrayToStartOfIntervalSeries, Numeric1dArrayTimeShiftSeries, Numeric1dArrayTagFilterSeries,
                    Numeric1dArraySelectTagsSeries>(R"({"type":"selectNumeric1dArray","selectNumeric1dArray":{"name":)" LIT("a") "}}")),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelF1EnumArrayVariants, ModelF1ArrayWire,
    testing::ValuesIn(
        array_cases<Enum1dArraySeries, Enum1dArraySeries::selectEnum1dArray, ExtractEnum1dArrayFromStructSeries,
                    Enum1dArrayToStartOfIntervalSeries, Enum1dArrayTimeShiftSeries, Enum1dArrayTagFilterSeries,
                    Enum1dArraySelectTagsSeries>(R"({"type":"selectEnum1dArray","selectEnum1dArray":{"name":)" LIT("a") "}}")),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelF1IndexSelection, ModelF1ArrayWire,
    testing::Values(
        WireCase{"index_zero_as_numeric_series", [] { return select_index(integer_literal(0)); },
                 R"({"type":"select1dArrayIndex","select1dArrayIndex":{"input":)" RAW("v")
                 R"(,"index":{"type":"literal","literal":0}}})"},
        WireCase{"index_variable",
                 [] { return select_index(IntegerConstant::make(IntegerConstant::variable, Value::str("i"))); },
                 R"({"type":"select1dArrayIndex","select1dArrayIndex":{"input":)" RAW("v")
                 R"(,"index":{"type":"variable","variable":"i"}}})"},
        WireCase{"negative_index_is_not_checked", [] { return select_index(integer_literal(-1)); },
                 R"({"type":"select1dArrayIndex","select1dArrayIndex":{"input":)" RAW("v")
                 R"(,"index":{"type":"literal","literal":-1}}})"}),
    wire_case_name);

}  // namespace
}  // namespace qc::model
