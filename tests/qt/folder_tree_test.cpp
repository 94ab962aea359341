// The folder search: depth-first tree, paths of nodes, a missing folder,
// Escape, and commands used before any search.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLineEdit>
#include <QTreeWidget>
#include <filesystem>

#include "app_fixture.h"

namespace varnelko::test {
namespace {

namespace fs = std::filesystem;

// Names of all nodes in pre-order, children indented by two blanks.
QStringList Outline(QTreeWidgetItem* item, int depth = 0) {
  QStringList lines{QString(depth * 2, ' ') + item->text(0)};
  for (int i = 0; i < item->childCount(); ++i) lines << Outline(item->child(i), depth + 1);
  return lines;
}

using FolderTreeTest = AppTest;

TEST_F(FolderTreeTest, SearchBuildsTheWholeTreeSortedAndSkipsHiddenAndLinks) {
  const QString root = Folder("root");
  for (const char* sub : {"b/y", "b/x/deep", "a", ".hidden/inner", "C"}) {
    fs::create_directories(ToFsPath(root) / sub);
  }
  fs::create_directory_symlink(ToFsPath(root), ToFsPath(root) / "a" / "loop");  // would never end

  TForm1& w = Start();
  feedback_->folder_choice = ToFsPath(root);
  w.MnuFileSFolderClick();
  EXPECT_EQ(edit("Edit1")->text(), root);
  EXPECT_TRUE(w.state().tree_ready);
  EXPECT_TRUE(tree()->isEnabled());
  EXPECT_EQ(status(), QString());
  EXPECT_EQ(Outline(tree()->topLevelItem(0)),
            QStringList({root, "  a", "  b", "    x", "      deep", "    y", "  C"}));
  EXPECT_EQ(TakeEvents(), QStringList({"status:", "choose:検索フォルダの指定",
                                       "status:フォルダ検索中です。（ESC:中断）", "status:"}));

  QTreeWidgetItem* deep = tree()->topLevelItem(0)->child(1)->child(0)->child(0);
  EXPECT_EQ(Q(w.FolderPathOfNode(deep)), root + "b/x/deep/");
  EXPECT_EQ(Q(w.FolderPathOfNode(tree()->topLevelItem(0))), root);
}

TEST_F(FolderTreeTest, CancelledChooserRunsNoSearch) {
  TForm1& w = Start();
  feedback_->folder_choice.clear();
  w.MnuFileSFolderClick();
  EXPECT_FALSE(w.state().tree_ready);
  EXPECT_EQ(tree()->topLevelItemCount(), 0);
}

TEST_F(FolderTreeTest, AMissingFolderLeavesTreeListAndFlagsAlone) {
  const QString root = Folder("there");
  TForm1& w = Start();
  SearchAndList(root);
  TakeEvents();
  w.SetSearchFolder(ToFsPath(root + "gone"));
  w.SearchFolders();
  EXPECT_EQ(TakeEvents(), QStringList({"status:フォルダ検索中です。（ESC:中断）", "beep",
                                       "info:検索フォルダのディスクドライブの準備が出来ていません。",
                                       "status:検索フォルダを指定して下さい。"}));
  EXPECT_TRUE(w.state().tree_ready);
  EXPECT_EQ(tree()->topLevelItem(0)->text(0), root);
}

TEST_F(FolderTreeTest, EscapeStopsTheSearchAndKeepsThePartialTree) {
  const QString root = Folder("many");
  for (const char* sub : {"a/a1", "b", "c"}) fs::create_directories(ToFsPath(root) / sub);
  TForm1& w = Start();
  w.SetSearchFolder(ToFsPath(root));
  // The key press waits in the queue until the search lets events run.
  QApplication::postEvent(&w, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
  w.SearchFolders();
  EXPECT_EQ(status(), QString("フォルダ検索を中断しました。"));
  EXPECT_TRUE(w.state().tree_ready);
  EXPECT_TRUE(w.state().cancel);
  // The root's first subfolder is added before the first test of the key.
  EXPECT_EQ(Outline(tree()->topLevelItem(0)), QStringList({root, "  a"}));
  // The next search starts afresh.
  w.SearchFolders();
  EXPECT_FALSE(w.state().cancel);
  EXPECT_EQ(Outline(tree()->topLevelItem(0)).size(), 5);
}

TEST_F(FolderTreeTest, CommandsBeforeAnySearchAskForTheSearchFolder) {
  TForm1& w = Start();
  TakeEvents();
  const QStringList refusal = {"beep", "error:検索フォルダを指定して下さい。",
                               "status:検索フォルダを指定して下さい。"};
  // Real clicks: the empty tree has no item under the pointer. Only the
  // left button clicks.
  for (Qt::MouseButton button : {Qt::RightButton, Qt::LeftButton}) {
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QMouseEvent click(type, QPointF(20, 20), tree()->viewport()->mapToGlobal(QPointF(20, 20)),
                        button, type == QEvent::MouseButtonPress ? button : Qt::NoButton,
                        Qt::NoModifier);
      QApplication::sendEvent(tree()->viewport(), &click);
    }
    EXPECT_EQ(TakeEvents(), button == Qt::LeftButton ? refusal : QStringList());
  }
  w.StringGrid1DblClick();
  EXPECT_EQ(TakeEvents(), refusal);
  w.Button4Click();
  EXPECT_EQ(TakeEvents(), refusal);
}

}  // namespace
}  // namespace varnelko::test
