// The convert command: its checks in order with their texts and beeps, the
// question, and real conversions of the selected rows.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTimer>
#include <QProgressBar>
#include <QTableWidget>
#include <filesystem>
#include <memory>

#include "app_fixture.h"
#include "desktop_fixtures.h"
#include "formats/jww/jww_file.h"
#include "support/document_builder.h"

namespace varnelko::test {
namespace {

namespace fs = std::filesystem;

class ConvertCommandTest : public AppTest {
 protected:
  // A listed folder with two drawings, a text file and a fake drawing, and
  // an existing output folder; every row selected.
  TForm1& Prepare() {
    source_ = Folder("src");
    output_ = Folder("out");
    MakeConvertFolder(temp_, "src");
    TForm1& w = Start();
    SearchAndList(source_);
    grid()->selectAll();
    w.state().settings.C(1) = kAllLayers;
    w.state().settings.C(2) = kAllLayers;
    w.state().settings.C(3) = 1;
    TakeEvents();
    return w;
  }
  bool Output(const char* name) const { return fs::exists(ToFsPath(output_) / name); }

  QString source_;
  QString output_;
};

TEST_F(ConvertCommandTest, ChecksRunInOrderWithTheirTextsAndBeeps) {
  TForm1& w = Prepare();
  w.Button4Click();  // no output folder
  EXPECT_EQ(TakeEvents(), QStringList({"beep", "confirm:保存先フォルダを指定して下さい。"}));

  w.SetOutputFolder(ToFsPath(output_ + "missing/"));
  w.Button4Click();  // refused before any file fails to be written
  EXPECT_EQ(TakeEvents(), QStringList({"beep", "confirm:保存先フォルダが見つかりません。確認して下さい。"}));

  w.SetOutputFolder(ToFsPath(output_ + "../src/"));  // the source folder, by another name
  w.Button4Click();
  EXPECT_EQ(TakeEvents(),
            QStringList({"beep", "confirm:保存先フォルダとファイルのフォルダが同じになっています。"}));

  w.SetOutputFolder(ToFsPath(output_));
  w.state().settings.C(3) = 0;  // nothing to convert: status only, no box
  w.Button4Click();
  EXPECT_EQ(TakeEvents(),
            QStringList({"beep", "status:変換を行わない設定になっています。確認して下さい。"}));

  w.state().settings.C(4) = 1;
  feedback_->answer_yes = false;
  w.Button4Click();
  EXPECT_EQ(TakeEvents(), QStringList({"ask:変換を開始します。よろしいですか？",
                                       "status:変換作業をキャンセルしました。"}));
  EXPECT_TRUE(fs::is_empty(ToFsPath(output_)));
}

TEST_F(ConvertCommandTest, ConvertsTheSelectedDrawingsIntoTheOutputFolder) {
  TForm1& w = Prepare();
  const std::string source_bytes = ReadFile(ToFsPath(source_) / "a.jww");
  w.SetOutputFolder(ToFsPath(output_));
  w.Button4Click();
  EXPECT_TRUE(Output("a.jww"));
  EXPECT_TRUE(Output("B.JWW"));
  EXPECT_FALSE(Output("c.txt"));
  EXPECT_EQ(ReadFile(ToFsPath(source_) / "a.jww"), source_bytes);
  EXPECT_NE(ReadFile(ToFsPath(output_) / "a.jww"), source_bytes);

  auto doc = std::make_unique<JwwDocument>();
  ASSERT_TRUE(ReadJwwFile(ToFsPath(output_) / "a.jww", *doc));
  ASSERT_FALSE(doc->store.lines.empty());
  for (const TEntSen& line : doc->store.lines) EXPECT_EQ(line.header.pen_color, 9);
  FreeJwwDocument(*doc);

  const QStringList events = TakeEvents();
  EXPECT_EQ(events.first(), QString("ask:変換を開始します。よろしいですか？"));
  EXPECT_EQ(events.last(), QString("status:変換作業を完了しました。"));
  EXPECT_EQ(events.filter("変換中").size(), 2);  // one progress text per drawing
  EXPECT_FALSE(events.contains("beep"));
  EXPECT_FALSE(w.state().busy);
  EXPECT_FALSE(window_->findChild<QProgressBar*>("ProgressBar1")->isVisible());

  // A second run keeps the first outputs as backups.
  w.Button4Click();
  EXPECT_TRUE(Output("a.BAK"));
}

TEST_F(ConvertCommandTest, OnlyTheSelectedRangeIsConverted) {
  TForm1& w = Prepare();
  grid()->clearSelection();
  grid()->setRangeSelected(QTableWidgetSelectionRange(1, 0, 1, 5), true);
  ASSERT_EQ(Cell(1, 0), QString("B.JWW"));
  w.SetOutputFolder(ToFsPath(output_));
  w.Button4Click();
  EXPECT_TRUE(Output("B.JWW"));
  EXPECT_FALSE(Output("a.jww"));
}

TEST_F(ConvertCommandTest, AListingStartsWithItsFirstRowSelected) {
  TForm1& w = Prepare();
  grid()->setCurrentIndex(QModelIndex());  // untouched, as in a window just started
  w.ListFiles(ToFsPath(source_));
  ASSERT_EQ(grid()->selectedRanges().size(), 1);
  EXPECT_EQ(grid()->selectedRanges().first().topRow(), 0);
  EXPECT_EQ(grid()->selectedRanges().first().bottomRow(), 0);
  w.SetOutputFolder(ToFsPath(output_));
  w.Button4Click();
  EXPECT_TRUE(Output("a.jww"));
  EXPECT_FALSE(Output("B.JWW"));
}

TEST_F(ConvertCommandTest, FailedFilesAreCountedNotReportedAsSuccess) {
  Folder("src");
  temp_.Write("src/broken.jww", "JwwData.");  // passes the probe, cannot load
  TForm1& w = Prepare();
  grid()->selectAll();
  w.SetOutputFolder(ToFsPath(output_));
  w.Button4Click();
  EXPECT_TRUE(Output("a.jww"));
  EXPECT_FALSE(Output("broken.jww"));
  const QStringList events = TakeEvents();
  EXPECT_TRUE(events.contains("beep"));
  EXPECT_EQ(status(), QString("変換作業を完了しました。1 個のファイルを変換できませんでした。"));
}

TEST_F(ConvertCommandTest, FailedFilesAreNamedWithTheirReasonsAndSkippedOnesCounted) {
  Folder("src");
  temp_.Write("src/broken.jww", "JwwData.");
  TForm1& w = Prepare();
  grid()->selectAll();
  w.SetOutputFolder(ToFsPath(output_));
  w.Button4Click();
  const QStringList events = TakeEvents();
  ASSERT_GE(events.size(), 3);
  // The window's own text first, as before; then the box with the details.
  EXPECT_EQ(events[events.size() - 3], QString("beep"));
  EXPECT_EQ(events[events.size() - 2],
            QString("status:変換作業を完了しました。1 個のファイルを変換できませんでした。"));
  const QStringList report = events.last().split('\n');
  ASSERT_EQ(report.size(), 7) << events.last().toStdString();
  EXPECT_EQ(report.mid(0, 4), QStringList({"report:変換できなかったファイルがあります。",
                                           "変換したファイル: 2 個",
                                           "変換できなかったファイル: 1 個",
                                           "図面ではないので変換しなかったファイル: 1 個"}));
  EXPECT_TRUE(report[5].startsWith("broken.jww: 読み込めません (")) << report[5].toStdString();
  EXPECT_GT(report[5].size(), QString("broken.jww: 読み込めません (").size() + 1);  // a reason
  EXPECT_EQ(report[6], QString("c.txt: JWW/JWS 図面ではありません"));
}

TEST_F(ConvertCommandTest, ADrawingGoneSinceTheListingFailsWithTheSystemsReason) {
  TForm1& w = Prepare();
  fs::remove(ToFsPath(source_) / "a.jww");
  w.SetOutputFolder(ToFsPath(output_));
  w.Button4Click();
  EXPECT_EQ(status(), QString("変換作業を完了しました。1 個のファイルを変換できませんでした。"));
  const QStringList events = TakeEvents();
  ASSERT_TRUE(events.last().startsWith("report:"));
  EXPECT_TRUE(events.last().split('\n').contains(
      "a.jww: 読み込めません (cannot open: No such file or directory)"))
      << events.last().toStdString();
}

TEST(RunReportTest, TheRealBoxKeepsTheDetailsBehindItsJapaneseButton) {
  InstallJapaneseQtTexts();
  QtUserFeedback real(nullptr);
  QString details;
  QStringList buttons;
  QTimer::singleShot(0, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(widget);
      if (!box || !box->isVisible()) continue;
      details = box->detailedText();
      for (QAbstractButton* button : box->buttons()) buttons << button->text();
      box->button(QMessageBox::Ok)->click();
    }
  });
  real.ReportBox("summary", "a.jww: 読み込めません");
  EXPECT_EQ(details, QString("a.jww: 読み込めません"));
  if (QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_ja.qm")) {
    EXPECT_TRUE(buttons.contains("詳細を表示...")) << buttons.join(',').toStdString();
  }
}

}  // namespace
}  // namespace varnelko::test
