// The NegativeValueConfiguration class: what a derivative or value difference does with
// negative results.
#include "method_shapes.h"
#include "quarnel/compute/model/calculus_unions.h"

namespace qc::py {
namespace {

namespace m = model;
using N = m::NegativeValueConfiguration;

template <N::Variant V>
constexpr auto choice = &empty_variant<ClassId::NegativeValueConfiguration, N, V, m::EmptyNegativeValuePayload>;

}  // namespace

template <>
ClassDef class_def<ClassId::NegativeValueConfiguration>() {
  using T = Methods<ClassId::NegativeValueConfiguration>;
  static PyMethodDef methods[] = {
      T::def<"AllowNegativeValues", choice<N::allowNegativeValues>>(),
      T::def<"SetNegativeValuesToZero", choice<N::setNegativeValuesToZero>>(),
      T::def<"ExcludeNegativeValues", choice<N::excludeNegativeValues>>(),
      T::def<"to_json", &to_json<ClassId::NegativeValueConfiguration>>(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
