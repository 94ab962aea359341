#pragma once
// Text for the lines varnelko-cli prints about files.
#include <string>

namespace varnelko::cli {

// Control characters become \xNN, so that a file name cannot split a report
// line or send sequences to the terminal; other bytes (Japanese names) stay.
std::string EscapeControls(const std::string& text);

// A path typed on the command line as the lines show paths: with the
// system's separators (see PathToUtf8).
std::string Shown(const std::string& typed);

// `text` and a line end to standard output or error, at once (see
// platform::WriteText). The text is written as it is: escaping is the
// caller's, who knows which parts came from outside.
void PrintLine(const std::string& text);
void PrintErrorLine(const std::string& text);

}  // namespace varnelko::cli
