#pragma once
// The program's ini file: window layout, folders, file-type filter and the
// eight conversion settings, 25 keys in the sections "Form", "Comp", "Set"
// and "JWW", then the preview pane's four keys in the section "Preview";
// read at start-up and written at shutdown in one fixed order.
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "conversion/conversion_settings.h"

namespace varnelko {

struct AppIniValues {
  int32_t main_left = 190, main_top = 109, main_width = 696, main_height = 478;
  int32_t dialog_left = 192, dialog_top = 107;
  int32_t pane_width = 160;
  std::array<int32_t, 6> column_widths{64, 64, 64, 64, 64, 64};
  std::string search_folder;  // UTF-8, like the ini file
  std::string output_folder;
  std::string settings_file;
  int32_t file_type = 0;  // -1 when no filter item is selected
  ConversionSettings settings;
  // The preview pane: shown (1) or not, its height, and its switches
  // "変換後" and "印刷イメージ" (1 on).
  int32_t preview_shown = 1, preview_height = 200, preview_after = 0, preview_print = 0;
  int32_t preview_colour = 0;
};

// Replaces each value whose key holds a non-empty text; the others keep what
// `values` had. Numbers that do not parse read as 0; paths are cut to 511
// bytes, numbers to 21.
void LoadAppIni(const std::filesystem::path& ini_path, AppIniValues& values);

// Writes every key in order; a key that cannot be written is skipped.
void SaveAppIni(const std::filesystem::path& ini_path, const AppIniValues& values);

}  // namespace varnelko
