// Operator slots. An operand that does not fit makes the slot return NotImplemented, so the
// interpreter tries the other operand and then raises its own TypeError; the conversion's
// ordinary error is discarded, while interrupts, exits and memory exhaustion propagate.
#pragma once

#include "binder.h"

namespace qc::py {

inline PyObject* not_implemented() noexcept {
  Py_INCREF(Py_NotImplemented);
  return Py_NotImplemented;
}

// After a refused conversion: NotImplemented for an ordinary error, else the error itself.
inline PyObject* decline() {
  if (!ordinary_error_set()) return nullptr;
  PyErr_Clear();
  return not_implemented();
}

// Binary slot of a class whose operands must both be objects of that class; the left one
// comes first in the node. There is no reflected form.
template <ClassId C, Held<C> (*Build)(Held<C>, Held<C>)>
PyObject* same_class_binary(PyObject* left, PyObject* right) {
  return entered([&]() -> PyObject* {
    if (!holds<C>(left) || !holds<C>(right)) return not_implemented();
    return new_object<C>(Build(held<C>(left), held<C>(right)));
  });
}

// Unary minus of class C: the node is built around the operand's value.
template <ClassId C, Held<C> (*Build)(Held<C>)>
PyObject* negative(PyObject* operand) {
  return entered([&]() -> PyObject* {
    if (!check_self<C>(operand)) return nullptr;
    return new_object<C>(Build(held<C>(operand)));
  });
}

template <class F>
PyType_Slot slot(int id, F* fn) noexcept {
  return {id, reinterpret_cast<void*>(fn)};
}

}  // namespace qc::py
