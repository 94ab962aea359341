#include "cli/platform/interrupt.h"

#include <csignal>
#include <cstring>
#include <memory>

#include "platform/console.h"

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

// One slot per file: a line that waits (owned here), or null. The handler
// takes lines with exchange, so a line is printed once, by the handler or
// in order; the strings are never freed while the program runs.
std::unique_ptr<std::atomic<char*>[]> waiting;
std::atomic<size_t> waiting_count{0};
static_assert(std::atomic<char*>::is_always_lock_free);

// The second signal: what is done is reported, then the program ends as
// the signal ends it.
extern "C" void OnSecondInterrupt(int signal_number) {
  const size_t count = waiting_count.load();
  for (size_t i = 0; i < count; ++i) {
    if (char* line = waiting[i].exchange(nullptr)) {
      platform::WriteText(platform::Stream::kOut, line);
    }
  }
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

extern "C" void OnInterrupt(int signal_number) {
  received = signal_number;
  requested.store(true);
  // The next Ctrl-C is not asked, it ends the program. A closed pipe stays
  // closed: the lines of the files in progress go nowhere instead of ending
  // the program in the middle of their writes.
  std::signal(signal_number, signal_number == kClosedPipe ? SIG_IGN : OnSecondInterrupt);
}

}  // namespace

void WatchInterrupts() {
  for (int signal_number : {SIGINT, SIGTERM, kHangUp, kClosedPipe}) {
    if (signal_number == 0) continue;
    if (std::signal(signal_number, OnInterrupt) == SIG_IGN) std::signal(signal_number, SIG_IGN);
  }
}

const std::atomic<bool>& InterruptRequested() { return requested; }

void ExpectWaitingLines(size_t count) {
  waiting = std::make_unique<std::atomic<char*>[]>(count);
  waiting_count.store(count);
}

void LineWaits(size_t index, const std::string& line) {
  char* copy = new char[line.size() + 2];
  std::memcpy(copy, line.data(), line.size());
  copy[line.size()] = '\n';
  copy[line.size() + 1] = '\0';
  waiting[index].store(copy);
}

void LinePrinted(size_t index) {
  // Taken here, the handler cannot be reading it.
  delete[] waiting[index].exchange(nullptr);
}

int InterruptExitStatus() { return received == 0 ? 0 : 128 + received; }

}  // namespace varnelko::cli
