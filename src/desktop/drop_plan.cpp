#include "desktop/drop_plan.h"

#include <system_error>

#include "desktop/window_state.h"

namespace varnelko {

namespace fs = std::filesystem;

namespace {

constexpr const char* kSeveralFolders =
    "一度に表示できるのは１つのフォルダのファイルです。同じフォルダのファイルをドロップして下さい。";
constexpr const char* kOneFolder = "フォルダは１つずつドロップして下さい。";

bool IsFolder(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

// A path as dropped may end in a separator; its folder and name then come
// from the path without it.
fs::path Trimmed(const fs::path& path) {
  return path.has_filename() ? path : path.parent_path();
}

}  // namespace

DropPlan PlanDrop(const std::vector<fs::path>& dropped, DropZone zone) {
  DropPlan plan;
  if (dropped.empty()) return plan;
  if (zone == DropZone::kOutputFolder) {
    const fs::path first = Trimmed(dropped.front());
    plan.action = DropAction::kOutputFolder;
    plan.folder = WithTrailingSeparator(IsFolder(first) ? first : first.parent_path());
    return plan;
  }
  size_t folders = 0;
  for (const fs::path& path : dropped) folders += IsFolder(path) ? 1 : 0;
  if (folders > 0) {
    if (dropped.size() > 1) return {DropAction::kRefuse, {}, {}, kOneFolder};
    plan.action = DropAction::kSearchFolder;
    plan.folder = WithTrailingSeparator(Trimmed(dropped.front()));
    return plan;
  }
  const fs::path folder = dropped.front().parent_path();
  for (const fs::path& path : dropped) {
    if (path.parent_path() != folder) return {DropAction::kRefuse, {}, {}, kSeveralFolders};
    plan.names.push_back(path.filename());
  }
  plan.action = DropAction::kShowFiles;
  plan.folder = WithTrailingSeparator(folder);
  return plan;
}

}  // namespace varnelko
