#include "support/run_cli.h"

#include <sys/wait.h>

#include <cstdlib>

#include "support/temp_dir.h"

namespace varnelko::test {
namespace {

// Single quotes keep every byte of a path, Japanese ones included.
std::string ShellQuoted(const std::string& arg) {
  std::string q = "'";
  for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

}  // namespace

CliResult RunCli(const std::vector<std::string>& args, const std::string& shell_setup) {
  TempDir capture;
  std::string command = shell_setup + ShellQuoted(VARNELKO_CLI);
  for (const std::string& arg : args) command += " " + ShellQuoted(arg);
  command += " >" + ShellQuoted((capture / "out").string()) + " 2>" +
             ShellQuoted((capture / "err").string()) + " </dev/null";
  int raw = std::system(command.c_str());
  CliResult result;
  result.status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = ReadFile(capture / "out");
  result.err = ReadFile(capture / "err");
  return result;
}

}  // namespace varnelko::test
