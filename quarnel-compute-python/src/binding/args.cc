// Conversion of Python arguments into the values of their forms, with the refusal texts.
#include "args.h"

#include <algorithm>
#include <bit>
#include <string>
#include <string_view>
#include <vector>

#include "errors.h"
#include "ownership.h"
#include "quarnel/compute/builders.h"

namespace qc::py {

using namespace std::string_literals;

namespace {

// At most this many elements are reserved ahead of iteration, whatever len() claims.
constexpr size_t kMaxReserve = 1024;

// "TypeError: message": the exception's type's qualified name and its str().
std::string describe(PyObject* exc) {
  std::string out = type_qualname(reinterpret_cast<PyObject*>(Py_TYPE(exc))) + ": ";
  Ref text = Ref::steal(PyObject_Str(exc));
  std::string s;
  if (text && utf8(text.get(), s)) return out + s;
  discard_ordinary_error();
  return out + "<exception str() failed>";
}

// ", caused by ..." for exc and each exception along its __cause__ chain. A chain that loops
// back on itself ends at the first exception already described; one that a __str__ keeps
// extending ends after kMaxCauses links.
std::string cause_chain(PyObject* exc) {
  constexpr size_t kMaxCauses = 1000;
  std::string out;
  std::vector<PyObject*> seen;
  Ref current = Ref::borrow(exc);
  while (current && seen.size() < kMaxCauses &&
         std::find(seen.begin(), seen.end(), current.get()) == seen.end()) {
    seen.push_back(current.get());
    out += ", caused by " + describe(current.get());
    current = Ref::steal(PyException_GetCause(current.get()));
  }
  return out;
}

// Both alternatives of a two-way form failed: the Native0 exception is set. Builds the
// three-line TypeError. An exception that is not an ordinary error (an interrupt, an exit,
// memory exhaustion) is not folded into a message but left to propagate.
[[gnu::cold, gnu::noinline]] bool two_way_failed(PyObject* o, ClassId cls, const char* input) {
  if (!ordinary_error_set()) return false;
  RaisedError native = RaisedError::fetch();
  reporting([&] {
    std::string k = input;
    std::string text = "failed to extract enum " + k + " ('Wrapped | Native0')";
    text += "\n- variant Wrapped (Wrapped): TypeError: failed to extract field " + k +
            "::Wrapped.0, caused by TypeError: " + not_instance_message(o, cls);
    text += "\n- variant Native0 (Native0): TypeError: failed to extract field " + k +
            "::Native0.0" + cause_chain(native.value.get());
    set_error(PyExc_TypeError, text);
  });
  return false;
}

bool native_float(PyObject* o, double& out) {
  out = PyFloat_AsDouble(o);
  return !(out == -1.0 && PyErr_Occurred());
}

bool native_int(PyObject* o, int64_t& out) {
  if constexpr (sizeof(long) == sizeof(int64_t)) {
    out = PyLong_AsLong(o);
  } else {
    // Where a C long has 32 bits (Windows), the 64-bit conversion words its overflow otherwise
    // than PyLong_AsLong where a long has 64: the interpreter's message for an int beyond 64 bits
    // is made the one of every platform. The int is taken first, so that an OverflowError that
    // the object's own __index__ raises passes unchanged.
    Ref index = Ref::steal(PyNumber_Index(o));
    if (!index) return false;
    out = PyLong_AsLongLong(index.get());
    if (out == -1 && PyErr_Occurred()) {
      if (PyErr_ExceptionMatches(PyExc_OverflowError))
        PyErr_SetString(PyExc_OverflowError, "Python int too large to convert to C long");
      return false;
    }
    return true;
  }
  return !(out == -1 && PyErr_Occurred());
}

bool native_text(PyObject* o, std::string& out) {
  if (!PyUnicode_Check(o)) {
    raise_not_instance(o, "str");
    return false;
  }
  return utf8(o, out);
}

// A float, int or str itself is never an object of a class of the module: the usual plain
// operand skips the walk through its type's bases that the class test would take.
inline bool builtin_scalar(PyObject* o) noexcept {
  return PyFloat_CheckExact(o) || PyLong_CheckExact(o) || PyUnicode_CheckExact(o);
}

template <ClassId C, class In, class Native>
bool two_way(PyObject* o, const char* input, In& out, Native native) {
  if (!builtin_scalar(o) && holds<C>(o)) {
    out.wrapped = held<C>(o);
    return true;
  }
  if (native(o, out.native)) return true;
  return two_way_failed(o, C, input);
}

// Invalid sequences become U+FFFD, one per maximal ill-formed subpart.
std::string lossy_utf8(std::string_view in) {
  static constexpr char kReplacement[] = "\xEF\xBF\xBD";
  std::string out;
  out.reserve(in.size());
  size_t i = 0;
  while (i < in.size()) {
    auto c = static_cast<unsigned char>(in[i]);
    if (c < 0x80) {
      out += char(c);
      ++i;
      continue;
    }
    size_t len = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF)
      len = 2;
    else if (c == 0xE0)
      len = 3, lo = 0xA0;
    else if (c == 0xED)
      len = 3, hi = 0x9F;
    else if (c >= 0xE1 && c <= 0xEF)
      len = 3;
    else if (c == 0xF0)
      len = 4, lo = 0x90;
    else if (c == 0xF4)
      len = 4, hi = 0x8F;
    else if (c >= 0xF1 && c <= 0xF3)
      len = 4;
    size_t j = 1;
    for (; len && j < len && i + j < in.size(); ++j) {
      auto d = static_cast<unsigned char>(in[i + j]);
      if (d < (j == 1 ? lo : 0x80) || d > (j == 1 ? hi : 0xBF)) break;
    }
    if (len && j == len) {
      out.append(in.substr(i, len));
      i += len;
    } else {
      out += kReplacement;
      i += len ? j : 1;
    }
  }
  return out;
}

}  // namespace

