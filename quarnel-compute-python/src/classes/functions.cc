// The module functions: free forms of NumericSeries operations that also take a plain number
// wherever a series is expected.
#include "binder.h"
#include "module_functions.h"

namespace qc::py {

Line* module_functions() {
  static Line functions[] = {
      Functions::def<"abs", &builders::numeric_series_abs, "x">({}),
      Functions::def<"cos", &builders::numeric_series_cos, "x">({}),
      Functions::def<"sin", &builders::numeric_series_sin, "x">({}),
      Functions::def<"tan", &builders::numeric_series_tan, "x">({}),
      Functions::def<"acos", &builders::numeric_series_acos, "x">({}),
      Functions::def<"asin", &builders::numeric_series_asin, "x">({}),
      Functions::def<"ln", &builders::numeric_series_ln, "x">({}),
      Functions::def<"log10", &builders::numeric_series_log10, "x">({}),
      Functions::def<"sqrt", &builders::numeric_series_sqrt, "x">({}),
      Functions::def<"atan2", &builders::atan2, "y", "x">({}),
      Functions::def<"max", &builders::max, "inputs">({}),
      Functions::def<"mean", &builders::mean, "inputs">({}),
      Functions::def<"min", &builders::min, "inputs">({}),
      Functions::def<"sum", &builders::sum, "inputs">({}),
      Functions::def<"product", &builders::product, "inputs">({}),
      Functions::def<"numeric_if_else", &builders::numeric_if_else, "condition", "true_value",
                     "false_value">({}),
      {},
  };
  return functions;
}

}  // namespace qc::py
