#include "cli/platform/interrupt.h"

#include <csignal>

namespace varnelko::cli {
namespace {

// Both are written from the signal handler: only lock-free atomics and
// sig_atomic_t may be.
static_assert(std::atomic<bool>::is_always_lock_free);
std::atomic<bool> requested{false};
volatile std::sig_atomic_t received = 0;

extern "C" void OnInterrupt(int signal_number) {
  received = signal_number;
  requested.store(true);
  std::signal(signal_number, SIG_DFL);  // the next one is not asked, it ends the program
}

}  // namespace

void WatchInterrupts() {
  for (int signal_number : {SIGINT, SIGTERM}) {
    if (std::signal(signal_number, OnInterrupt) == SIG_IGN) std::signal(signal_number, SIG_IGN);
  }
}

const std::atomic<bool>& InterruptRequested() { return requested; }

int InterruptExitStatus() { return received == 0 ? 0 : 128 + received; }

}  // namespace varnelko::cli
