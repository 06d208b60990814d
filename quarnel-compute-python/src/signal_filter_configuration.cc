// The SignalFilterConfiguration class: which frequencies a signal filter lets through. No
// frequency is checked: a negative cutoff or a band whose low end lies above its high end is
// recorded as given.
#include "method_shapes.h"
#include "quarnel/compute/builders.h"
#include "quarnel/compute/model/signal_filter_unions.h"

namespace qc::py {
namespace {

namespace b = builders;
namespace m = model;
using F = m::SignalFilterConfiguration;
using FilterObject = Held<ClassId::SignalFilterConfiguration>;

template <F::Variant V, class P>
constexpr auto cutoff = &one_field<ClassId::SignalFilterConfiguration, F, V, P, FloatConstantInput, double_constant>;

// The fields follow the parameters, whichever order keywords were given in.
template <Value (*Build)(Value, Value)>
FilterObject band(FloatConstantInput low, FloatConstantInput high) {
  return {Build(double_constant(std::move(low)), double_constant(std::move(high)))};
}

}  // namespace

template <>
ClassDef class_def<ClassId::SignalFilterConfiguration>() {
  using T = Methods<ClassId::SignalFilterConfiguration>;
  static PyMethodDef methods[] = {
      T::def<"LowPass", cutoff<F::lowPass, m::LowPassConfiguration>, "cutoff_frequency">(),
      T::def<"HighPass", cutoff<F::highPass, m::HighPassConfiguration>, "cutoff_frequency">(),
      T::def<"BandPass", &band<b::signal_filter_configuration_band_pass>, "low_passband_frequency",
             "high_passband_frequency">(),
      T::def<"BandStop", &band<b::signal_filter_configuration_band_stop>, "low_stopband_frequency",
             "high_stopband_frequency">(),
      T::def<"to_json", &to_json<ClassId::SignalFilterConfiguration>>(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
