// Threads ended by the interpreter, for builds that link LLVM's C++ runtime (the release wheel).
//
// A finalizing CPython ends a daemon thread that wakes inside a call with pthread_exit(): the C
// library unwinds the thread's stack through our frames with the system's unwinder (libgcc_s).
// LLVM's C++ runtime, linked into the module together with its own unwinder, would read that
// unwinder's frame state as its own and jump to garbage. So the link routes every frame's
// personality through the check below (-Wl,--wrap, see CMakeLists.txt): a forced unwind that is
// not a C++ exception (the C library gives it no exception class) passes our frames without
// running their cleanups. Nothing of ours runs on a thread that holds no interpreter, which is
// what those cleanups (references to release) must not do anyway; the thread ends as it would
// have in plain Python code.
#include <version>

#if defined(_LIBCPP_VERSION)
#include <unwind.h>

#include <cstdint>

extern "C" {
_Unwind_Reason_Code __real___gxx_personality_v0(int version, _Unwind_Action actions,
                                                uint64_t exception_class,
                                                _Unwind_Exception* exception,
                                                _Unwind_Context* context);

_Unwind_Reason_Code __wrap___gxx_personality_v0(int version, _Unwind_Action actions,
                                                uint64_t exception_class,
                                                _Unwind_Exception* exception,
                                                _Unwind_Context* context) {
  if ((actions & _UA_FORCE_UNWIND) && exception_class == 0) return _URC_CONTINUE_UNWIND;
  return __real___gxx_personality_v0(version, actions, exception_class, exception, context);
}
}
#endif
