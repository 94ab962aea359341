#pragma once
// The eight conversion settings C1..C8: target layer group, target layer,
// then six switches. Values are kept exactly as stored, odd ones included.
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

namespace varnelko {

constexpr int32_t kAllLayers = 16;  // C1 / C2 value that picks every group / layer

struct ConversionSettings {
  std::array<int32_t, 8> values{};  // values[0] is C1

  int32_t& C(int n) { return values[n - 1]; }
  int32_t C(int n) const { return values[n - 1]; }
  bool operator==(const ConversionSettings&) const = default;
};

// Reads section "JWW", keys C1..C8; a missing or empty key leaves its slot as
// it was. False, with the operating system's reason in `why`, when the file
// cannot be read (missing, no permission, no regular file): an unreadable
// file must not pass for one without keys.
bool LoadSettingsFile(const std::filesystem::path& path, ConversionSettings& settings,
                      std::string* why = nullptr);

// Writes the eight keys of section "JWW", keeping everything else in the file.
// False when any key could not be written.
bool SaveSettingsFile(const std::filesystem::path& path, const ConversionSettings& settings);

}  // namespace varnelko
