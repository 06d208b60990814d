// The thread-exit hook of the block cache, and the C++ runtime's exception state, on POSIX
// systems.
#include "platform/thread.h"

#include <pthread.h>

#include "model/block_cache.h"
#include "platform/exception_state.h"

namespace qc {

__thread BlockCache t_block_cache __attribute__((tls_model("initial-exec")));

namespace {

// A thread_local with a destructor would register that destructor on first use, which allocates
// and aborts when memory is short; a key made once, whose number is small enough for the slots
// every thread carries, is set without allocating.
struct CloserKey {
  pthread_key_t key;
  bool ok;
  CloserKey() noexcept
      : ok(pthread_key_create(
               &key, [](void* c) { close_block_cache(*static_cast<BlockCache*>(c)); }) == 0) {
    // The exception state of the loading thread is made now, while memory is plentiful.
    make_exception_state();
  }
};
const CloserKey g_closer;

}  // namespace

bool close_at_thread_exit(BlockCache& c) noexcept {
  return g_closer.ok && pthread_setspecific(g_closer.key, &c) == 0;
}

}  // namespace qc
