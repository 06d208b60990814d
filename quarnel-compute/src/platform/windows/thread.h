// The calling thread's block cache on Windows: a variable of the library's implicit thread-local
// data.
#pragma once

namespace qc {

struct BlockCache;

// The loader places a library's implicit thread-local data for every thread when it loads the
// library, and for each new thread when it starts: nothing is allocated on a thread's first use.
// __thread, unlike an extern thread_local, tells every user that the variable has no dynamic
// initialisation: finding the cache is the TLS slot's load, without a check for an initialiser.
extern __thread BlockCache t_block_cache;

inline BlockCache& thread_block_cache() noexcept { return t_block_cache; }

}  // namespace qc
