// Which frequency filter a signal filter node applies.
#pragma once

#include "quarnel/compute/model/signal_filter.h"

namespace qc::model {

#define QC_VARIANTS(V) \
  V(lowPass, "lowPass", LowPassConfiguration) \
  V(highPass, "highPass", HighPassConfiguration) \
  V(bandPass, "bandPass", BandPassConfiguration) \
  V(bandStop, "bandStop", BandStopConfiguration)
QC_UNION(SignalFilterConfiguration, QC_VARIANTS)
#undef QC_VARIANTS

}  // namespace qc::model
