// The name of a series or duration defined outside the expression.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

#define QC_FIELDS(F) F(name, "name", String)
QC_RECORD(Reference, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
