#pragma once
// Runs the built varnelko-cli with arguments and captures its exit status and
// what it printed. Arguments are UTF-8 text, as the program takes them.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace varnelko::test {

struct CliResult {
  int status = -1;  // exit status, -1 when it did not exit normally
  std::string out;
  std::string err;
};

// `shell_setup` runs first in the same shell, e.g. "ulimit -f 1;" (Linux only:
// on Windows the program starts without a shell).
CliResult RunCli(const std::vector<std::string>& args, const std::string& shell_setup = "");

// The same with another of the project's programs (a window program's
// --version, say).
CliResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::string& shell_setup = "");

// Runs the program in `folder` on a console of its own, as from a command
// prompt, and returns what the console shows: its rows, trailing blanks
// cut, each ended by "\n". Nothing where there are no consoles (Linux: a
// terminal shows the bytes as written, which the other runs capture).
std::optional<std::string> RunCliInConsole(const std::vector<std::string>& args,
                                           const std::filesystem::path& folder);

// Starts the program, sends it `signal_number` as soon as its standard output
// holds `lines` lines, and waits for it to end. `signalled` tells whether the
// signal was sent (false when the program ended first).
struct InterruptedRun {
  CliResult result;
  bool signalled = false;
};
InterruptedRun RunCliInterrupted(const std::vector<std::string>& args, int signal_number,
                                 size_t lines);

// The same, sending the signal `times` times (30 ms apart, so that a busy program still
// sees each one) once `ready`
// says yes to what standard output holds (or to anything else it looks at).
InterruptedRun RunCliInterruptedWhen(const std::vector<std::string>& args, int signal_number,
                                     const std::function<bool(const std::string& out)>& ready,
                                     int times);

}  // namespace varnelko::test
