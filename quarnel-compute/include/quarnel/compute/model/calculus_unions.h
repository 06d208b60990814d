// What a derivative or a value difference does with negative results.
#pragma once

#include "quarnel/compute/model/calculus.h"

namespace qc::model {

#define QC_NEGATIVE_VALUE_CONFIGURATION_VARIANTS(V)                          \
  V(allowNegativeValues, "allowNegativeValues", EmptyNegativeValuePayload)     \
  V(setNegativeValuesToZero, "setNegativeValuesToZero", EmptyNegativeValuePayload) \
  V(excludeNegativeValues, "excludeNegativeValues", EmptyNegativeValuePayload)
QC_UNION(NegativeValueConfiguration, QC_NEGATIVE_VALUE_CONFIGURATION_VARIANTS)

}  // namespace qc::model
