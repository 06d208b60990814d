// What the library needs of the platform's threads. Each platform gives it in a directory of its
// own (posix/), which CMake picks: nothing else in the library depends on the platform.
//
// - The calling thread's block cache (model/block_cache.h), found in one load and made without
//   allocating: a thread's first node must not fail, or abort, because memory is short.
// - A hook that closes the cache when its thread ends, set without allocating.
// - The C++ runtime's per-thread exception state, made without allocating on a thread's first
//   throw (where the runtime aborts the process when memory is short).
// - The rule for threads ended inside a call, below.
//
// Threads ended inside a call. A thread may be ended while it is inside the library: CPython
// 3.10 to 3.13 ends a daemon thread that wakes up once the interpreter finalizes, wherever it
// stands (in a conversion, a __del__ or a collection that the library's call ran), and any
// program may cancel a thread. The rule, the same in every build: such a thread leaves the
// library's frames as it leaves C frames. None of the library's code runs on it again but the
// thread-exit hook of its block cache: no destructor, no handler, no std::terminate of a noexcept
// frame. What its frames own stays as it is, as the interpreter leaves its own objects at exit;
// so nothing shared with other threads may wait for a frame's cleanup across a call that can end
// the thread (a lock, a flag, a borrowed buffer), except what tolerates never being given back.
// Whether a frame is noexcept does not matter.
//
// How each platform keeps it:
// - POSIX (posix/thread_exit.cc): pthread_exit() and cancellation unwind the thread's stack with
//   a forced unwind. Whatever links the library routes the personality routine of every C++
//   frame through a check that lets that unwind pass untouched, with libstdc++ as with libc++.
// - Windows: CPython ends a thread with _endthreadex(), which unwinds nothing.
// Checked with each compiler by quarnel-compute/tests/thread_exit_test.cc (a thread ended inside
// frames with cleanups, a handler and a noexcept function), and on the built module by
// quarnel-compute-python/tests/test_shutdown.py: every personality routine in the module's
// unwind tables must let a forced unwind pass, and daemon threads are ended inside calls.
#pragma once

namespace qc {

struct BlockCache;

// Has close_block_cache(c) called when the calling thread ends; false when it cannot be.
bool close_at_thread_exit(BlockCache& c) noexcept;

}  // namespace qc

#if defined(_WIN32)
#include "platform/windows/thread.h"
#else
#include "platform/posix/thread.h"
#endif