bool str_text(PyObject* o, std::string& out) {
  Ref s = Ref::steal(PyObject_Str(o));
  if (!s) {
    if (!ordinary_error_set()) return false;
    PyErr_WriteUnraisable(o);
    std::string name = type_name(reinterpret_cast<PyObject*>(Py_TYPE(o)));
    out = name.empty() ? "<unprintable object>" : "<unprintable " + name + " object>";
    return true;
  }
  if (utf8(s.get(), out)) return true;
  discard_ordinary_error();
  Ref bytes = Ref::steal(PyUnicode_AsEncodedString(s.get(), "utf-8", "surrogatepass"));
  char* data = nullptr;
  Py_ssize_t n = 0;
  if (!bytes || PyBytes_AsStringAndSize(bytes.get(), &data, &n) < 0) return false;
  out = lossy_utf8(std::string_view(data, size_t(n)));
  return true;
}

namespace {

template <class T>
bool named(PyObject* o, T& out, const char* enum_name) {
  std::string text;
  if (!str_text(o, text)) return false;
  builders::Converted<T> c = builders::try_from<T>(text);
  if (c.ok()) {
    out = c.value();
    return true;
  }
  set_error(PyExc_ValueError,
            "Failed to convert '" + text + "' to " + enum_name + " enum: " + c.error().message());
  return false;
}

}  // namespace

bool Arg<double>::convert(PyObject* o, double& out) { return native_float(o, out); }
bool Arg<int32_t>::convert(PyObject* o, int64_t& out) { return native_int(o, out); }
int32_t Arg<int32_t>::finish(int64_t&& in) { return narrow_i32(in); }
bool Arg<std::string_view>::convert(PyObject* o, std::string& out) { return native_text(o, out); }

template <>
bool TwoWay<model::NumericSeries, double>::convert(PyObject* o, Storage& out) {
  return two_way<ClassId::NumericSeries>(o, "NumericSeriesInput", out, native_float);
}
template <>
bool TwoWay<model::DoubleConstant, double>::convert(PyObject* o, Storage& out) {
  return two_way<ClassId::FloatConstant>(o, "FloatConstantInput", out, native_float);
}
template <>
bool TwoWay<model::IntegerConstant, int64_t>::convert(PyObject* o, Storage& out) {
  return two_way<ClassId::IntegerConstant>(o, "IntegerConstantInput", out, native_int);
}
template <>
bool TwoWay<model::StringConstant, std::string>::convert(PyObject* o, Storage& out) {
  return two_way<ClassId::StringConstant>(o, "StringConstantInput", out, native_text);
}
template <>
bool TwoWay<model::ConstantNumericSeries, double>::convert(PyObject* o, Storage& out) {
  return two_way<ClassId::ConstantNumericSeries>(o, "ConstantNumericSeriesInput", out,
                                                 native_float);
}

