// The calling thread's block cache on POSIX systems: a variable of the library's static
// thread-local block.
#pragma once

namespace qc {

struct BlockCache;

// In the initial-exec model: the linker marks the library as using static TLS, so the loader
// places all its thread-local data (the C++ runtime's exception state too, when that is linked
// in) in the block every thread gets with its stack. Nothing is allocated on a thread's first
// use, where the dynamic model would call malloc and abort the process when memory is short; and
// finding the cache is one load, where the dynamic model or a thread-specific key costs a call
// (some 7 to 15% more instructions per operator). The price is 104 bytes of the loader's small
// reserve for libraries loaded later: when other libraries have used it up, the import fails
// cleanly with ImportError.
extern __thread BlockCache t_block_cache __attribute__((tls_model("initial-exec")));

inline BlockCache& thread_block_cache() noexcept { return t_block_cache; }

}  // namespace qc
