// The GroupByTags class: group by the current tags, or by a subset of them (sorted, without
// duplicates: the caller's order does not survive).
#include "binder.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::GroupByTags>() {
  using Table = Methods<ClassId::GroupByTags>;
  static PyMethodDef methods[] = {
      Table::factory<"Current", &builders::group_by_tags_current>(),
      Table::factory<"Subset", &builders::group_by_tags_subset, "tags">(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
