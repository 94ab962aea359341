#include "desktop/recent_folders.h"

#include <algorithm>

#include "document/ini_file.h"
#include "platform/path_text.h"

namespace varnelko {

namespace {

constexpr const char* kSection = "Recent";
constexpr int kReadSize = 512;

std::string Key(int n) { return "Folder" + std::to_string(n); }

}  // namespace

void RecentFolders::Add(const std::filesystem::path& folder) {
  if (folder.empty()) return;
  std::erase(folders_, folder);
  folders_.insert(folders_.begin(), folder);
  if (folders_.size() > kRecentFolders) folders_.resize(kRecentFolders);
}

void RecentFolders::Load(const std::filesystem::path& ini_path) {
  folders_.clear();
  for (int n = 1; n <= kRecentFolders; ++n) {
    std::string text;
    if (IniReadStr(kSection, Key(n), text, kReadSize, ini_path)) {
      const std::filesystem::path folder = PathFromUtf8(text);
      if (std::find(folders_.begin(), folders_.end(), folder) == folders_.end()) {
        folders_.push_back(folder);
      }
    }
  }
}

void RecentFolders::Save(const std::filesystem::path& ini_path) const {
  if (folders_.empty()) return;
  for (int n = 1; n <= kRecentFolders; ++n) {
    const size_t i = static_cast<size_t>(n - 1);
    IniWriteStr(kSection, Key(n), i < folders_.size() ? PathToUtf8(folders_[i]) : "", ini_path);
  }
}

std::string RecentFolderItemText(int index, const std::filesystem::path& folder) {
  return "&" + std::to_string(index + 1) + " " + PathToUtf8(folder);
}

}  // namespace varnelko
