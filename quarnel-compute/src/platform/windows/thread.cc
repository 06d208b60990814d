// The thread-exit hook of the block cache, and the C++ runtime's exception state, on Windows.
//
// A thread that the interpreter ends while it finalizes leaves through _endthreadex(), that is
// ExitThread(): no unwind runs through its frames (they are left as they are, as the personality
// wrapper leaves them on POSIX systems), while fiber-local callbacks still run.
#include "platform/thread.h"

#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "model/block_cache.h"
#include "platform/exception_state.h"

namespace qc {

__thread BlockCache t_block_cache;

namespace {

// A fiber-local slot's callback runs when its thread ends, and also when a fiber that set the
// slot is deleted, possibly by another thread: a cache is closed only on its own thread. Setting
// the slot allocates nothing once the thread's slots exist, which the C runtime's own use of
// them makes so on every thread.
void WINAPI close_on_exit(void* cache) noexcept {
  if (cache == &t_block_cache) close_block_cache(*static_cast<BlockCache*>(cache));
}

struct CloserKey {
  DWORD key;
  bool ok;
  CloserKey() noexcept : key(FlsAlloc(close_on_exit)), ok(key != FLS_OUT_OF_INDEXES) {
    // The exception state of the loading thread is made now, while memory is plentiful.
    make_exception_state();
  }
};
const CloserKey g_closer;

}  // namespace

bool close_at_thread_exit(BlockCache& c) noexcept {
  return g_closer.ok && FlsSetValue(g_closer.key, &c);
}

}  // namespace qc
