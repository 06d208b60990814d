// The RangeSeries class: a set of time ranges, named, inverted, or joined by union or
// intersection.
#include "binder.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::RangeSeries>() {
  using Table = Methods<ClassId::RangeSeries>;
  static const Line methods[] = {
      Table::factory<"Intersect", &builders::range_series_intersect, "inputs">(
          {.node = "intersectRange", .text = "The ranges common to all inputs."}),
      Table::method<"invert", &builders::range_series_not>(
          {.node = "not", .text = "The complement of the ranges."}),
      Table::factory<"Reference", &builders::range_series_reference, "name">(
          {.node = "raw",
           .text = "The range series of that name, bound elsewhere.",
           .example = R"doc(>>> RangeSeries.Reference("alarm").to_json()
'{"type":"raw","raw":{"name":"alarm"}}')doc"}),
      Table::factory<"Union", &builders::range_series_union, "inputs">(
          {.node = "unionRange", .text = "The ranges covered by any input."}),
      {},
  };
  return {.about =
              "A set of time ranges: named, inverted, or joined by union or "
              "intersection.",
          .methods = methods};
}

}  // namespace qc::py
