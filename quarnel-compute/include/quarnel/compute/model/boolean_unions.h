// The BooleanSeries union.
#pragma once

#include "quarnel/compute/model/boolean.h"

namespace qc::model {

#define QC_VARIANTS(V) \
  V(greaterThan, "greaterThan", GreaterThanSeries) \
  V(lessThan, "lessThan", LessThanSeries) \
  V(equalTo, "equalTo", EqualToSeries) \
  V(notEqualTo, "notEqualTo", NotEqualToSeries) \
  V(greaterThanOrEqualTo, "greaterThanOrEqualTo", GreaterThanOrEqualToSeries) \
  V(lessThanOrEqualTo, "lessThanOrEqualTo", LessThanOrEqualToSeries) \
  V(and_, "and", AndSeries) \
  V(or_, "or", OrSeries)
QC_UNION(BooleanSeries, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model
