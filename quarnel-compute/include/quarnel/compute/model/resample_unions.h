// How resampling fills new grid points, and how a series selection is sampled.
#pragma once

#include "quarnel/compute/model/empty.h"
#include "quarnel/compute/model/resample.h"

namespace qc::model {

// Distinct from the categorical resample union, which has the same variant names.
#define QC_VARIANTS(V) \
  V(forwardFillResampleInterpolationConfiguration, "forwardFillResampleInterpolationConfiguration", Empty) \
  V(constantResampleInterpolationConfiguration, "constantResampleInterpolationConfiguration", NumericConstantResampleInterpolationConfiguration)
QC_UNION(NumericResampleInterpolationConfiguration, QC_VARIANTS)
#undef QC_VARIANTS

#define QC_VARIANTS(V) \
  V(everyNthPerSeries, "everyNthPerSeries", EveryNthPerSeriesSampling) \
  V(hashSubsample, "hashSubsample", HashSubsampleSampling)
QC_UNION(Sampling, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model
