// The RangeSeries class: a set of time ranges, named, inverted, or joined by union or
// intersection.
#include "method_shapes.h"
#include "quarnel/compute/builders.h"
#include "quarnel/compute/model/ranges_unions.h"

namespace qc::py {
namespace {

namespace b = builders;
namespace m = model;
using R = m::RangeSeries;
using RangeSeriesObject = Held<ClassId::RangeSeries>;

template <Value (*Build)(std::vector<Value>)>
RangeSeriesObject of_list(std::vector<RangeSeriesObject> inputs) {
  return {Build(values_of(std::move(inputs)))};
}

// Nothing is simplified: inverting twice nests two "not" nodes.
RangeSeriesObject invert(Self<ClassId::RangeSeries> self) { return {R::make(R::not_, m::NotRanges{.input = self.value})}; }

}  // namespace

// Registered in this order; keep it when adding a method.
template <>
ClassDef class_def<ClassId::RangeSeries>() {
  using T = Methods<ClassId::RangeSeries>;
  static PyMethodDef methods[] = {
      T::def<"Intersect", &of_list<b::range_series_intersect>, "inputs">(),
      T::def<"invert", &invert>(),
      T::def<"Reference", &named_reference<ClassId::RangeSeries, R, R::raw>, "name">(),
      T::def<"Union", &of_list<b::range_series_union>, "inputs">(),
      T::def<"to_json", &to_json<ClassId::RangeSeries>>(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
