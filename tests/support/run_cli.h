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

}  // namespace varnelko::test
