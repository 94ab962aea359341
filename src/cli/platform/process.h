#pragma once
// What the command line needs to know about, or to set in, its own process.

namespace varnelko::cli {

// True when standard error goes to a terminal (where a progress bar helps).
bool StderrIsTerminal();

// Keeps freed memory for the next file instead of handing it back at once.
void KeepFreedMemoryForReuse();

}  // namespace varnelko::cli
