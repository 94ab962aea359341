#include "support/run_cli.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/wait.h>
#endif

#include <cstdlib>

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
int Run(const std::vector<std::string>& args, const std::string&, const fs::path& out,
        const fs::path& err) {
  std::wstring command = Quoted(fs::path(VARNELKO_CLI).make_preferred().native());
  for (const std::string& arg : args) command += L" " + Quoted(PathFromUtf8(arg).native());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = OpenInherited(L"NUL", false);
  startup.hStdOutput = OpenInherited(out, true);
  startup.hStdError = OpenInherited(err, true);
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE,
                                      CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
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

int Run(const std::vector<std::string>& args, const std::string& shell_setup, const fs::path& out,
        const fs::path& err) {
  std::string command = shell_setup + Quoted(VARNELKO_CLI);
  for (const std::string& arg : args) command += " " + Quoted(arg);
  command += " >" + Quoted(out.string()) + " 2>" + Quoted(err.string()) + " </dev/null";
  const int raw = std::system(command.c_str());
  return raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

#endif

}  // namespace

CliResult RunCli(const std::vector<std::string>& args, const std::string& shell_setup) {
  TempDir capture;
  CliResult result;
  result.status = Run(args, shell_setup, capture / "out", capture / "err");
  result.out = ReadFile(capture / "out");
  result.err = ReadFile(capture / "err");
  return result;
}

}  // namespace varnelko::test
