// The constant unions (a literal or the name of a variable), the constant numeric series, the two
// time records and the two enumerations read from JSON, each form written once.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/units.h"

#include "wire_case.h"

namespace qc::model {
namespace {

QC_WIRE_SUITE(AuditConstants)

// The three forms every constant union has: a literal, a variable and a variant it does not know.
template <class U, Value (*kLiteral)()>
std::vector<WireCase> constant_cases(const char* literal_json) {
  return {
      WireCase{"literal", [] { return U::make(U::literal, kLiteral()); }, literal_json},
      WireCase{"variable", [] { return U::make(U::variable, Value::str("v")); }, R"({"type":"variable","variable":"v"})"},
      WireCase{"unknown", [] { return U::unknown("expression", Any("1+1")); },
               R"({"type":"expression","expression":"1+1"})"},
  };
}

Value half() { return Value::f64(0.5); }
Value most_negative_i32() { return Value::i32(std::numeric_limits<int32_t>::min()); }
Value quoted_text() { return Value::str("a\"b"); }
Value b_a_b() { return string_set({"b", "a", "b"}); }
Value variable_before_literal() { return string_constant_set({string_variable("a"), string_literal("z")}); }
Value epoch() { return timestamp(0, 0); }
// Neither record normalises: nanoseconds past a second and mixed signs stay as given.
Value unnormalised() { return run_duration(-1, 1500000000); }

#define QC_CONSTANT_CASES(Group, U, literal, json) \
  INSTANTIATE_TEST_SUITE_P(Group, AuditConstants, testing::ValuesIn(constant_cases<U, literal>(json)), wire_case_name)

QC_CONSTANT_CASES(AuditDouble, DoubleConstant, half, R"({"type":"literal","literal":0.5})");
QC_CONSTANT_CASES(AuditInteger, IntegerConstant, most_negative_i32, R"({"type":"literal","literal":-2147483648})");
QC_CONSTANT_CASES(AuditString, StringConstant, quoted_text, R"({"type":"literal","literal":"a\"b"})");
QC_CONSTANT_CASES(AuditStringSet, StringSetConstant, b_a_b, R"({"type":"literal","literal":["a","b"]})");
QC_CONSTANT_CASES(AuditStringSetV2, StringSetConstantV2, variable_before_literal,
                  R"({"type":"literal","literal":[{"type":"literal","literal":"z"},{"type":"variable","variable":"a"}]})");
QC_CONSTANT_CASES(AuditTimestamp, TimestampConstant, epoch, R"({"type":"literal","literal":{"seconds":0,"nanos":0}})");
QC_CONSTANT_CASES(AuditDuration, DurationConstant, unnormalised,
                  R"({"type":"literal","literal":{"seconds":-1,"nanos":1500000000}})");

#undef QC_CONSTANT_CASES

INSTANTIATE_TEST_SUITE_P(
    AuditConstantNumericSeries, AuditConstants,
    testing::Values(
        WireCase{"double_variable",
                 [] {
                   return ConstantNumericSeries::make(ConstantNumericSeries::double_,
                                                      DoubleConstant::make(DoubleConstant::variable, Value::str("k")));
                 },
                 R"({"type":"double","double":{"type":"variable","variable":"k"}})"},
        WireCase{"unknown", [] { return ConstantNumericSeries::unknown("integer", Any(2)); },
                 R"({"type":"integer","integer":2})"}),
    wire_case_name);

// Every value in declaration order, then a string the enumeration does not list.
INSTANTIATE_TEST_SUITE_P(
    AuditUnits, AuditConstants,
    testing::Values(
        WireCase{"time_units",
                 [] {
                   using U = api::TimeUnit;
                   return list({U::make(U::days), U::make(U::hours), U::make(U::minutes), U::make(U::seconds),
                                U::make(U::milliseconds), U::make(U::microseconds), U::make(U::nanoseconds),
                                U::unknown("weeks")});
                 },
                 R"(["DAYS","HOURS","MINUTES","SECONDS","MILLISECONDS","MICROSECONDS","NANOSECONDS","weeks"])"},
        WireCase{"numeric_data_types",
                 [] {
                   using T = objects::NumericDataType;
                   return list({T::make(T::int64), T::make(T::float64), T::make(T::uint64), T::unknown("float64")});
                 },
                 R"(["INT64","FLOAT64","UINT64","float64"])"}),
    wire_case_name);

}  // namespace
}  // namespace qc::model
