// The payload of every variant that carries nothing but its name, written `{}`.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

#define QC_FIELDS(F)
QC_RECORD(Empty, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
