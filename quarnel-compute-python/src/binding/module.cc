// The module entry: a static definition for multi-phase initialisation whose one execution
// step adds the classes and the functions, each also listed in `__all__`.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

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
  PyTypeObject* type = class_object(c);
  if (!type) return -1;
  Ref name = Ref::steal(PyUnicode_FromString(class_info(c).name));
  if (!name) return -1;
  return add_name(module, name.get(), reinterpret_cast<PyObject*>(type));
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

// The class objects, PanicException and the interned names are made once, in the interpreter
// that first runs the execution step, and hold that interpreter's objects: it owns the module.
// Another interpreter is refused before anything is made or added, as the interpreter itself
// refuses a module that cannot be loaded in several interpreters; the owner keeps its module.
// Once nothing of the owner's remains (every module object it made is freed, and nothing holds
// a class object or PanicException but the module's own storage, which is what an interpreter
// that has finalized leaves), the next interpreter to load the module owns it and makes its own:
// the owner's objects are forgotten, never touched again, not released (their interpreter and
// its allocator may be gone). So that each interpreter that owns the module in turn does not leave
// them behind, the owner releases them itself once its last module object is freed and nothing
// else holds them (as the interpreter finalizes, its last objects of the module's classes go after
// the module often enough): in its own interpreter, with its allocator, still there. The module
// then belongs to the next interpreter to load it, the owner again included. Every interpreter that
// can load the module shares one lock, so ownership changes under it.
//
// An owner that has ended is gone whatever of its objects remain: a cycle that its last
// collection left (as a debug interpreter's may), or a reference leaked on purpose, is never
// reached again by its interpreter. So the owner marks its interpreter's dict with an object whose
// end, as the interpreter is cleared, tells that the owner has ended; the module then belongs to
// the next interpreter to load it, however many references its class objects still have.
int64_t g_owner = -1;
bool g_owner_ended = false;
std::vector<PyObject*> g_owner_modules;  // the module objects of the owner, until freed

constexpr const char* kOwnerMark = "quarnel.compute._compute.owner";

void owner_mark_cleared(PyObject* mark) {
  if (reinterpret_cast<intptr_t>(PyCapsule_GetContext(mark)) == g_owner) g_owner_ended = true;
}

// Marks the dict of the owner's interpreter, once for each time it owns the module.
bool mark_owner(int64_t id) {
  PyObject* dict = PyInterpreterState_GetDict(PyInterpreterState_Get());
  if (!dict) {
    PyErr_SetString(PyExc_RuntimeError, "the interpreter has no dict to mark its ownership in");
    return false;
  }
  Ref mark = Ref::steal(PyCapsule_New(&g_owner, kOwnerMark, &owner_mark_cleared));
  return mark && PyCapsule_SetContext(mark.get(), reinterpret_cast<void*>(intptr_t(id))) == 0 &&
         PyDict_SetItemString(dict, kOwnerMark, mark.get()) == 0;
}

// The name of a class that the module keeps for its owner (one of the module's classes or
// PanicException: a caught panic, or a traceback whose frames hold one, holds PanicException);
// null for anything else.
const char* kept_class_name(PyObject* kept) noexcept {
  if (!kept) return nullptr;
  if (const ClassInfo* info = class_info_of(kept)) return info->name;
  return is_panic_exception_type(kept) ? "PanicException" : nullptr;
}

bool claim_interpreter(PyObject* module) {
  int64_t id = PyInterpreterState_GetID(PyInterpreterState_Get());
  if (id < 0) return false;
  if (g_owner != id && (g_owner_ended || (g_owner_modules.empty() && kept_objects_unheld()))) {
    // The mark replaced here, of an earlier time this interpreter owned the module, no longer
    // names the owner: its end tells nothing.
    int64_t previous = g_owner;
    g_owner = id;
    if (!mark_owner(id)) {
      g_owner = previous;
      return false;
    }
    forget_kept_objects();
    forget_classes();
    g_owner_modules.clear();  // an ended owner's modules that a cycle held are never freed
    g_owner_ended = false;
  }
  if (g_owner == id) {
    g_owner_done = false;
    try {
      g_owner_modules.push_back(module);
    } catch (const std::bad_alloc&) {
      PyErr_NoMemory();
      return false;
    }
    return true;
  }
  Ref name = Ref::steal(PyModule_GetNameObject(module));
  if (!name) return false;
  // An owner whose modules are all freed keeps the module while it holds any of its objects:
  // the refusal names a class of them, for the holder to be found.
  std::string held;
  if (const char* kept = g_owner_modules.empty() ? kept_class_name(held_kept_object()) : nullptr)
    held = std::string("; it still holds objects of class ") + kept;
  Ref message =
      Ref::steal(PyUnicode_FromFormat("module %U does not support loading in more than one "
                                      "interpreter: it was loaded in interpreter %lld%s",
                                      name.get(), static_cast<long long>(g_owner), held.c_str()));
  if (message) PyErr_SetImportError(message.get(), name.get(), nullptr);
  return false;
}

void free_module(void* module) {
  auto at = std::find(g_owner_modules.begin(), g_owner_modules.end(), module);
  if (at == g_owner_modules.end()) return;
  g_owner_modules.erase(at);
  g_owner_done = g_owner_modules.empty();
  if (g_owner_done) release_when_done();
}

}  // namespace

bool g_owner_done = false;

void release_when_done() noexcept {
  if (!g_owner_done || PyInterpreterState_GetID(PyInterpreterState_Get()) != g_owner) return;
  if (!kept_objects_unheld()) {
    // Still held (by a caught panic, say, whose end no code of the module sees): the memory of
    // the objects freed goes back now, which an interpreter that takes the module over later
    // would forget.
    release_freed_objects();
    return;
  }
  g_owner_done = false;
  g_owner = -1;
  release_classes();
  release_kept_objects();
}

namespace {

int exec_module(PyObject* module) {
  return guarded([&]() -> int {
    if (!PyModule_Check(module)) {
      raise_not_instance(module, "module");
      return -1;
    }
    if (!claim_interpreter(module)) return -1;
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
    PyModuleDef_HEAD_INIT, "_compute", "", 0, nullptr, g_slots, nullptr, nullptr, &free_module,
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
