#pragma once
// The program's standard output and error as the command line writes them.

#include <string_view>

namespace varnelko::platform {

enum class Stream { kOut, kError };

// Writes UTF-8 text to standard output or error at once, bypassing the C
// library's buffers, so that a line is out as soon as this returns (also
// when a second Ctrl-C ends the program). A Windows console gets the text
// as UTF-16 in one call, so that Japanese shows whatever the console's code
// page; files and pipes get the UTF-8 bytes as they are, with "\n" line
// ends. Safe to call from a signal handler on Linux.
void WriteText(Stream stream, std::string_view text);

// True when standard error is a terminal that understands the escape
// sequences that redraw a progress line (on Windows: a console, with its
// virtual terminal processing turned on here).
bool StderrIsTerminal();

}  // namespace varnelko::platform
