#include "win32/app_locations.h"

#include <shlobj.h>

#include <system_error>

namespace varnelko::win32 {

namespace {

std::filesystem::path ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return std::filesystem::path(path).parent_path();
}

// Made and removed again: only a real file tells whether the folder takes
// new ones (Program Files does not, whatever its attributes say).
bool AcceptsNewFiles(const std::filesystem::path& folder) {
  const std::filesystem::path probe = folder / L"varnelko-write-test.tmp";
  HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

std::filesystem::path UserSettingsFolder() {
  wchar_t* roaming = nullptr;
  std::filesystem::path folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming))) {
    folder = std::filesystem::path(roaming) / L"Varnelko";
  }
  CoTaskMemFree(roaming);
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  return folder;
}

}  // namespace

WindowLocations DefaultWindowLocations() {
  WindowLocations locations;
  locations.program_folder = ProgramFolder() / L"";
  const std::filesystem::path ini_folder =
      AcceptsNewFiles(locations.program_folder) ? locations.program_folder : UserSettingsFolder();
  locations.ini_path = ini_folder / L"varnelko.ini";
  return locations;
}

}  // namespace varnelko::win32
