#include "support/run_cli.h"

#if defined(_WIN32)
#include <windows.h>

#include "platform/wide_text.h"
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/path_text.h"
#include "support/temp_dir.h"

namespace varnelko::test {
namespace fs = std::filesystem;
namespace {

#if defined(_WIN32)

// Quotes one argument so that the program's CommandLineToArgvW gives it back
// unchanged: backslashes only count before a quote.
std::wstring Quoted(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

HANDLE OpenInherited(const fs::path& path, bool write) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileW(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                     write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Standard input is NUL, so a program that waits for input ends at once.
// There is no shell to set up here; tests that need one skip on Windows.
std::wstring CommandLine(const std::string& program, const std::vector<std::string>& args) {
  std::wstring command = Quoted(PathFromUtf8(program).make_preferred().native());
  for (const std::string& arg : args) command += L" " + Quoted(PathFromUtf8(arg).native());
  return command;
}

int Run(const std::string& program, const std::vector<std::string>& args, const std::string&,
        const fs::path& out, const fs::path& err) {
  std::wstring command = CommandLine(program, args);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = OpenInherited(L"NUL", false);
  startup.hStdOutput = OpenInherited(out, true);
  startup.hStdError = OpenInherited(err, true);
  PROCESS_INFORMATION process{};
  // Wine, busy with many programs starting at once, now and then refuses
  // one; a refused start is tried again.
  BOOL started = FALSE;
  for (int tries = 0; !started && tries < 5; ++tries) {
    if (tries > 0) Sleep(200);
    started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                             nullptr, nullptr, &startup, &process);
  }
  for (HANDLE h : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) CloseHandle(h);
  if (!started) return -1;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  const bool exited = GetExitCodeProcess(process.hProcess, &code) != 0;
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return exited ? static_cast<int>(code) : -1;
}

#else

// Single quotes keep every byte of a path, Japanese ones included.
std::string Quoted(const std::string& arg) {
  std::string q = "'";
  for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

int Run(const std::string& program, const std::vector<std::string>& args,
        const std::string& shell_setup, const fs::path& out, const fs::path& err) {
  std::string command = shell_setup + Quoted(program);
  for (const std::string& arg : args) command += " " + Quoted(arg);
  command += " >" + Quoted(out.string()) + " 2>" + Quoted(err.string()) + " </dev/null";
  const int raw = std::system(command.c_str());
  return raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

#endif

}  // namespace

CliResult RunCli(const std::vector<std::string>& args, const std::string& shell_setup) {
  return RunProgram(VARNELKO_CLI, args, shell_setup);
}

CliResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::string& shell_setup) {
  TempDir capture;
  CliResult result;
  result.status = Run(program, args, shell_setup, capture / "out", capture / "err");
  result.out = ReadFile(capture / "out");
  result.err = ReadFile(capture / "err");
  return result;
}

#if defined(_WIN32)

// A console of this test's own, which the program inherits; the test's
// standard handles are put back afterwards, so that its own output still
// goes where it went.
std::optional<std::string> RunCliInConsole(const std::vector<std::string>& args,
                                           const fs::path& folder) {
  const HANDLE saved[] = {GetStdHandle(STD_INPUT_HANDLE), GetStdHandle(STD_OUTPUT_HANDLE),
                          GetStdHandle(STD_ERROR_HANDLE)};
  FreeConsole();
  if (!AllocConsole()) return std::nullopt;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const HANDLE screen = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                                    0, nullptr);
  std::wstring command = CommandLine(VARNELKO_CLI, args);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = screen;
  startup.hStdError = screen;
  PROCESS_INFORMATION process{};
  std::optional<std::string> shown;
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                     folder.c_str(), &startup, &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    GetConsoleScreenBufferInfo(screen, &info);
    shown.emplace();
    for (SHORT row = 0; row <= info.dwCursorPosition.Y; ++row) {
      std::wstring text(static_cast<size_t>(info.dwSize.X), L' ');
      DWORD read = 0;
      ReadConsoleOutputCharacterW(screen, text.data(), info.dwSize.X, COORD{0, row}, &read);
      text.resize(text.find_last_not_of(L' ') + 1);
      *shown += Utf8FromWide(text) + "\n";
    }
  }
  CloseHandle(screen);
  FreeConsole();
  SetStdHandle(STD_INPUT_HANDLE, saved[0]);
  SetStdHandle(STD_OUTPUT_HANDLE, saved[1]);
  SetStdHandle(STD_ERROR_HANDLE, saved[2]);
  return shown;
}

// Windows delivers no signal from one program to another; the tests that
// need this skip there.
InterruptedRun RunCliInterrupted(const std::vector<std::string>&, int, size_t) { return {}; }
InterruptedRun RunCliInterruptedWhen(const std::vector<std::string>&, int,
                                     const std::function<bool(const std::string&)>&, int) {
  return {};
}

#else

std::optional<std::string> RunCliInConsole(const std::vector<std::string>&, const fs::path&) {
  return std::nullopt;
}

InterruptedRun RunCliInterrupted(const std::vector<std::string>& args, int signal_number,
                                 size_t lines) {
  return RunCliInterruptedWhen(
      args, signal_number,
      [lines](const std::string& out) {
        return static_cast<size_t>(std::count(out.begin(), out.end(), '\n')) >= lines;
      },
      1);
}

InterruptedRun RunCliInterruptedWhen(const std::vector<std::string>& args, int signal_number,
                                     const std::function<bool(const std::string&)>& ready,
                                     int times) {
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
    if (ready(ReadFile(out_path))) {
      for (int i = 0; i < times; ++i) {
        if (i > 0) std::this_thread::sleep_for(std::chrono::milliseconds(30));
        run.signalled = kill(pid, signal_number) == 0;
      }
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

#endif

}  // namespace varnelko::test
