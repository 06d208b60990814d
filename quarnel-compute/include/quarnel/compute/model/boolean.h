// Payloads of BooleanSeries: comparisons of two numeric series and connectives of two boolean
// series, all of one shape.
#pragma once

#include "quarnel/compute/model/decl.h"

namespace qc::model {

struct BooleanSeries;
struct NumericSeries;

#define QC_FIELDS(F) \
  F(left, "left", NumericSeries) \
  F(right, "right", NumericSeries)
QC_RECORD(GreaterThanSeries, QC_FIELDS)
QC_RECORD(LessThanSeries, QC_FIELDS)
QC_RECORD(EqualToSeries, QC_FIELDS)
QC_RECORD(NotEqualToSeries, QC_FIELDS)
QC_RECORD(GreaterThanOrEqualToSeries, QC_FIELDS)
QC_RECORD(LessThanOrEqualToSeries, QC_FIELDS)
#undef QC_FIELDS
#define QC_FIELDS(F) \
  F(left, "left", BooleanSeries) \
  F(right, "right", BooleanSeries)
QC_RECORD(AndSeries, QC_FIELDS)
QC_RECORD(OrSeries, QC_FIELDS)
#undef QC_FIELDS

}  // namespace qc::model
