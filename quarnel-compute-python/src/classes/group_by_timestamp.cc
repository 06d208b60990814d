// The GroupByTimestamp class: group by the current timestamps, or into windows of a duration.
#include "binder.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::GroupByTimestamp>() {
  using Table = Methods<ClassId::GroupByTimestamp>;
  static const Line methods[] = {
      Table::factory<"Current", &builders::group_by_timestamp_current>(
          {.node = "current", .text = "Group by the current timestamps."}),
      Table::factory<"Every", &builders::group_by_timestamp_every, "every">(
          {.node = "every", .text = "Group into consecutive windows of a duration."}),
      {},
  };
  return {.about =
              "How an aggregation groups by time: by the current timestamps, or into "
              "windows of a duration.",
          .methods = methods};
}

}  // namespace qc::py
