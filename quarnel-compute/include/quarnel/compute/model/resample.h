// Numeric nodes that change the time grid of one series, and the sampling of a selection.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

struct DoubleConstant;
struct Duration;
struct DurationConstant;
struct IntegerConstant;
struct NumericResampleInterpolationConfiguration;
struct NumericSeries;

// The interpolation is the resample-specific union, hence the shorter key.
#define QC_FIELDS(F) \
  F(interval, "interval", DurationConstant) \
  F(interpolation, "interpolation", Optional<NumericResampleInterpolationConfiguration>)
QC_RECORD(NumericResampleConfiguration, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(resampleConfiguration, "resampleConfiguration", NumericResampleConfiguration)
QC_RECORD(NumericResampleSeries, QC_FIELDS)
#undef QC_FIELDS

// The value put into every new grid point.
#define QC_FIELDS(F) F(constant, "constant", DoubleConstant)
QC_RECORD(NumericConstantResampleInterpolationConfiguration, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(n, "n", IntegerConstant)
QC_RECORD(NumericNthPointDownsampleSeries, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(maxPointsToReturn, "maxPointsToReturn", IntegerConstant)
QC_RECORD(NumericLargestTriangleThreeBucketsSeries, QC_FIELDS)
#undef QC_FIELDS

// Newest and oldest write alike; the variant holding them tells which end is kept.
#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(numPoints, "numPoints", IntegerConstant)
QC_RECORD(SelectNewestPointsSeries, QC_FIELDS)
QC_RECORD(SelectOldestPointsSeries, QC_FIELDS)
#undef QC_FIELDS

// Same keys, different shifts: a DurationConstant in the first, the Duration expression in the
// second, so the two must never be merged.
#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(duration, "duration", DurationConstant)
QC_RECORD(NumericTimeShiftSeries, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(duration, "duration", Duration)
QC_RECORD(NumericTimeShiftSeriesV2, QC_FIELDS)
#undef QC_FIELDS

#define QC_FIELDS(F) \
  F(input, "input", NumericSeries) \
  F(window, "window", Duration)
QC_RECORD(NumericToStartOfIntervalSeries, QC_FIELDS)
#undef QC_FIELDS

// Two distinct kinds of sampling with the same one member.
#define QC_FIELDS(F) F(n, "n", IntegerConstant)
QC_RECORD(EveryNthPerSeriesSampling, QC_FIELDS)
QC_RECORD(HashSubsampleSampling, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
