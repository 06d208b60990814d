// Value maps between numeric and categorical series: range maps, category-to-number maps and
// duplicate counts.
#include <gtest/gtest.h>

#include <string>

#include "quarnel/compute/model/categorical_unions.h"
#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/reference.h"

#include "wire_case.h"

namespace qc::model {
namespace {

Value mode() { return EnumSeries::make(EnumSeries::raw, Reference{.name = Value::str("mode")}); }
Value gear() { return EnumSeries::make(EnumSeries::raw, Reference{.name = Value::str("gear")}); }
Value raw_x() { return NumericSeries::make(NumericSeries::raw, Reference{.name = Value::str("x")}); }
constexpr const char* kMode = R"({"type":"raw","raw":{"name":"mode"}})";
constexpr const char* kGear = R"({"type":"raw","raw":{"name":"gear"}})";
constexpr const char* kRawX = R"({"type":"raw","raw":{"name":"x"}})";

// The JSON of a double literal and of a string literal.
std::string dbl(const char* text) { return std::string(R"({"type":"literal","literal":)") + text + "}"; }
std::string str(const char* text) { return std::string(R"({"type":"literal","literal":")") + text + "\"}"; }

Value range(double start, double end, const char* output) {
  return RangeMap{.start = double_literal(start), .end = double_literal(end), .output = string_literal(output)}.build();
}

QC_WIRE_SUITE(ModelEValueMap)

INSTANTIATE_TEST_SUITE_P(
    ModelERangeMaps, ModelEValueMap,
    testing::Values(
        // "output" is required and still comes last.
        WireCase{"both_bounds", [] { return range(0.0, 1.5, "low"); },
                 R"({"start":)" + dbl("0.0") + R"(,"end":)" + dbl("1.5") + R"(,"output":)" + str("low") + "}"},
        WireCase{"no_bounds", [] { return RangeMap{.output = string_literal("any")}.build(); },
                 R"({"output":)" + str("any") + "}"},
        WireCase{"end_only", [] { return RangeMap{.end = double_literal(10.0), .output = string_literal("low")}.build(); },
                 R"({"end":)" + dbl("10.0") + R"(,"output":)" + str("low") + "}"},
        WireCase{"start_only_variable_output",
                 [] { return RangeMap{.start = double_literal(-2.0), .output = string_variable("label")}.build(); },
                 R"({"start":)" + dbl("-2.0") + R"(,"output":{"type":"variable","variable":"label"}})"},
        // Nothing checks that a start lies below its end.
        WireCase{"start_above_end", [] { return range(5.0, 1.0, "odd"); },
                 R"({"start":)" + dbl("5.0") + R"(,"end":)" + dbl("1.0") + R"(,"output":)" + str("odd") + "}"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelEValueMapSeries, ModelEValueMap,
    testing::Values(
        WireCase{"empty_mapping_no_default", [] { return ValueMapSeries{.input = raw_x()}.build(); },
                 std::string(R"({"input":)") + kRawX + "}"},
        WireCase{"default_only",
                 [] { return ValueMapSeries{.input = raw_x(), .default_ = string_literal("none")}.build(); },
                 std::string(R"({"input":)") + kRawX + R"(,"default":)" + str("none") + "}"},
        // Overlapping, out-of-order ranges are written as given.
        WireCase{"ranges_in_given_order",
                 [] {
                   return ValueMapSeries{.input = raw_x(),
                                         .mapping = list({range(5.0, 10.0, "high"), range(0.0, 7.0, "low")}),
                                         .default_ = string_literal("none")}
                       .build();
                 },
                 std::string(R"({"input":)") + kRawX + R"(,"mapping":[{"start":)" + dbl("5.0") + R"(,"end":)" +
                     dbl("10.0") + R"(,"output":)" + str("high") + R"(},{"start":)" + dbl("0.0") + R"(,"end":)" +
                     dbl("7.0") + R"(,"output":)" + str("low") + R"(}],"default":)" + str("none") + "}"},
        WireCase{"as_categorical_series",
                 [] {
                   return EnumSeries::make(EnumSeries::valueMap,
                                           ValueMapSeries{.input = raw_x(), .mapping = list({range(0.0, 1.0, "on")})});
                 },
                 std::string(R"({"type":"valueMap","valueMap":{"input":)") + kRawX + R"(,"mapping":[{"start":)" +
                     dbl("0.0") + R"(,"end":)" + dbl("1.0") + R"(,"output":)" + str("on") + "}]}}"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelEEnumToNumeric, ModelEValueMap,
    testing::Values(
        // Keys in ascending byte order: upper case first, a prefix before its extensions,
        // non-ASCII after ASCII.
        WireCase{"mapping_in_key_byte_order",
                 [] {
                   return EnumToNumericSeries{.input = mode(),
                                              .mapping = string_map({{"b", double_literal(1.0)},
                                                                     {"\xC3\xA9", double_literal(5.0)},
                                                                     {"ab", double_literal(4.0)},
                                                                     {"B", double_literal(2.0)},
                                                                     {"a", double_literal(3.0)}}),
                                              .defaultValue = double_literal(-1.5)}
                       .build();
                 },
                 std::string(R"({"input":)") + kMode + R"(,"mapping":{"B":)" + dbl("2.0") + R"(,"a":)" + dbl("3.0") +
                     R"(,"ab":)" + dbl("4.0") + R"(,"b":)" + dbl("1.0") + ",\"\xC3\xA9\":" + dbl("5.0") +
                     R"(},"defaultValue":)" + dbl("-1.5") + "}"},
        WireCase{"empty_mapping_with_default",
                 [] { return EnumToNumericSeries{.input = mode(), .defaultValue = double_literal(0.0)}.build(); },
                 std::string(R"({"input":)") + kMode + R"(,"defaultValue":)" + dbl("0.0") + "}"},
        WireCase{"empty_mapping_no_default", [] { return EnumToNumericSeries{.input = mode()}.build(); },
                 std::string(R"({"input":)") + kMode + "}"},
        WireCase{"as_numeric_series",
                 [] {
                   return NumericSeries::make(
                       NumericSeries::enumToNumeric,
                       EnumToNumericSeries{.input = mode(), .mapping = string_map({{"on", double_literal(1.0)}})});
                 },
                 std::string(R"({"type":"enumToNumeric","enumToNumeric":{"input":)") + kMode + R"(,"mapping":{"on":)" +
                     dbl("1.0") + "}}}"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    ModelECountDuplicate, ModelEValueMap,
    testing::Values(
        WireCase{"no_inputs", [] { return EnumCountDuplicateSeries{}.build(); }, "{}"},
        WireCase{"no_inputs_as_numeric_series",
                 [] { return NumericSeries::make(NumericSeries::countDuplicate, EnumCountDuplicateSeries{}); },
                 R"({"type":"countDuplicate","countDuplicate":{}})"},
        WireCase{"inputs_in_given_order",
                 [] {
                   return NumericSeries::make(NumericSeries::countDuplicate,
                                              EnumCountDuplicateSeries{.inputs = list({gear(), mode(), gear()})});
                 },
                 std::string(R"({"type":"countDuplicate","countDuplicate":{"inputs":[)") + kGear + "," + kMode + "," +
                     kGear + "]}}"}),
    wire_case_name);

}  // namespace
}  // namespace qc::model
