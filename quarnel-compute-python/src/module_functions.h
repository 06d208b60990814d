// The module functions, in the order the module adds them; ended by an empty entry.
#pragma once

#include "python_api.h"

namespace qc::py {
PyMethodDef* module_functions();
}  // namespace qc::py
