// Prints the binding's classes, methods, operator slots and module functions as one JSON
// document, read from the very tables `_compute` is built from, linked from the same objects:
// each line's form (its parameters' types and words, made at compile time from their argument
// forms) and its texts. The stub generator's input; never shipped, and no interpreter is
// started.
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "binder.h"
#include "module_functions.h"
#include "param_texts.h"

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

std::string text(const char* s) {
  if (!s) return "null";
  std::string out = "\"";
  for (const char* c = s; *c; ++c) {
    if (*c == '"' || *c == '\\')
      out += '\\';
    else if (*c == '\n') {
      out += "\\n";
      continue;
    }
    out += *c;
  }
  return out + "\"";
}

// The methods of every class, where a module function with nothing to say finds its texts.
std::vector<const Line*> g_methods;

std::string line(const Line& l) {
  About a = l.about;
  if (!a.text)
    for (const Line* m : g_methods)
      if (m->builder == l.builder && m->about.text) a = m->about;
  return R"({"form":)" + std::string(l.form) + R"(,"node":)" + text(a.node) + R"(,"text":)" +
         text(a.text) + R"(,"example":)" + text(a.example) + R"(,"args":)" + text(a.args) + "}";
}

std::string lines(const Line* table, const Line* last = nullptr) {
  std::string out = "[";
  for (const Line* l = table; l->def.ml_name; ++l) out += (l == table ? "" : ",") + line(*l);
  if (last) out += (table->def.ml_name ? "," : "") + line(*last);
  return out + "]";
}

template <ClassId C>
bool describe_class(std::string& out) {
  ClassDef def = class_def<C>();
  Line to_json = Methods<C>::to_json();
  for (const Line* l = def.methods; l->def.ml_name; ++l) g_methods.push_back(l);
  std::string slots = "[";
  for (const PyType_Slot* s = def.slots; s && s->slot; ++s) {
    const char* name = slot_name(s->slot);
    if (!name) {
      std::fprintf(stderr,
                   "describe_bindings: %s has slot %d: name it in tools/stubgen/describe.cc's "
                   "slot_name and its dunders in tools/stubgen/generate.py's slot_sources\n",
                   class_info(C).name, s->slot);
      return false;
    }
    slots += (s == def.slots ? "\"" : ",\"") + std::string(name) + "\"";
  }
  slots += "]";
  out += (C == ClassId(0) ? "" : ",") + std::string(R"({"name":")") + class_info(C).name +
         R"(","about":)" + text(def.about) + R"(,"constructor":)" +
         (def.constructor ? line(*def.constructor) : "null") + R"(,"methods":)" +
         lines(def.methods, &to_json) + R"(,"slots":)" + slots + "}";
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
  out += R"(],"functions":)" + lines(module_functions()) + R"(,"params":{)";
  for (const ParamText& p : kParamTexts)
    out += (&p == kParamTexts ? "" : ",") + text(p.name) + ":" + text(p.text);
  out += R"(},"time_units":[)" + std::string(form::names<qc::model::api::TimeUnit>().view()) +
         R"(],"data_types":[)" +
         std::string(form::names<qc::model::objects::NumericDataType>().view()) + "]}\n";
  std::fputs(out.c_str(), stdout);
  return 0;
}
