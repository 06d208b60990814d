// The GroupByTimestamp class: group by the current timestamps, or into windows of a duration.
#include "binder.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::GroupByTimestamp>() {
  using Table = Methods<ClassId::GroupByTimestamp>;
  static PyMethodDef methods[] = {
      Table::factory<"Current", &builders::group_by_timestamp_current>(),
      Table::factory<"Every", &builders::group_by_timestamp_every, "every">(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
