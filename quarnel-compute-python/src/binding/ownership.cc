// Which interpreter the module belongs to: the rule is told in ownership.h.
#include "ownership.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace qc::py {

PyInterpreterState* g_owner_interpreter = nullptr;

namespace {

constexpr size_t kTracked = kPanicClass + 1;

// A module object of the owner and the classes it holds, one reference to each class alive: the
// collector sees them through the module (module_traverse), so that a module and the classes
// that nothing else holds go in one collection.
struct ModuleHold {
  PyObject* module;
  PyObject* classes[kTracked];
};

// The owner, from its claim until it lets go of the module or, ended, is forgotten.
struct Owner {
  // -1: no owner. An owner whose id is set while g_owner_interpreter is null has ended: its
  // interpreter is being cleared, no call is taken from it, and another may take the module over.
  int64_t id = -1;
  // Counts the owners made; the mark of an owner's interpreter names its owner by it.
  uintptr_t tenure = 0;
  std::string module_name = "_compute";  // kept for the messages of refused calls
  std::vector<ModuleHold> modules;       // its module objects, until freed
  PyObject* on_collected = nullptr;      // the callback of the weak references, of the owner
};
Owner g_owner;

// A class of the owner's: kept (borrowed) in its slot while it is alive.
struct Tracked {
  PyObject** slot = nullptr;
  PyObject* weak = nullptr;  // a weak reference to the class while it is alive
};
Tracked g_tracked[kTracked];

struct KeptSlots {
  PyObject** slots;
  size_t count;
};
std::vector<KeptSlots> g_kept_slots;

ModuleHold* held_by(PyObject* module) noexcept {
  for (ModuleHold& h : g_owner.modules)
    if (h.module == module) return &h;
  return nullptr;  // refused, or of a forgotten owner
}

bool ended() noexcept { return g_owner.id >= 0 && !g_owner_interpreter; }

// Leaves the module to no interpreter; returns the owner's callback, for the caller to release
// or, of an ended owner, to forget.
PyObject* end_tenure() noexcept {
  g_owner.id = -1;
  g_owner_interpreter = nullptr;
  return std::exchange(g_owner.on_collected, nullptr);
}

bool holds_a_class() noexcept {
  return std::any_of(std::begin(g_tracked), std::end(g_tracked),
                     [](const Tracked& t) { return t.weak != nullptr; });
}

// Once its modules are gone and its last class collected, the owner gives back what it kept,
// in its own interpreter, and the module belongs to no interpreter.
void release_if_let_go() noexcept {
  if (g_owner.id < 0 || !g_owner.modules.empty() || holds_a_class()) return;
  if (PyInterpreterState_GetID(PyInterpreterState_Get()) != g_owner.id) return;
  release_freed_objects();
  std::vector<KeptSlots> kept;
  kept.swap(g_kept_slots);
  for (const KeptSlots& k : kept)
    for (size_t i = 0; i < k.count; ++i) Py_CLEAR(k.slots[i]);
  // Called from its own call, the callback is held by its caller meanwhile.
  Py_XDECREF(end_tenure());
}

// What an ended owner left is of an interpreter that is gone, with its allocator: forgotten,
// never touched.
void forget_owner() noexcept {
  for (Tracked& t : g_tracked) {
    if (t.slot) *t.slot = nullptr;
    t.weak = nullptr;
  }
  for (const KeptSlots& k : g_kept_slots)
    for (size_t i = 0; i < k.count; ++i) k.slots[i] = nullptr;
  g_kept_slots.clear();
  forget_freed_objects();
  g_owner.modules.clear();
  end_tenure();
}

// The callback of the weak reference to each class: the class is being collected, in the
// owner's interpreter. A reference of a forgotten owner is not found, and changes nothing.
PyObject* class_collected(PyObject*, PyObject* weak) {
  for (Tracked& t : g_tracked) {
    if (t.weak != weak) continue;
    *t.slot = nullptr;
    t.weak = nullptr;
    Py_DECREF(weak);  // its caller holds it for the call, or reads it no more after it
    release_if_let_go();
    break;
  }
  Py_RETURN_NONE;
}
PyMethodDef g_class_collected = {"class_collected", &class_collected, METH_O, nullptr};

// Every interpreter that owns the module marks its dict with an object whose end, as the
// interpreter is cleared, tells that the owner has ended: what it still holds then (a cycle its
// last collection left, as a debug interpreter's may, or a reference leaked on purpose) is never
// reached again, and the module may be taken over. Each copy of the library loaded in the process
// (two builds compared side by side, say) keeps its mark under a key of its own: another copy's
// mark must not end this one's.
constexpr const char* kOwnerMark = "quarnel.compute._compute.owner";

const char* owner_mark_key() noexcept {
  static char key[64];
  if (!key[0])
    std::snprintf(key, sizeof key, "%s %p", kOwnerMark, static_cast<const void*>(&g_owner));
  return key;
}

void owner_mark_cleared(PyObject* mark) {
  auto tenure = reinterpret_cast<uintptr_t>(PyCapsule_GetContext(mark));
  // Its memory may be another interpreter's soon: no call is taken from it any more.
  if (g_owner.id >= 0 && tenure == g_owner.tenure) g_owner_interpreter = nullptr;
}

bool become_owner(PyInterpreterState* interp, int64_t id, PyObject* module) {
  Ref name = Ref::steal(PyModule_GetNameObject(module));
  std::string text;
  if (!name || !utf8(name.get(), text)) return false;
  Ref callback = Ref::steal(PyCFunction_NewEx(&g_class_collected, nullptr, nullptr));
  if (!callback) return false;
  PyObject* dict = PyInterpreterState_GetDict(interp);
  if (!dict) {
    PyErr_SetString(PyExc_RuntimeError, "the interpreter has no dict to mark its ownership in");
    return false;
  }
  // Replacing the mark of an earlier time this interpreter owned the module ends that mark,
  // whose tenure is no owner's.
  uintptr_t tenure = g_owner.tenure + 1;
  Ref mark = Ref::steal(PyCapsule_New(&g_owner, kOwnerMark, &owner_mark_cleared));
  if (!mark || PyCapsule_SetContext(mark.get(), reinterpret_cast<void*>(tenure)) != 0 ||
      PyDict_SetItemString(dict, owner_mark_key(), mark.get()) != 0)
    return false;
  g_owner.tenure = tenure;
  g_owner.id = id;
  g_owner.module_name = std::move(text);
  g_owner.on_collected = callback.release();
  g_owner_interpreter = interp;
  return true;
}

// An owner whose modules are all freed holds the module through its classes: the refusal names
// the first one alive, for its holder to be found.
bool refuse_import(PyObject* module) {
  Ref name = Ref::steal(PyModule_GetNameObject(module));
  if (!name) return false;
  std::string held;
  if (g_owner.modules.empty())
    for (size_t i = 0; i <= kPanicClass; ++i)
      if (g_tracked[i].weak) {
        held = std::string("; it still holds objects of class ") +
               (i == kPanicClass ? "PanicException" : class_info(ClassId(i)).name);
        break;
      }
  Ref message = Ref::steal(
      PyUnicode_FromFormat("module %U does not support loading in more than one "
                           "interpreter: it was loaded in interpreter %lld%s",
                           name.get(), static_cast<long long>(g_owner.id), held.c_str()));
  if (message) PyErr_SetImportError(message.get(), name.get(), nullptr);
  return false;
}

}  // namespace

