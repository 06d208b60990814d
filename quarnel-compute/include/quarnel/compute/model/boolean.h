// Payloads of BooleanSeries: comparisons of two NumericSeries and connectives of two
// BooleanSeries, all of one shape.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

#define QC_BOOLEAN_BINARY_FIELDS(F) F(left, "left", Required) F(right, "right", Required)
QC_RECORD(GreaterThanSeries, QC_BOOLEAN_BINARY_FIELDS)
QC_RECORD(LessThanSeries, QC_BOOLEAN_BINARY_FIELDS)
QC_RECORD(EqualToSeries, QC_BOOLEAN_BINARY_FIELDS)
QC_RECORD(NotEqualToSeries, QC_BOOLEAN_BINARY_FIELDS)
QC_RECORD(GreaterThanOrEqualToSeries, QC_BOOLEAN_BINARY_FIELDS)
QC_RECORD(LessThanOrEqualToSeries, QC_BOOLEAN_BINARY_FIELDS)
QC_RECORD(AndSeries, QC_BOOLEAN_BINARY_FIELDS)
QC_RECORD(OrSeries, QC_BOOLEAN_BINARY_FIELDS)

}  // namespace qc::model
