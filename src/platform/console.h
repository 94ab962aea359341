#pragma once
// The program's standard output and error as the CLI needs them.

namespace varnelko::platform {

// For the life of the object, UTF-8 text written to standard output and
// error shows as such in a Windows console, and reaches files and pipes with
// "\n" line ends as on Linux. The console's own code page is put back at the
// end. On Linux there is nothing to do.
class Utf8Console {
 public:
  Utf8Console();
  ~Utf8Console();
  Utf8Console(const Utf8Console&) = delete;
  Utf8Console& operator=(const Utf8Console&) = delete;

 private:
  unsigned saved_code_page_ = 0;
};

// True when standard error is a terminal that understands the escape
// sequences that redraw a progress line (on Windows: a console, with its
// virtual terminal processing turned on here).
bool StderrIsTerminal();

}  // namespace varnelko::platform
