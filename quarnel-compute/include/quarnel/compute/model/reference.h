// The name of a series or duration defined outside the expression.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

#define QC_REFERENCE_FIELDS(F) F(name, "name", Required)
QC_RECORD(Reference, QC_REFERENCE_FIELDS)

}  // namespace qc::model
