// Argument binding and the rewording of conversion failures. The hot path fills slots and
// compares pointers; every message is formatted in the cold functions below.
#include "binder.h"

#include <cstring>
#include <string>

namespace qc::py {
namespace {

std::string display_name(const Signature& s) {
  std::string out;
  if (s.owner != kModuleFunction) {
    out += class_info(static_cast<ClassId>(s.owner)).name;
    out += '.';
  }
  out += s.name;
  out += "()";
  return out;
}

[[gnu::cold, gnu::noinline]] bool fail_too_many(const Signature& s, Py_ssize_t given) noexcept {
  reporting([&] {
    std::string text = display_name(s);
    if (s.count == s.required)
      text += " takes " + std::to_string(s.count);
    else
      text += " takes from " + std::to_string(s.required) + " to " + std::to_string(s.count);
    text += " positional arguments but " + std::to_string(given) + (given == 1 ? " was" : " were") +
            " given";
    set_error(PyExc_TypeError, text);
  });
  return false;
}

// A str (or str subclass) key is shown as it is; any other key, which only a keyword dict
// handed over unchecked can hold, by its str() as a time unit's name is read. That str() runs
// Python code, which may drop the key from its dict: the key is held meanwhile.
[[gnu::cold, gnu::noinline]] bool fail_unexpected(const Signature& s, PyObject* key) {
  Ref held = Ref::borrow(key);
  reporting([&] {
    std::string name = display_name(s);
    if (PyUnicode_Check(key)) {
      PyErr_Format(PyExc_TypeError, "%s got an unexpected keyword argument '%U'", name.c_str(),
                   key);
      return;
    }
    std::string text;
    if (str_text(key, text))
      set_error(PyExc_TypeError, name + " got an unexpected keyword argument '" + text + "'");
  });
  return false;
}

[[gnu::cold, gnu::noinline]] bool fail_multiple(const Signature& s, size_t index) noexcept {
  reporting([&] {
    set_error(PyExc_TypeError,
              display_name(s) + " got multiple values for argument '" + s.params[index] + "'");
  });
  return false;
}

[[gnu::cold, gnu::noinline]] bool fail_missing(const Signature& s,
                                               PyObject* const* slots) noexcept {
  reporting([&] {
    std::string list;
    size_t missing = 0;
    for (size_t i = 0; i < s.required; ++i)
      if (!slots[i]) ++missing;
    size_t seen = 0;
    for (size_t i = 0; i < s.required; ++i) {
      if (slots[i]) continue;
      ++seen;
      list += '\'';
      list += s.params[i];
      list += '\'';
      if (seen + 1 < missing)
        list += ", ";
      else if (seen + 1 == missing)
        list += missing == 2 ? " and " : ", and ";
    }
    set_error(PyExc_TypeError, display_name(s) + " missing " + std::to_string(missing) +
                                   " required positional " +
                                   (missing == 1 ? "argument" : "arguments") + ": " + list);
  });
  return false;
}

bool intern_names(const Signature& s) noexcept {
  if (s.count == 0 || s.interned[0]) return true;
  for (size_t i = 0; i < s.count; ++i) {
    PyObject* name = PyUnicode_InternFromString(s.params[i]);
    if (!name || (i + 1 == s.count && !keep_for_interpreter(s.interned, s.count))) {
      Py_XDECREF(name);
      for (size_t j = 0; j < i; ++j) Py_CLEAR(s.interned[j]);
      return false;
    }
    s.interned[i] = name;
  }
  return true;
}

// The parameter a keyword names, or -1. Keywords written in source are interned, so the
// identity test almost always decides; text equality covers keywords built at run time.
[[gnu::noinline]] long find_by_text(const Signature& s, PyObject* key) noexcept {
  if (!PyUnicode_Check(key)) return -1;
  Py_ssize_t n = 0;
  const char* text = PyUnicode_AsUTF8AndSize(key, &n);
  if (!text) {  // not valid text: names no parameter
    PyErr_Clear();
    return -1;
  }
  for (size_t i = 0; i < s.count; ++i)
    if (std::strlen(s.params[i]) == size_t(n) && std::memcmp(s.params[i], text, size_t(n)) == 0)
      return long(i);
  return -1;
}

inline long find_param(const Signature& s, PyObject* key) noexcept {
  for (size_t i = 0; i < s.count; ++i)
    if (s.interned[i] == key) return long(i);
  return find_by_text(s, key);
}

inline bool place_keyword(const Signature& s, PyObject* key, PyObject* value, PyObject** slots) {
  long i = find_param(s, key);
  if (i < 0) return fail_unexpected(s, key);
  if (slots[i]) return fail_multiple(s, size_t(i));
  slots[i] = value;
  return true;
}

inline bool check_required(const Signature& s, PyObject* const* slots) noexcept {
  for (size_t i = 0; i < s.required; ++i)
    if (!slots[i]) return fail_missing(s, slots);
  return true;
}

}  // namespace

bool bind_fast(const Signature& s, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames,
               PyObject** slots) {
  if (nargs > Py_ssize_t(s.count)) return fail_too_many(s, nargs);
  for (Py_ssize_t i = 0; i < nargs; ++i) slots[i] = args[i];
  if (kwnames) {
    if (!intern_names(s)) return false;
    Py_ssize_t nkw = PyTuple_Size(kwnames);
    for (Py_ssize_t k = 0; k < nkw; ++k)
      if (!place_keyword(s, PyTuple_GetItem(kwnames, k), args[nargs + k], slots)) return false;
  }
  return check_required(s, slots);
}

bool bind_tuple(const Signature& s, PyObject* args, PyObject* kwargs, PyObject** slots) {
  Py_ssize_t nargs = PyTuple_Size(args);
  if (nargs < 0) return false;
  if (nargs > Py_ssize_t(s.count)) return fail_too_many(s, nargs);
  for (Py_ssize_t i = 0; i < nargs; ++i) slots[i] = Py_NewRef(PyTuple_GetItem(args, i));
  if (kwargs) {
    if (!intern_names(s)) return false;
    Py_ssize_t pos = 0;
    PyObject *key, *value;
    while (PyDict_Next(kwargs, &pos, &key, &value)) {
      if (!place_keyword(s, key, value, slots)) return false;
      Py_INCREF(value);
    }
  }
  return check_required(s, slots);
}

void reword_failure(const char* param) {
  RaisedError e = RaisedError::fetch();
  if (!e || Py_TYPE(e.value.get()) != reinterpret_cast<PyTypeObject*>(PyExc_TypeError)) {
    e.restore();
    return;
  }
  Ref text = Ref::steal(PyObject_Str(e.value.get()));
  if (!text) return;  // str() of a TypeError failed: that failure is what is raised now
  Ref message = Ref::steal(PyUnicode_FromFormat("argument '%s': %U", param, text.get()));
  if (!message) return;
  Ref reworded = Ref::steal(PyObject_CallFunctionObjArgs(PyExc_TypeError, message.get(), nullptr));
  if (!reworded) return;
  if (PyObject* cause = PyException_GetCause(e.value.get()))
    PyException_SetCause(reworded.get(), cause);
  RaisedError out{Ref::borrow(PyExc_TypeError), std::move(reworded), {}};
  out.restore();
}

}  // namespace qc::py
