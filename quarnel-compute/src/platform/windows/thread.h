// The calling thread's block cache on Windows: a variable of the library's implicit thread-local
// data.
#pragma once

namespace qc {

struct BlockCache;

// Trivially destructible and constant-initialised, so nothing registers a destructor. The loader
// places a library's implicit thread-local data for every thread when it loads the library, and
// for each new thread when it starts: nothing is allocated on a thread's first use.
extern thread_local BlockCache t_block_cache;

inline BlockCache& thread_block_cache() noexcept { return t_block_cache; }

}  // namespace qc
