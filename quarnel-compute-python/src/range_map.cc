// The RangeMap class, the one class Python code calls: RangeMap(output, start=None, end=None).
#include "binder.h"
#include "quarnel/compute/builders.h"

namespace qc::py {
namespace {

Held<ClassId::RangeMap> create(StringConstantInput output, std::optional<FloatConstantInput> start,
                               std::optional<FloatConstantInput> end) {
  auto bound = [](std::optional<FloatConstantInput>& b) { return b ? double_constant(std::move(*b)) : Value{}; };
  return {builders::range_map_create(string_constant(std::move(output)), bound(start), bound(end))};
}

using New = Constructor<ClassId::RangeMap, "RangeMap", &create, "output", "start", "end">;

}  // namespace

template <>
ClassDef class_def<ClassId::RangeMap>() {
  using T = Methods<ClassId::RangeMap>;
  static PyMethodDef methods[] = {
      T::def<"to_json", &to_json<ClassId::RangeMap>>(),
      {},
  };
  static const PyType_Slot slots[] = {
      {Py_tp_new, reinterpret_cast<void*>(&New::tp_new)},
      {0, nullptr},
  };
  return {methods, slots, New::Docstring::text.data()};
}

}  // namespace qc::py
