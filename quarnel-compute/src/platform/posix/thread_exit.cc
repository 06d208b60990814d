// Threads ended inside a call, on POSIX systems: the rule is stated in platform/thread.h.
//
// pthread_exit() and cancellation unwind the thread's stack with the C library's forced unwind,
// through the system's unwinder (libgcc_s), calling each frame's personality routine with no
// exception class. Left to the C++ runtime, that unwind would run our frames' cleanups and
// handlers (on a thread whose interpreter state is gone) or, at a noexcept frame, std::terminate;
// and LLVM's runtime, linked in together with its own unwinder, would read the system unwinder's
// frame state as its own and jump to garbage. So every link of the library wraps the runtime's
// personality routine (-Wl,--wrap=__gxx_personality_v0, quarnel-compute/CMakeLists.txt): every
// C++ frame's unwind information names the check below, which lets a forced unwind that is not a
// C++ exception pass the frame untouched, and hands everything else to the runtime.
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
