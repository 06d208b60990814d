// PanicException and the mapping of C++ exceptions at the boundary.
#include "errors.h"

#include <cstdio>
#include <cstdlib>
#include <limits>

namespace qc::py {

PyObject* panic_exception_type() noexcept {
  static PyObject* type = nullptr;  // kept for the life of the process
  if (!type)
    type = PyErr_NewExceptionWithDoc("_compute.PanicException",
                                     "A broken internal invariant of the extension, or an integer "
                                     "argument outside the signed 32-bit range.",
                                     PyExc_BaseException, nullptr);
  return type;
}

void raise_panic(std::string_view message, const std::source_location* where) noexcept {
  try {
    std::string report = "_compute panicked";
    if (where)
      report += std::string(" at ") + where->file_name() + ":" + std::to_string(where->line());
    report += ": ";
    report += message;
    report += '\n';
    std::fwrite(report.data(), 1, report.size(), stderr);
    std::fflush(stderr);
    PyObject* type = panic_exception_type();
    if (!type) return;  // its creation error stays set
    set_error(type, message);
  } catch (...) {
    // A failure while reporting a failure leaves nothing sound to return to.
    std::fputs("uncaught panic at ffi boundary\n", stderr);
    std::abort();
  }
}

int32_t narrow_i32(int64_t v) {
  if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
    throw Panic("integer value exceeds i32 range: TryFromIntError(())");
  return static_cast<int32_t>(v);
}

void raise_cpp_exception() noexcept {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    PyErr_NoMemory();
  } catch (const ErrorAlreadySet&) {
    ensure_error_set();
  } catch (const Panic& p) {
    raise_panic(p.what(), &p.where());
  } catch (const std::exception& e) {
    raise_panic(e.what(), nullptr);
  } catch (...) {
    raise_panic("internal failure without a message", nullptr);
  }
}

}  // namespace qc::py
