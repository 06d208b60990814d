// The RangeMap class, the one class Python code calls: RangeMap(output, start=None, end=None).
#include "binder.h"

namespace qc::py {
namespace {

using New = Constructor<ClassId::RangeMap, "RangeMap", &builders::range_map_create, "output",
                        "start", "end">;

}  // namespace

template <>
ClassDef class_def<ClassId::RangeMap>() {
  static PyMethodDef methods[] = {{}};
  static const PyType_Slot slots[] = {
      {Py_tp_new, reinterpret_cast<void*>(&New::tp_new)},
      {0, nullptr},
  };
  return {methods, slots, New::doc()};
}

}  // namespace qc::py
