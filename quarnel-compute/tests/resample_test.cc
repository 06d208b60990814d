// Resampling, downsampling, point selection, time shifts and sampling, as written on the wire.
#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "quarnel/compute/model/constants.h"
#include "quarnel/compute/model/durations_unions.h"
#include "quarnel/compute/model/numeric_series_unions.h"
#include "quarnel/compute/model/reference.h"
#include "quarnel/compute/model/resample_unions.h"

#include "wire_case.h"

namespace qc::model {
namespace {

using NS = NumericSeries;
using Interp = NumericResampleInterpolationConfiguration;

Value raw_x() { return NS::make(NS::raw, Reference{.name = Value::str("x")}); }
const std::string kIn = R"({"input":{"type":"raw","raw":{"name":"x"}},)";

Value seconds(int32_t n) { return Duration::make(Duration::seconds, DurationSeconds{.seconds = integer_literal(n)}); }
Value resample(Value interpolation) {
  return NS::make(NS::resample,
                  NumericResampleSeries{
                      .input = raw_x(),
                      .resampleConfiguration = NumericResampleConfiguration{
                          .interval = DurationConstant::make(DurationConstant::literal, run_duration(1, 0)),
                          .interpolation = std::move(interpolation)}.build()});
}
const std::string kResample =
    R"({"type":"resample","resample":)" + kIn +
    R"("resampleConfiguration":{"interval":{"type":"literal","literal":{"seconds":1,"nanos":0}})";

QC_WIRE_SUITE(ModelCResample)

INSTANTIATE_TEST_SUITE_P(
    Resample, ModelCResample,
    testing::Values(
        WireCase{"without_interpolation_writes_only_interval", [] { return resample(Value{}); }, kResample + "}}}"},
        WireCase{"forward_fill",
                 [] {
                   return resample(Interp::make(Interp::forwardFillResampleInterpolationConfiguration,
                                                NumericForwardFillResampleInterpolationConfiguration{}));
                 },
                 kResample + R"(,"interpolation":{"type":"forwardFillResampleInterpolationConfiguration",)"
                             R"("forwardFillResampleInterpolationConfiguration":{}}}}})"},
        WireCase{"constant",
                 [] {
                   return resample(Interp::make(
                       Interp::constantResampleInterpolationConfiguration,
                       NumericConstantResampleInterpolationConfiguration{.constant = double_literal(0.0)}));
                 },
                 kResample + R"(,"interpolation":{"type":"constantResampleInterpolationConfiguration",)"
                             R"("constantResampleInterpolationConfiguration":{"constant":{"type":"literal","literal":0.0}}}}}})"},
        WireCase{"unknown_interpolation", [] { return resample(Interp::unknown("linear", Any::object())); },
                 kResample + R"(,"interpolation":{"type":"linear","linear":{}}}}})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    Downsample, ModelCResample,
    testing::Values(
        WireCase{"nth_point",
                 [] {
                   return NS::make(NS::nthPointDownsample,
                                   NumericNthPointDownsampleSeries{.input = raw_x(), .n = integer_literal(10)});
                 },
                 R"({"type":"nthPointDownsample","nthPointDownsample":)" + kIn +
                     R"("n":{"type":"literal","literal":10}}})"},
        WireCase{"largest_triangle_three_buckets",
                 [] {
                   return NS::make(NS::largestTriangleThreeBuckets,
                                   NumericLargestTriangleThreeBucketsSeries{
                                       .input = raw_x(),
                                       .maxPointsToReturn =
                                           IntegerConstant::make(IntegerConstant::variable, Value::str("budget"))});
                 },
                 R"({"type":"largestTriangleThreeBuckets","largestTriangleThreeBuckets":)" + kIn +
                     R"("maxPointsToReturn":{"type":"variable","variable":"budget"}}})"},
        // Newest and oldest have equal payloads; only the variant name tells them apart.
        WireCase{"select_newest",
                 [] {
                   return NS::make(NS::selectNewestPoints,
                                   SelectNewestPointsSeries{.input = raw_x(), .numPoints = integer_literal(0)});
                 },
                 R"({"type":"selectNewestPoints","selectNewestPoints":)" + kIn +
                     R"("numPoints":{"type":"literal","literal":0}}})"},
        WireCase{"select_oldest",
                 [] {
                   return NS::make(NS::selectOldestPoints,
                                   SelectOldestPointsSeries{.input = raw_x(), .numPoints = integer_literal(0)});
                 },
                 R"({"type":"selectOldestPoints","selectOldestPoints":)" + kIn +
                     R"("numPoints":{"type":"literal","literal":0}}})"}),
    wire_case_name);

// The two shifts share their keys; "duration" is a constant in one and an expression in the other.
INSTANTIATE_TEST_SUITE_P(
    Shift, ModelCResample,
    testing::Values(
        WireCase{"time_shift_literal",
                 [] {
                   return NS::make(NS::timeShift,
                                   NumericTimeShiftSeries{
                                       .input = raw_x(),
                                       .duration = DurationConstant::make(DurationConstant::literal,
                                                                          run_duration(-3, 500))});
                 },
                 R"({"type":"timeShift","timeShift":)" + kIn +
                     R"("duration":{"type":"literal","literal":{"seconds":-3,"nanos":500}}}})"},
        WireCase{"time_shift_variable",
                 [] {
                   return NumericTimeShiftSeries{
                       .input = raw_x(),
                       .duration = DurationConstant::make(DurationConstant::variable, Value::str("lag"))}
                       .build();
                 },
                 kIn + R"("duration":{"type":"variable","variable":"lag"}})"},
        WireCase{"time_shift_v2_expression",
                 [] {
                   return NS::make(NS::timeShiftV2,
                                   NumericTimeShiftSeriesV2{
                                       .input = raw_x(),
                                       .duration = Duration::make(
                                           Duration::add, DurationAdd{.left = seconds(5), .right = seconds(1)})});
                 },
                 R"({"type":"timeShiftV2","timeShiftV2":)" + kIn +
                     R"("duration":{"type":"add","add":{"left":{"type":"seconds","seconds":{"seconds":)"
                     R"({"type":"literal","literal":5}}},"right":{"type":"seconds","seconds":{"seconds":)"
                     R"({"type":"literal","literal":1}}}}}}})"},
        WireCase{"to_start_of_interval",
                 [] {
                   return NS::make(NS::toStartOfInterval,
                                   NumericToStartOfIntervalSeries{.input = raw_x(), .window = seconds(60)});
                 },
                 R"({"type":"toStartOfInterval","toStartOfInterval":)" + kIn +
                     R"("window":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":60}}}}})"}),
    wire_case_name);

