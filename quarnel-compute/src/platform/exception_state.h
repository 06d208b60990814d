// The C++ runtime's per-thread exception state, which the platforms' thread code makes for the
// loading thread while memory is plentiful (the runtime allocates it on a thread's first throw,
// and aborts the process when that fails).
#pragma once

#include <cxxabi.h>

#if defined(_LIBCPP_VERSION)
// libc++abi implements the accessor of a thread's exception state but, unlike libstdc++, leaves
// it out of <cxxabi.h>.
namespace __cxxabiv1 {
struct __cxa_eh_globals;
extern "C" __cxa_eh_globals* __cxa_get_globals();
}  // namespace __cxxabiv1
#endif

namespace qc {

inline void make_exception_state() noexcept { (void)abi::__cxa_get_globals(); }

}  // namespace qc
