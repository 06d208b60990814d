// Which interpreter the module belongs to. The rule, whole:
//
// The class objects (and PanicException) are made once and shared by every module object, so
// they are of one interpreter at a time: the first to run the module's execution step owns the
// module. The owner holds the module while any of its module objects or any of its classes is
// alive. Its module objects hold the classes (PanicException too, made on a first panic), as the
// collector sees; anything else that reaches the module's code holds one too (an object its
// class, a method its class, a caught panic PanicException, a module function its module object),
// so a class that is alive is a class that something holds, however the class was edited. The
// module keeps a weak reference to each class: when the owner's modules are gone and its last
// class is collected, that reference's callback runs in the owner's own interpreter, where the
// owner's kept memory and names are given back, and the module then belongs to no interpreter
// until one runs the execution step again. An owner that ends while something of it is still
// held (a cycle its last collection left, a leaked reference) never reaches those objects again:
// the next interpreter to import forgets them, never touching them.
//
// Every call into the module checks first that it comes from the owner (`to_json` by its
// object's class alone, binder.h): no code of the module makes, reads or frees another
// interpreter's objects. Every interpreter that can load the module shares one lock, so
// ownership changes under it.
#pragma once

#include <cstddef>

#include "classes.h"
#include "errors.h"

namespace qc::py {

// The owner's interpreter; null when no interpreter owns the module or the owner has ended.
extern PyInterpreterState* g_owner_interpreter;

// Raises RuntimeError naming the owner (or saying that there is none); returns null.
[[gnu::cold, gnu::noinline]] PyObject* refuse_call() noexcept;

// Runs the entry f (guarded) when the calling interpreter owns the module.
template <class F>
PyObject* entered(F&& f) {
  if (PyInterpreterState_Get() != g_owner_interpreter) [[unlikely]]
    return refuse_call();
  return guarded(static_cast<F&&>(f));
}

// The execution step's claim on a new module object: true when the calling interpreter owns the
// module (now, or already); false with ImportError set, naming the owner, when another does.
bool claim_module(PyObject* module);
// The definition's m_traverse, m_clear and m_free: a module object holds the owner's classes.
int module_traverse(PyObject* module, visitproc visit, void* arg);
int module_clear(PyObject* module);
void module_freed(void* module) noexcept;

// The classes whose lives tell whether the owner holds the module: the module's, in their
// order, then PanicException.
inline constexpr size_t kPanicClass = kClassCount;
// Takes a class just made for the owner, with the reference `made` owns, and stores it in its
// slot, where it stays (borrowed) while the class is alive. False with an exception set when it
// cannot be followed; the class is then left to `made` alone.
bool track_class(size_t index, PyObject** slot, PyObject* made) noexcept;

// Registers `count` slots of static storage holding the owner's objects (interned names): they
// are released with the owner's classes, or emptied untouched when an ended owner is forgotten.
// False with MemoryError set when the registration cannot be made.
bool keep_for_interpreter(PyObject** slots, size_t count) noexcept;

}  // namespace qc::py
