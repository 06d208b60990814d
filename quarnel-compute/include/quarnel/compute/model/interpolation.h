// How a node that combines several series fills the gaps between their points.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

// The radius is a DurationConstant.
#define QC_FORWARD_FILL_INTERPOLATION_FIELDS(F) F(interpolationRadius, "interpolationRadius", Required)
QC_RECORD(ForwardFillInterpolation, QC_FORWARD_FILL_INTERPOLATION_FIELDS)

}  // namespace qc::model
