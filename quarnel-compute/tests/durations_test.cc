// Wire form of duration expressions and of references.
#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/durations_unions.h"

#include "wire_case.h"

namespace qc::model {
namespace {

Value hours(int32_t n) { return Duration::make(Duration::hours, DurationHours{.hours = integer_literal(n)}); }
Value days(int32_t n) { return Duration::make(Duration::days, DurationDays{.days = integer_literal(n)}); }
Value negate(Value d) { return Duration::make(Duration::negate, DurationNegate{.input = std::move(d)}); }

QC_WIRE_SUITE(ModelADurationWire)

INSTANTIATE_TEST_SUITE_P(
    ModelADurations, ModelADurationWire,
    testing::Values(
        WireCase{"reference", [] { return Duration::make(Duration::reference, Reference{.name = Value::str("window")}); },
                 R"({"type":"reference","reference":{"name":"window"}})"},
        WireCase{"nanoseconds",
                 [] {
                   return Duration::make(Duration::nanoseconds, DurationNanoseconds{.nanoseconds = integer_literal(7)});
                 },
                 R"({"type":"nanoseconds","nanoseconds":{"nanoseconds":{"type":"literal","literal":7}}})"},
        WireCase{"milliseconds",
                 [] {
                   return Duration::make(Duration::milliseconds,
                                         DurationMilliseconds{.milliseconds = integer_literal(250)});
                 },
                 R"({"type":"milliseconds","milliseconds":{"milliseconds":{"type":"literal","literal":250}}})"},
        WireCase{"seconds_as_variable",
                 [] {
                   return Duration::make(Duration::seconds,
                                         DurationSeconds{.seconds = IntegerConstant::make(IntegerConstant::variable,
                                                                                          Value::str("n"))});
                 },
                 R"({"type":"seconds","seconds":{"seconds":{"type":"variable","variable":"n"}}})"},
        WireCase{"minutes_negative_count_as_built",
                 [] { return Duration::make(Duration::minutes, DurationMinutes{.minutes = integer_literal(-30)}); },
                 R"({"type":"minutes","minutes":{"minutes":{"type":"literal","literal":-30}}})"},
        WireCase{"hours", [] { return hours(1); },
                 R"({"type":"hours","hours":{"hours":{"type":"literal","literal":1}}})"},
        WireCase{"days", [] { return days(1); }, R"({"type":"days","days":{"days":{"type":"literal","literal":1}}})"},
        WireCase{"add_is_not_normalised",
                 [] { return Duration::make(Duration::add, DurationAdd{.left = hours(1), .right = hours(2)}); },
                 R"({"type":"add","add":{"left":{"type":"hours","hours":{"hours":{"type":"literal","literal":1}}},)"
                 R"("right":{"type":"hours","hours":{"hours":{"type":"literal","literal":2}}}}})"},
        WireCase{"one_day_minus_two_hours",
                 [] { return Duration::make(Duration::subtract, DurationSubtract{.left = days(1), .right = hours(2)}); },
                 R"({"type":"subtract","subtract":{"left":{"type":"days","days":{"days":{"type":"literal","literal":1}}},)"
                 R"("right":{"type":"hours","hours":{"hours":{"type":"literal","literal":2}}}}})"},
        WireCase{"negate", [] { return negate(days(1)); },
                 R"({"type":"negate","negate":{"input":{"type":"days","days":{"days":{"type":"literal","literal":1}}}}})"},
        WireCase{"negation_of_negation", [] { return negate(negate(days(1))); },
                 R"({"type":"negate","negate":{"input":{"type":"negate","negate":{"input":)"
                 R"({"type":"days","days":{"days":{"type":"literal","literal":1}}}}}}})"},
        // There is no microseconds unit: such a duration can only come back as unknown.
        WireCase{"unknown", [] { return Duration::unknown("microseconds", Any(3)); },
                 R"({"type":"microseconds","microseconds":3})"},
        WireCase{"reference_with_empty_name", [] { return Reference{.name = Value::str("")}.build(); },
                 R"({"name":""})"}),
    wire_case_name);

}  // namespace
}  // namespace qc::model
