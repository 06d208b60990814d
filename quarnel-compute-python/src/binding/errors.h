// The boundary between C++ and the interpreter: no C++ exception crosses it.
//
// Every entry point runs its body through `guarded`: std::bad_alloc becomes MemoryError,
// ErrorAlreadySet leaves the Python exception set as it is, a Panic (a broken invariant, or
// the 32-bit narrowing of an int) and any other exception become PanicException, which derives
// from BaseException so that `except Exception` lets it through.
//
// A thread that the interpreter ends inside a call never reaches a handler here: it runs none of
// the module's code (quarnel-compute/src/platform/thread.h).
#pragma once

#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <type_traits>

#include "python_api.h"

namespace qc::py {

// The file and line of the code that raised a panic. The defaults of a parameter pair
// (__builtin_FILE(), __builtin_LINE()) take them from the caller, as GCC and clang both do.
struct SourcePlace {
  const char* file;
  unsigned line;
};

class Panic : public std::exception {
 public:
  // A literal is kept by its address: a panic that Python code can cause (an int beyond 32 bits)
  // is then raised with memory exhausted as without.
  explicit Panic(const char* literal, const char* file = __builtin_FILE(),
                 unsigned line = __builtin_LINE())
      : literal_(literal), where_{file, line} {}
  explicit Panic(std::string message, const char* file = __builtin_FILE(),
                 unsigned line = __builtin_LINE())
      : message_(std::move(message)), where_{file, line} {}
  const char* what() const noexcept override { return literal_ ? literal_ : message_.c_str(); }
  const SourcePlace& where() const noexcept { return where_; }

 private:
  const char* literal_ = nullptr;
  std::string message_;
  SourcePlace where_;
};

// Writes the failure report to standard error and raises PanicException(message).
[[gnu::cold]] void raise_panic(std::string_view message, const SourcePlace* where) noexcept;

// The PanicException class, the owner's, made when first needed and kept while anything holds it,
// as the classes are (ownership.h); null with an exception set on failure.
Ref panic_exception_type() noexcept;

// The narrowing of an int argument, done when the node is built.
int32_t narrow_i32(int64_t v);

// Raises the C++ exception being handled as its Python exception.
[[gnu::cold]] void raise_cpp_exception() noexcept;

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
    raise_cpp_exception();
  }
}

}  // namespace qc::py
