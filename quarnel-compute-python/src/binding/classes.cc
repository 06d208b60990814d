// Class objects: each made once from its slot table and kept.
#include "classes.h"

#include <array>
#include <memory>
#include <utility>

#include "binder.h"
#include "errors.h"
#include "ownership.h"

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

constexpr ClassInfo kClasses[] = {
#define QC_PY_CLASS_INFO_(Name, Model) {#Name, "_compute." #Name},
    QC_CLASSES(QC_PY_CLASS_INFO_)
#undef QC_PY_CLASS_INFO_
};

// The memory of dead objects, kept for the next ones as the interpreter keeps that of dicts
// and floats: building an expression makes and drops a short-lived object at every step, and
// pymalloc's path for a lone object costs more than the rest of an operator. All objects have
// one size. Only touched with the interpreter lock held. Under AddressSanitizer a kept object is
// poisoned until it is reused, so that a use after free is still caught.
constexpr int kKeptObjects = 128;
void* g_kept[kKeptObjects];
int g_kept_count = 0;

template <ClassId C>
void dealloc(PyObject* o) {
  PyTypeObject* type = Py_TYPE(o);
  reinterpret_cast<Object<C>*>(o)->value.~Held<C>();
  // The classes are neither collected nor subclassable, so their tp_free is PyObject_Free,
  // which object_memory's PyObject_Malloc pairs with. An object of an earlier owner (one that
  // ended holding it, since forgotten) is freed here, in its own interpreter, and its memory
  // never joins the current owner's.
  if (type == g_class_objects[size_t(C)] && g_kept_count < kKeptObjects) [[likely]] {
    ASAN_POISON_MEMORY_REGION(o, sizeof(Object<C>));
    g_kept[g_kept_count++] = o;
  } else
    PyObject_Free(o);
  Py_DECREF(type);  // instances of heap types own a reference to their class
}

// The constructor of a class that has none: calling the class raises what the interpreter raises
// for a class without a constructor. The class is not flagged as one that cannot be instantiated:
// a class so flagged must have no constructor at all, and assigning `__new__` to it (the classes
// are not immutable) would break that.
// The interpreter names the class by its full name, "_compute.X", which becomes the bare new name
// once `__name__` is assigned.
PyObject* refuse_new(PyTypeObject* type, PyObject*, PyObject*) {
  Ref name = Ref::steal(PyObject_GetAttrString(reinterpret_cast<PyObject*>(type), "__name__"));
  if (!name) return nullptr;
  const ClassInfo* info = class_info_of(reinterpret_cast<PyObject*>(type));
  if (info && PyUnicode_CompareWithASCIIString(name.get(), info->name) == 0)
    return PyErr_Format(PyExc_TypeError, "cannot create '%s' instances", info->type_name);
  return PyErr_Format(PyExc_TypeError, "cannot create '%U' instances", name.get());
}

// What each class brings: its definition, its deallocator and its `to_json`.
struct ClassParts {
  ClassDef (*def)();
  destructor dealloc;
  Line to_json;
};
template <ClassId C>
ClassParts parts() {
  static_assert(sizeof(Object<C>) == sizeof(Object<ClassId::NumericSeries>));
  return {&class_def<C>, &dealloc<C>, Methods<C>::to_json()};
}
template <size_t... I>
auto all_parts(std::index_sequence<I...>) {
  return std::array<ClassParts (*)(), kClassCount>{&parts<static_cast<ClassId>(I)>...};
}
const auto kParts = all_parts(std::make_index_sequence<kClassCount>());

// The class's methods followed by `to_json`, in storage kept for the life of the process: made
// once, and shared by the class objects of every interpreter that owns the module in turn.
PyMethodDef* with_to_json(ClassId c, const Line* methods, const Line& to_json) {
  static PyMethodDef* tables[kClassCount] = {};
  PyMethodDef*& table = tables[size_t(c)];
  if (table) return table;
  size_t n = 0;
  while (methods[n].def.ml_name) ++n;
  table = new PyMethodDef[n + 2]{};
  for (size_t i = 0; i < n; ++i) table[i] = methods[i].def;
  table[n] = to_json.def;
  return table;
}

