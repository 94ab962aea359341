// What the window adds to the commands of its menus: dropped files and
// folders, F5, and the last search folders in "ファイル".
#include <windows.h>

#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include "desktop/drop_plan.h"
#include "desktop/recent_folders.h"
#include "platform/wide_text.h"
#include "win32/control_ids.h"
#include "win32/drop_target.h"
#include "win32/main_window.h"

namespace varnelko::win32 {

namespace {

// "ファイル": search folder, file types, output folder, a separator, then the
// last search folders and a separator of their own, then "終了".
constexpr int kFirstRecentItem = 4;
constexpr int kFileItemsWithoutRecent = 5;

}  // namespace

void MainWindow::OnDropFiles(HDROP drop) {
  const std::vector<std::filesystem::path> paths = DroppedPaths(drop);
  POINT at{};
  DragQueryPoint(drop, &at);  // in the window's client area
  DragFinish(drop);
  Drop(paths, ChildWindowFromPointEx(hwnd_, at, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT));
}

void MainWindow::RegisterDropTarget() {
  // Explorer drags through OLE; the old WM_DROPFILES stays for the rest.
  DragAcceptFiles(hwnd_, TRUE);
  ole_ = SUCCEEDED(OleInitialize(nullptr));
  drop_target_ = new FileDropTarget(
      [this] { return !state_.busy; },
      [this, post = ui_queue_->Poster()](const std::vector<std::filesystem::path>& paths,
                                         POINT at) {
        // Taken after the drag has ended, so that the source does not wait
        // for the folder search.
        post([this, paths, at]() mutable {
          ScreenToClient(hwnd_, &at);
          Drop(paths, ChildWindowFromPointEx(hwnd_, at, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT));
        });
      });
  RegisterDragDrop(hwnd_, drop_target_);
}

void MainWindow::Drop(const std::vector<std::filesystem::path>& paths, HWND target) {
  if (state_.busy) return;
  DropZone zone = DropZone::kWindow;
  if (target && target == Control(kEdit2)) zone = DropZone::kOutputFolder;
  HWND list = Control(kStringGrid1);
  if (target && (target == list || IsChild(list, target))) zone = DropZone::kFileList;
  const DropPlan plan = PlanDrop(paths, zone);
  switch (plan.action) {
    case DropAction::kNone: return;
    case DropAction::kOutputFolder: SetOutputFolder(plan.folder); return;
    case DropAction::kRefuse:
      feedback_.Beep();
      commands_.ShowStatus(plan.message);
      return;
    case DropAction::kSearchFolder:
    case DropAction::kShowFiles:
      SetSearchFolder(plan.folder);
      SearchAndListRoot();
      // Selected when the rows come; a listing started later forgets them.
      if (rows_pending_) names_to_select_ = plan.names;
      return;
  }
}

void MainWindow::SearchAndListRoot() {
  SearchFolders();
  HWND tree = Control(kTreeView1);
  HTREEITEM root = TreeView_GetRoot(tree);
  if (!state_.tree_ready || !root) return;
  TreeView_SelectItem(tree, root);
  ListSelectedNode();
}

void MainWindow::Refresh() {
  if (state_.busy) return;
  if (!state_.tree_ready) {
    commands_.RefuseWithoutTree();
    return;
  }
  const bool listed = !state_.listed_folder.empty();
  const std::vector<std::filesystem::path> steps = commands_.ListedFolderSteps();
  SearchFolders();
  HWND tree = Control(kTreeView1);
  HTREEITEM node = TreeView_GetRoot(tree);
  if (!state_.tree_ready || !node) return;
  // The node of the listed folder again, or as near to it as still exists.
  for (const std::filesystem::path& step : steps) {
    HTREEITEM next = TreeView_GetChild(tree, node);
    for (; next; next = TreeView_GetNextSibling(tree, next)) {
      // A subfolder's path ends in a separator: its name is its parent's last part.
      if (FolderPathOfNode(next).parent_path().filename() == step) break;
    }
    if (!next) break;
    node = next;
  }
  TreeView_SelectItem(tree, node);
  TreeView_EnsureVisible(tree, node);
  if (listed) ListSelectedNode();
}

void MainWindow::FillRecentMenu() {
  HMENU file = GetSubMenu(menu_, 0);
  while (GetMenuItemCount(file) > kFileItemsWithoutRecent) {
    DeleteMenu(file, kFirstRecentItem, MF_BYPOSITION);
  }
  const auto& folders = state_.recent.folders();
  int position = kFirstRecentItem;
  for (int i = 0; i < static_cast<int>(folders.size()); ++i) {
    const std::wstring text = WideFromUtf8(RecentFolderItemText(i, folders[i]));
    InsertMenuW(file, position++, MF_BYPOSITION | MF_STRING, kMenuRecent0 + i, text.c_str());
  }
  if (!folders.empty()) InsertMenuW(file, position, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

}  // namespace varnelko::win32
