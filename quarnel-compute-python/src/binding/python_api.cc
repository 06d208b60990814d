// Small helpers over the interpreter's API shared by every binding source.
#include "python_api.h"

namespace qc::py {

RaisedError RaisedError::fetch() {
  PyObject *type = nullptr, *value = nullptr, *tb = nullptr;
  PyErr_Fetch(&type, &value, &tb);
  if (!type) return {};
  PyErr_NormalizeException(&type, &value, &tb);
  if (tb && value) PyException_SetTraceback(value, tb);
  return {Ref::steal(type), Ref::steal(value), Ref::steal(tb)};
}

void RaisedError::restore() noexcept {
  PyErr_Restore(type.release(), value.release(), traceback.release());
}

bool ordinary_error_set() noexcept {
  return PyErr_ExceptionMatches(PyExc_Exception) && !PyErr_ExceptionMatches(PyExc_MemoryError);
}

void ensure_error_set() noexcept {
  if (!PyErr_Occurred())
    PyErr_SetString(PyExc_SystemError, "attempted to fetch exception but none was set");
}

void set_error(PyObject* type, std::string_view text) noexcept {
  Ref msg = Ref::steal(PyUnicode_FromStringAndSize(text.data(), Py_ssize_t(text.size())));
  if (msg) PyErr_SetObject(type, msg.get());
}

void discard_ordinary_error() {
  if (!PyErr_Occurred()) return;
  if (!ordinary_error_set()) throw ErrorAlreadySet();
  PyErr_Clear();
}

namespace {
std::string str_attr(PyObject* o, const char* attr, std::string_view fallback) {
  Ref v = Ref::steal(PyObject_GetAttrString(o, attr));
  std::string out;
  if (v && PyUnicode_Check(v.get()) && utf8(v.get(), out)) return out;
  discard_ordinary_error();
  return std::string(fallback);
}
}  // namespace

std::string type_qualname(PyObject* type, std::string_view fallback) {
  return str_attr(type, "__qualname__", fallback);
}

std::string type_name(PyObject* type) { return str_attr(type, "__name__", ""); }

bool utf8(PyObject* str, std::string& out) {
  Py_ssize_t n = 0;
  const char* s = PyUnicode_AsUTF8AndSize(str, &n);
  if (!s) return false;
  out.assign(s, size_t(n));
  return true;
}

}  // namespace qc::py
