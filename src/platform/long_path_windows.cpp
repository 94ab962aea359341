#include <windows.h>

#include <string>

#include "platform/path_text.h"

namespace varnelko {
namespace {

// A folder's path must leave room for a file name of 8.3 characters.
constexpr size_t kPlainFormLimit = MAX_PATH - 12;

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
  return text.rfind(prefix, 0) == 0;
}

}  // namespace

std::filesystem::path LongPathForm(const std::filesystem::path& path) {
  const std::wstring& given = path.native();
  if (given.empty() || StartsWith(given, L"\\\\?\\") || StartsWith(given, L"\\\\.\\")) {
    return path;
  }
  const DWORD needed = GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(given.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return path;
  full.resize(length);
  if (full.size() < kPlainFormLimit) return path;
  if (StartsWith(full, L"\\\\?\\") || StartsWith(full, L"\\\\.\\")) return full;  // a device
  if (StartsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

}  // namespace varnelko
