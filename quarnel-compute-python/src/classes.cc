// Class objects of the 21 classes: each made once from its slot table and kept.
#include "classes.h"

#include <array>
#include <utility>

#include "errors.h"

// Kept objects are poisoned under AddressSanitizer (see dealloc).
#if defined(__SANITIZE_ADDRESS__)
#define QC_POISON_KEPT 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QC_POISON_KEPT 1
#endif
#endif
#ifdef QC_POISON_KEPT
#include <sanitizer/asan_interface.h>
#else
#define ASAN_POISON_MEMORY_REGION(p, n) ((void)(p), (void)(n))
#define ASAN_UNPOISON_MEMORY_REGION(p, n) ((void)(p), (void)(n))
#endif

namespace qc::py {
namespace {

constexpr std::array<ClassInfo, kClassCount> kClasses{{
    {"NumericSeries", "_compute.NumericSeries", "NumericSeries"},
    {"CategoricalSeries", "_compute.CategoricalSeries", "EnumSeries"},
    {"RangeSeries", "_compute.RangeSeries", "RangeSeries"},
    {"StructSeries", "_compute.StructSeries", "StructSeries"},
    {"ConstantNumericSeries", "_compute.ConstantNumericSeries", "ConstantNumericSeries"},
    {"IntegerConstant", "_compute.IntegerConstant", "IntegerConstant"},
    {"StringConstant", "_compute.StringConstant", "StringConstant"},
    {"Dataset", "_compute.Dataset", "Dataset"},
    {"Sampling", "_compute.Sampling", "Sampling"},
    {"BooleanSeries", "_compute.BooleanSeries", "BooleanSeries"},
    {"AggregationBuilder", "_compute.AggregationBuilder", "AggregationBuilder"},
    {"NumericAggregationOperator", "_compute.NumericAggregationOperator", "NumericAggregationOperator"},
    {"NegativeValueConfiguration", "_compute.NegativeValueConfiguration", "NegativeValueConfiguration"},
    {"SignalFilterConfiguration", "_compute.SignalFilterConfiguration", "SignalFilterConfiguration"},
    {"FloatConstant", "_compute.FloatConstant", "DoubleConstant"},
    {"Duration", "_compute.Duration", "Duration"},
    {"UdfSource", "_compute.UdfSource", "UdfSource"},
    {"EnumAggregationOperator", "_compute.EnumAggregationOperator", "EnumAggregationOperator"},
    {"GroupByTags", "_compute.GroupByTags", "GroupByTags"},
    {"GroupByTimestamp", "_compute.GroupByTimestamp", "GroupByTimestamp"},
    {"RangeMap", "_compute.RangeMap", "RangeMap"},
}};

template <size_t... I>
constexpr auto def_table(std::index_sequence<I...>) {
  return std::array<ClassDef (*)(), kClassCount>{&class_def<static_cast<ClassId>(I)>...};
}
constexpr auto kDefs = def_table(std::make_index_sequence<kClassCount>());

PyTypeObject* g_types[kClassCount] = {};

// The model type each class holds, learnt from the first value that matches by name, so that
// checking an argument (every operand of every call) costs a pointer comparison, not a text
// comparison. Only touched with the interpreter lock held.
const TypeDesc* g_descs[kClassCount] = {};

// The memory of dead objects, kept for the next ones as the interpreter keeps that of dicts
// and floats: building an expression makes and drops a short-lived object at every step, and
// pymalloc's path for a lone object costs more than the rest of an operator. All objects have
// one size. Only touched with the interpreter lock held. Under AddressSanitizer a kept object is
// poisoned until it is reused, so that a use after free is still caught.
constexpr int kKeptObjects = 128;
void* g_kept[kKeptObjects];
int g_kept_count = 0;

void dealloc(PyObject* o) {
  PyTypeObject* type = Py_TYPE(o);
  reinterpret_cast<Object*>(o)->value.~Value();
  // The classes are neither collected nor subclassable, so their tp_free is PyObject_Free,
  // which new_object's PyObject_Malloc pairs with.
  if (g_kept_count < kKeptObjects) {
    ASAN_POISON_MEMORY_REGION(o, sizeof(Object));
    g_kept[g_kept_count++] = o;
  } else
    PyObject_Free(o);
  Py_DECREF(type);  // instances of heap types own a reference to their class
}

PyTypeObject* create(ClassId c) {
  const ClassInfo& info = class_info(c);
  ClassDef def = kDefs[size_t(c)]();
  PyType_Slot slots[24];
  size_t n = 0;
  slots[n++] = {Py_tp_dealloc, reinterpret_cast<void*>(&dealloc)};
  slots[n++] = {Py_tp_methods, def.methods};
  if (def.doc) slots[n++] = {Py_tp_doc, const_cast<char*>(def.doc)};
  bool constructor = false;
  for (const PyType_Slot* s = def.slots; s && s->slot; ++s) {
    if (n + 1 >= std::size(slots)) throw Panic("too many slots");
    constructor |= s->slot == Py_tp_new;
    slots[n++] = *s;
  }
  slots[n] = {0, nullptr};
  PyType_Spec spec{
      info.type_name, int(sizeof(Object)), 0,
      unsigned(Py_TPFLAGS_DEFAULT | (constructor ? 0 : Py_TPFLAGS_DISALLOW_INSTANTIATION)), slots};
  return reinterpret_cast<PyTypeObject*>(PyType_FromSpec(&spec));
}

}  // namespace

const ClassInfo& class_info(ClassId c) noexcept { return kClasses[size_t(c)]; }

PyTypeObject* class_object(ClassId c) noexcept {
  PyTypeObject*& slot = g_types[size_t(c)];
  if (slot) return slot;
  PyTypeObject* t = nullptr;
  try {
    t = create(c);
  } catch (...) {
    raise_cpp_exception();
  }
  if (!t) {
    ensure_error_set();
    RaisedError cause = RaisedError::fetch();
    PyErr_Format(PyExc_RuntimeError, "An error occurred while initializing class %s", class_info(c).name);
    RaisedError err = RaisedError::fetch();
    PyException_SetCause(err.value.get(), cause.value.release());
    err.restore();
    return nullptr;
  }
  slot = t;
  return t;
}

bool holds(PyObject* o, ClassId c) noexcept {
  PyTypeObject* t = g_types[size_t(c)];
  if (!t || !PyObject_TypeCheck(o, t)) return false;
  const Value& v = held(o);
  if (v.tag() != Tag::Node) return false;
  const TypeDesc* d = &v.desc();
  if (d == g_descs[size_t(c)]) return true;
  if (d->name != class_info(c).model) return false;
  g_descs[size_t(c)] = d;
  return true;
}

std::string not_instance_message(PyObject* o, std::string_view expected) {
  if (o == Py_None) return "'None' is not an instance of '" + std::string(expected) + "'";
  return "'" + type_qualname(reinterpret_cast<PyObject*>(Py_TYPE(o))) + "' object is not an instance of '" +
         std::string(expected) + "'";
}

std::string not_instance_message(PyObject* o, ClassId c) {
  const char* name = class_info(c).name;
  PyTypeObject* t = g_types[size_t(c)];
  if (t && PyObject_TypeCheck(o, t))  // of the class, but not holding what the class holds
    return "'" + std::string(name) + "' object holds no " + std::string(name) +
           " value: it was not made by the module";
  return not_instance_message(o, name);
}

void raise_not_instance(PyObject* o, std::string_view expected) noexcept {
  try {
    PyErr_SetString(PyExc_TypeError, not_instance_message(o, expected).c_str());
  } catch (...) {
    raise_cpp_exception();
  }
}

void raise_not_instance(PyObject* o, ClassId c) noexcept {
  try {
    PyErr_SetString(PyExc_TypeError, not_instance_message(o, c).c_str());
  } catch (...) {
    raise_cpp_exception();
  }
}

PyObject* new_object(PyTypeObject* type, Value v) noexcept {
  // What the inherited tp_alloc does for a class that is neither collected nor variable-sized,
  // less its slot lookup and the zeroing that the value's construction makes redundant.
  void* mem;
  if (g_kept_count) {
    mem = g_kept[--g_kept_count];
    ASAN_UNPOISON_MEMORY_REGION(mem, sizeof(Object));
  } else {
    mem = PyObject_Malloc(sizeof(Object));
    if (!mem) return PyErr_NoMemory();  // v is released on return
  }
  PyObject* o = PyObject_Init(static_cast<PyObject*>(mem), type);  // takes a reference to type
  new (&reinterpret_cast<Object*>(o)->value) Value(std::move(v));
  return o;
}

PyObject* new_object(ClassId c, Value v) {
  PyTypeObject* t = g_types[size_t(c)];
  if (!t) throw Panic("failed to create type object for `" + std::string(class_info(c).name) + "`");
  return new_object(t, std::move(v));
}

}  // namespace qc::py
