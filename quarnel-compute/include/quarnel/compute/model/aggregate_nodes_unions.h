// The window of a rolling operation.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

#define QC_WINDOW_VARIANTS(V) V(duration, "duration", ::qc::Value /* DurationConstant */)
QC_UNION(Window, QC_WINDOW_VARIANTS)

}  // namespace qc::model
