// The SignalFilterConfiguration class: which frequencies a signal filter lets through.
#include "binder.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::SignalFilterConfiguration>() {
  using Table = Methods<ClassId::SignalFilterConfiguration>;
  static const Line methods[] = {
      Table::factory<"LowPass", &builders::signal_filter_configuration_low_pass,
                     "cutoff_frequency">(
          {.node = "lowPass", .text = "Lets frequencies below the cutoff through."}),
      Table::factory<"HighPass", &builders::signal_filter_configuration_high_pass,
                     "cutoff_frequency">(
          {.node = "highPass", .text = "Lets frequencies above the cutoff through."}),
      Table::factory<"BandPass", &builders::signal_filter_configuration_band_pass,
                     "low_passband_frequency", "high_passband_frequency">(
          {.node = "bandPass", .text = "Lets the frequencies of the band through."}),
      Table::factory<"BandStop", &builders::signal_filter_configuration_band_stop,
                     "low_stopband_frequency", "high_stopband_frequency">(
          {.node = "bandStop", .text = "Stops the frequencies of the band."}),
      {},
  };
  return {.about = "Which frequencies a signal filter lets through.", .methods = methods};
}

}  // namespace qc::py
