// The InterpolationConfiguration union.
#pragma once

#include "quarnel/compute/model/interpolation.h"

namespace qc::model {

// clang-format off
#define QC_VARIANTS(V) \
  V(forwardFillInterpolation, "forwardFillInterpolation", ForwardFillInterpolation)
// clang-format on
QC_UNION(InterpolationConfiguration, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model
