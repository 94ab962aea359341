// What the window adds to the commands of its menus: dropped files and
// folders, F5, the recent search folders and the hint over an empty list.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTableWidget>
#include <QTreeWidget>
#include <QUrl>
#include <set>

#include "desktop/drop_plan.h"
#include "desktop/recent_folders.h"
#include "qt/main_window.h"

namespace varnelko {

namespace {

std::vector<std::filesystem::path> LocalPaths(const QMimeData* data) {
  std::vector<std::filesystem::path> paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) paths.push_back(ToFsPath(url.toLocalFile()));
  }
  return paths;
}

}  // namespace

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (!state_.busy && !LocalPaths(event->mimeData()).empty()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  Drop(LocalPaths(event->mimeData()), childAt(event->position().toPoint()));
  event->acceptProposedAction();
}

void TForm1::Drop(const std::vector<std::filesystem::path>& paths, QWidget* target) {
  if (state_.busy) return;
  DropZone zone = DropZone::kWindow;
  if (target && (target == edit2_ || edit2_->isAncestorOf(target))) zone = DropZone::kOutputFolder;
  if (target && (target == grid_ || grid_->isAncestorOf(target))) zone = DropZone::kFileList;
  const DropPlan plan = PlanDrop(paths, zone);
  switch (plan.action) {
    case DropAction::kNone: return;
    case DropAction::kOutputFolder: SetOutputFolder(plan.folder); return;
    case DropAction::kRefuse:
      feedback_->Beep();
      ShowStatus(plan.message);
      return;
    case DropAction::kSearchFolder:
    case DropAction::kShowFiles:
      SetSearchFolder(plan.folder);
      SearchAndListRoot();
      if (!plan.names.empty() && state_.list_shown) SelectNames(plan.names);
      return;
  }
}

void TForm1::SearchAndListRoot() {
  SearchFolders();
  if (!state_.tree_ready || tree_->topLevelItemCount() == 0) return;
  tree_->setCurrentItem(tree_->topLevelItem(0));
  ListSelectedNode();
}

void TForm1::SelectNames(const std::vector<std::filesystem::path>& names) {
  // The convert command takes one range of rows: from the first dropped file
  // to the last, as the list shows them.
  const std::set<std::filesystem::path> wanted(names.begin(), names.end());
  int top = -1, bottom = -1;
  for (int row = 0; row < grid_->rowCount(); ++row) {
    if (!wanted.contains(RowFileName(row))) continue;
    if (top < 0) top = row;
    bottom = row;
  }
  if (top < 0) return;
  grid_->setCurrentCell(top, 0);
  grid_->clearSelection();
  grid_->setRangeSelected(QTableWidgetSelectionRange(top, 0, bottom, kFileColumns - 1), true);
}

void TForm1::Refresh() {
  if (state_.busy) return;
  if (!state_.tree_ready) {
    commands_.RefuseWithoutTree();
    return;
  }
  const bool listed = state_.list_shown || !state_.listed_folder.empty();
  const std::vector<std::filesystem::path> steps = commands_.ListedFolderSteps();
  SearchFolders();
  if (!state_.tree_ready || tree_->topLevelItemCount() == 0) return;
  // The node of the listed folder again, or as near to it as still exists.
  QTreeWidgetItem* node = tree_->topLevelItem(0);
  for (const std::filesystem::path& step : steps) {
    QTreeWidgetItem* next = nullptr;
    for (int i = 0; i < node->childCount() && !next; ++i) {
      if (ToFsPath(node->child(i)->data(0, kNativeNameRole).toString()) == step) next = node->child(i);
    }
    if (!next) break;
    node = next;
  }
  tree_->setCurrentItem(node);
  if (listed) ListSelectedNode();
}

void TForm1::FillRecentMenu() {
  for (QAction* action : recent_actions_) delete action;
  recent_actions_.clear();
  // They go between the separator below the output-folder command and the one
  // above "終了".
  const QList<QAction*> actions = file_menu_->actions();
  QAction* exit_separator = actions.value(actions.indexOf(recent_separator_) + 1);
  const auto& folders = state_.recent.folders();
  for (int i = 0; i < static_cast<int>(folders.size()); ++i) {
    auto* action = new QAction(Utf8(RecentFolderItemText(i, folders[i])), file_menu_);
    const std::filesystem::path folder = folders[i];
    connect(action, &QAction::triggered, this, [this, folder] {
      if (state_.busy) return;
      SetSearchFolder(folder);
      SearchAndListRoot();
    });
    file_menu_->insertAction(exit_separator, action);
    recent_actions_.push_back(action);
  }
  recent_separator_->setVisible(!folders.empty());
}

void TForm1::ShowStartHint() { hint_->setVisible(commands_.ShowsStartHint()); }

}  // namespace varnelko
