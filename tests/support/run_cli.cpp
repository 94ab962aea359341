#include "support/run_cli.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

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

InterruptedRun RunCliInterrupted(const std::vector<std::string>& args, int signal_number,
                                 size_t lines) {
  TempDir capture;
  const std::string out_path = (capture / "out").string(), err_path = (capture / "err").string();
  // Everything the child needs is made before fork: it only calls exec-safe functions.
  std::vector<std::string> words = {VARNELKO_CLI};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    dup2(open("/dev/null", O_RDONLY), 0);
    dup2(open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
    dup2(open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
    execv(argv[0], argv.data());
    _exit(127);
  }
  InterruptedRun run;
  int raw = 0;
  for (;;) {
    if (waitpid(pid, &raw, WNOHANG) == pid) break;
    const std::string out = ReadFile(out_path);
    if (static_cast<size_t>(std::count(out.begin(), out.end(), '\n')) >= lines) {
      run.signalled = kill(pid, signal_number) == 0;
      waitpid(pid, &raw, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  run.result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.result.out = ReadFile(out_path);
  run.result.err = ReadFile(err_path);
  return run;
}

}  // namespace varnelko::test
