// What a derivative or a value difference does with negative results.
#pragma once

#include "quarnel/compute/model/calculus.h"
#include "quarnel/compute/model/empty.h"

namespace qc::model {

#define QC_VARIANTS(V) \
  V(allowNegativeValues, "allowNegativeValues", Empty) \
  V(setNegativeValuesToZero, "setNegativeValuesToZero", Empty) \
  V(excludeNegativeValues, "excludeNegativeValues", Empty)
QC_UNION(NegativeValueConfiguration, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model
