// How a node that combines several series fills the gaps between their points.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

struct DurationConstant;

#define QC_FIELDS(F) F(interpolationRadius, "interpolationRadius", DurationConstant)
QC_RECORD(ForwardFillInterpolation, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
