#pragma once
// What the command line needs to set in its own process.

namespace varnelko::cli {

// Keeps freed memory for the next file instead of handing it back at once.
void KeepFreedMemoryForReuse();

}  // namespace varnelko::cli
