#include "desktop/app_locations.h"

#include <string_view>
#include <system_error>

#include "desktop/window_state.h"
#include "platform/native_file.h"

namespace varnelko {

namespace {

constexpr const char* kIniName = "varnelko.ini";

}  // namespace

bool CanCreateFilesIn(const std::filesystem::path& folder) {
  const std::filesystem::path probe = folder / ".varnelko-write-test";
  if (WriteNewFile(probe, std::span<const std::string_view>{})) return false;
  std::error_code ignored;
  std::filesystem::remove(probe, ignored);
  return true;
}

AppLocations ChooseAppLocations(const std::filesystem::path& program_folder,
                                const std::filesystem::path& config_folder) {
  AppLocations locations;
  locations.program_folder = WithTrailingSeparator(program_folder);
  if (CanCreateFilesIn(locations.program_folder)) {
    locations.ini_path = locations.program_folder / kIniName;
    return locations;
  }
  std::error_code ignored;
  std::filesystem::create_directories(config_folder, ignored);
  locations.ini_path = config_folder / kIniName;
  return locations;
}

}  // namespace varnelko
