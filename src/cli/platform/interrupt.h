#pragma once
// Ctrl-C (SIGINT), termination requests (SIGTERM), a closed terminal
// (SIGHUP) and a closed standard output pipe (SIGPIPE) during a run. The
// first one only asks the run to stop starting files, so that the files in
// progress end normally and leave no temporary outputs; a second one (but
// SIGPIPE) ends the program at once.
#include <atomic>
#include <cstddef>
#include <string>

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

// Report lines of files that are done but wait for earlier files before
// they can be printed in order. A second signal prints them before it ends
// the program, so that the report covers every file converted.
void ExpectWaitingLines(size_t count);
void LineWaits(size_t index, const std::string& line);
void LinePrinted(size_t index);  // printed in order: not to be printed again

}  // namespace varnelko::cli
