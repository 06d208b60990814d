// The module functions: free forms of NumericSeries operations that also take a plain number
// wherever a series is expected.
#include "module_functions.h"
#include "numeric_series.h"
#include "quarnel/compute/builders.h"

namespace qc::py {
namespace {

namespace m = model;
using N = m::NumericSeries;

template <N::Variant V, class P>
NumericSeriesObject function_of(NumericSeriesInput x) {
  return {numeric_function<V, P>(convert_numeric_series_input(std::move(x)))};
}

NumericSeriesObject atan2(NumericSeriesInput y, NumericSeriesInput x) {
  return {builders::atan2(convert_numeric_series_input(std::move(y)), convert_numeric_series_input(std::move(x)))};
}

}  // namespace

PyMethodDef* module_functions() {
  using F = Functions;
  static PyMethodDef functions[] = {
      F::def<"abs", &function_of<N::abs, m::Abs>, "x">(),
      F::def<"cos", &function_of<N::cos, m::Cos>, "x">(),
      F::def<"sin", &function_of<N::sin, m::Sin>, "x">(),
      F::def<"tan", &function_of<N::tan, m::Tan>, "x">(),
      F::def<"acos", &function_of<N::acos, m::Acos>, "x">(),
      F::def<"asin", &function_of<N::asin, m::Asin>, "x">(),
      F::def<"ln", &function_of<N::ln, m::Ln>, "x">(),
      F::def<"log10", &function_of<N::log10, m::Log10>, "x">(),
      F::def<"sqrt", &function_of<N::sqrt, m::Sqrt>, "x">(),
      F::def<"atan2", &atan2, "y", "x">(),
      F::def<"max", &numeric_max, "inputs">(),
      F::def<"mean", &numeric_mean, "inputs">(),
      F::def<"min", &numeric_min, "inputs">(),
      F::def<"sum", &numeric_sum, "inputs">(),
      F::def<"product", &numeric_product, "inputs">(),
      F::def<"numeric_if_else", &numeric_if_else, "condition", "true_value", "false_value">(),
      {},
  };
  return functions;
}

}  // namespace qc::py
