// The file list: columns, filters, memos by extension, the size column's
// alignment, header-click sorting and double-click.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTreeWidget>
#include <filesystem>

#include "qt/app_paths.h"
#include "app_fixture.h"
#include "desktop_fixtures.h"
#include "document/cp932.h"
#include "formats/jww/jww_file.h"
#include "support/document_builder.h"

namespace varnelko::test {
namespace {

namespace fs = std::filesystem;

QStringList Column(QTableWidget* grid, int column) {
  QStringList texts;
  for (int r = 0; r < grid->rowCount(); ++r) texts << grid->item(r, column)->text();
  return texts;
}

class FileListTest : public AppTest {
 protected:
  QString MakeFolder() {
    const QString folder = Folder("files");
    temp_.Write("files/a.txt", "12345");
    temp_.Write("files/noext", std::string(123456, 'x'));
    temp_.Write("files/.hidden.jww", "JwwData.");
    fs::create_directory(ToFsPath(folder) / "sub.jww");
    return folder;
  }
};

TEST_F(FileListTest, RowsShowNameSizeTypeTimeAndAttributes) {
  const QString folder = MakeFolder();
  const fs::path locked = ToFsPath(folder) / "Locked.Txt";
  temp_.Write("files/Locked.Txt", "");
  fs::permissions(locked, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  // An odd second: the list shows the even second below it.
  QFile file(folder + "a.txt");
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  const QDateTime odd(QDate(2024, 5, 6), QTime(7, 8, 9));
  ASSERT_TRUE(file.setFileTime(odd, QFileDevice::FileModificationTime));
  file.close();

  TForm1& w = Start();
  SearchAndList(folder);
  w.ListFiles(ToFsPath(folder));  // checked before a paint re-aligns the sizes
  EXPECT_EQ(Column(grid(), 0), QStringList({"a.txt", "Locked.Txt", "noext"}));
  EXPECT_EQ(Column(grid(), 1), QStringList({"       5", "       0", "  123456"}));
  EXPECT_EQ(Column(grid(), 2), QStringList({".TXT", ".TXT", ""}));
  WaitForMemos();
  EXPECT_EQ(Column(grid(), 3), QStringList({"", "", ""}));
  EXPECT_EQ(Cell(0, 4), QString("2024/05/06 07:08:08"));
  EXPECT_TRUE(QRegularExpression("^\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d[02468]$")
                  .match(Cell(2, 4)).hasMatch());
  EXPECT_EQ(Column(grid(), 5), QStringList({"", "R ", ""}));
  EXPECT_EQ(status(), "3 Files  パス名「" + folder + "」");
  EXPECT_TRUE(w.state().list_shown);
}

TEST_F(FileListTest, AnEmptyFolderShowsOneEmptyRowAndBlocksConversion) {
  const QString folder = Folder("empty");
  TForm1& w = Start();
  SearchAndList(folder);
  EXPECT_EQ(grid()->rowCount(), 1);
  EXPECT_EQ(Cell(0, 0), QString());
  EXPECT_EQ(status(), "0 Files  パス名「" + folder + "」");
  EXPECT_FALSE(w.state().list_shown);
  TakeEvents();
  w.Button4Click();
  EXPECT_EQ(TakeEvents(), QStringList({"beep", "error:ファイル一覧が表示されていません。"}));
  w.StringGrid1DblClick();
  EXPECT_EQ(TakeEvents(),
            QStringList({"beep", "status:図面の格納されているフォルダを指定して下さい。"}));
}

TEST_F(FileListTest, EscapeStopsTheMemosAndKeepsTheRows) {
  const QString folder = Folder("memos");
  WriteMemoDrawing(ToFsPath(folder) / "a.jww", "一");
  WriteMemoDrawing(ToFsPath(folder) / "b.jww", "二");
  TForm1& w = Start();
  SearchAndList(folder);
  // Escape pressed before any memo is handed over: the rows stay, memos
  // stay empty, and the list can be converted.
  QApplication::postEvent(&w, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
  w.ListFiles(ToFsPath(folder));
  WaitForMemos();
  EXPECT_EQ(status(), QString("検索を中断しました。"));
  EXPECT_EQ(Column(grid(), 0), QStringList({"a.jww", "b.jww"}));
  EXPECT_EQ(Column(grid(), 3), QStringList({"", ""}));
  EXPECT_TRUE(w.state().list_shown);
  w.ListFiles(ToFsPath(folder));  // the next listing runs to the end
  WaitForMemos();
  EXPECT_EQ(Column(grid(), 3), QStringList({"一", "二"}));
  EXPECT_EQ(status(), "2 Files  パス名「" + folder + "」");
}

TEST_F(FileListTest, AListingReturnsBeforeItsMemosAndAMemoFindsItsRowAfterASort) {
  const QString folder = Folder("late");
  for (const char* name : {"a", "b", "c"}) {
    WriteMemoDrawing(ToFsPath(folder) / (std::string(name) + ".jww"), std::string("memo ") + name);
  }
  TForm1& w = Start();
  SearchAndList(folder);
  w.ListFiles(ToFsPath(folder));  // no event has run since: no memo can have arrived
  EXPECT_TRUE(w.MemosPending());
  EXPECT_EQ(Column(grid(), 0), QStringList({"a.jww", "b.jww", "c.jww"}));
  EXPECT_EQ(Column(grid(), 3), QStringList({"", "", ""}));
  EXPECT_TRUE(w.state().list_shown);
  EXPECT_TRUE(status().endsWith("を検索中(ESC:中断)")) << status().toStdString();
  w.StringGrid1MouseDown(0);
  w.StringGrid1MouseDown(0);  // descending while the memos are still on their way
  WaitForMemos();
  EXPECT_EQ(Column(grid(), 0), QStringList({"c.jww", "b.jww", "a.jww"}));
  EXPECT_EQ(Column(grid(), 3), QStringList({"memo c", "memo b", "memo a"}));
  EXPECT_EQ(status(), "3 Files  パス名「" + folder + "」");
}

TEST_F(FileListTest, TheListingsLastTextLeavesAnotherCommandsTextAlone) {
  const QString folder = Folder("texts");
  WriteMemoDrawing(ToFsPath(folder) / "a.jww", "a");
  TForm1& w = Start();
  SearchAndList(folder);
  w.ListFiles(ToFsPath(folder));
  w.SetOutputFolder(ToFsPath(Folder("out")));
  w.Button4Click();  // a status text of its own while the memos fill in
  WaitForMemos();
  EXPECT_EQ(status(), QString("変換を行わない設定になっています。確認して下さい。"));
}

TEST_F(FileListTest, SizesPastFourGigabytesStayWhole) {
  const QString folder = Folder("big");
  const fs::path big = ToFsPath(folder) / "huge.bin";
  temp_.Write("big/huge.bin", "");
  fs::resize_file(big, 5'000'000'000);  // sparse: takes no disk space
  TForm1& w = Start();
  SearchAndList(folder);
  EXPECT_EQ(Cell(0, 1), QString("5000000000"));
  grid()->setColumnWidth(1, 300);
  w.StringGrid1DrawCell();
  EXPECT_EQ(Cell(0, 1).trimmed(), QString("5000000000"));
}

TEST_F(FileListTest, FileTypeFilterIgnoresLetterCase) {
  const QString folder = Folder("types");
  for (const char* name : {"A.JWW", "b.jww", "c.jws", "d.JWK", "e.txt", "f.jwwx"}) {
    temp_.Write(std::string("types/") + name, "");
  }
  TForm1& w = Start();
  SearchAndList(folder);
  w.MnuFileType2Click();
  EXPECT_EQ(file_type()->currentIndex(), 2);
  EXPECT_EQ(Column(grid(), 0), QStringList({"A.JWW", "b.jww"}));
  w.MnuFileType1Click();
  EXPECT_EQ(Column(grid(), 0), QStringList({"A.JWW", "b.jww", "c.jws", "d.JWK"}));
  w.MnuFileType3Click();
  EXPECT_EQ(Column(grid(), 0), QStringList({"c.jws"}));
  file_type()->setCurrentIndex(-1);  // as after FTYP=7 in the ini file
  w.ComboBox1Change();
  EXPECT_EQ(grid()->rowCount(), 6);
  w.MnuFileType0Click();
  EXPECT_EQ(grid()->rowCount(), 6);
}

TEST_F(FileListTest, MemoFollowsTheExtensionAndTheBackupContent) {
  const QString folder = Folder("memo");
  const fs::path dir = ToFsPath(folder);
  WriteMemoDrawing(dir / "plan.jww", "一階平面図");
  WriteMemoDrawing(dir / "plan.BK1", "旧版");
  WriteMemoDrawing(dir / "plan.JW$", "作業中");
  temp_.Write("memo/old.jwc", JwcBytes(Utf8ToCp932("古い図面"), "B"));
  temp_.Write("memo/old.bk2", JwcBytes("one", "two"));
  temp_.Write("memo/other.bk3", "neither kind of drawing");
  temp_.Write("memo/fig.jwk", JwcBytes("k1", "k2").substr(0, 400));
  fs::copy_file(dir / "plan.jww", dir / "plan.jws");  // a figure file has no memo
  Start();
  SearchAndList(folder);
  QMap<QString, QString> memo;
  for (int r = 0; r < grid()->rowCount(); ++r) memo[Cell(r, 0)] = Cell(r, 3).trimmed();
  EXPECT_EQ(memo["plan.jww"], QString("一階平面図"));
  EXPECT_EQ(memo["plan.BK1"], QString("旧版"));
  EXPECT_EQ(memo["plan.JW$"], QString("作業中"));
  EXPECT_EQ(memo["old.jwc"], QString("古い図面 B"));
  EXPECT_EQ(memo["old.bk2"], QString("one two"));
  EXPECT_EQ(memo["fig.jwk"], QString("k1 k2"));
  EXPECT_EQ(memo["other.bk3"], QString());
  EXPECT_EQ(memo["plan.jws"], QString());
}

TEST_F(FileListTest, SizeColumnFollowsTheColumnWidth) {
  const QString folder = MakeFolder();
  TForm1& w = Start();
  SearchAndList(folder);
  w.ListFiles(ToFsPath(folder));
  // While listing, 8 pixels per character: 64 / 8.
  EXPECT_EQ(Cell(0, 1), QString("       5"));
  const int digit = std::max(3, QFontMetrics(grid()->font()).horizontalAdvance('0'));
  // Painting the header re-aligns to the real width of a digit.
  grid()->horizontalHeader()->viewport()->repaint();
  EXPECT_EQ(Cell(0, 1).toStdString(), SizeField(5, std::max(3, 64 / digit)));
  w.StringGrid1MouseDown(1);  // sorting keeps the alignment
  grid()->setColumnWidth(1, 200);
  w.StringGrid1DrawCell();
  EXPECT_EQ(Cell(0, 1).size(), 200 / digit);
  EXPECT_EQ(Cell(1, 1).trimmed(), QString("123456"));
  grid()->setColumnWidth(1, 20);  // never below three characters, and never cut
  w.StringGrid1DrawCell();
  EXPECT_EQ(Cell(0, 1).toStdString(), SizeField(5, SizeFieldWidth(grid()->columnWidth(1), digit)));
  EXPECT_EQ(Cell(1, 1), QString("123456"));
  EXPECT_EQ(SizeFieldWidth(20, 8), 3);
  EXPECT_EQ(SizeFieldWidth(64, 8), 8);
}

TEST_F(FileListTest, HeaderClicksSortAlternatelyAndAttributesRestoreTheListing) {
  const QString folder = Folder("sort");
  temp_.Write("sort/b.txt", "22");
  temp_.Write("sort/A.txt", "1");
  temp_.Write("sort/c.jww", "333");
  TForm1& w = Start();
  SearchAndList(folder);
  EXPECT_EQ(Column(grid(), 0), QStringList({"A.txt", "b.txt", "c.jww"}));
  w.StringGrid1MouseDown(2);  // ascending by type; rows move whole, equal keys as swapped
  EXPECT_EQ(Column(grid(), 0), QStringList({"c.jww", "b.txt", "A.txt"}));
  EXPECT_EQ(Cell(0, 1).trimmed(), QString("3"));
  w.StringGrid1MouseDown(5);  // re-lists, the direction stays descending
  EXPECT_EQ(Column(grid(), 0), QStringList({"A.txt", "b.txt", "c.jww"}));
  EXPECT_TRUE(w.state().sort_descending);
  w.StringGrid1MouseDown(0);  // descending, letter case aside
  EXPECT_EQ(Column(grid(), 0), QStringList({"c.jww", "b.txt", "A.txt"}));
  w.StringGrid1MouseDown(1);  // ascending by size
  EXPECT_EQ(Column(grid(), 0), QStringList({"A.txt", "b.txt", "c.jww"}));
  EXPECT_TRUE(w.state().sort_descending);
}

TEST_F(FileListTest, SortingNeedsAListAndFlipsEvenForOneRow) {
  TForm1& w = Start();
  w.StringGrid1MouseDown(0);
  EXPECT_FALSE(w.state().sort_descending);
  const QString folder = Folder("one");
  temp_.Write("one/x.jww", "");
  SearchAndList(folder);
  w.StringGrid1MouseDown(0);
  EXPECT_TRUE(w.state().sort_descending);
}

TEST_F(FileListTest, DoubleClickOpensTheFileOfTheCurrentRow) {
  const QString folder = MakeFolder();
  TForm1& w = Start();
  SearchAndList(folder);
  grid()->setCurrentCell(1, 3);
  TakeEvents();
  w.StringGrid1DblClick();
  EXPECT_EQ(TakeEvents(), QStringList({"open:" + folder + "noext"}));
}

TEST_F(FileListTest, ADoubleClickOnAFileNoProgramOpensSaysSo) {
  const QString folder = MakeFolder();
  TForm1& w = Start();
  SearchAndList(folder);
  grid()->setCurrentCell(1, 0);
  TakeEvents();
  feedback_->open_succeeds = false;
  w.StringGrid1DblClick();
  EXPECT_EQ(TakeEvents(),
            QStringList({"open:" + folder + "noext", "beep",
                         "status:「noext」を開くことのできるプログラムが見つかりません。"}));
}


// Names unpacked from Windows archives keep their code page 932 bytes, which
// are not UTF-8: 図面 and 表紙.jww.
const std::string kDrawingsFolder = "\x90\x7D\x96\xCA";
const std::string kCoverDrawing = "\x95\x5C\x8E\x86.jww";

TEST(NativeNamesTest, PathTextsKeepTheirBytesAndShowEachPartReadable) {
  const std::string raw = "/tmp/日本/" + kDrawingsFolder + "/" + kCoverDrawing;
  const QString text = FromFsPath(raw);
  EXPECT_EQ(ToFsPath(text).native(), raw);
  EXPECT_EQ(ToFsPath(text + "/" + FromFsPath(kCoverDrawing)).native(), raw + "/" + kCoverDrawing);
  EXPECT_EQ(Shown(ToFsPath(text)), QString("/tmp/日本/図面/表紙.jww"));

  EXPECT_EQ(FromFsPath("/tmp/日本/a.jww"), QString("/tmp/日本/a.jww"));
  EXPECT_EQ(ToFsPath("/tmp/日本/😀.jww").native(), "/tmp/日本/😀.jww");
  EXPECT_EQ(ToFsPath(FromFsPath("x\xFF\x80")).native(), "x\xFF\x80");  // no code page reads these
}

TEST_F(FileListTest, NamesThatAreNotUtf8AreShownDecodedAndUsedAsTheirBytes) {
  const fs::path root = temp_.path() / "archive";
  const fs::path folder = root / kDrawingsFolder;
  fs::create_directories(folder / "old");
  WriteMemoDrawing(folder / kCoverDrawing, "表紙の図");
  WriteMemoDrawing(folder / "a.jww", "ascii");
  const QString output = Folder("out");
  TForm1& w = Start();
  w.SetSearchFolder(root);
  w.SearchFolders();
  QTreeWidgetItem* node = tree()->topLevelItem(0)->child(0);
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->text(0), QString("図面"));
  EXPECT_EQ(w.FolderPathOfNode(node), folder / "");
  ASSERT_EQ(node->childCount(), 1);  // the search went on inside it
  EXPECT_EQ(w.FolderPathOfNode(node->child(0)), folder / "old" / "");

  tree()->setCurrentItem(node);
  w.TreeView1Click();
  WaitForMemos();
  EXPECT_EQ(Column(grid(), 0), QStringList({"a.jww", "表紙.jww"}));
  EXPECT_EQ(Cell(1, 3).trimmed(), QString("表紙の図"));
  EXPECT_TRUE(status().endsWith("/図面/」")) << status().toStdString();

  // Sorting moves the name on disk with its row.
  w.StringGrid1MouseDown(0);
  w.StringGrid1MouseDown(0);  // the second click sorts descending
  EXPECT_EQ(Column(grid(), 0), QStringList({"表紙.jww", "a.jww"}));
  grid()->setCurrentCell(0, 0);
  TakeEvents();
  w.StringGrid1DblClick();
  EXPECT_EQ(TakeEvents(), QStringList({"open:" + Q(root) + "/図面/表紙.jww"}));  // shown decoded
  EXPECT_EQ(feedback_->opened, std::vector<fs::path>{folder / kCoverDrawing});  // used as its bytes

  grid()->selectRow(0);
  w.state().settings.C(1) = kAllLayers;
  w.state().settings.C(2) = kAllLayers;
  w.state().settings.C(3) = 1;
  w.SetOutputFolder(ToFsPath(output));
  w.Button4Click();
  EXPECT_TRUE(fs::exists(ToFsPath(output) / kCoverDrawing));
  EXPECT_FALSE(fs::exists(ToFsPath(output) / "a.jww"));
  EXPECT_EQ(TakeEvents().last(), QString("status:変換作業を完了しました。"));

  // Re-listing through the attributes header finds the same rows again.
  w.StringGrid1MouseDown(5);
  WaitForMemos();
  EXPECT_EQ(Column(grid(), 0), QStringList({"a.jww", "表紙.jww"}));
  EXPECT_EQ(Cell(1, 3).trimmed(), QString("表紙の図"));
}

}  // namespace
}  // namespace varnelko::test
