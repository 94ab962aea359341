#pragma once
// The last search folders, newest first, for the "ファイル" menu; kept in the
// ini file in a section of their own ("Recent", keys Folder1..Folder5).
#include <filesystem>
#include <string>
#include <vector>

namespace varnelko {

constexpr int kRecentFolders = 5;

class RecentFolders {
 public:
  // `folder` goes first; an earlier entry of it goes, and the oldest beyond
  // five.
  void Add(const std::filesystem::path& folder);
  const std::vector<std::filesystem::path>& folders() const { return folders_; }

  void Load(const std::filesystem::path& ini_path);
  // Writes nothing while the list is empty, so that a first run adds no keys.
  void Save(const std::filesystem::path& ini_path) const;

 private:
  std::vector<std::filesystem::path> folders_;
};

// The menu item of entry `index` (0 first): "&1 /path/" with the shown path.
std::string RecentFolderItemText(int index, const std::filesystem::path& folder);

}  // namespace varnelko
