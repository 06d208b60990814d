// The Python classes: declared once, in quarnel/compute/classes.h (QC_CLASSES), each with the
// model type its objects hold; their ids, count, names, held types, class objects and `to_json`
// all follow from that one list, and builders.h declares their model types from it.
//
// Every object holds exactly one model value. Values are immutable and reference-counted, so
// "copy the value of self" is a handle copy, and an object needs no borrow bookkeeping.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "python_api.h"
#include "quarnel/compute/builders.h"

namespace qc::py {

enum class ClassId : uint8_t {
#define QC_PY_CLASS_ID_(Name, Model) Name,
  QC_CLASSES(QC_PY_CLASS_ID_)
#undef QC_PY_CLASS_ID_
};
#define QC_PY_COUNT_(Name, Model) +1
inline constexpr size_t kClassCount = 0 QC_CLASSES(QC_PY_COUNT_);
#undef QC_PY_COUNT_

// The model type a class holds, and the class that holds a model type.
template <ClassId C>
struct ClassModel;
template <class Model>
inline constexpr bool kHeldByClass = false;
template <class Model>
inline constexpr ClassId class_of{};
#define QC_PY_CLASS_MODEL_(Name, Model)                    \
  template <>                                              \
  struct ClassModel<ClassId::Name> {                       \
    using type = model::Model;                             \
  };                                                       \
  template <>                                              \
  inline constexpr bool kHeldByClass<model::Model> = true; \
  template <>                                              \
  inline constexpr ClassId class_of<model::Model> = ClassId::Name;
QC_CLASSES(QC_PY_CLASS_MODEL_)
#undef QC_PY_CLASS_MODEL_

// The value an object of class C holds.
template <ClassId C>
using Held = Handle<typename ClassModel<C>::type>;

// The Python name of a class.
constexpr std::string_view class_name(ClassId c) {
  constexpr std::string_view names[] = {
#define QC_PY_CLASS_NAME_(Name, Model) #Name,
      QC_CLASSES(QC_PY_CLASS_NAME_)
#undef QC_PY_CLASS_NAME_
  };
  return names[size_t(c)];
}

struct ClassInfo {
  const char* name;       // Python name
  const char* type_name;  // "_compute." + name: the interpreter keeps pointing at it
};
const ClassInfo& class_info(ClassId c) noexcept;
// The name and type name of o when it is one of the owner's class objects; null otherwise.
const ClassInfo* class_info_of(const PyObject* o) noexcept;

struct Line;
// What a class declares beyond the common parts: what it holds, as the stubs and the reference
// say it; its method table (static storage, ended by an empty line; `to_json` is added after
// it; the order of the table is the order of the class's declaration, so a new method takes its
// place in it); its number, comparison or constructor slots (ended by {0, nullptr}); and, for a
// class with a constructor, the constructor's line, whose docstring (the text signature) becomes
// the class's.
struct ClassDef {
  const char* about;
  const Line* methods;
  const PyType_Slot* slots = nullptr;
  const Line* constructor = nullptr;
};
// Each class's source file defines the specialisation for its class.
template <ClassId C>
ClassDef class_def();

// Instance layout: the object header, then the held value.
template <ClassId C>
struct Object {
  PyObject_HEAD Held<C> value;
};

// The class object: the owner's, made when first used and kept while anything holds it (see
// ownership.h). A new reference, or null with RuntimeError set (cause: the interpreter's error).
Ref class_ref(ClassId c);
// Null while the owner has no such class alive. Read inline: every operand check and new object
// asks.
extern PyTypeObject* g_class_objects[kClassCount];
inline PyTypeObject* created_class(ClassId c) noexcept { return g_class_objects[size_t(c)]; }

// True when o is an object of class C holding a value. An object made by a reassigned
// `__new__` holds nothing and fails this test, so no method ever reads it.
template <ClassId C>
bool holds(PyObject* o) noexcept {
  PyTypeObject* t = created_class(C);
  return t && PyObject_TypeCheck(o, t) && !reinterpret_cast<Object<C>*>(o)->value.is_none();
}
template <ClassId C>
const Held<C>& held(PyObject* o) noexcept {
  return reinterpret_cast<Object<C>*>(o)->value;
}

// The type-mismatch TypeError: "'{}' object is not an instance of '{}'".
[[gnu::cold]] void raise_not_instance(PyObject* o, ClassId c);
[[gnu::cold]] void raise_not_instance(PyObject* o, std::string_view expected);
[[gnu::cold]] std::string not_instance_message(PyObject* o, std::string_view expected);
[[gnu::cold]] std::string not_instance_message(PyObject* o, ClassId c);

// The memory of a new object, from the objects recently freed or from the allocator; null with
// MemoryError set.
void* object_memory() noexcept;
// Forgets the memory of the objects recently freed, of an owner whose interpreter (and
// allocator) may be gone.
void forget_freed_objects() noexcept;
// Gives the memory of the objects recently freed back to the allocator, in the interpreter that
// made them.
void release_freed_objects() noexcept;

// A new object of class C (or of the given class object) owning v; null with the interpreter's
// exception set when it cannot be made.
template <ClassId C>
PyObject* new_object(PyTypeObject* type, Held<C> v) noexcept {
  void* mem = object_memory();
  if (!mem) return nullptr;                                        // v is released on return
  PyObject* o = PyObject_Init(static_cast<PyObject*>(mem), type);  // takes a reference to type
  new (&reinterpret_cast<Object<C>*>(o)->value) Held<C>(std::move(v));
  return o;
}
[[noreturn, gnu::cold]] void missing_class(ClassId c);
// The class is made again when nothing held it since the owner's modules were freed.
template <ClassId C>
[[gnu::cold, gnu::noinline]] PyObject* new_object_of_new_class(Held<C> v) {
  Ref t = class_ref(C);
  if (!t) missing_class(C);
  return new_object<C>(reinterpret_cast<PyTypeObject*>(t.get()), std::move(v));
}
template <ClassId C>
PyObject* new_object(Held<C> v) {
  PyTypeObject* t = created_class(C);
  if (!t) [[unlikely]]
    return new_object_of_new_class<C>(std::move(v));
  return new_object<C>(t, std::move(v));
}

}  // namespace qc::py