PyTypeObject* create(ClassId c) {
  const ClassInfo& info = class_info(c);
  ClassParts parts = kParts[size_t(c)]();
  ClassDef def = parts.def();
  PyType_Slot slots[24];
  size_t n = 0;
  slots[n++] = {Py_tp_dealloc, reinterpret_cast<void*>(parts.dealloc)};
  slots[n++] = {Py_tp_methods, with_to_json(c, def.methods, parts.to_json)};
  if (def.constructor) slots[n++] = {Py_tp_doc, const_cast<char*>(def.constructor->def.ml_doc)};
  bool constructor = false;
  for (const PyType_Slot* s = def.slots; s && s->slot; ++s) {
    if (n + 2 >= std::size(slots)) throw Panic("too many slots");  // and room for two more
    constructor |= s->slot == Py_tp_new;
    slots[n++] = *s;
  }
  if (!constructor) slots[n++] = {Py_tp_new, reinterpret_cast<void*>(&refuse_new)};
  slots[n] = {0, nullptr};
  PyType_Spec spec{info.type_name, int(sizeof(Object<ClassId::NumericSeries>)), 0,
                   unsigned(Py_TPFLAGS_DEFAULT), slots};
  Ref type = Ref::steal(PyType_FromSpec(&spec));
  // The `__new__` that the refusing constructor put in the class's dict goes, so that the class
  // reads as one without a constructor: `X.__new__` is object's, which refuses `X.__new__(X)` as
  // unsafe. Finding object's `__new__`, the interpreter leaves the class its constructor slot.
  if (type && !constructor && PyObject_DelAttrString(type.get(), "__new__") < 0) return nullptr;
  return reinterpret_cast<PyTypeObject*>(type.release());
}

}  // namespace

const ClassInfo& class_info(ClassId c) noexcept { return kClasses[size_t(c)]; }

const ClassInfo* class_info_of(const PyObject* o) noexcept {
  for (size_t c = 0; c < kClassCount; ++c)
    if (o == reinterpret_cast<const PyObject*>(g_class_objects[c])) return &kClasses[c];
  return nullptr;
}

PyTypeObject* g_class_objects[kClassCount] = {};

Ref class_ref(ClassId c) {
  PyObject*& slot = reinterpret_cast<PyObject*&>(g_class_objects[size_t(c)]);
  if (slot) return Ref::borrow(slot);
  PyTypeObject* t = nullptr;
  reporting([&] { t = create(c); });
  if (t && !track_class(size_t(c), &slot, reinterpret_cast<PyObject*>(t))) Py_CLEAR(t);
  if (!t) {
    ensure_error_set();
    RaisedError cause = RaisedError::fetch();
    PyErr_Format(PyExc_RuntimeError, "An error occurred while initializing class %s",
                 class_info(c).name);
    RaisedError err = RaisedError::fetch();
    PyException_SetCause(err.value.get(), cause.value.release());
    err.restore();
    return Ref();
  }
  return Ref::steal(reinterpret_cast<PyObject*>(t));
}

std::string not_instance_message(PyObject* o, std::string_view expected) {
  if (o == Py_None) return "'None' is not an instance of '" + std::string(expected) + "'";
  return "'" + type_qualname(reinterpret_cast<PyObject*>(Py_TYPE(o))) +
         "' object is not an instance of '" + std::string(expected) + "'";
}

std::string not_instance_message(PyObject* o, ClassId c) {
  const char* name = class_info(c).name;
  PyTypeObject* t = g_class_objects[size_t(c)];
  if (t && PyObject_TypeCheck(o, t))  // of the class, but not holding what the class holds
    return "'" + std::string(name) + "' object holds no " + std::string(name) +
           " value: it was not made by the module";
  return not_instance_message(o, name);
}

void raise_not_instance(PyObject* o, std::string_view expected) {
  reporting([&] { PyErr_SetString(PyExc_TypeError, not_instance_message(o, expected).c_str()); });
}

void raise_not_instance(PyObject* o, ClassId c) {
  reporting([&] { PyErr_SetString(PyExc_TypeError, not_instance_message(o, c).c_str()); });
}

void* object_memory() noexcept {
  // What the inherited tp_alloc does for a class that is neither collected nor variable-sized,
  // less its slot lookup and the zeroing that the value's construction makes redundant.
  constexpr size_t size = sizeof(Object<ClassId::NumericSeries>);
  if (g_kept_count) {
    void* mem = g_kept[--g_kept_count];
    ASAN_UNPOISON_MEMORY_REGION(mem, size);
    return mem;
  }
  void* mem = PyObject_Malloc(size);
  if (!mem) PyErr_NoMemory();
  return mem;
}

void forget_freed_objects() noexcept { g_kept_count = 0; }

void release_freed_objects() noexcept {
  constexpr size_t size = sizeof(Object<ClassId::NumericSeries>);
  while (g_kept_count) {
    void* mem = g_kept[--g_kept_count];
    ASAN_UNPOISON_MEMORY_REGION(mem, size);
    PyObject_Free(mem);
  }
}

void missing_class(ClassId c) {
  PyErr_WriteUnraisable(nullptr);  // the class's creation error
  throw Panic("failed to create type object for `" + std::string(class_info(c).name) + "`");
}

}  // namespace qc::py
