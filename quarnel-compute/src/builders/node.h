// The one shape most builders share: a union node whose payload record takes the operands as
// its fields, in the record's declaration order. (The builder tests pin every key.)
#pragma once

#include <utility>

#include "quarnel/compute/model/value.h"

namespace qc::builders {

template <class U, class R, class... Fields>
Value node(typename U::Variant variant, Fields... fields) {
  return U::make(variant, R{std::move(fields)...});
}

}  // namespace qc::builders
