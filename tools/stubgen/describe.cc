// Prints the binding's classes, methods, operator slots and module functions as one JSON
// document, from the very tables `_compute` is built from: the stub generator's input. Never
// shipped; it only builds the tables (no interpreter is started).
#include <cstdio>
#include <string>
#include <utility>

#include "binder.h"
#include "module_functions.h"

namespace qc::py {
namespace {

// The slots a class may declare, by the name the generator knows them under.
const char* slot_name(int id) {
  switch (id) {
    case Py_nb_negative:
      return "nb_negative";
    case Py_nb_add:
      return "nb_add";
    case Py_nb_subtract:
      return "nb_subtract";
    case Py_nb_multiply:
      return "nb_multiply";
    case Py_nb_remainder:
      return "nb_remainder";
    case Py_nb_true_divide:
      return "nb_true_divide";
    case Py_nb_floor_divide:
      return "nb_floor_divide";
    case Py_nb_power:
      return "nb_power";
    case Py_nb_and:
      return "nb_and";
    case Py_nb_or:
      return "nb_or";
    case Py_tp_richcompare:
      return "tp_richcompare";
    case Py_tp_new:
      return "tp_new";
    default:
      return nullptr;
  }
}

std::string methods(const PyMethodDef* defs) {
  std::string out = "[";
  for (const PyMethodDef* d = defs; d->ml_name; ++d)
    out += (d == defs ? "" : ",") + std::string(d->ml_doc);
  return out + "]";
}

template <ClassId C>
bool describe_class(std::string& out) {
  ClassDef def = class_def<C>();
  PyMethodDef to_json = Methods<C>::to_json();
  std::string list = methods(def.methods);
  list.insert(list.size() - 1, std::string(list.size() > 2 ? "," : "") + to_json.ml_doc);
  std::string slots = "[";
  for (const PyType_Slot* s = def.slots; s && s->slot; ++s) {
    const char* name = slot_name(s->slot);
    if (!name) {
      std::fprintf(stderr, "describe_bindings: %s has slot %d, unknown here\n", class_info(C).name,
                   s->slot);
      return false;
    }
    slots += (s == def.slots ? "\"" : ",\"") + std::string(name) + "\"";
  }
  slots += "]";
  out += (C == ClassId(0) ? "" : ",") + std::string(R"({"name":")") + class_info(C).name +
         R"(","constructor":)" + (def.doc ? def.doc : "null") + R"(,"methods":)" + list +
         R"(,"slots":)" + slots + "}";
  return true;
}

template <size_t... I>
bool describe_classes(std::string& out, std::index_sequence<I...>) {
  return (describe_class<ClassId(I)>(out) && ...);
}

}  // namespace
}  // namespace qc::py

int main() {
  using namespace qc::py;
  std::string out = R"({"classes":[)";
  if (!describe_classes(out, std::make_index_sequence<kClassCount>())) return 1;
  out += R"(],"functions":)" + methods(module_functions()) + "}\n";
  std::fputs(out.c_str(), stdout);
  return 0;
}
