// Calculus and time nodes and the negative-value configuration, as written on the wire.
#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/calculus_unions.h"
#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/reference.h"
#include "quarnel/compute/model/series_unions.h"
#include "quarnel/compute/model/units.h"

#include "wire_case.h"

namespace qc::model {
namespace {

using Negative = NegativeValueConfiguration;

Value raw_x() { return NumericSeries::make(NumericSeries::raw, Reference{.name = Value::str("x")}); }
constexpr const char* kRawX = R"({"type":"raw","raw":{"name":"x"}})";
Value unit(api::TimeUnit::Tag t) { return api::TimeUnit::make(t); }
Value negative(Negative::Variant v) { return Negative::make(v, EmptyNegativeValuePayload{}); }
Value start_variable() { return TimestampConstant::make(TimestampConstant::variable, Value::str("t0")); }

std::string with_x(const char* head, const char* tail) { return head + std::string(kRawX) + tail; }

QC_WIRE_SUITE(ModelBCalculus)

INSTANTIATE_TEST_SUITE_P(
    Nodes, ModelBCalculus,
    testing::Values(
        WireCase{"cumulative_sum",
                 [] {
                   return NumericSeries::make(
                       NumericSeries::cumulativeSum,
                       CumulativeSumSeries{.input = raw_x(),
                                           .startTimestamp = TimestampConstant::make(TimestampConstant::literal,
                                                                                     timestamp(-1, 5))});
                 },
                 with_x(R"({"type":"cumulativeSum","cumulativeSum":{"input":)",
                        R"(,"startTimestamp":{"type":"literal","literal":{"seconds":-1,"nanos":5}}}})")},
        WireCase{"derivative_input_only",
                 [] { return NumericSeries::make(NumericSeries::derivative, DerivativeSeries{.input = raw_x()}); },
                 with_x(R"({"type":"derivative","derivative":{"input":)", "}}")},
        WireCase{"derivative_configuration_without_unit",
                 [] {
                   return DerivativeSeries{.input = raw_x(),
                                           .negativeValuesConfiguration = negative(Negative::excludeNegativeValues)}
                       .build();
                 },
                 with_x(R"({"input":)",
                        R"(,"negativeValuesConfiguration":{"type":"excludeNegativeValues","excludeNegativeValues":{}}})")},
        WireCase{"derivative_unit_then_configuration",
                 [] {
                   return DerivativeSeries{.input = raw_x(),
                                           .timeUnit = unit(api::TimeUnit::seconds),
                                           .negativeValuesConfiguration = negative(Negative::allowNegativeValues)}
                       .build();
                 },
                 with_x(R"({"input":)",
                        R"(,"timeUnit":"SECONDS","negativeValuesConfiguration":{"type":"allowNegativeValues",)"
                        R"("allowNegativeValues":{}}})")},
        WireCase{"integral_start_before_unit",
                 [] {
                   return NumericSeries::make(
                       NumericSeries::integral,
                       IntegralSeries{.input = raw_x(), .startTimestamp = start_variable(), .timeUnit = unit(api::TimeUnit::hours)});
                 },
                 with_x(R"({"type":"integral","integral":{"input":)",
                        R"(,"startTimestamp":{"type":"variable","variable":"t0"},"timeUnit":"HOURS"}})")},
        WireCase{"integral_without_unit",
                 [] { return IntegralSeries{.input = raw_x(), .startTimestamp = start_variable()}.build(); },
                 with_x(R"({"input":)", R"(,"startTimestamp":{"type":"variable","variable":"t0"}})")},
        WireCase{"value_difference",
                 [] {
                   return NumericSeries::make(
                       NumericSeries::valueDifference,
                       ValueDifferenceSeries{.input = raw_x(),
                                             .negativeValuesConfiguration = negative(Negative::setNegativeValuesToZero)});
                 },
                 with_x(R"({"type":"valueDifference","valueDifference":{"input":)",
                        R"(,"negativeValuesConfiguration":{"type":"setNegativeValuesToZero","setNegativeValuesToZero":{}}}})")},
        WireCase{"value_difference_input_only", [] { return ValueDifferenceSeries{.input = raw_x()}.build(); },
                 with_x(R"({"input":)", "}")},
        WireCase{"time_difference_without_unit",
                 [] {
                   return NumericSeries::make(NumericSeries::timeDifference,
                                              TimeDifferenceSeries{.input = Series::make(Series::numeric, raw_x())});
                 },
                 with_x(R"({"type":"timeDifference","timeDifference":{"input":{"type":"numeric","numeric":)", "}}}")},
        WireCase{"time_difference_unknown_unit_verbatim",
                 [] {
                   return TimeDifferenceSeries{.input = Series::make(Series::video, Reference{.name = Value::str("cam")}),
                                               .timeUnit = api::TimeUnit::unknown("weeks")}
                       .build();
                 },
                 R"({"input":{"type":"video","video":{"name":"cam"}},"timeUnit":"weeks"})"},
        WireCase{"absolute_timestamp_always_writes_unit",
                 [] {
                   return NumericSeries::make(
                       NumericSeries::absoluteTimestamp,
                       AbsoluteTimestampSeries{.input = Series::make(Series::raw, Reference{.name = Value::str("s")}),
                                               .timeUnit = unit(api::TimeUnit::seconds)});
                 },
                 R"({"type":"absoluteTimestamp","absoluteTimestamp":{"input":{"type":"raw","raw":{"name":"s"}},)"
                 R"("timeUnit":"SECONDS"}})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    NegativeValues, ModelBCalculus,
    testing::Values(
        WireCase{"allow", [] { return negative(Negative::allowNegativeValues); },
                 R"({"type":"allowNegativeValues","allowNegativeValues":{}})"},
        WireCase{"set_to_zero", [] { return negative(Negative::setNegativeValuesToZero); },
                 R"({"type":"setNegativeValuesToZero","setNegativeValuesToZero":{}})"},
        WireCase{"exclude", [] { return negative(Negative::excludeNegativeValues); },
                 R"({"type":"excludeNegativeValues","excludeNegativeValues":{}})"},
        WireCase{"unknown", [] { return Negative::unknown("clampNegative\"Values", Any::parse(R"({"to":-1})")); },
                 R"({"type":"clampNegative\"Values","clampNegative\"Values":{"to":-1}})"}),
    wire_case_name);

// A chain far deeper than any native stack could recurse through, mixing node kinds whose
// operands sit at different places in their records.
TEST(ModelBCalculusDeep, HundredThousandLevelsCopyWriteAndDrop) {
  constexpr int kDepth = 100000;
  struct Level {
    const char* open;
    const char* close;
  };
  static constexpr Level kLevels[] = {
      {R"({"type":"derivative","derivative":{"input":)", "}}"},
      {R"({"type":"cumulativeSum","cumulativeSum":{"input":)",
       R"(,"startTimestamp":{"type":"variable","variable":"t0"}}})"},
      {R"({"type":"timeDifference","timeDifference":{"input":{"type":"numeric","numeric":)",
       R"(},"timeUnit":"NANOSECONDS"}})"},
      {R"({"type":"valueDifference","valueDifference":{"input":)", "}}"},
  };
  Value v = raw_x();
  for (int i = 0; i < kDepth; ++i) {
    switch (i % 4) {
      case 0:
        v = NumericSeries::make(NumericSeries::derivative, DerivativeSeries{.input = v});
        break;
      case 1:
        v = NumericSeries::make(NumericSeries::cumulativeSum,
                                CumulativeSumSeries{.input = v, .startTimestamp = start_variable()});
        break;
      case 2:
        v = NumericSeries::make(NumericSeries::timeDifference,
                                TimeDifferenceSeries{.input = Series::make(Series::numeric, v),
                                                     .timeUnit = unit(api::TimeUnit::nanoseconds)});
        break;
      default:
        v = NumericSeries::make(NumericSeries::valueDifference, ValueDifferenceSeries{.input = v});
    }
  }
  std::string expected;
  for (int i = kDepth - 1; i >= 0; --i) expected += kLevels[i % 4].open;
  expected += kRawX;
  for (int i = 0; i < kDepth; ++i) expected += kLevels[i % 4].close;

  Value copy = v;
  v = Value{};
  EXPECT_EQ(to_json(copy), expected);
  copy = Value{};
}

}  // namespace
}  // namespace qc::model
