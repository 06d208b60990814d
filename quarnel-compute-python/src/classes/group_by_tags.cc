// The GroupByTags class: group by the current tags, or by a subset of them (sorted, without
// duplicates: the caller's order does not survive).
#include "binder.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::GroupByTags>() {
  using Table = Methods<ClassId::GroupByTags>;
  static const Line methods[] = {
      Table::factory<"Current", &builders::group_by_tags_current>(
          {.node = "current",
           .text = "Group by the series' current tags.",
           .example = R"doc(>>> GroupByTags.Current().to_json()
'{"type":"current","current":{}}')doc"}),
      Table::factory<"Subset", &builders::group_by_tags_subset, "tags">(
          {.node = "subset",
           .text = "Group by the given tag keys only (sorted, without duplicates).",
           .args = "tags: the tag keys grouped by (sorted, without duplicates)"}),
      {},
  };
  return {.about = "How an aggregation groups by tags: by the current tags, or by a subset.",
          .methods = methods};
}

}  // namespace qc::py
