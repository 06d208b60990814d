// Every model type, as data: the registry a test walks to prove that a table covers the model.
#pragma once

#include <span>

#include "quarnel/compute/model/handle.h"

namespace qc::model {

// Each declared record, union and enumeration once, in the order a walk from the root of a
// request meets them: a type is declared to be used, so whatever the root cannot reach is not
// part of the model.
std::span<const ModelType* const> declared_types();

}  // namespace qc::model
