// Signal filter nodes and their filter configurations, as written on the wire.
#include <gtest/gtest.h>

#include <limits>
#include <ostream>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/reference.h"
#include "quarnel/compute/model/signal_filter_unions.h"

namespace qc::model {
namespace {

using Config = SignalFilterConfiguration;

Value raw_x() { return NumericSeries::make(NumericSeries::raw, Reference{.name = Value::str("x")}); }
constexpr const char* kRawX = R"({"type":"raw","raw":{"name":"x"}})";

Value low_pass(double cutoff) {
  return Config::make(Config::lowPass, LowPassConfiguration{.cutoffFrequency = double_literal(cutoff)});
}

struct Case {
  const char* name;
  Value (*make)();
  std::string json;
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class ModelCSignalFilter : public testing::TestWithParam<Case> {};

// The copy is taken from a value that is then dropped, so it must stand on its own.
TEST_P(ModelCSignalFilter, WritesAndCopies) {
  Value copy;
  {
    Value v = GetParam().make();
    EXPECT_EQ(to_json(v), GetParam().json);
    copy = v;
  }
  EXPECT_EQ(to_json(copy), GetParam().json);
}

INSTANTIATE_TEST_SUITE_P(
    Configurations, ModelCSignalFilter,
    testing::Values(
        Case{"low_pass", [] { return low_pass(2.5); },
             R"({"type":"lowPass","lowPass":{"cutoffFrequency":{"type":"literal","literal":2.5}}})"},
        // Same payload as low-pass: only the variant name differs.
        Case{"high_pass",
             [] {
               return Config::make(Config::highPass,
                                   HighPassConfiguration{.cutoffFrequency = double_literal(2.5)});
             },
             R"({"type":"highPass","highPass":{"cutoffFrequency":{"type":"literal","literal":2.5}}})"},
        Case{"band_pass_low_edge_first",
             [] {
               return Config::make(Config::bandPass,
                                   BandPassConfiguration{.lowPassbandFrequency = double_literal(1.0),
                                                         .highPassbandFrequency = double_literal(3.0)});
             },
             R"({"type":"bandPass","bandPass":{"lowPassbandFrequency":{"type":"literal","literal":1.0},)"
             R"("highPassbandFrequency":{"type":"literal","literal":3.0}}})"},
        // Edges in the wrong order are kept as given.
        Case{"band_stop_unvalidated_edges",
             [] {
               return Config::make(Config::bandStop,
                                   BandStopConfiguration{.lowStopbandFrequency = double_literal(9.0),
                                                         .highStopbandFrequency = double_literal(0.5)});
             },
             R"({"type":"bandStop","bandStop":{"lowStopbandFrequency":{"type":"literal","literal":9.0},)"
             R"("highStopbandFrequency":{"type":"literal","literal":0.5}}})"},
        Case{"non_finite_cutoff_is_null",
             [] { return low_pass(std::numeric_limits<double>::infinity()); },
             R"({"type":"lowPass","lowPass":{"cutoffFrequency":{"type":"literal","literal":null}}})"},
        Case{"unknown_variant",
             [] { return Config::unknown("notch", Any{{"q", 30}}); },
             R"({"type":"notch","notch":{"q":30}})"}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Series, ModelCSignalFilter,
    testing::Values(
        Case{"without_sampling_frequency_writes_three_members",
             [] {
               return NumericSeries::make(
                   NumericSeries::signalFilter,
                   SignalFilterSeries{.input = raw_x(), .signalFilterConfiguration = low_pass(2.5),
                                      .order = integer_literal(4)});
             },
             std::string(R"({"type":"signalFilter","signalFilter":{"input":)") + kRawX +
                 R"(,"signalFilterConfiguration":{"type":"lowPass","lowPass":{"cutoffFrequency":)"
                 R"({"type":"literal","literal":2.5}}},"order":{"type":"literal","literal":4}}})"},
        Case{"with_sampling_frequency_and_variable_order",
             [] {
               return NumericSeries::make(
                   NumericSeries::signalFilter,
                   SignalFilterSeries{
                       .input = raw_x(),
                       .signalFilterConfiguration = low_pass(2.5),
                       .order = IntegerConstant::make(IntegerConstant::variable, Value::str("k")),
                       .samplingFrequency = double_literal(100.0)});
             },
             std::string(R"({"type":"signalFilter","signalFilter":{"input":)") + kRawX +
                 R"(,"signalFilterConfiguration":{"type":"lowPass","lowPass":{"cutoffFrequency":)"
                 R"({"type":"literal","literal":2.5}}},"order":{"type":"variable","variable":"k"},)"
                 R"("samplingFrequency":{"type":"literal","literal":100.0}}})"},
        Case{"negative_order_kept",
             [] {
               return SignalFilterSeries{.input = raw_x(), .signalFilterConfiguration = low_pass(1.0),
                                         .order = integer_literal(-2)}
                   .build();
             },
             std::string(R"({"input":)") + kRawX +
                 R"(,"signalFilterConfiguration":{"type":"lowPass","lowPass":{"cutoffFrequency":)"
                 R"({"type":"literal","literal":1.0}}},"order":{"type":"literal","literal":-2}})"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace qc::model
