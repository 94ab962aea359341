#include "win32/app_locations.h"

#include <windows.h>

#include <shlobj.h>

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
  return std::filesystem::path(path).parent_path() / L"";
}

std::filesystem::path UserSettingsFolder() {
  wchar_t* roaming = nullptr;
  std::filesystem::path folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming))) {
    folder = std::filesystem::path(roaming) / L"Varnelko";
  }
  CoTaskMemFree(roaming);
  return folder;
}

}  // namespace

AppLocations DefaultAppLocations() {
  return ChooseAppLocations(ProgramFolder(), UserSettingsFolder());
}

}  // namespace varnelko::win32
