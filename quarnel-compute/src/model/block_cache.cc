// Closing a thread's block cache.
#include "model/block_cache.h"

namespace qc {

void close_block_cache(BlockCache& c) noexcept {
  c.state = CacheState::Closed;
  for (size_t k = 1; k <= kBlockClasses; ++k) {
    while (FreeBlock* b = c.head[k]) {
      c.head[k] = b->next;
      std::free(b);
    }
    c.depth[k] = 0;
  }
}

void register_block_cache(BlockCache& c) noexcept {
  c.state = close_at_thread_exit(c) ? CacheState::Registered : CacheState::Closed;
}

}  // namespace qc
