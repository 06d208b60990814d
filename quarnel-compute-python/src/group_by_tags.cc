// The GroupByTags class: group by the current tags, or by a subset of them.
#include "method_shapes.h"
#include "quarnel/compute/builders.h"
#include "quarnel/compute/model/aggregation_unions.h"

namespace qc::py {
namespace {

namespace m = model;
using G = m::GroupByTags;
using GroupByTagsObject = Held<ClassId::GroupByTags>;

// The builder sorts the tags and drops duplicates; the caller's order does not survive.
GroupByTagsObject subset(std::vector<StringConstantInput> tags) {
  return {builders::group_by_tags_subset(string_constants(std::move(tags)))};
}

}  // namespace

template <>
ClassDef class_def<ClassId::GroupByTags>() {
  using T = Methods<ClassId::GroupByTags>;
  static PyMethodDef methods[] = {
      T::def<"Current", &empty_variant<ClassId::GroupByTags, G, G::current, m::EmptyAggregationPayload>>(),
      T::def<"Subset", &subset, "tags">(),
      T::def<"to_json", &to_json<ClassId::GroupByTags>>(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
