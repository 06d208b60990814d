// The module entry: a static definition for multi-phase initialisation whose one execution
// step adds the classes and the functions, each also listed in `__all__`.
#include <string>

#include "binder.h"
#include "module_functions.h"
#include "quarnel/compute/model/json.h"

namespace qc::py {
namespace {

// Appends name to the module's `__all__` (made on first use) and binds it to value.
int add_name(PyObject* module, PyObject* name, PyObject* value) {
  Ref all_name = Ref::steal(PyUnicode_InternFromString("__all__"));
  if (!all_name) return -1;
  Ref all = Ref::steal(PyObject_GetAttr(module, all_name.get()));
  if (!all) {
    if (!PyErr_ExceptionMatches(PyExc_AttributeError)) return -1;
    PyErr_Clear();
    all = Ref::steal(PyList_New(0));
    if (!all || PyObject_SetAttr(module, all_name.get(), all.get()) < 0) return -1;
  } else if (!PyList_Check(all.get())) {
    raise_not_instance(all.get(), "list");
    return -1;
  }
  if (PyList_Append(all.get(), name) < 0) {
    RaisedError e = RaisedError::fetch();
    std::string detail;
    if (e.value) {
      detail = type_qualname(reinterpret_cast<PyObject*>(Py_TYPE(e.value.get())));
      Ref text = Ref::steal(PyObject_Str(e.value.get()));
      std::string s;
      if (text && utf8(text.get(), s))
        detail += ": " + s;
      else
        discard_ordinary_error();
    }
    throw Panic("could not append __name__ to __all__: " + detail);
  }
  return PyObject_SetAttr(module, name, value);
}

int add_class(PyObject* module, ClassId c) {
  Ref type = class_ref(c);
  if (!type) return -1;
  Ref name = Ref::steal(PyUnicode_FromString(class_info(c).name));
  if (!name) return -1;
  return add_name(module, name.get(), type.get());
}

int add_function(PyObject* module, PyMethodDef* def) {
  Ref module_name = Ref::steal(PyModule_GetNameObject(module));
  if (!module_name) return -1;
  Ref fn = Ref::steal(PyCMethod_New(def, module, module_name.get(), nullptr));
  if (!fn) return -1;
  Ref name = Ref::steal(PyObject_GetAttrString(fn.get(), "__name__"));
  if (!name) return -1;
  if (!PyUnicode_Check(name.get())) {
    raise_not_instance(name.get(), "str");
    return -1;
  }
  return add_name(module, name.get(), fn.get());
}

int exec_module(PyObject* module) {
  return guarded([&]() -> int {
    if (!PyModule_Check(module)) {
      raise_not_instance(module, "module");
      return -1;
    }
    if (!claim_module(module)) return -1;
    for (size_t c = 0; c < kClassCount; ++c)
      if (add_class(module, static_cast<ClassId>(c)) < 0) return -1;
    for (Line* line = module_functions(); line->def.ml_name; ++line)
      if (add_function(module, &line->def) < 0) return -1;
    return 0;
  });
}

PyModuleDef_Slot g_slots[] = {
    {Py_mod_exec, reinterpret_cast<void*>(&exec_module)},
    {0, nullptr},
};

PyModuleDef g_module = {
    PyModuleDef_HEAD_INIT,
    "_compute",
    "",
    0,
    nullptr,
    g_slots,
    // A module object holds the owner's classes (ownership.h).
    &module_traverse,
    &module_clear,
    &module_freed,
};

// The str that to_json() returns, made from the writer's pieces. Appending a piece to a str that
// nothing else holds grows it in place, so the pieces of a large output reach the returned str
// through one buffer, reused from its start: the str's own new memory is the main cost. That
// holds where the C library's realloc moves a large block by remapping its pages. Windows's
// copies the block instead, which made each append cost the whole text so far (a 1 GiB output
// took minutes): there the pieces after the first kJoinFrom bytes are kept apart and joined once
// at the end, which holds the text twice for a moment but copies it once.
class Output {
 public:
  bool append(std::string_view text) {
    Ref piece = Ref::steal(PyUnicode_FromStringAndSize(text.data(), Py_ssize_t(text.size())));
    if (!piece) return false;
    if (!text_) {
      text_ = std::move(piece);
      return true;
    }
#if defined(_WIN32)
    if (pieces_ || PyUnicode_GetLength(text_.get()) >= kJoinFrom) {
      if (!pieces_) {
        pieces_ = Ref::steal(PyList_New(0));
        if (!pieces_ || PyList_Append(pieces_.get(), text_.get()) < 0) return false;
      }
      return PyList_Append(pieces_.get(), piece.get()) == 0;
    }
#endif
    PyObject* joined = text_.release();
    PyUnicode_Append(&joined, piece.get());  // on failure, releases joined and leaves it null
    text_ = Ref::steal(joined);
    return joined != nullptr;
  }

  // The whole text; null with an exception set on failure.
  // Whether a piece was taken yet: a write that fits its first piece never hands one over.
  bool empty() const noexcept { return !text_; }

  Ref finish() {
    if (!pieces_) return std::move(text_);
    text_ = Ref();
    Ref empty = Ref::steal(PyUnicode_FromStringAndSize("", 0));
    if (!empty) return Ref();
    Ref pieces = std::move(pieces_);
    return Ref::steal(PyUnicode_Join(empty.get(), pieces.get()));
  }

 private:
#if defined(_WIN32)
  static constexpr Py_ssize_t kJoinFrom = Py_ssize_t(64) << 20;
#endif
  Ref text_, pieces_;
};

bool take_piece(void* output, std::string_view piece) {
  // A large tree takes seconds to write: Ctrl-C stops it, raising from its signal handler.
  return !PyErr_CheckSignals() && static_cast<Output*>(output)->append(piece);
}

Ref write_text(Buffer& out, const Value& v, WriterStack* stack = nullptr) {
  Output result;
  if (!write_json(out, v, Drain{&take_piece, &result}, stack)) return Ref();
  // The common case, an output of one piece, goes straight to its str.
  if (result.empty()) [[likely]]
    return Ref::steal(PyUnicode_FromStringAndSize(out.data(), Py_ssize_t(out.size())));
  if (!result.append(out.view())) return Ref();
  return result.finish();
}

// The output memory kept from one call to the next, within the bounds that output.h states.
// Leased with the interpreter lock held.
KeptOutput g_output;

}  // namespace

Ref json_text(const Value& v) {
  KeptOutput::Lease kept(g_output);
  if (!kept) {  // a call made while the kept memory is in use writes with memory of its own
    Buffer out;
    return write_text(out, v);
  }
  return write_text(kept.buffer(), v, &kept.stack());
}

}  // namespace qc::py

// PyMODINIT_FUNC exports it: visibility "default" on Linux, dllexport on Windows.
PyMODINIT_FUNC PyInit__compute() { return PyModuleDef_Init(&qc::py::g_module); }