PyObject* refuse_call() noexcept {
  long long caller = PyInterpreterState_GetID(PyInterpreterState_Get());
  const char* name = g_owner.module_name.c_str();
  if (g_owner_interpreter)
    return PyErr_Format(PyExc_RuntimeError,
                        "module %s cannot be used in interpreter %lld: it was loaded in "
                        "interpreter %lld",
                        name, caller, static_cast<long long>(g_owner.id));
  return PyErr_Format(PyExc_RuntimeError,
                      "module %s cannot be used in interpreter %lld: it is not loaded in any "
                      "interpreter; import it again",
                      name, caller);
}

bool claim_module(PyObject* module) {
  PyInterpreterState* interp = PyInterpreterState_Get();
  int64_t id = PyInterpreterState_GetID(interp);
  if (id < 0) return false;
  if (ended()) forget_owner();
  if (g_owner.id < 0 && !become_owner(interp, id, module)) return false;
  if (g_owner.id != id) return refuse_import(module);
  // The module holds every class alive, for a later import to find them again.
  ModuleHold held{module, {}};
  for (size_t i = 0; i < kTracked; ++i)
    if (g_tracked[i].weak) held.classes[i] = *g_tracked[i].slot;
  try {
    g_owner.modules.push_back(held);
  } catch (const std::bad_alloc&) {
    PyErr_NoMemory();
    release_if_let_go();
    return false;
  }
  for (PyObject* c : held.classes) Py_XINCREF(c);
  return true;
}

int module_traverse(PyObject* module, visitproc visit, void* arg) {
  if (ModuleHold* h = held_by(module))
    for (PyObject* c : h->classes) Py_VISIT(c);
  return 0;
}

int module_clear(PyObject* module) {
  ModuleHold* h = held_by(module);
  if (!h) return 0;
  // Taken out before any is released, for a class's collection to find the holds settled.
  PyObject* classes[kTracked];
  std::copy(std::begin(h->classes), std::end(h->classes), classes);
  std::fill(std::begin(h->classes), std::end(h->classes), nullptr);
  for (PyObject* c : classes) Py_XDECREF(c);
  return 0;
}

void module_freed(void* module) noexcept {
  auto* m = static_cast<PyObject*>(module);
  module_clear(m);
  if (ModuleHold* h = held_by(m))
    g_owner.modules.erase(g_owner.modules.begin() + (h - g_owner.modules.data()));
  release_if_let_go();
}

bool track_class(size_t index, PyObject** slot, PyObject* made) noexcept {
  if (g_owner.id < 0) {
    PyErr_SetString(PyExc_SystemError, "a class of the module made with no interpreter owning it");
    return false;
  }
  PyObject* weak = PyWeakref_NewRef(made, g_owner.on_collected);
  if (!weak) return false;
  g_tracked[index] = {slot, weak};
  *slot = made;
  for (ModuleHold& h : g_owner.modules) {
    Py_INCREF(made);
    h.classes[index] = made;
  }
  return true;
}

bool keep_for_interpreter(PyObject** slots, size_t count) noexcept {
  try {
    g_kept_slots.push_back({slots, count});
    return true;
  } catch (const std::bad_alloc&) {
    PyErr_NoMemory();
    return false;
  }
}

}  // namespace qc::py
