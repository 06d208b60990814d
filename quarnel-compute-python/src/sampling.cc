// The Sampling class: how a selected series is thinned, by every n-th point or by hash.
#include "method_shapes.h"
#include "quarnel/compute/model/resample_unions.h"

namespace qc::py {
namespace {

namespace m = model;
using S = m::Sampling;

// A plain int n is narrowed to 32 bits here; zero or negative counts are recorded as given.
template <S::Variant V, class P>
constexpr auto every = &one_field<ClassId::Sampling, S, V, P, IntegerConstantInput, integer_constant>;

}  // namespace

template <>
ClassDef class_def<ClassId::Sampling>() {
  using T = Methods<ClassId::Sampling>;
  static PyMethodDef methods[] = {
      T::def<"EveryNthPerSeries", every<S::everyNthPerSeries, m::EveryNthPerSeriesSampling>, "n">(),
      T::def<"HashSubsample", every<S::hashSubsample, m::HashSubsampleSampling>, "n">(),
      T::def<"to_json", &to_json<ClassId::Sampling>>(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
