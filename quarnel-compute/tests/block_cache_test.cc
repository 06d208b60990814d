// The per-thread block cache: freed blocks of each class are reused, at most its bound of them
// is kept, and all of them go back to malloc when the thread ends. Each case runs on threads of
// its own, whose caches start empty, and reads malloc's count of bytes in use (glibc's, summed
// over its arenas), which counts a cached block as in use and a block given back to malloc as
// free.
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "model/block_cache.h"
#include "quarnel/compute/model/value.h"

#if defined(__SANITIZE_ADDRESS__)
#define QC_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QC_TEST_ASAN 1
#endif
#endif

namespace qc {

// The platform's thread-exit hook as the cache calls it: the tests link with a wrapper of it
// (-Wl,--wrap, CMakeLists.txt), which refuses it on a thread that asks.
thread_local bool t_refuse_hook = false;
extern "C" bool __real__ZN2qc20close_at_thread_exitERNS_10BlockCacheE(BlockCache& c) noexcept;
extern "C" bool __wrap__ZN2qc20close_at_thread_exitERNS_10BlockCacheE(BlockCache& c) noexcept {
  return !t_refuse_hook && __real__ZN2qc20close_at_thread_exitERNS_10BlockCacheE(c);
}

namespace {

long in_use() { return long(mallinfo2().uordblks); }

// The bytes of the largest request of class k, and what malloc takes for it with its header.
size_t class_bytes(size_t k) { return 16 * k + 8; }
long chunk_bytes(size_t k) { return long(16 * k + 16); }

constexpr long kSlack = 8192;

template <class Work>
void on_a_thread(Work work) {
  std::thread(work).join();
}

// Takes `count` blocks of class k and gives them all back, on the calling thread.
void churn(size_t k, size_t count) {
  std::vector<void*> blocks;
  for (size_t i = 0; i < count; ++i) blocks.push_back(take_block(class_bytes(k)));
  for (void* b : blocks) give_block(thread_block_cache(), b, class_bytes(k));
}

// The blocks of class k that the calling thread's cache holds.
size_t kept(size_t k) {
  size_t n = 0;
  for (FreeBlock* b = thread_block_cache().head[k]; b; b = b->next) ++n;
  return n;
}

// The cache is on: a node's block dropped is the block of the next node of its size, even while
// malloc has been asked for a chunk of that size in between (which it would give the dropped
// block, had the cache handed it back). Texts of 16 to 112 bytes fill blocks of every class but
// the smallest.
TEST(BlockCache, ADroppedNodesBlockIsTheNextOneMade) {
#ifdef QC_TEST_ASAN
  GTEST_SKIP() << "the cache is off under AddressSanitizer, so that a use after release is seen";
#endif
  on_a_thread([] {
    for (size_t length = 16; length <= 112; length += 16) {
      const std::string text(length, 't');
      const Heap* dropped;
      {
        Value v = Value::str(text);
        dropped = v.heap();
        ASSERT_NE(dropped, nullptr) << "a text of " << length << " bytes is held in a block";
      }
      void* between = std::malloc(length + sizeof(Heap) + sizeof(size_t) + 1);
      EXPECT_NE(between, dropped) << "malloc has a text of " << length << " bytes' block back";
      Value next = Value::str(text);
      EXPECT_EQ(next.heap(), dropped) << "a text of " << length << " bytes";
      std::free(between);
    }
  });
}

// Thousands of blocks of each class given back at once leave at most the bound of each class
// held, give or take what malloc's own per-thread cache holds; and the thread's end gives those
// back too.
TEST(BlockCache, KeepsAtMostItsBoundOfEachClass) {
  const long before_thread = in_use();
  on_a_thread([] {
    for (size_t k = 1; k <= kBlockClasses; ++k) {
      const long before = in_use();
      churn(k, 20 * kCacheDepth + 7);
      EXPECT_LE(in_use() - before, long(kCacheDepth) * chunk_bytes(k) + kSlack) << "class " << k;
    }
  });
  EXPECT_LE(in_use() - before_thread, kSlack) << "after the thread ended";
}

// Threads that end with a full cache of one class give every block back, class by class: 64
// threads leaving theirs would hold 256 KB of the smallest class.
TEST(BlockCache, EndingAThreadGivesBackEveryClass) {
  on_a_thread([] { churn(1, 1); });  // the arena and the key that threads use, made once
  for (size_t k = 1; k <= kBlockClasses; ++k) {
    const long before = in_use();
    for (int t = 0; t < 64; ++t) on_a_thread([k] { churn(k, kCacheDepth + 3); });
    EXPECT_LE(in_use() - before, 32768) << "class " << k << ", over 64 threads";
  }
}

// The bound is exact: a thread keeps every block it gives back, up to the bound of each class,
// and not one more.
TEST(BlockCache, KeepsEveryBlockUpToItsBoundAndNoMore) {
#ifdef QC_TEST_ASAN
  GTEST_SKIP() << "the cache is off under AddressSanitizer";
#endif
  constexpr size_t bound = kCacheDepth;
  for (size_t given : {size_t(1), bound - 1, bound, bound + 1, 20 * bound})
    on_a_thread([given] {
      for (size_t k = 1; k <= kBlockClasses; ++k) {
        churn(k, given);
        EXPECT_EQ(kept(k), std::min<size_t>(given, kCacheDepth))
            << given << " given back, class " << k;
      }
    });
}

// A thread whose exit hook cannot be set keeps no block, so that its end, which no hook sees,
// leaves none behind: each goes straight back to malloc.
TEST(BlockCache, AThreadWithoutItsExitHookKeepsNothing) {
  on_a_thread([] { churn(1, 1); });  // the arena and the key that threads use, made once
  const long before = in_use();
  for (int t = 0; t < 16; ++t)
    on_a_thread([] {
      t_refuse_hook = true;
      for (size_t k = 1; k <= kBlockClasses; ++k) {
        churn(k, kCacheDepth + 3);
        EXPECT_EQ(kept(k), 0u) << "class " << k;
      }
    });
  EXPECT_LE(in_use() - before, kSlack) << "over 16 threads";
}

}  // namespace
}  // namespace qc
