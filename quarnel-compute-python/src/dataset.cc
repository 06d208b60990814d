// The Dataset class: where stored series are looked up, as an asset, run or saved dataset
// named by its resource identifier, or the combination, tagging or time shift of others.
#include "binder.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::Dataset>() {
  using Table = Methods<ClassId::Dataset>;
  static PyMethodDef methods[] = {
      Table::factory<"Asset", &builders::dataset_asset, "rid">(),
      Table::factory<"Run", &builders::dataset_run, "rid">(),
      Table::factory<"Saved", &builders::dataset_saved, "rid">(),
      Table::factory<"Combine", &builders::dataset_combine, "inputs">(),
      Table::method<"tag", &builders::dataset_tag, "key", "value">(),
      Table::method<"time_shift", &builders::dataset_time_shift, "offset">(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
