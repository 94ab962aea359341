// What a drafter does every day beyond the menus: dropping folders and
// files, stopping a run, the sort arrow, F5, the keys, cut-off texts, a
// typed output folder, the recent folders and the hint over an empty list.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QToolTip>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QTreeWidget>
#include <QUrl>
#include <filesystem>

#include "app_fixture.h"
#include "desktop_fixtures.h"

namespace varnelko::test {
namespace {

namespace fs = std::filesystem;

QList<int> SelectedRows(QTableWidget* grid) {
  QList<int> rows;
  for (const QTableWidgetSelectionRange& range : grid->selectedRanges()) {
    for (int r = range.topRow(); r <= range.bottomRow(); ++r) rows << r;
  }
  return rows;
}

using DailyUseTest = AppTest;

TEST_F(DailyUseTest, DroppedFoldersAndFilesAreListedAndADropOnTheOutputFieldSetsIt) {
  const QString folder = Folder("drop");
  for (const char* name : {"a.jww", "b.jww", "c.jww", "d.jww"}) temp_.Write(std::string("drop/") + name, "x");
  const QString other = Folder("other");
  temp_.Write("other/e.jww", "x");
  TForm1& w = Start();
  EXPECT_TRUE(w.findChild<QLabel*>("StartHint")->isVisibleTo(grid()));

  // A real drop of a folder on the output field, through the window's events.
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(other)});
  const QPoint at = edit("Edit2")->mapTo(&w, edit("Edit2")->rect().center());
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(edit("Edit2"), &enter);  // passed on to the window
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &drop);
  EXPECT_EQ(edit("Edit2")->text(), other);
  EXPECT_EQ(Q(w.state().output_folder), other);

  // Files dropped on the list: their folder is listed and they are selected.
  w.Drop({ToFsPath(folder) / "b.jww", ToFsPath(folder) / "c.jww"}, grid());
  WaitForMemos();
  EXPECT_TRUE(w.state().tree_ready);
  EXPECT_EQ(Column(grid(), 0), QStringList({"a.jww", "b.jww", "c.jww", "d.jww"}));
  EXPECT_EQ(SelectedRows(grid()), QList<int>({1, 2}));
  EXPECT_FALSE(w.findChild<QLabel*>("StartHint")->isVisibleTo(grid()));

  // Files of two folders are refused; the list stays.
  TakeEvents();
  w.Drop({ToFsPath(folder) / "a.jww", ToFsPath(other) / "e.jww"}, grid());
  const QStringList events = TakeEvents();
  ASSERT_EQ(events.size(), 2);
  EXPECT_EQ(events[0], QString("beep"));
  EXPECT_EQ(grid()->rowCount(), 4);

  // A folder dropped anywhere else becomes the search folder.
  w.Drop({ToFsPath(other)}, nullptr);
  WaitForMemos();
  EXPECT_EQ(Q(w.state().search_folder), other);
  EXPECT_EQ(Column(grid(), 0), QStringList({"e.jww"}));
}

TEST_F(DailyUseTest, TheStopButtonAndEscapeEndARunAndItsCountsSaySo) {
  const QString source = Folder("many");
  for (int i = 0; i < 30; ++i) WriteLayeredDrawing(ToFsPath(source) / ("d" + std::to_string(i) + ".jww"), 50);
  TForm1& w = Start();
  SearchAndList(source);
  grid()->selectAll();
  w.SetOutputFolder(ToFsPath(Folder("out")));
  w.state().settings.C(1) = 1, w.state().settings.C(2) = 3, w.state().settings.C(3) = 1;
  auto* stop = w.findChild<QPushButton*>("StopRun");
  bool shown = false;
  QTimer::singleShot(0, [&] {  // runs inside the conversion's event loop
    shown = stop->isVisible();
    stop->click();
  });
  w.Button4Click();
  EXPECT_TRUE(shown);
  EXPECT_FALSE(stop->isVisible());
  EXPECT_EQ(status(), QString("変換作業を中止しました。"));
  EXPECT_TRUE(w.findChild<QLabel*>("RunCounts")->text().contains("未着手")) << w.findChild<QLabel*>("RunCounts")->text().toStdString();

  // Escape does the same.
  QTimer::singleShot(0, [&] {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(grid(), &escape);
  });
  w.Button4Click();
  EXPECT_EQ(status(), QString("変換作業を中止しました。"));
  // Run to the end, its counts beside the status text.
  w.Button4Click();
  EXPECT_EQ(status(), QString("変換作業を完了しました。"));
  EXPECT_EQ(w.findChild<QLabel*>("RunCounts")->text(), QString("変換 30  スキップ 0  失敗 0"));
}

