// The boundary between C++ and the interpreter: no C++ exception crosses it.
//
// Every entry point runs its body through `guarded`: std::bad_alloc becomes MemoryError,
// ErrorAlreadySet leaves the Python exception set as it is, a Panic (a broken invariant, or
// the 32-bit narrowing of an int) and any other exception become PanicException, which derives
// from BaseException so that `except Exception` lets it through.
//
// One unwind must pass: a thread that the interpreter ends while it finalizes (a daemon thread
// waking up in Python code that released the lock) leaves through pthread_exit(), whose forced
// unwind runs through every frame on the thread's stack, ours included. It is rethrown
// untouched, and no frame that may enclose Python code is noexcept, which would turn that
// unwind into std::terminate. Such a thread holds no interpreter lock: RAII owners release
// nothing then (python_api.h).
#pragma once

#include <exception>
#include <new>
#include <source_location>
#include <string>
#include <string_view>
#include <type_traits>

#include "python_api.h"

namespace qc::py {

class Panic : public std::exception {
 public:
  // A literal is kept by its address: a panic that Python code can cause (an int beyond 32 bits)
  // is then raised with memory exhausted as without.
  explicit Panic(const char* literal, std::source_location where = std::source_location::current())
      : literal_(literal), where_(where) {}
  explicit Panic(std::string message, std::source_location where = std::source_location::current())
      : message_(std::move(message)), where_(where) {}
  const char* what() const noexcept override { return literal_ ? literal_ : message_.c_str(); }
  const std::source_location& where() const noexcept { return where_; }

 private:
  const char* literal_ = nullptr;
  std::string message_;
  std::source_location where_;
};

// Writes the failure report to standard error and raises PanicException(message).
[[gnu::cold]] void raise_panic(std::string_view message,
                               const std::source_location* where) noexcept;

// The PanicException class, created on first use; null with an exception set on failure.
PyObject* panic_exception_type() noexcept;

// The narrowing of an int argument, done when the node is built.
int32_t narrow_i32(int64_t v);

// Raises the C++ exception being handled as its Python exception. Called only in a handler that
// has let a foreign unwind pass (guarded, reporting), so what it rethrows is a C++ exception.
[[gnu::cold]] void raise_cpp_exception() noexcept;

// True in a handler of an unwind that is not a C++ exception: the forced unwind of a thread
// being ended, which passes on untouched. The C++ runtime gives no exception object for it (so
// it is not caught as abi::__forced_unwind, which would bind a reference to no object).
inline bool foreign_unwind() noexcept { return !std::current_exception(); }

// Runs f; its failures leave `fail` (null or -1) returned with a Python exception set.
template <class F>
auto guarded(F&& f) -> decltype(f()) {
  using Result = decltype(f());
  static_assert(std::is_pointer_v<Result> || std::is_same_v<Result, int>);
  try {
    Result r = f();
    if constexpr (std::is_pointer_v<Result>) {
      if (!r) ensure_error_set();
    } else {
      if (r < 0) ensure_error_set();
    }
    return r;
  } catch (...) {
    if (foreign_unwind()) throw;
    raise_cpp_exception();
  }
  if constexpr (std::is_pointer_v<Result>)
    return nullptr;
  else
    return -1;
}

// Runs f, which raises a Python exception; a C++ exception it throws is raised instead.
template <class F>
void reporting(F&& f) {
  try {
    f();
  } catch (...) {
    if (foreign_unwind()) throw;
    raise_cpp_exception();
  }
}

}  // namespace qc::py
