// The BitOperationFunction union.
#pragma once

#include "quarnel/compute/model/bits.h"

namespace qc::model {

#define QC_VARIANTS(V) \
  V(and_, "and", BitAndFunction) \
  V(or_, "or", BitOrFunction) \
  V(xor_, "xor", BitXorFunction) \
  V(shiftRight, "shiftRight", BitShiftRightFunction) \
  V(shiftLeft, "shiftLeft", BitShiftLeftFunction) \
  V(bitTest, "bitTest", BitTestFunction)
QC_UNION(BitOperationFunction, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model
