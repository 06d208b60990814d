// The Sampling class: how a selected series is thinned, by every n-th point or by hash.
#include "binder.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::Sampling>() {
  using Table = Methods<ClassId::Sampling>;
  static PyMethodDef methods[] = {
      Table::factory<"EveryNthPerSeries", &builders::sampling_every_nth_per_series, "n">(),
      Table::factory<"HashSubsample", &builders::sampling_hash_subsample, "n">(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
