#include "platform/command_line.h"

#if defined(_WIN32)
#include <windows.h>
#include <shellapi.h>
#endif

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <system_error>

#include "platform/path_text.h"

namespace varnelko::platform {
namespace fs = std::filesystem;

#if defined(_WIN32)

namespace {

std::string Utf8FromWide(const wchar_t* wide) {
  return PathToUtf8(fs::path(wide));
}

// "*" any run of characters, "?" one; letters match in either case, as
// Windows names do.
bool Matches(std::wstring_view pattern, std::wstring_view name) {
  size_t p = 0, n = 0, star = std::wstring_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == L'*') {
      star = p++;
      resume = n;
    } else if (p < pattern.size() &&
               (pattern[p] == L'?' || std::towlower(pattern[p]) == std::towlower(name[n]))) {
      ++p, ++n;
    } else if (star != std::wstring_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == L'*') ++p;
  return p == pattern.size();
}

std::vector<std::string> ExpandOne(const std::string& argument) {
  const size_t cut = argument.find_last_of("/\\:") + 1;  // npos + 1 is 0
  const std::string last = argument.substr(cut);
  if (last.find_first_of("*?") == std::string::npos) return {argument};
  const std::string folder = argument.substr(0, cut);
  const std::wstring pattern = PathFromUtf8(last).native();
  std::vector<std::string> found;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(PathFromUtf8(folder.empty() ? "." : folder), ec)) {
    const std::wstring name = entry.path().filename().native();
    if (Matches(pattern, name)) found.push_back(folder + PathToUtf8(entry.path().filename()));
  }
  if (found.empty()) return {argument};
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> args;
  for (int i = 0; i < count; ++i) args.push_back(Utf8FromWide(wide[i]));
  LocalFree(wide);
  return args;
}

std::vector<std::string> ExpandWildcards(const std::vector<std::string>& arguments) {
  std::vector<std::string> expanded;
  for (const std::string& argument : arguments) {
    std::vector<std::string> names = ExpandOne(argument);
    expanded.insert(expanded.end(), names.begin(), names.end());
  }
  return expanded;
}

#else

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

std::vector<std::string> ExpandWildcards(const std::vector<std::string>& arguments) {
  return arguments;
}

#endif

}  // namespace varnelko::platform
