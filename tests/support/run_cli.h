#pragma once
// Runs the built varnelko-cli with arguments and captures its exit status and
// what it printed.
#include <string>
#include <vector>

namespace varnelko::test {

struct CliResult {
  int status = -1;  // exit status, -1 when it did not exit normally
  std::string out;
  std::string err;
};

// `shell_setup` runs first in the same shell, e.g. "ulimit -f 1;".
CliResult RunCli(const std::vector<std::string>& args, const std::string& shell_setup = "");

// Starts the program, sends it `signal_number` as soon as its standard output
// holds `lines` lines, and waits for it to end. `signalled` tells whether the
// signal was sent (false when the program ended first).
struct InterruptedRun {
  CliResult result;
  bool signalled = false;
};
InterruptedRun RunCliInterrupted(const std::vector<std::string>& args, int signal_number,
                                 size_t lines);

}  // namespace varnelko::test
