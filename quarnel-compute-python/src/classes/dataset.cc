// The Dataset class: where stored series are looked up, as an asset, run or saved dataset
// named by its resource identifier, or the combination, tagging or time shift of others.
#include "binder.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::Dataset>() {
  using Table = Methods<ClassId::Dataset>;
  static const Line methods[] = {
      Table::factory<"Asset", &builders::dataset_asset, "rid">(
          {.node = "asset",
           .text = "The dataset of an asset.",
           .example = R"doc(>>> Dataset.Asset("ri.asset.1").to_json()
'{"type":"asset","asset":{"rid":{"type":"literal","literal":"ri.asset.1"}}}')doc"}),
      Table::factory<"Run", &builders::dataset_run, "rid">(
          {.node = "run", .text = "The dataset of a run."}),
      Table::factory<"Saved", &builders::dataset_saved, "rid">(
          {.node = "saved", .text = "A saved dataset."}),
      Table::factory<"Combine", &builders::dataset_combine, "inputs">(
          {.node = "combine", .text = "The datasets together, in the given order."}),
      Table::method<"tag", &builders::dataset_tag, "key", "value">(
          {.node = "tag",
           .text = "The dataset with the tag key=value.",
           .args = "value: the tag value"}),
      Table::method<"time_shift", &builders::dataset_time_shift, "offset">(
          {.node = "timeShift", .text = "The dataset moved in time by a duration."}),
      {},
  };
  return {.about =
              "Where stored series are looked up: an asset, run or saved dataset by its"
              " resource identifier, or the combination, tagging or time shift of "
              "others.",
          .methods = methods};
}

}  // namespace qc::py
