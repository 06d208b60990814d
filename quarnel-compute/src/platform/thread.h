// What the library needs of the platform's threads. Each platform gives it in a directory of its
// own (posix/), which CMake picks: nothing else in the library depends on the platform.
//
// - The calling thread's block cache (model/block_cache.h), found in one load and made without
//   allocating: a thread's first node must not fail, or abort, because memory is short.
// - A hook that closes the cache when its thread ends, set without allocating.
// - The C++ runtime's per-thread exception state, made without allocating on a thread's first
//   throw (where the runtime aborts the process when memory is short).
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
