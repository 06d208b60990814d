// Typed functions of NumericSeries shared by its methods and the module functions.
#pragma once

#include <vector>

#include "binder.h"
#include "quarnel/compute/builders.h"
#include "quarnel/compute/model/numeric_series_unions.h"

namespace qc::py {

using NumericSeriesObject = Held<ClassId::NumericSeries>;
using BooleanSeriesObject = Held<ClassId::BooleanSeries>;

// The nodes of the element-wise functions: payload P holds the series as its one field.
template <model::NumericSeries::Variant V, class P>
Value numeric_function(Value x) {
  return model::NumericSeries::make(V, P{std::move(x)});
}

NumericSeriesObject numeric_max(std::vector<NumericSeriesInput> inputs);
NumericSeriesObject numeric_mean(std::vector<NumericSeriesInput> inputs);
NumericSeriesObject numeric_min(std::vector<NumericSeriesInput> inputs);
NumericSeriesObject numeric_sum(std::vector<NumericSeriesInput> inputs);
NumericSeriesObject numeric_product(std::vector<NumericSeriesInput> inputs);
NumericSeriesObject numeric_if_else(BooleanSeriesObject condition, NumericSeriesInput true_value,
                                    NumericSeriesInput false_value);

}  // namespace qc::py
