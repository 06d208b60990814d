// The window of a rolling operation.
#pragma once

#include "quarnel/compute/model/constants.h"

namespace qc::model {

#define QC_VARIANTS(V) V(duration, "duration", DurationConstant)
QC_UNION(Window, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model
