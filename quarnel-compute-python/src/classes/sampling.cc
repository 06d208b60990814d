// The Sampling class: how a selected series is thinned, by every n-th point or by hash.
#include "binder.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::Sampling>() {
  using Table = Methods<ClassId::Sampling>;
  static const Line methods[] = {
      Table::factory<"EveryNthPerSeries", &builders::sampling_every_nth_per_series, "n">(
          {.node = "everyNthPerSeries",
           .text = "Every n-th point of each series.",
           .example = R"doc(>>> Sampling.EveryNthPerSeries(10).to_json()
'{"type":"everyNthPerSeries","everyNthPerSeries":{"n":{"type":"literal","literal":10}}}')doc"}),
      Table::factory<"HashSubsample", &builders::sampling_hash_subsample, "n">(
          {.node = "hashSubsample",
           .text = "A subsample of the points, chosen by hash with the parameter n."}),
      {},
  };
  return {.about = "How a selected series is thinned: every n-th point, or by hash.",
          .methods = methods};
}

}  // namespace qc::py
