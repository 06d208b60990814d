// The GroupByTimestamp class: group by the current timestamps, or into windows of a duration.
#include "method_shapes.h"
#include "quarnel/compute/model/aggregation_unions.h"

namespace qc::py {
namespace {

namespace m = model;
using G = m::GroupByTimestamp;

// The duration itself is the payload of "every", not a record around it.
Held<ClassId::GroupByTimestamp> every(Held<ClassId::Duration> every) { return {G::make(G::every, std::move(every.value))}; }

}  // namespace

template <>
ClassDef class_def<ClassId::GroupByTimestamp>() {
  using T = Methods<ClassId::GroupByTimestamp>;
  static PyMethodDef methods[] = {
      T::def<"Current", &empty_variant<ClassId::GroupByTimestamp, G, G::current, m::EmptyAggregationPayload>>(),
      T::def<"Every", &every, "every">(),
      T::def<"to_json", &to_json<ClassId::GroupByTimestamp>>(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
