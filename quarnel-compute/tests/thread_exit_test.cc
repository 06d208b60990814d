// A thread ended inside the library runs none of the library's code on its way out (the rule of
// src/platform/thread.h): pthread_exit() called deep inside frames with destructors, a handler
// that would rethrow and a noexcept function must end the thread alone, running none of them,
// and leave the process running. Each case runs in a child process: a build that breaks the
// rule terminates there, or reports what ran.
#include <gtest/gtest.h>
#include <pthread.h>

#include <cstdlib>

namespace qc {
namespace {

enum Ran { kDestructor = 1, kHandler = 2 };
volatile int g_ran = 0;

struct Cleanup {
  ~Cleanup() { g_ran = g_ran | kDestructor; }
};

[[gnu::noinline]] void end_thread() { pthread_exit(nullptr); }

[[gnu::noinline]] void inside_noexcept() noexcept {
  Cleanup owned;
  end_thread();
}

[[gnu::noinline]] void inside_handler_scope() {
  try {
    Cleanup owned;
    inside_noexcept();
  } catch (...) {
    g_ran = g_ran | kHandler;
    throw;
  }
}

void* thread_body(void*) {
  Cleanup owned;
  inside_handler_scope();
  return nullptr;
}

// Exits with what ran: 0 when nothing did.
[[noreturn]] void end_a_thread_and_exit() {
  pthread_t thread;
  if (pthread_create(&thread, nullptr, &thread_body, nullptr) != 0) std::_Exit(100);
  pthread_join(thread, nullptr);
  std::_Exit(g_ran);
}

TEST(ThreadExit, AThreadEndedInsideACallRunsNoCleanupHandlerOrTerminate) {
  EXPECT_EXIT(end_a_thread_and_exit(), testing::ExitedWithCode(0), "")
      << "1: a destructor ran, 2: a handler ran, 3: both";
}

}  // namespace
}  // namespace qc
