// The RangeMap class, the one class Python code calls: RangeMap(output, start=None, end=None).
#include "binder.h"

namespace qc::py {
namespace {

using New = Constructor<ClassId::RangeMap, "RangeMap", &builders::range_map_create, "output",
                        "start", "end">;

}  // namespace

template <>
ClassDef class_def<ClassId::RangeMap>() {
  static const Line constructor = New::line(
      {.text = "Makes a range map (a record; its JSON members are written start, end, output).",
       .example = R"doc(>>> RangeMap("low", end=10).to_json()
'{"end":{"type":"literal","literal":10.0},"output":{"type":"literal","literal":"low"}}')doc"});
  static const Line methods[] = {{}};
  static const PyType_Slot slots[] = {
      {Py_tp_new, reinterpret_cast<void*>(&New::tp_new)},
      {0, nullptr},
  };
  return {.about =
              "One range of a value map: the values from `start` to `end` map to "
              "`output`. The one class that is called directly: RangeMap(output, "
              "start=None, end=None).",
          .methods = methods,
          .slots = slots,
          .constructor = &constructor};
}

}  // namespace qc::py
