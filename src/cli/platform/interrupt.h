#pragma once
// Ctrl-C (SIGINT), termination requests (SIGTERM), a closed terminal
// (SIGHUP) and a closed standard output pipe (SIGPIPE) during a run. The
// first one only asks the run to stop starting files, so that the files in
// progress end normally and leave no temporary outputs; a second one (but
// SIGPIPE) ends the program at once.
#include <atomic>

namespace varnelko::cli {

// Starts watching these signals, unless one was ignored when the program
// started (a background job of a non-interactive shell keeps ignoring Ctrl-C).
void WatchInterrupts();

// Becomes true when a watched signal arrives; a batch run reads it before
// starting each file.
const std::atomic<bool>& InterruptRequested();

// The shell's status for the signal that arrived: 130 for SIGINT, 143 for
// SIGTERM, 129 for SIGHUP, 141 for SIGPIPE; 0 while none arrived.
int InterruptExitStatus();

}  // namespace varnelko::cli
