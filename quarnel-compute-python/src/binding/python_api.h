// The one include of the interpreter's API, and RAII owners for its references.
//
// Only the stable ABI of CPython 3.10 is used: the library is built once and loaded by every
// later interpreter, so nothing newer (vectorcall, PyType_GetQualName, the raised-exception
// calls) may appear here.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#if !defined(Py_LIMITED_API) || Py_LIMITED_API + 0 != 0x030A0000
#error "the extension is built against the stable ABI of CPython 3.10 only"
#endif

// A debug interpreter counts every reference made (sys.gettotalrefcount()): an extension built
// without Py_DEBUG against it would make its count climb without a leak. CMake tells which
// kind the interpreter is, where it can run it.
#if defined(QC_PYTHON_DEBUG) && QC_PYTHON_DEBUG != defined(Py_DEBUG)
#error \
    "Py_DEBUG is not the interpreter's: the headers read are of its other build (debug or release)"
#endif

// A build for another machine than the interpreter's (the aarch64 release build on an x86_64
// host) reads the host's configuration header: the stable ABI's headers take from it the sizes
// of the C types and the byte order, which must be the target's.
static_assert(SIZEOF_VOID_P == sizeof(void*) && SIZEOF_SIZE_T == sizeof(size_t) &&
                  SIZEOF_LONG == sizeof(long) && SIZEOF_INT == sizeof(int) &&
                  SIZEOF_WCHAR_T == sizeof(wchar_t),
              "pyconfig.h is of a machine whose C types have other sizes than the target's");
#if defined(__BYTE_ORDER__) && defined(WORDS_BIGENDIAN) != (__BYTE_ORDER__ == __ORDER_BIG_ENDIAN__)
#error "pyconfig.h is of a machine of the other byte order than the target's"
#endif

#include <exception>
#include <string>
#include <string_view>
#include <utility>

namespace qc::py {

// Drops a reference that C++ code owns, if any.
inline void drop(PyObject* o) noexcept { Py_XDECREF(o); }

// Owns one strong reference (or none).
class Ref {
 public:
  Ref() noexcept = default;
  Ref(const Ref& o) noexcept : p_(o.p_) { Py_XINCREF(p_); }
  Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  Ref& operator=(Ref o) {
    std::swap(p_, o.p_);
    return *this;
  }
  ~Ref() { drop(p_); }

  static Ref steal(PyObject* o) noexcept { return Ref(o); }
  static Ref borrow(PyObject* o) noexcept {
    Py_XINCREF(o);
    return Ref(o);
  }

  PyObject* get() const noexcept { return p_; }
  PyObject* release() noexcept { return std::exchange(p_, nullptr); }
  explicit operator bool() const noexcept { return p_ != nullptr; }

 private:
  explicit Ref(PyObject* o) noexcept : p_(o) {}
  PyObject* p_ = nullptr;
};

// The exception being raised, taken off the interpreter (normalised) and put back on demand.
// Only the calls of 3.10 exist in the stable ABI for this (fetch, normalise, restore).
struct RaisedError {
  Ref type, value, traceback;

  // Takes the current exception; an empty result when none is set.
  static RaisedError fetch();
  // Raises it again; the object is left empty.
  void restore() noexcept;
  explicit operator bool() const noexcept { return bool(type); }
};

// True when the exception set is an ordinary error that a caller may discard: an `Exception`
// other than `MemoryError`. Interrupts, exits, memory exhaustion and everything else derived
// from `BaseException` only must reach the caller.
bool ordinary_error_set() noexcept;

// Raises SystemError when an interpreter call reported failure without setting an exception.
void ensure_error_set() noexcept;

// Raises `type` with the UTF-8 text as its message, embedded NULs kept; when the text cannot
// be made a str, that failure is raised instead.
void set_error(PyObject* type, std::string_view text) noexcept;

// Thrown by a helper that met an exception which must reach the caller as it is (an interrupt,
// an exit, exhausted memory): the exception stays set and the call ends with it.
struct ErrorAlreadySet : std::exception {
  const char* what() const noexcept override { return "a Python exception is set"; }
};

// Discards the exception set when it is an ordinary error, for a message to take a fallback
// text instead; throws ErrorAlreadySet, leaving it set, when it is anything else.
void discard_ordinary_error();

// The `__qualname__` of a type, or the fallback when it cannot be read as text. Both read the
// attribute through the metaclass, which may run Python code: an interrupt raised there is
// thrown as ErrorAlreadySet.
std::string type_qualname(PyObject* type,
                          std::string_view fallback = "<failed to extract type name>");
// The `__name__` of a type; empty when it cannot be read.
std::string type_name(PyObject* type);
// The UTF-8 text of a `str`; false (exception set) when it cannot be encoded.
bool utf8(PyObject* str, std::string& out);

}  // namespace qc::py
