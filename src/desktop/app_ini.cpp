#include "desktop/app_ini.h"

#include <vector>

#include "document/ini_file.h"
#include "document/text_helpers.h"

namespace varnelko {

namespace {

constexpr int kNumberReadSize = 22;
constexpr int kTextReadSize = 512;

// One key and the value it stands for: a number or a text.
struct IniKey {
  const char* section;
  std::string key;
  int32_t* number = nullptr;
  std::string* text = nullptr;
};

// The 25 keys of the original layout, then the preview pane's, in the order
// they are read and written.
std::vector<IniKey> KeysOf(AppIniValues& v) {
  std::vector<IniKey> keys = {
      {"Form", "F1_X", &v.main_left},     {"Form", "F1_Y", &v.main_top},
      {"Form", "F1_W", &v.main_width},    {"Form", "F1_H", &v.main_height},
      {"Form", "F2_X", &v.dialog_left},   {"Form", "F2_Y", &v.dialog_top},
      {"Comp", "F1P1", &v.pane_width},
  };
  for (int i = 0; i < 6; ++i) {
    keys.push_back({"Comp", "F1S" + std::to_string(i), &v.column_widths[i]});
  }
  keys.push_back({"Set", "FLD1", nullptr, &v.search_folder});
  keys.push_back({"Set", "FLD2", nullptr, &v.output_folder});
  keys.push_back({"Set", "FNAM", nullptr, &v.settings_file});
  keys.push_back({"Set", "FTYP", &v.file_type});
  for (int n = 1; n <= 8; ++n) {
    keys.push_back({"JWW", "C" + std::to_string(n), &v.settings.C(n)});
  }
  keys.push_back({"Preview", "Shown", &v.preview_shown});
  keys.push_back({"Preview", "Height", &v.preview_height});
  keys.push_back({"Preview", "After", &v.preview_after});
  keys.push_back({"Preview", "Print", &v.preview_print});
  keys.push_back({"Preview", "Colour", &v.preview_colour});
  return keys;
}

}  // namespace

void LoadAppIni(const std::filesystem::path& ini_path, AppIniValues& values) {
  for (const IniKey& key : KeysOf(values)) {
    std::string text;
    const int size = key.number ? kNumberReadSize : kTextReadSize;
    if (!IniReadStr(key.section, key.key, text, size, ini_path)) continue;
    if (key.number) {
      *key.number = StrToIntLenient(text);
    } else {
      *key.text = text;
    }
  }
}

void SaveAppIni(const std::filesystem::path& ini_path, const AppIniValues& values) {
  AppIniValues copy = values;
  for (const IniKey& key : KeysOf(copy)) {
    const std::string text = key.number ? std::to_string(*key.number) : *key.text;
    IniWriteStr(key.section, key.key, text, ini_path);
  }
}

}  // namespace varnelko
