// Numeric nodes that change the time grid of one series, and the sampling of a selection.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

// input: NumericSeries; resampleConfiguration: NumericResampleConfiguration.
#define QC_NUMERIC_RESAMPLE_SERIES_FIELDS(F) \
  F(input, "input", Required) F(resampleConfiguration, "resampleConfiguration", Required)
QC_RECORD(NumericResampleSeries, QC_NUMERIC_RESAMPLE_SERIES_FIELDS)

// interval: DurationConstant; interpolation: NumericResampleInterpolationConfiguration (the
// resample-specific union, hence the shorter key).
#define QC_NUMERIC_RESAMPLE_CONFIGURATION_FIELDS(F) \
  F(interval, "interval", Required) F(interpolation, "interpolation", Optional)
QC_RECORD(NumericResampleConfiguration, QC_NUMERIC_RESAMPLE_CONFIGURATION_FIELDS)

// Payload of "forwardFillResampleInterpolationConfiguration": nothing to configure.
#define QC_NUMERIC_FORWARD_FILL_RESAMPLE_INTERPOLATION_CONFIGURATION_FIELDS(F)
QC_RECORD(NumericForwardFillResampleInterpolationConfiguration,
          QC_NUMERIC_FORWARD_FILL_RESAMPLE_INTERPOLATION_CONFIGURATION_FIELDS)

// constant: DoubleConstant, the value put into every new grid point.
#define QC_NUMERIC_CONSTANT_RESAMPLE_INTERPOLATION_CONFIGURATION_FIELDS(F) \
  F(constant, "constant", Required)
QC_RECORD(NumericConstantResampleInterpolationConfiguration,
          QC_NUMERIC_CONSTANT_RESAMPLE_INTERPOLATION_CONFIGURATION_FIELDS)

// input: NumericSeries; n: IntegerConstant.
#define QC_NUMERIC_NTH_POINT_DOWNSAMPLE_SERIES_FIELDS(F) F(input, "input", Required) F(n, "n", Required)
QC_RECORD(NumericNthPointDownsampleSeries, QC_NUMERIC_NTH_POINT_DOWNSAMPLE_SERIES_FIELDS)

// input: NumericSeries; maxPointsToReturn: IntegerConstant.
#define QC_NUMERIC_LARGEST_TRIANGLE_THREE_BUCKETS_SERIES_FIELDS(F) \
  F(input, "input", Required) F(maxPointsToReturn, "maxPointsToReturn", Required)
QC_RECORD(NumericLargestTriangleThreeBucketsSeries,
          QC_NUMERIC_LARGEST_TRIANGLE_THREE_BUCKETS_SERIES_FIELDS)

// input: NumericSeries; numPoints: IntegerConstant. Newest and oldest write alike; the
// NumericSeries variant holding them tells which end is kept.
#define QC_SELECT_POINTS_SERIES_FIELDS(F) F(input, "input", Required) F(numPoints, "numPoints", Required)
QC_RECORD(SelectNewestPointsSeries, QC_SELECT_POINTS_SERIES_FIELDS)
QC_RECORD(SelectOldestPointsSeries, QC_SELECT_POINTS_SERIES_FIELDS)

// input: NumericSeries; duration: DurationConstant in NumericTimeShiftSeries, the Duration
// expression in NumericTimeShiftSeriesV2. Same keys, so they must never be merged.
#define QC_NUMERIC_TIME_SHIFT_SERIES_FIELDS(F) F(input, "input", Required) F(duration, "duration", Required)
QC_RECORD(NumericTimeShiftSeries, QC_NUMERIC_TIME_SHIFT_SERIES_FIELDS)
QC_RECORD(NumericTimeShiftSeriesV2, QC_NUMERIC_TIME_SHIFT_SERIES_FIELDS)

// input: NumericSeries; window: Duration.
#define QC_NUMERIC_TO_START_OF_INTERVAL_SERIES_FIELDS(F) \
  F(input, "input", Required) F(window, "window", Required)
QC_RECORD(NumericToStartOfIntervalSeries, QC_NUMERIC_TO_START_OF_INTERVAL_SERIES_FIELDS)

// n: IntegerConstant. Two distinct kinds of sampling with the same one member.
#define QC_SAMPLING_N_FIELDS(F) F(n, "n", Required)
QC_RECORD(EveryNthPerSeriesSampling, QC_SAMPLING_N_FIELDS)
QC_RECORD(HashSubsampleSampling, QC_SAMPLING_N_FIELDS)

}  // namespace qc::model
