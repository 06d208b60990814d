// The EnumAggregationOperator class: which aggregate of categorical values is taken.
#include "method_shapes.h"
#include "quarnel/compute/model/aggregation_unions.h"

namespace qc::py {
namespace {

namespace m = model;
using O = m::EnumAggregationOperator;
constexpr ClassId kClass = ClassId::EnumAggregationOperator;

template <O::Variant V>
constexpr auto fixed = &empty_variant<kClass, O, V, m::EmptyAggregationPayload>;

constexpr auto udf =
    &one_field<kClass, O, O::udf, m::EnumAggregationUdf, Held<ClassId::UdfSource>, value_of<ClassId::UdfSource>>;

}  // namespace

template <>
ClassDef class_def<ClassId::EnumAggregationOperator>() {
  using T = Methods<kClass>;
  static PyMethodDef methods[] = {
      T::def<"Min", fixed<O::min>>(),
      T::def<"Max", fixed<O::max>>(),
      T::def<"Udf", udf, "source">(),
      T::def<"to_json", &to_json<kClass>>(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
