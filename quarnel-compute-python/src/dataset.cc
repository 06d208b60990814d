// The Dataset class: where stored series are looked up, as an asset, run or saved dataset
// named by its resource identifier, or the combination, tagging or time shift of others.
#include "method_shapes.h"
#include "quarnel/compute/builders.h"
#include "quarnel/compute/model/dataset_unions.h"

namespace qc::py {
namespace {

namespace b = builders;
namespace m = model;
using D = m::Dataset;
using DatasetObject = Held<ClassId::Dataset>;
using Me = Self<ClassId::Dataset>;

// The identifier is recorded as given, never checked.
template <D::Variant V, class P>
constexpr auto resource = &one_field<ClassId::Dataset, D, V, P, StringConstantInput, string_constant>;

DatasetObject combine(std::vector<DatasetObject> inputs) { return {b::dataset_combine(values_of(std::move(inputs)))}; }

DatasetObject tag(Me self, StringConstantInput key, StringConstantInput value) {
  return {b::dataset_tag(self.value, string_constant(std::move(key)), string_constant(std::move(value)))};
}

DatasetObject time_shift(Me self, Held<ClassId::Duration> offset) {
  return {b::dataset_time_shift(self.value, std::move(offset.value))};
}

}  // namespace

// Registered in this order; keep it when adding a method.
template <>
ClassDef class_def<ClassId::Dataset>() {
  using T = Methods<ClassId::Dataset>;
  static PyMethodDef methods[] = {
      T::def<"Asset", resource<D::asset, m::Asset>, "rid">(),
      T::def<"Run", resource<D::run, m::Run>, "rid">(),
      T::def<"Saved", resource<D::saved, m::SavedDataset>, "rid">(),
      T::def<"Combine", &combine, "inputs">(),
      T::def<"tag", &tag, "key", "value">(),
      T::def<"time_shift", &time_shift, "offset">(),
      T::def<"to_json", &to_json<ClassId::Dataset>>(),
      {},
  };
  return {methods};
}

}  // namespace qc::py
