// The builders' optional operands when present, and the builders that take an operator or a
// source as a value rather than making it themselves.
#include <gtest/gtest.h>

#include <string>

#include "quarnel/compute/builders.h"
#include "quarnel/compute/model/aggregation_unions.h"
#include "quarnel/compute/model/calculus_unions.h"
#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/reference.h"

namespace qc::builders {
namespace {

namespace m = model;

Value raw(const char* name) { return m::NumericSeries::make(m::NumericSeries::raw, m::Reference{.name = Value::str(name)}); }
std::string wire(const char* variant, const std::string& payload) {
  return std::string(R"({"type":")") + variant + R"(",")" + variant + R"(":)" + payload + "}";
}
const std::string A = wire("raw", R"({"name":"a"})");
const std::string B = wire("raw", R"({"name":"b"})");

TEST(BuildersFilled, PresentOptionalOperandsAreWrittenInFieldOrder) {
  Value exclude = m::NegativeValueConfiguration::make(m::NegativeValueConfiguration::excludeNegativeValues,
                                                      m::EmptyNegativeValuePayload{});
  const std::string excluded = wire("excludeNegativeValues", "{}");
  EXPECT_EQ(to_json(numeric_series_derivative(raw("a"), TimeUnit::minutes, exclude)),
            wire("derivative", "{\"input\":" + A + R"(,"timeUnit":"MINUTES","negativeValuesConfiguration":)" + excluded + "}"));
  EXPECT_EQ(to_json(numeric_series_derivative(raw("a"), std::nullopt, exclude)),
            wire("derivative", "{\"input\":" + A + ",\"negativeValuesConfiguration\":" + excluded + "}"));
  EXPECT_EQ(to_json(numeric_series_value_difference(raw("a"), exclude)),
            wire("valueDifference", "{\"input\":" + A + ",\"negativeValuesConfiguration\":" + excluded + "}"));
  EXPECT_EQ(to_json(numeric_series_signal_filter(raw("a"), raw("b"), m::integer_literal(3), m::double_literal(0.25))),
            wire("signalFilter", "{\"input\":" + A + ",\"signalFilterConfiguration\":" + B +
                                     R"(,"order":{"type":"literal","literal":3},"samplingFrequency":{"type":"literal","literal":0.25}})"));
  EXPECT_EQ(to_json(numeric_series_select_numeric(m::string_variable("n"), raw("a"), raw("b"))),
            wire("selectNumeric", R"({"name":{"type":"variable","variable":"n"},"dataset":)" + A + ",\"sampling\":" + B + "}"));
  EXPECT_EQ(to_json(numeric_series_select_numeric(m::string_literal("n"), Value{}, raw("b"))),
            wire("selectNumeric", R"({"name":{"type":"literal","literal":"n"},"sampling":)" + B + "}"));
  EXPECT_EQ(to_json(numeric_series_time_difference(series_from_enum_series(raw("a")), TimeUnit::microseconds)),
            wire("timeDifference", "{\"input\":" + wire("enum", A) + R"(,"timeUnit":"MICROSECONDS"})"));
}

TEST(BuildersFilled, OperatorsAndSourcesGivenAsValuesAreTakenUnchanged) {
  Value source = m::UdfSource::make(m::UdfSource::rust, m::RustUdfSource{.sourceCode = Value::str("g")});
  const std::string rust = wire("rust", R"({"sourceCode":"g"})");
  EXPECT_EQ(to_json(numeric_series_udf({series_from_struct_series(raw("a")), series_from_enum_series(raw("b"))}, source)),
            wire("scalarUdf", "{\"inputs\":[" + wire("struct", A) + "," + wire("enum", B) + "],\"source\":" + rust + "}"));
  EXPECT_EQ(to_json(numeric_series_udf({}, source)), wire("scalarUdf", "{\"source\":" + rust + "}"));
  EXPECT_EQ(to_json(numeric_series_numeric_aggregation_udf(raw("a"), source)),
            wire("numericAggregation", "{\"input\":" + A + ",\"operator\":" + wire("udf", "{\"source\":" + rust + "}") + "}"));
  EXPECT_EQ(to_json(numeric_series_numeric_aggregation(raw("a"), raw("b"))),
            wire("numericAggregation", "{\"input\":" + A + ",\"operator\":" + B + "}"));
  EXPECT_EQ(to_json(numeric_series_numeric_aggregation_percentile(raw("a"), m::double_literal(-1))),
            wire("numericAggregation", "{\"input\":" + A + ",\"operator\":" +
                                           wire("percentile", R"({"percentile":{"type":"literal","literal":-1.0}})") + "}"));
}

TEST(BuildersFilled, EmptyListsLeaveTheirFieldsOut) {
  EXPECT_EQ(to_json(group_by_tags_subset({})), wire("subset", "{}"));
  EXPECT_EQ(to_json(numeric_series_select_tags(raw("a"), {})), wire("selectTags", "{\"input\":" + A + "}"));
  EXPECT_EQ(to_json(categorical_series_value_map(raw("a"), {}, Value{})), wire("valueMap", "{\"input\":" + A + "}"));
}

}  // namespace
}  // namespace qc::builders
