// The RangeSeries class: a set of time ranges, named, inverted, or joined by union or
// intersection.
#include "binder.h"

namespace qc::py {

template <>
ClassDef class_def<ClassId::RangeSeries>() {
  using Table = Methods<ClassId::RangeSeries>;
  static PyMethodDef methods[] = {
      Table::factory<"Intersect", &builders::range_series_intersect, "inputs">(),
      Table::method<"invert", &builders::range_series_not>(),
      Table::factory<"Reference", &builders::range_series_reference, "name">(),
      Table::factory<"Union", &builders::range_series_union, "inputs">(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
