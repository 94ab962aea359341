#include "cli/platform/interrupt.h"

#include <csignal>

namespace varnelko::cli {
namespace {

// A closed terminal (SIGHUP) and a reader of standard output that went away
// (SIGPIPE: `| head`, a pager quit) stop the run as Ctrl-C does. Windows has
// neither signal: a failed write there does not end the program.
#if defined(SIGHUP) && defined(SIGPIPE)
constexpr int kHangUp = SIGHUP;
constexpr int kClosedPipe = SIGPIPE;
#else
constexpr int kHangUp = 0;
constexpr int kClosedPipe = 0;
#endif

// Both are written from the signal handler: only lock-free atomics and
// sig_atomic_t may be.
static_assert(std::atomic<bool>::is_always_lock_free);
std::atomic<bool> requested{false};
volatile std::sig_atomic_t received = 0;

extern "C" void OnInterrupt(int signal_number) {
  received = signal_number;
  requested.store(true);
  // The next Ctrl-C is not asked, it ends the program. A closed pipe stays
  // closed: the lines of the files in progress go nowhere instead of ending
  // the program in the middle of their writes.
  std::signal(signal_number, signal_number == kClosedPipe ? SIG_IGN : SIG_DFL);
}

}  // namespace

void WatchInterrupts() {
  for (int signal_number : {SIGINT, SIGTERM, kHangUp, kClosedPipe}) {
    if (signal_number == 0) continue;
    if (std::signal(signal_number, OnInterrupt) == SIG_IGN) std::signal(signal_number, SIG_IGN);
  }
}

const std::atomic<bool>& InterruptRequested() { return requested; }

int InterruptExitStatus() { return received == 0 ? 0 : 128 + received; }

}  // namespace varnelko::cli
