// The per-thread cache of small blocks in front of malloc, which model values are made of.
//
// Building an expression makes and drops many short-lived nodes (an operator's operands, the
// three nodes of a constant, the previous link of a chain), and malloc's general path costs more
// than the rest of making a node. A block's class is its malloc chunk (usable 16k + 8 bytes), so
// a cached block costs no more memory than malloc would give it, and the cache's bound keeps a
// released tree's memory flowing back to malloc. Under AddressSanitizer the cache is off, so that
// a use after release is still caught.
//
// Each thread has its own cache, with no lock: the platform keeps it (platform/thread.h), and
// gives its blocks back to malloc when the thread ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/thread.h"

#if defined(__SANITIZE_ADDRESS__)
#define QC_BLOCK_CACHE 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QC_BLOCK_CACHE 0
#endif
#endif
#ifndef QC_BLOCK_CACHE
#define QC_BLOCK_CACHE 1
#endif

namespace qc {

inline constexpr size_t kBlockClasses = 8;  // usable sizes 24, 40, ... 136 bytes
inline constexpr uint32_t kCacheDepth = QC_BLOCK_CACHE ? 128 : 0;  // blocks kept per class

struct FreeBlock {
  FreeBlock* next;
};

enum class CacheState : uint8_t { Unregistered, Registered, Closed };

// Trivially destructible and zero-initialised: a thread's cache needs no construction, and
// nothing is allocated on its first use.
struct BlockCache {
  FreeBlock* head[kBlockClasses + 1];  // by class; [0] unused
  uint8_t depth[kBlockClasses + 1];
  CacheState state;  // Closed: the thread is ending, blocks go straight back to malloc
};

// Gives every cached block back to malloc and closes the cache: what the platform's thread-exit
// hook calls.
void close_block_cache(BlockCache& c) noexcept;

// Arranges for the cache to be closed when its thread ends, on its first kept block; a cache
// whose thread-exit hook cannot be set is closed at once.
[[gnu::noinline, gnu::cold]] void register_block_cache(BlockCache& c) noexcept;

// Size class of a block of `bytes`: class k is malloc's chunk of usable size 16k + 8, which a
// node of k slots fills exactly; 0 for blocks too large for the cache.
inline size_t block_class(size_t bytes) noexcept {
  size_t k = (bytes + 7) / 16;
  return k <= kBlockClasses ? k : 0;
}

// A block of at least `bytes`, or null when memory is exhausted.
[[gnu::always_inline]] inline void* take_block(size_t bytes) noexcept {
  size_t k = block_class(bytes);
  if (!k) return std::malloc(bytes);
  BlockCache& c = thread_block_cache();
  if (FreeBlock* b = c.head[k]) {
    c.head[k] = b->next;
    --c.depth[k];
    return b;
  }
  return std::malloc(16 * k + 8);
}

// Gives back a block that take_block(bytes) made, to the calling thread's cache `c`.
[[gnu::always_inline]] inline void give_block(BlockCache& c, void* block, size_t bytes) noexcept {
  size_t k = block_class(bytes);
  if (k && c.depth[k] < kCacheDepth && c.state != CacheState::Closed) {
    if (c.state == CacheState::Unregistered) {
      register_block_cache(c);
      if (c.state == CacheState::Closed) return std::free(block);
    }
    auto* b = static_cast<FreeBlock*>(block);
    b->next = c.head[k];
    c.head[k] = b;
    ++c.depth[k];
    return;
  }
  std::free(block);
}

}  // namespace qc
