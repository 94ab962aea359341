#include "conversion/conversion_settings.h"

#include <string>

#include "document/ini_file.h"
#include "document/text_helpers.h"
#include "formats/file_io.h"

namespace varnelko {

namespace {

constexpr const char* kSection = "JWW";
constexpr int kNumberReadSize = 22;

std::string SlotKey(int n) { return "C" + std::to_string(n); }

}  // namespace

bool LoadSettingsFile(const std::filesystem::path& path, ConversionSettings& settings,
                      std::string* why) {
  std::string text;
  FormatError error;
  if (!ReadFilePrefix(path, 1, text, &error)) {
    if (why) *why = error.what;
    return false;
  }
  for (int n = 1; n <= 8; ++n) {
    std::string value;
    // A missing or empty key keeps the slot; odd values are kept as stored.
    if (IniReadStr(kSection, SlotKey(n), value, kNumberReadSize, path)) {
      settings.C(n) = StrToIntLenient(value);
    }
  }
  return true;
}

bool SaveSettingsFile(const std::filesystem::path& path, const ConversionSettings& settings) {
  bool all_written = true;
  for (int n = 1; n <= 8; ++n) {
    // Every key is attempted, even after one failed.
    if (!IniWriteStr(kSection, SlotKey(n), std::to_string(settings.C(n)), path)) {
      all_written = false;
    }
  }
  return all_written;
}

}  // namespace varnelko
