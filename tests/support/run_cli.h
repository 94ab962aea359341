#pragma once
// Runs the built varnelko-cli with arguments and captures its exit status and
// what it printed. Arguments are UTF-8 text, as the program takes them.
#include <string>
#include <vector>

namespace varnelko::test {

struct CliResult {
  int status = -1;  // exit status, -1 when it did not exit normally
  std::string out;
  std::string err;
};

CliResult RunCli(const std::vector<std::string>& args);

}  // namespace varnelko::test
