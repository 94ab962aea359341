#include "platform/command_line.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <string_view>

#include "platform/folder_names.h"
#include "platform/path_text.h"
#include "platform/wide_text.h"

namespace varnelko::platform {
namespace fs = std::filesystem;

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }
bool HasWildcard(std::wstring_view text) { return text.find_first_of(L"*?") != text.npos; }

// Letters match in either case, as the file system compares names.
bool SameLetter(wchar_t a, wchar_t b) {
  return a == b || CompareStringOrdinal(&a, 1, &b, 1, TRUE) == CSTR_EQUAL;
}

// "*" any run of characters, "?" one.
bool Matches(std::wstring_view pattern, std::wstring_view name) {
  size_t p = 0, n = 0, star = std::wstring_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == L'*') {
      star = p++;
      resume = n;
    } else if (p < pattern.size() && (pattern[p] == L'?' || SameLetter(pattern[p], name[n]))) {
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

// Where the parts that may hold wildcards begin: after the drive or
// network share and the first separator, and after a "\\?\" prefix, whose
// "?" is no wildcard.
size_t RootLength(const std::wstring& text) {
  const size_t prefix = text.starts_with(L"\\\\?\\") ? 4 : 0;
  return prefix + fs::path(text.substr(prefix)).root_path().native().size();
}

// One part of the path after the root, with the separators that follow it
// as they were typed.
struct Part {
  std::wstring name;
  std::wstring separators;
};

std::vector<Part> SplitParts(std::wstring_view rest) {
  std::vector<Part> parts;
  size_t at = 0;
  while (at < rest.size()) {
    size_t end = at;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    size_t next = end;
    while (next < rest.size() && IsSeparator(rest[next])) ++next;
    parts.push_back({std::wstring(rest.substr(at, end - at)),
                     std::wstring(rest.substr(end, next - end))});
    at = next;
  }
  return parts;
}

// Every folder part and the last part may hold wildcards; a folder part
// matches only folders. Each match keeps the text typed before it.
std::vector<std::string> ExpandOne(const std::string& argument) {
  const std::wstring text = PathFromUtf8(argument).native();
  const size_t root = RootLength(text);
  if (!HasWildcard(std::wstring_view(text).substr(root))) return {argument};
  const std::vector<Part> parts = SplitParts(std::wstring_view(text).substr(root));
  std::vector<std::wstring> found = {text.substr(0, root)};
  for (size_t i = 0; i < parts.size(); ++i) {
    const Part& part = parts[i];
    const bool last = i + 1 == parts.size();
    std::vector<std::wstring> next;
    for (const std::wstring& folder : found) {
      if (!HasWildcard(part.name)) {
        next.push_back(folder + part.name + part.separators);
        continue;
      }
      std::vector<FolderName> names;
      std::error_code error;
      ListFolderNames(folder, names, error);
      for (const FolderName& entry : names) {
        const std::wstring& name = entry.name.native();
        if ((last || entry.is_folder) && Matches(part.name, name)) {
          next.push_back(folder + name + part.separators);
        }
      }
    }
    found = std::move(next);
  }
  if (found.empty()) return {argument};
  std::vector<std::string> expanded;
  for (const std::wstring& path : found) expanded.push_back(Utf8FromWide(path));
  std::sort(expanded.begin(), expanded.end());
  return expanded;
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

}  // namespace varnelko::platform
