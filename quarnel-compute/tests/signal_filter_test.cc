// Signal filter nodes and their filter configurations, as written on the wire.
#include <gtest/gtest.h>

#include <limits>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/reference.h"
#include "quarnel/compute/model/signal_filter_unions.h"

#include "wire_case.h"

namespace qc::model {
namespace {

using Config = SignalFilterConfiguration;

Value raw_x() { return NumericSeries::make(NumericSeries::raw, Reference{.name = Value::str("x")}); }
constexpr const char* kRawX = R"({"type":"raw","raw":{"name":"x"}})";

Value low_pass(double cutoff) {
  return Config::make(Config::lowPass, LowPassConfiguration{.cutoffFrequency = double_literal(cutoff)});
}

QC_WIRE_SUITE(ModelCSignalFilter)

INSTANTIATE_TEST_SUITE_P(
    Configurations, ModelCSignalFilter,
    testing::Values(
        WireCase{"low_pass", [] { return low_pass(2.5); },
                 R"({"type":"lowPass","lowPass":{"cutoffFrequency":{"type":"literal","literal":2.5}}})"},
        // Same payload as low-pass: only the variant name differs.
        WireCase{"high_pass",
                 [] {
                   return Config::make(Config::highPass,
                                       HighPassConfiguration{.cutoffFrequency = double_literal(2.5)});
                 },
                 R"({"type":"highPass","highPass":{"cutoffFrequency":{"type":"literal","literal":2.5}}})"},
        WireCase{"band_pass_low_edge_first",
                 [] {
                   return Config::make(Config::bandPass,
                                       BandPassConfiguration{.lowPassbandFrequency = double_literal(1.0),
                                                             .highPassbandFrequency = double_literal(3.0)});
                 },
                 R"({"type":"bandPass","bandPass":{"lowPassbandFrequency":{"type":"literal","literal":1.0},)"
                 R"("highPassbandFrequency":{"type":"literal","literal":3.0}}})"},
        // Edges in the wrong order are kept as given.
        WireCase{"band_stop_unvalidated_edges",
                 [] {
                   return Config::make(Config::bandStop,
                                       BandStopConfiguration{.lowStopbandFrequency = double_literal(9.0),
                                                             .highStopbandFrequency = double_literal(0.5)});
                 },
                 R"({"type":"bandStop","bandStop":{"lowStopbandFrequency":{"type":"literal","literal":9.0},)"
                 R"("highStopbandFrequency":{"type":"literal","literal":0.5}}})"},
        WireCase{"non_finite_cutoff_is_null",
                 [] { return low_pass(std::numeric_limits<double>::infinity()); },
                 R"({"type":"lowPass","lowPass":{"cutoffFrequency":{"type":"literal","literal":null}}})"},
        WireCase{"unknown_variant",
                 [] { return Config::unknown("notch", Any{{"q", 30}}); },
                 R"({"type":"notch","notch":{"q":30}})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    Series, ModelCSignalFilter,
    testing::Values(
        WireCase{"without_sampling_frequency_writes_three_members",
                 [] {
                   return NumericSeries::make(
                       NumericSeries::signalFilter,
                       SignalFilterSeries{.input = raw_x(), .signalFilterConfiguration = low_pass(2.5),
                                          .order = integer_literal(4)});
                 },
                 std::string(R"({"type":"signalFilter","signalFilter":{"input":)") + kRawX +
                     R"(,"signalFilterConfiguration":{"type":"lowPass","lowPass":{"cutoffFrequency":)"
                     R"({"type":"literal","literal":2.5}}},"order":{"type":"literal","literal":4}}})"},
        WireCase{"with_sampling_frequency_and_variable_order",
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
        WireCase{"negative_order_kept",
                 [] {
                   return SignalFilterSeries{.input = raw_x(), .signalFilterConfiguration = low_pass(1.0),
                                             .order = integer_literal(-2)}
                       .build();
                 },
                 std::string(R"({"input":)") + kRawX +
                     R"(,"signalFilterConfiguration":{"type":"lowPass","lowPass":{"cutoffFrequency":)"
                     R"({"type":"literal","literal":1.0}}},"order":{"type":"literal","literal":-2}})"}),
    wire_case_name);

}  // namespace
}  // namespace qc::model
