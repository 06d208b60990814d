// The floor of the call benchmarks: the least that each measured call needs through the stable
// ABI, with nothing of the module's own. run.py compiles it beside the module, with the same
// compiler, optimisation and ABI level, and times the same calls on both.
//
// An object holds one reference-counted node of two children and a double (or a text, for
// to_json). Each call checks its operands' types, reads its number, makes the nodes that the
// wire form needs and one object of a heap type through the type's allocation slot; nothing is
// validated or written. The nodes are those the model makes: `s + 2.0` one; a method two, the
// node that wraps `self` as a series and the method's own; a function of a list two, the list
// and the function's node.
#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

struct Node {
  std::atomic<uint32_t> refs;
  uint32_t count;  // children in use
  Node* children[2];
  double number;
};

struct Object {
  PyObject_HEAD Node* node;
  char* text;  // to_json's bytes, or null
  Py_ssize_t size;
};

PyTypeObject* g_type = nullptr;
PyObject* g_window = nullptr;  // the keyword's interned name

void release(Node* n) {
  if (!n || n->refs.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
  for (uint32_t i = 0; i < n->count; ++i) release(n->children[i]);
  std::free(n);
}

Node* make_node(Node* a, Node* b, double number) {
  auto* n = static_cast<Node*>(std::malloc(sizeof(Node)));
  if (!n) return nullptr;
  new (&n->refs) std::atomic<uint32_t>(1);
  n->count = 0;
  for (Node* c : {a, b})
    if (c) {
      c->refs.fetch_add(1, std::memory_order_relaxed);
      n->children[n->count++] = c;
    }
  n->number = number;
  return n;
}

// A node over `inner`, a node just made (its reference passes to the new node), and `other`.
Node* make_over(Node* inner, Node* other) {
  if (!inner) return nullptr;
  Node* n = make_node(inner, other, 0);
  release(inner);
  return n;
}

PyObject* wrap(Node* n) {
  if (!n) return PyErr_NoMemory();
  auto alloc = reinterpret_cast<allocfunc>(PyType_GetSlot(g_type, Py_tp_alloc));
  auto* o = reinterpret_cast<Object*>(alloc(g_type, 0));
  if (!o) {
    release(n);
    return nullptr;
  }
  o->node = n;
  return reinterpret_cast<PyObject*>(o);
}

bool is_floor(PyObject* o) { return PyObject_TypeCheck(o, g_type); }
Node* node_of(PyObject* o) { return reinterpret_cast<Object*>(o)->node; }

void dealloc(PyObject* self) {
  auto* o = reinterpret_cast<Object*>(self);
  PyTypeObject* type = Py_TYPE(self);
  release(o->node);
  std::free(o->text);
  auto free_slot = reinterpret_cast<freefunc>(PyType_GetSlot(type, Py_tp_free));
  free_slot(self);
  Py_DECREF(type);
}

// s + 2.0
PyObject* add(PyObject* left, PyObject* right) {
  if (!is_floor(left)) Py_RETURN_NOTIMPLEMENTED;
  double d = PyFloat_AsDouble(right);
  if (d == -1.0 && PyErr_Occurred()) return nullptr;
  return wrap(make_node(node_of(left), nullptr, d));
}

// s.rolling_time(window=w): one parameter, given by position or keyword.
PyObject* rolling_time(PyObject* self, PyObject* const* args, Py_ssize_t nargs,
                       PyObject* kwnames) {
  PyObject* window = nargs == 1 ? args[0] : nullptr;
  Py_ssize_t nkw = kwnames ? PyTuple_Size(kwnames) : 0;
  if (nargs + nkw != 1 || (nkw && PyTuple_GetItem(kwnames, 0) != g_window)) {
    PyErr_SetString(PyExc_TypeError, "rolling_time() takes one argument, window");
    return nullptr;
  }
  if (!window) window = args[0];
  if (!is_floor(self) || !is_floor(window)) {
    PyErr_SetString(PyExc_TypeError, "not a floor object");
    return nullptr;
  }
  return wrap(make_over(make_node(node_of(self), nullptr, 0), node_of(window)));
}

// max([a, b])
PyObject* max(PyObject*, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
  if (nargs != 1 || kwnames || !PyList_Check(args[0]) || PyList_Size(args[0]) > 2) {
    PyErr_SetString(PyExc_TypeError, "max() takes a list of at most two");
    return nullptr;
  }
  Node* children[2] = {nullptr, nullptr};
  for (Py_ssize_t i = 0, n = PyList_Size(args[0]); i < n; ++i) {
    PyObject* item = PyList_GetItem(args[0], i);
    if (!is_floor(item)) {
      PyErr_SetString(PyExc_TypeError, "not a floor object");
      return nullptr;
    }
    children[i] = node_of(item);
  }
  return wrap(make_over(make_node(children[0], children[1], 0), nullptr));
}

PyObject* to_json(PyObject* self, PyObject*) {
  if (!is_floor(self)) {
    PyErr_SetString(PyExc_TypeError, "not a floor object");
    return nullptr;
  }
  auto* o = reinterpret_cast<Object*>(self);
  return PyUnicode_FromStringAndSize(o->text ? o->text : "", o->size);
}

// Floor(): a leaf; Floor.with_text(b): a leaf whose to_json() is the bytes b.
PyObject* make(PyTypeObject*, PyObject*, PyObject*) { return wrap(make_node(nullptr, nullptr, 0)); }

PyObject* with_text(PyObject*, PyObject* data) {
  char* bytes;
  Py_ssize_t size;
  if (PyBytes_AsStringAndSize(data, &bytes, &size) < 0) return nullptr;
  PyObject* o = wrap(make_node(nullptr, nullptr, 0));
  if (!o) return nullptr;
  auto* f = reinterpret_cast<Object*>(o);
  f->text = static_cast<char*>(std::malloc(size_t(size) + 1));
  if (!f->text) {
    Py_DECREF(o);
    return PyErr_NoMemory();
  }
  std::memcpy(f->text, bytes, size_t(size));
  f->size = size;
  return o;
}

PyMethodDef g_methods[] = {
    {"rolling_time", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(&rolling_time)),
     METH_FASTCALL | METH_KEYWORDS, nullptr},
    {"to_json", &to_json, METH_NOARGS, nullptr},
    {"with_text", &with_text, METH_O | METH_STATIC, nullptr},
    {nullptr, nullptr, 0, nullptr},
};