// A plain value is the literal of the constant, and a plain number used as a series the
// constant series of its literal.
template <>
builders::DoubleConstant TwoWay<model::DoubleConstant, double>::finish(Storage&& in) {
  if (!in.wrapped.is_none()) return std::move(in.wrapped);
  return builders::double_constant_literal(in.native);
}
template <>
builders::IntegerConstant TwoWay<model::IntegerConstant, int64_t>::finish(Storage&& in) {
  if (!in.wrapped.is_none()) return std::move(in.wrapped);
  return builders::integer_constant_literal(narrow_i32(in.native));
}
template <>
builders::StringConstant TwoWay<model::StringConstant, std::string>::finish(Storage&& in) {
  if (!in.wrapped.is_none()) return std::move(in.wrapped);
  return builders::string_constant_literal(in.native);
}
template <>
builders::ConstantNumericSeries TwoWay<model::ConstantNumericSeries, double>::finish(Storage&& in) {
  if (!in.wrapped.is_none()) return std::move(in.wrapped);
  return builders::constant_numeric_series_number(in.native);
}
namespace {
// The constant series of the number last used as one, kept and shared: `s = s + 1.0` in a loop,
// or the same factor in every term of a sum, would otherwise make and then free the same node at
// each step. Values never change, so the sharing is never seen. Only touched with the
// interpreter lock held.
builders::NumericSeries g_last_number;
uint64_t g_last_number_bits = 0;
}  // namespace

template <>
builders::NumericSeries TwoWay<model::NumericSeries, double>::finish(Storage&& in) {
  if (!in.wrapped.is_none()) return std::move(in.wrapped);
  auto bits = std::bit_cast<uint64_t>(in.native);
  if (bits != g_last_number_bits || g_last_number.is_none()) {
    g_last_number = builders::numeric_series_number(in.native);
    g_last_number_bits = bits;
  }
  return g_last_number;
}

bool Arg<builders::Series>::convert(PyObject* o, builders::Series& out) {
  if (holds<ClassId::CategoricalSeries>(o))
    out = as_series(held<ClassId::CategoricalSeries>(o));
  else if (holds<ClassId::NumericSeries>(o))
    out = as_series(held<ClassId::NumericSeries>(o));
  else if (holds<ClassId::StructSeries>(o))
    out = as_series(held<ClassId::StructSeries>(o));
  else {
    set_error(PyExc_TypeError,
              "Expected one of: enum (Class(CategoricalSeries)), numeric (Class(NumericSeries)), "
              "struct (Class(StructSeries))");
    return false;
  }
  return true;
}

namespace {

// A name written in Python source is an interned str, so comparing it with the interned names
// by identity settles almost every call; anything else takes the text path.
template <class Enum, class T>
bool by_identity(PyObject* o, T& out) {
  static constexpr size_t count = Enum::qc_enum_.count;
  static PyObject* names[count] = {};
  if (!names[0]) {
    for (size_t i = 0; i < count; ++i) {
      std::string_view name = builders::name_of(T(i));
      PyObject* interned = PyUnicode_FromStringAndSize(name.data(), Py_ssize_t(name.size()));
      if (interned) PyUnicode_InternInPlace(&interned);
      if (!interned || (i + 1 == count && !keep_for_interpreter(names, count))) {
        PyErr_Clear();
        Py_XDECREF(interned);
        for (size_t j = 0; j < i; ++j) Py_CLEAR(names[j]);
        return false;
      }
      names[i] = interned;
    }
  }
  for (size_t i = 0; i < count; ++i)
    if (o == names[i]) {
      out = T(i);
      return true;
    }
  return false;
}

}  // namespace

bool Arg<builders::TimeUnit>::convert(PyObject* o, builders::TimeUnit& out) {
  return by_identity<model::api::TimeUnit>(o, out) || named(o, out, "TimeUnit");
}
bool Arg<builders::NumericDataType>::convert(PyObject* o, builders::NumericDataType& out) {
  return by_identity<model::objects::NumericDataType>(o, out) || named(o, out, "NumericDataType");
}

bool Arg<Handle<Map<String, model::Series>>>::convert(PyObject* o, Storage& out) {
  if (!PyDict_Check(o)) {
    raise_not_instance(o, "dict");
    return false;
  }
  Py_ssize_t pos = 0;
  PyObject *key, *value;
  while (PyDict_Next(o, &pos, &key, &value)) {
    std::string name;
    builders::Series series;
    if (!native_text(key, name) || !Arg<builders::Series>::convert(value, series)) return false;
    out.emplace_back(std::move(name), std::move(series).value());
  }
  return true;
}

bool begin_sequence(PyObject* o, Ref& iterator, size_t& reserve) {
  if (PyUnicode_Check(o)) {
    set_error(PyExc_TypeError, "Can't extract `str` to `Vec`");
    return false;
  }
  if (!PySequence_Check(o)) {
    raise_not_instance(o, "Sequence");
    return false;
  }
  Py_ssize_t hint = PySequence_Size(o);
  if (hint < 0) {
    if (!ordinary_error_set()) return false;
    PyErr_Clear();
    hint = 0;
  }
  reserve = std::min(size_t(hint), kMaxReserve);
  iterator = Ref::steal(PyObject_GetIter(o));
  return bool(iterator);
}

}  // namespace qc::py
