// The InterpolationConfiguration union.
#pragma once

#include "quarnel/compute/model/interpolation.h"

namespace qc::model {

#define QC_VARIANTS(V) \
  V(forwardFillInterpolation, "forwardFillInterpolation", ForwardFillInterpolation)
QC_UNION(InterpolationConfiguration, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model
