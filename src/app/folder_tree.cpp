// The folder tree: searching the folders below the search folder, depth
// first, and listing the folder the user clicks.
#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QLineEdit>
#include <QStyle>
#include <QTreeWidget>
#include <algorithm>
#include <vector>

#include "app/escape_watcher.h"
#include "app/main_window.h"
#include "app/native_names.h"

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
  ShowStatus(QString());
  const QString folder =
      feedback_->ChooseFolder(QStringLiteral("検索フォルダの指定"), state_.search_folder);
  if (folder.isEmpty()) return;
  SetSearchFolder(folder);
  SearchFolders();
}

void TForm1::SetSearchFolder(const QString& folder) {
  state_.search_folder = WithTrailingSeparator(folder);
  edit1_->setText(state_.search_folder);
}

void TForm1::SearchFolders() {
  if (state_.busy) return;
  ShowStatus(QStringLiteral("フォルダ検索中です。（ESC:中断）"));
  if (!QFileInfo(state_.search_folder).isDir()) {
    feedback_->Beep();
    feedback_->InfoBox(QStringLiteral("検索フォルダのディスクドライブの準備が出来ていません。"));
    ShowStatus(QStringLiteral("検索フォルダを指定して下さい。"));
    return;
  }
  state_.list_shown = false;
  ClearGrid();
  state_.tree_ready = false;
  state_.cancel = false;

  state_.busy = true;
  EscapeWatcher watcher;
  escape_ = &watcher;
  tree_->setEnabled(false);
  tree_->clear();
  auto* root = new QTreeWidgetItem(tree_, {state_.search_folder});
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

  ShowStatus(state_.cancel ? QStringLiteral("フォルダ検索を中断しました。") : QString());
  state_.tree_ready = true;
  QCollator collator(QLocale::system());  // the user's, not the program's language
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  SortNodes(root, collator);
  root->setExpanded(true);
}

void TForm1::AddSubfolders(const QString& folder, QTreeWidgetItem* node) {
  // Hidden folders are skipped, and so are links to folders, which could
  // lead the search round in a circle.
  const std::vector<FolderEntry> entries = ListFolder(folder, EntryKind::kFolders);
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i > 0 && escape_ && escape_->EscapePressed()) {
      state_.cancel = true;
      return;
    }
    auto* child = new QTreeWidgetItem(node, {entries[i].shown});
    child->setData(0, kNativeNameRole, entries[i].name);
    child->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
  }
}

QString TForm1::FolderPathOfNode(const QTreeWidgetItem* node) const {
  if (!node) return {};
  if (!node->parent()) return node->text(0);  // the root holds the whole path
  return FolderPathOfNode(node->parent()) + node->data(0, kNativeNameRole).toString() +
         QDir::separator();
}

void TForm1::TreeView1Click() {
  if (!state_.tree_ready) {
    RefuseWithoutTree();
    return;
  }
  ListSelectedNode();
}

void TForm1::ListSelectedNode() {
  if (state_.tree_ready && tree_->currentItem()) ListFiles(FolderPathOfNode(tree_->currentItem()));
}

}  // namespace varnelko
