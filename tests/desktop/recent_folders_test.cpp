#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "desktop/recent_folders.h"
#include "support/temp_dir.h"

namespace varnelko::test {
namespace {

namespace fs = std::filesystem;

// Folders are shown and kept with the system's separators.
std::string Native(std::string path) {
  std::replace(path.begin(), path.end(), '/', static_cast<char>(fs::path::preferred_separator));
  return path;
}

TEST(RecentFoldersTest, NewestFirstFiveAtMostEachOnceKeptInTheirOwnSection) {
  TempDir temp;
  const fs::path ini = temp.path() / "v.ini";
  RecentFolders recent;
  recent.Save(ini);
  EXPECT_FALSE(fs::exists(ini)) << "a first run adds no keys";
  for (const char* folder : {"/a/", "/b/", "/c/", "/b/", "/d/", "/e/", "/f/"}) recent.Add(folder);
  const std::vector<fs::path> expected = {"/f/", "/e/", "/d/", "/b/", "/c/"};
  EXPECT_EQ(recent.folders(), expected);
  recent.Save(ini);
  EXPECT_EQ(ReadFile(ini), Native("[Recent]\nFolder1=/f/\nFolder2=/e/\nFolder3=/d/\nFolder4=/b/\n"
                                  "Folder5=/c/\n"));
  RecentFolders loaded;
  loaded.Load(ini);
  EXPECT_EQ(loaded.folders(), expected);
  EXPECT_EQ(RecentFolderItemText(0, "/f/"), Native("&1 /f/"));
}

}  // namespace
}  // namespace varnelko::test
