// The module functions, in the order the module adds them; ended by an empty entry.
#pragma once

#include "binder.h"

namespace qc::py {
Line* module_functions();
}  // namespace qc::py