TEST_F(DailyUseTest, TheHeaderShowsTheSortWhichHoldsForTheNextFolder) {
  const QString first = Folder("first"), second = Folder("second");
  temp_.Write("first/b.txt", "22");
  temp_.Write("first/a.txt", "1");
  temp_.Write("second/y.txt", "1");
  temp_.Write("second/z.txt", "22");
  TForm1& w = Start();
  SearchAndList(first);
  QHeaderView* header = grid()->horizontalHeader();
  EXPECT_EQ(header->sortIndicatorSection(), -1);
  w.StringGrid1MouseDown(1);  // by size, ascending
  EXPECT_EQ(header->sortIndicatorSection(), 1);
  EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
  w.StringGrid1MouseDown(1);  // descending
  EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
  EXPECT_EQ(Column(grid(), 0), QStringList({"b.txt", "a.txt"}));
  w.ListFiles(ToFsPath(second));
  EXPECT_EQ(Column(grid(), 0), QStringList({"z.txt", "y.txt"}));  // still by size, descending
  w.StringGrid1MouseDown(5);  // the listing's order, no arrow
  EXPECT_EQ(header->sortIndicatorSection(), -1);
  EXPECT_EQ(Column(grid(), 0), QStringList({"y.txt", "z.txt"}));
}

TEST_F(DailyUseTest, F5FindsNewAndRemovedFoldersAndFiles) {
  const QString root = Folder("root");
  Folder("root/old");
  Folder("root/keep");
  temp_.Write("root/keep/a.jww", "x");
  TForm1& w = Start();
  SearchAndList(root);
  tree()->setCurrentItem(tree()->topLevelItem(0)->child(0));  // "keep"
  w.TreeView1Click();
  WaitForMemos();
  fs::remove(ToFsPath(root) / "old");
  Folder("root/new");
  temp_.Write("root/keep/b.jww", "x");
  QAction* refresh = nullptr;
  for (QAction* action : w.findChildren<QAction*>()) {
    if (action->shortcut() == QKeySequence(Qt::Key_F5)) refresh = action;
  }
  ASSERT_NE(refresh, nullptr);
  refresh->trigger();
  WaitForMemos();
  QTreeWidgetItem* top = tree()->topLevelItem(0);
  ASSERT_EQ(top->childCount(), 2);
  EXPECT_EQ(top->child(0)->text(0), QString("keep"));
  EXPECT_EQ(top->child(1)->text(0), QString("new"));
  EXPECT_EQ(tree()->currentItem(), top->child(0));
  EXPECT_EQ(Column(grid(), 0), QStringList({"a.jww", "b.jww"}));
}

