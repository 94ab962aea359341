#pragma once
// Where the program keeps its ini file.
#include <filesystem>

namespace varnelko {

struct AppLocations {
  std::filesystem::path program_folder;  // folder of the executable, ending in a separator
  std::filesystem::path ini_path;        // "varnelko.ini"
};

// A folder can look writable and still refuse new files (Program Files on
// Windows, a read-only mount): only creating a file there tells.
bool CanCreateFilesIn(const std::filesystem::path& folder);

// The ini file lives beside the executable when that folder accepts new
// files (a portable install), otherwise in `config_folder`, which is made
// when missing (the user's configuration folder, %APPDATA%\Varnelko on
// Windows).
AppLocations ChooseAppLocations(const std::filesystem::path& program_folder,
                                const std::filesystem::path& config_folder);

}  // namespace varnelko
