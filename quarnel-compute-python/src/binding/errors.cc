// PanicException and the mapping of C++ exceptions at the boundary.
#include "errors.h"

#include <charconv>
#include <cstdio>
#include <limits>

#include "ownership.h"

namespace qc::py {

namespace {
PyObject* g_panic_type = nullptr;  // the owner's, while it is alive
}  // namespace

Ref panic_exception_type() noexcept {
  if (g_panic_type) return Ref::borrow(g_panic_type);
  Ref made = Ref::steal(PyErr_NewExceptionWithDoc("_compute.PanicException",
                                                  "A broken internal invariant of the extension, "
                                                  "or an integer argument outside the signed "
                                                  "32-bit range.",
                                                  PyExc_BaseException, nullptr));
  if (!made || !track_class(kPanicClass, &g_panic_type, made.get())) return Ref();
  return made;
}

// Writes the report in pieces straight to the unbuffered standard error, allocating nothing:
// a panic met with memory exhausted is still reported, and when the exception cannot be made,
// the interpreter's MemoryError is raised in its place.
void raise_panic(std::string_view message, const SourcePlace* where) noexcept {
  auto put = [](std::string_view text) { std::fwrite(text.data(), 1, text.size(), stderr); };
  put("_compute panicked");
  if (where) {
    char line[16];
    auto end = std::to_chars(line, line + sizeof line, where->line).ptr;
    put(" at ");
    put(where->file);
    put(":");
    put(std::string_view(line, size_t(end - line)));
  }
  put(": ");
  put(message);
  put("\n");
  std::fflush(stderr);
  Ref type = panic_exception_type();
  if (!type) return;  // its creation error stays set
  set_error(type.get(), message);
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