TEST_F(DailyUseTest, KeysOpenConvertAndChooseAndEnterOpensTheRow) {
  const QString folder = Folder("keys");
  temp_.Write("keys/a.jww", "x");
  TForm1& w = Start();
  QStringList keys;
  for (QAction* action : w.findChildren<QAction*>()) {
    if (!action->shortcut().isEmpty()) keys << action->text() + "=" + action->shortcut().toString();
  }
  for (const char* expected : {"検索フォルダの指定 (&S)=Ctrl+O", "現在の設定を保存(&S)...=Ctrl+S",
                               "終了 (&X)=Ctrl+Q", "最新の情報に更新 (&R)=F5", "=Ctrl+Return"}) {
    EXPECT_TRUE(keys.contains(expected)) << expected << " in " << keys.join(", ").toStdString();
  }
  SearchAndList(folder);
  grid()->setCurrentCell(0, 0);
  TakeEvents();
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(grid(), &enter);
  EXPECT_EQ(TakeEvents(), QStringList({"open:" + folder + "a.jww"}));
}

TEST_F(DailyUseTest, CutOffTextsEndInAnEllipsisAndShowWholeInATooltip) {
  const QString folder = Folder("long");
  WriteMemoDrawing(ToFsPath(folder) / "a.jww", "とても長い図面メモがここに続いていて列には収まりません");
  Start();
  SearchAndList(folder);
  EXPECT_EQ(grid()->textElideMode(), Qt::ElideRight);
  auto tooltip_at = [&](int column) {
    QToolTip::hideText();  // it goes after a moment
    QElapsedTimer timer;
    timer.start();
    while (QToolTip::isVisible() && timer.elapsed() < 2'000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    const QRect cell = grid()->visualRect(grid()->model()->index(0, column));
    QHelpEvent help(QEvent::ToolTip, cell.center(), grid()->viewport()->mapToGlobal(cell.center()));
    QApplication::sendEvent(grid()->viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  };
  EXPECT_EQ(tooltip_at(3), Cell(0, 3));  // the memo, cut off at 64 pixels
  EXPECT_EQ(tooltip_at(2), QString());   // ".JWW" fits
  grid()->setColumnWidth(1, 10);
  EXPECT_EQ(tooltip_at(1), QString());   // a size loses blanks, never digits, and no tooltip
}

TEST_F(DailyUseTest, ATypedOutputFolderIsCheckedWhenConverting) {
  const QString folder = Folder("typed");
  WriteLayeredDrawing(ToFsPath(folder) / "a.jww", 3);
  TForm1& w = Start();
  SearchAndList(folder);
  w.state().settings.C(3) = 1;
  QLineEdit* field = edit("Edit2");
  EXPECT_FALSE(field->isReadOnly());
  field->setFocus();
  for (const QChar c : QString(" /no/such/folder ")) {
    QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(field, &key);
  }
  EXPECT_EQ(Q(w.state().output_folder), QString("/no/such/folder/"));
  TakeEvents();
  w.Button4Click();
  EXPECT_EQ(TakeEvents(), QStringList({"beep", "confirm:保存先フォルダが見つかりません。確認して下さい。"}));
}

TEST_F(DailyUseTest, TheFileMenuListsTheLastSearchFoldersWhichComeBackNextTime) {
  const QString a = Folder("ra"), b = Folder("rb");
  temp_.Write("ra/x.jww", "x");
  TForm1& w = Start();
  SearchAndList(a);
  SearchAndList(b);
  QMenu* file = w.menuBar()->actions().first()->menu();
  Q_EMIT file->aboutToShow();
  QStringList items;
  QAction* first_folder = nullptr;
  for (QAction* action : file->actions()) {
    if (action->text().startsWith("&")) items << action->text();
    if (action->text() == "&2 " + a) first_folder = action;
  }
  EXPECT_EQ(items, QStringList({"&1 " + b, "&2 " + a}));
  ASSERT_NE(first_folder, nullptr);
  first_folder->trigger();
  WaitForMemos();
  EXPECT_EQ(Q(w.state().listed_folder), a);
  Close();
  const std::string ini_text = ReadFile(ToFsPath(ini()));
  EXPECT_NE(ini_text.find("[Recent]\nFolder1=" + a.toStdString() + "\nFolder2=" + b.toStdString()),
            std::string::npos)
      << ini_text;
}

}  // namespace
}  // namespace varnelko::test