INSTANTIATE_TEST_SUITE_P(
    Sampling, ModelCResample,
    testing::Values(
        WireCase{"every_nth_per_series",
                 [] {
                   return Sampling::make(Sampling::everyNthPerSeries,
                                         EveryNthPerSeriesSampling{.n = integer_literal(3)});
                 },
                 R"({"type":"everyNthPerSeries","everyNthPerSeries":{"n":{"type":"literal","literal":3}}})"},
        WireCase{"hash_subsample",
                 [] { return Sampling::make(Sampling::hashSubsample, HashSubsampleSampling{.n = integer_literal(3)}); },
                 R"({"type":"hashSubsample","hashSubsample":{"n":{"type":"literal","literal":3}}})"},
        WireCase{"unknown", [] { return Sampling::unknown("reservoir", Any{{"size", 7}}); },
                 R"({"type":"reservoir","reservoir":{"size":7}})"}),
    wire_case_name);

// A sampling handed to a selection is copied out of its holder; the copy must outlive it.
TEST(ModelCResampleCopy, UnknownSamplingOutlivesItsSource) {
  Value copy;
  {
    Value v = Sampling::unknown("reservoir", Any{{"size", 7}});
    copy = v;
  }
  EXPECT_EQ(to_json(copy), R"({"type":"reservoir","reservoir":{"size":7}})");
}

// Writing, copying and dropping a chain far deeper than the C stack would allow if any of
// them recursed per level.
TEST(ModelCResampleDeep, HundredThousandLevelsOfShiftsAndFilters) {
  constexpr int kLevels = 100000;
  Value v = raw_x();
  for (int i = 0; i < kLevels; ++i) {
    if (i % 2 == 0)
      v = NS::make(NS::dropNan, NumericNanFilter{.input = std::move(v)});
    else
      v = NS::make(NS::timeShiftV2, NumericTimeShiftSeriesV2{.input = std::move(v), .duration = seconds(1)});
  }
  std::string expected;
  for (int i = kLevels - 1; i >= 0; --i)
    expected += i % 2 == 0 ? R"({"type":"dropNan","dropNan":{"input":)"
                           : R"({"type":"timeShiftV2","timeShiftV2":{"input":)";
  expected += R"({"type":"raw","raw":{"name":"x"}})";
  for (int i = 0; i < kLevels; ++i)
    expected += i % 2 == 0 ? "}}" : R"(,"duration":{"type":"seconds","seconds":{"seconds":{"type":"literal","literal":1}}}}})";
  Value copy = v;
  v = Value{};
  EXPECT_EQ(to_json(copy), expected);
}

}  // namespace
}  // namespace qc::model
