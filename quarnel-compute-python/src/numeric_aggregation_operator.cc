// The NumericAggregationOperator class: which aggregate of numeric values is taken.
#include "method_shapes.h"
#include "quarnel/compute/model/aggregation_unions.h"

namespace qc::py {
namespace {

namespace m = model;
using O = m::NumericAggregationOperator;
constexpr ClassId kClass = ClassId::NumericAggregationOperator;

template <O::Variant V>
constexpr auto fixed = &empty_variant<kClass, O, V, m::EmptyAggregationPayload>;

// The percentile is recorded as given: 0.5, 50 and -1 are all kept.
constexpr auto percentile = &one_field<kClass, O, O::percentile, m::Percentile, FloatConstantInput, double_constant>;
constexpr auto udf =
    &one_field<kClass, O, O::udf, m::NumericAggregationUdf, Held<ClassId::UdfSource>, value_of<ClassId::UdfSource>>;

}  // namespace

// Registered in this order; keep it when adding a method.
template <>
ClassDef class_def<ClassId::NumericAggregationOperator>() {
  using T = Methods<kClass>;
  static PyMethodDef methods[] = {
      T::def<"Sum", fixed<O::sum>>(),
      T::def<"Average", fixed<O::average>>(),
      T::def<"Min", fixed<O::min>>(),
      T::def<"Max", fixed<O::max>>(),
      T::def<"Count", fixed<O::count>>(),
      T::def<"StandardDeviation", fixed<O::standardDeviation>>(),
      T::def<"RootMeanSquare", fixed<O::rootMeanSquare>>(),
      T::def<"Percentile", percentile, "percentile">(),
      T::def<"Udf", udf, "source">(),
      T::def<"to_json", &to_json<kClass>>(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
