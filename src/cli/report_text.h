#pragma once
// Text for the lines varnelko-cli prints about files.
#include <string>

namespace varnelko::cli {

// Control characters become \xNN, so that a file name cannot split a report
// line or send sequences to the terminal; other bytes (Japanese names) stay.
std::string EscapeControls(const std::string& text);

}  // namespace varnelko::cli
