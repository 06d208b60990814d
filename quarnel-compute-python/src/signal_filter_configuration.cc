// The SignalFilterConfiguration class: which frequencies a signal filter lets through.
#include "binder.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::SignalFilterConfiguration>() {
  using Table = Methods<ClassId::SignalFilterConfiguration>;
  static PyMethodDef methods[] = {
      Table::factory<"LowPass", &builders::signal_filter_configuration_low_pass,
                     "cutoff_frequency">(),
      Table::factory<"HighPass", &builders::signal_filter_configuration_high_pass,
                     "cutoff_frequency">(),
      Table::factory<"BandPass", &builders::signal_filter_configuration_band_pass,
                     "low_passband_frequency", "high_passband_frequency">(),
      Table::factory<"BandStop", &builders::signal_filter_configuration_band_stop,
                     "low_stopband_frequency", "high_stopband_frequency">(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
