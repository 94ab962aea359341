// The folder tree: searching the folders below the search folder, depth
// first, and listing the folder the user clicks.
#include <QCollator>
#include <QLocale>
#include <QLineEdit>
#include <QStyle>
#include <QTreeWidget>
#include <algorithm>
#include <vector>

#include "desktop/folder_listing.h"
#include "qt/escape_watcher.h"
#include "qt/main_window.h"

namespace varnelko {

namespace {

// Sorts every level of the tree by the names, as the user's locale orders
// them, letter case aside.
void SortNodes(QTreeWidgetItem* node, const QCollator& collator) {
  QList<QTreeWidgetItem*> children = node->takeChildren();
  std::stable_sort(children.begin(), children.end(),
                   [&](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
                     return collator.compare(a->text(0), b->text(0)) < 0;
                   });
  node->addChildren(children);
  for (QTreeWidgetItem* child : children) SortNodes(child, collator);
}

}  // namespace

void TForm1::MnuFileSFolderClick() {
  if (!commands_.ChooseSearchFolder()) return;
  SetSearchFolder(state_.search_folder);
  SearchFolders();
}

void TForm1::SetSearchFolder(const std::filesystem::path& folder) {
  commands_.SetSearchFolder(folder);
  edit1_->setText(FromFsPath(state_.search_folder));
}

void TForm1::SearchFolders() {
  if (state_.busy) return;
  if (!commands_.BeginSearch()) return;
  ClearGrid();

  state_.busy = true;
  EscapeWatcher watcher;
  escape_ = &watcher;
  tree_->setEnabled(false);
  tree_->clear();
  auto* root = new QTreeWidgetItem(tree_, {FromFsPath(state_.search_folder)});
  root->setData(0, kNativeNameRole, FromFsPath(state_.search_folder));
  root->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
  AddSubfolders(state_.search_folder, root);

  // Pre-order walk: a folder's subfolders are searched right after it, in
  // the order they were found.
  std::vector<QTreeWidgetItem*> pending;
  for (int i = root->childCount() - 1; i >= 0; --i) pending.push_back(root->child(i));
  while (!pending.empty()) {
    if (watcher.EscapePressed()) state_.cancel = true;
    if (state_.cancel) break;
    QTreeWidgetItem* node = pending.back();
    pending.pop_back();
    AddSubfolders(FolderPathOfNode(node), node);
    for (int i = node->childCount() - 1; i >= 0; --i) pending.push_back(node->child(i));
  }
  escape_ = nullptr;
  tree_->setEnabled(true);
  state_.busy = false;

  commands_.EndSearch();
  QCollator collator(QLocale::system());  // the user's, not the program's language
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  SortNodes(root, collator);
  root->setExpanded(true);
}

void TForm1::AddSubfolders(const std::filesystem::path& folder, QTreeWidgetItem* node) {
  // Hidden folders are skipped, and so are links to folders, which could
  // lead the search round in a circle.
  const std::vector<FolderEntry> entries = ListFolder(folder, EntryKind::kFolders);
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i > 0 && escape_ && escape_->EscapePressed()) {
      state_.cancel = true;
      return;
    }
    auto* child = new QTreeWidgetItem(node, {Utf8(entries[i].shown)});
    child->setData(0, kNativeNameRole, FromFsPath(entries[i].name));
    child->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
  }
}

std::filesystem::path TForm1::FolderPathOfNode(const QTreeWidgetItem* node) const {
  if (!node) return {};
  // The root holds the whole path.
  if (!node->parent()) return ToFsPath(node->data(0, kNativeNameRole).toString());
  return WithTrailingSeparator(FolderPathOfNode(node->parent()) /
                               ToFsPath(node->data(0, kNativeNameRole).toString()));
}

void TForm1::TreeView1Click() {
  if (!state_.tree_ready) {
    commands_.RefuseWithoutTree();
    return;
  }
  ListSelectedNode();
}

void TForm1::ListSelectedNode() {
  if (state_.tree_ready && tree_->currentItem()) ListFiles(FolderPathOfNode(tree_->currentItem()));
}

}  // namespace varnelko
