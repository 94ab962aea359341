#pragma once
// Private-profile (ini) files: "[section]" lines and "key=value" lines, names
// matched without regard to case. Files are UTF-8 on this platform.
#include <filesystem>
#include <string>
#include <string_view>

namespace varnelko {

// Reads a value cut to size - 1 bytes. True only when a non-empty value was
// read; a missing file, section or key gives false and an empty text.
bool IniReadStr(std::string_view section, std::string_view key, std::string& out, int size,
                const std::filesystem::path& ini_path);

// Creates the file, the section and the key as needed and replaces an
// existing value; the rest of the file is left as it was. An empty value is
// written as "key=". False when the file cannot be written.
bool IniWriteStr(std::string_view section, std::string_view key, std::string_view value,
                 const std::filesystem::path& ini_path);

}  // namespace varnelko