PyMethodDef g_functions[] = {
    {"max", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(&max)),
     METH_FASTCALL | METH_KEYWORDS, nullptr},
    {nullptr, nullptr, 0, nullptr},
};

PyType_Slot g_slots[] = {
    {Py_tp_dealloc, reinterpret_cast<void*>(&dealloc)},
    {Py_tp_new, reinterpret_cast<void*>(&make)},
    {Py_nb_add, reinterpret_cast<void*>(&add)},
    {Py_tp_methods, g_methods},
    {0, nullptr},
};

PyType_Spec g_spec = {"floor.Floor", sizeof(Object), 0, Py_TPFLAGS_DEFAULT, g_slots};

int exec(PyObject* module) {
  g_window = PyUnicode_InternFromString("window");
  if (!g_window) return -1;
  g_type = reinterpret_cast<PyTypeObject*>(PyType_FromSpec(&g_spec));
  if (!g_type) return -1;
  Py_INCREF(g_type);
  if (PyModule_AddObject(module, "Floor", reinterpret_cast<PyObject*>(g_type)) < 0) return -1;
  return PyModule_AddFunctions(module, g_functions);
}

PyModuleDef_Slot g_module_slots[] = {{Py_mod_exec, reinterpret_cast<void*>(&exec)}, {0, nullptr}};
PyModuleDef g_module = {PyModuleDef_HEAD_INIT, "floor", nullptr, 0, nullptr,
                        g_module_slots,        nullptr, nullptr, nullptr};

}  // namespace

extern "C" __attribute__((visibility("default"))) PyObject* PyInit_floor() {
  return PyModuleDef_Init(&g_module);
}
