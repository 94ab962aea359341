#include <windows.h>

#include "platform/folder_names.h"
#include "platform/path_text.h"
#include "platform/windows_error.h"

namespace varnelko {
namespace fs = std::filesystem;

bool ListFolderNames(const fs::path& folder, std::vector<FolderName>& names,
                     std::error_code& error) {
  error.clear();
  const fs::path pattern = LongPathForm(folder.empty() ? fs::path(".") : folder) / L"*";
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) {
    // The root of an empty drive has not even "." to find.
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return true;
    error = LastWindowsError();
    return false;
  }
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    names.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(search, &found));
  if (GetLastError() != ERROR_NO_MORE_FILES) error = LastWindowsError();
  FindClose(search);
  return !error;
}

}  // namespace varnelko
