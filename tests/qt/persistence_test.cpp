// Start-up and shutdown: the ini file's 25 keys, the design defaults, the
// exit question, the output folder and the ".set" files.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QTableWidget>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "qt/settings_dialog.h"
#include "app_fixture.h"

namespace varnelko::test {
namespace {

namespace fs = std::filesystem;

// "Section/key=value" for every line of an ini file, in file order.
QStringList IniLines(const QString& path) {
  QStringList lines;
  QString section;
  const QString text = QString::fromStdString(ReadFile(ToFsPath(path)));
  for (QString line : text.split('\n', Qt::SkipEmptyParts)) {
    line = line.trimmed();
    if (line.startsWith('[')) {
      section = line.mid(1, line.size() - 2);
    } else {
      lines << section + "/" + line;
    }
  }
  return lines;
}

QStringList KeysOf(const QStringList& lines) {
  QStringList keys;
  for (const QString& line : lines) keys << line.section('=', 0, 0);
  return keys;
}

void WriteText(const QString& path, const std::string& text) {
  std::ofstream(ToFsPath(path), std::ios::binary) << text;
}

using PersistenceTest = AppTest;

TEST_F(PersistenceTest, FirstRunStartsWithTheDesignValues) {
  TForm1& w = Start();
  EXPECT_EQ(w.windowTitle(), QString("Varnelko Ver.1.01"));
  EXPECT_EQ(w.size(), QSize(696, 478));
  EXPECT_EQ(file_type()->currentText(), QString("全てのファイル(*.*)"));
  EXPECT_EQ(w.state().settings, ConversionSettings{});
  EXPECT_EQ(Q(w.state().search_folder), program_folder_);
  EXPECT_TRUE(edit("Edit2")->text().isEmpty());
  EXPECT_EQ(status(), QString("検索フォルダを指定して下さい。"));
  EXPECT_EQ(grid()->horizontalHeaderItem(3)->text(), QString("図面メモ"));
  EXPECT_EQ(grid()->rowCount(), 1);
}

TEST_F(PersistenceTest, ShutdownWritesTheTwentyFiveKeysInOrder) {
  Start();
  Close();
  const QStringList lines = IniLines(ini());
  EXPECT_EQ(KeysOf(lines),
            QStringList({"Form/F1_X", "Form/F1_Y", "Form/F1_W", "Form/F1_H", "Form/F2_X",
                         "Form/F2_Y", "Comp/F1P1", "Comp/F1S0", "Comp/F1S1", "Comp/F1S2",
                         "Comp/F1S3", "Comp/F1S4", "Comp/F1S5", "Set/FLD1", "Set/FLD2",
                         "Set/FNAM", "Set/FTYP", "JWW/C1", "JWW/C2", "JWW/C3", "JWW/C4",
                         "JWW/C5", "JWW/C6", "JWW/C7", "JWW/C8", "Preview/Shown",
                         "Preview/Height", "Preview/After", "Preview/Print", "Preview/Colour"}));
  EXPECT_TRUE(lines.contains("Form/F1_W=696"));
  EXPECT_TRUE(lines.contains("Form/F2_X=192"));
  EXPECT_TRUE(lines.contains("Comp/F1P1=160"));
  EXPECT_TRUE(lines.contains("Comp/F1S5=64"));
  EXPECT_TRUE(lines.contains("Set/FLD1=" + program_folder_));
  EXPECT_TRUE(lines.contains("Set/FLD2="));
  EXPECT_TRUE(lines.contains("Set/FNAM="));
  EXPECT_TRUE(lines.contains("JWW/C8=0"));
}

TEST_F(PersistenceTest, ValuesComeBackAtTheNextStartAndGoOutAgain) {
  WriteText(ini(),
            "[Form]\nF1_W=800\nF1_H=\nF2_X=300\n[Comp]\nF1P1=210\nF1S1=96\n"
            "[Set]\nFLD2=/out/図面/\nFNAM=/x/a.set\nFTYP=2\n"
            "[JWW]\nC1=16\nC2=3\nC3=abc\nC4=1\nC7=-5\n");
  TForm1& w = Start();
  EXPECT_EQ(w.width(), 800);
  EXPECT_EQ(w.height(), 478);  // an empty value keeps the design value
  EXPECT_EQ(w.settings_dialog()->x(), 300);
  EXPECT_EQ(grid()->columnWidth(1), 96);
  EXPECT_EQ(w.findChild<QWidget*>("Panel1")->width(), 210);
  EXPECT_EQ(edit("Edit2")->text(), QString("/out/図面/"));
  EXPECT_EQ(Q(w.state().settings_file), QString("/x/a.set"));
  EXPECT_EQ(file_type()->currentIndex(), 2);
  EXPECT_EQ(w.state().settings.values, (std::array<int32_t, 8>{16, 3, 0, 1, 0, 0, -5, 0}));
  Close();
  const QStringList lines = IniLines(ini());
  for (const char* line : {"Form/F1_W=800", "Form/F1_H=478", "Comp/F1P1=210", "Comp/F1S1=96",
                           "Set/FLD2=/out/図面/", "Set/FTYP=2", "JWW/C3=0", "JWW/C7=-5"}) {
    EXPECT_TRUE(lines.contains(QString(line))) << line;
  }
}

TEST_F(PersistenceTest, APositionOffEveryScreenComesBackOntoTheScreen) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  WriteText(ini(), "[Form]\nF1_X=" + std::to_string(screen.right() + 620) + "\nF1_Y=50\n"
                   "F2_X=-4000\nF2_Y=-4000\n");
  TForm1& w = Start();
  EXPECT_TRUE(screen.contains(QRect(w.pos(), w.size())))
      << w.x() << "," << w.y() << " on " << screen.width() << "x" << screen.height();
  EXPECT_EQ(w.y(), 50);  // only as far as needed
  EXPECT_TRUE(screen.contains(w.settings_dialog()->pos()));
  Close();
  EXPECT_TRUE(IniLines(ini()).contains("Form/F1_X=" + QString::number(w.x())));
}

TEST_F(PersistenceTest, UnknownFileTypeSelectsNothingAndIsWrittenAsMinusOne) {
  WriteText(ini(), "[Set]\nFTYP=7\n");
  Start();
  EXPECT_EQ(file_type()->currentIndex(), -1);
  Close();
  EXPECT_TRUE(IniLines(ini()).contains("Set/FTYP=-1"));
}

TEST_F(PersistenceTest, ALongSearchFolderIsCutTo511Bytes) {
  const std::string long_path = "/" + std::string(599, 'd');
  WriteText(ini(), "[Set]\nFLD1=" + long_path + "\n");
  TForm1& w = Start();
  EXPECT_EQ(Q(w.state().search_folder).toStdString(), long_path.substr(0, 511));
  Close();
  EXPECT_TRUE(IniLines(ini()).contains(QString::fromStdString("Set/FLD1=" + long_path.substr(0, 511))));
}

TEST_F(PersistenceTest, ExitAsksAndOnlyYesCloses) {
  TForm1& w = Start();
  feedback_->answer_yes = false;
  w.MnuExitClick();
  EXPECT_TRUE(w.isVisible());
  EXPECT_TRUE(ReadFile(ToFsPath(ini())).empty());
  EXPECT_EQ(TakeEvents(), QStringList({"ask:終了します。よろしいですか？"}));
  feedback_->answer_yes = true;
  w.MnuExitClick();
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(IniLines(ini()).size(), 25 + 5);  // and the preview pane's five
}

TEST_F(PersistenceTest, TheRealQuestionBoxAnswersInJapanese) {
  QtUserFeedback real(nullptr);
  QStringList buttons;
  QTimer::singleShot(0, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(widget);
      if (!box || !box->isVisible()) continue;
      for (QAbstractButton* button : box->buttons()) buttons << button->text();
      box->button(QMessageBox::No)->click();
    }
  });
  EXPECT_FALSE(real.AskYesNo("終了します。よろしいですか？"));
  buttons.sort();
  EXPECT_EQ(buttons, QStringList({"いいえ(&N)", "はい(&Y)"}));
}

TEST(QtTextsTest, TheFileChoosersSpeakJapanese) {
  const QString look_in = QStringLiteral("Look in:");
  if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_ja.qm")) {
    GTEST_SKIP() << "Qt's translations are not installed";
  }
  ASSERT_TRUE(InstallJapaneseQtTexts());
  EXPECT_NE(QFileDialog::tr("Look in:"), look_in);
}

TEST(QtTextsTest, TheFolderChooserListsFoldersAndFileTypesInJapanese) {
  if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_ja.qm")) {
    GTEST_SKIP() << "Qt's translations are not installed";
  }
  ASSERT_TRUE(InstallJapaneseQtTexts());
  TempDir temp;
  fs::create_directory(temp.path() / "sub");
  temp.Write("a.txt", "text");
  // The type column of Qt's own file and folder choosers.
  const QFileIconProvider icons;
  EXPECT_EQ(icons.type(QFileInfo(Q(temp.path() / "sub"))), QString("フォルダ"));
  // File types come from the system's type database, which has Japanese.
  EXPECT_EQ(QLocale().language(), QLocale::Japanese);
  if (QFile::exists("/usr/share/mime/packages/freedesktop.org.xml")) {
    EXPECT_NE(icons.type(QFileInfo(Q(temp.path() / "a.txt"))), QString("plain text document"));
  }
}

TEST_F(PersistenceTest, OutputFolderCommand) {
  TForm1& w = Start();
  feedback_->folder_choice.clear();  // cancelled
  w.Button3Click();
  EXPECT_TRUE(edit("Edit2")->text().isEmpty());
  feedback_->folder_choice = "/tmp/out/";
  w.Button3Click();
  EXPECT_EQ(edit("Edit2")->text(), QString("/tmp/out/"));
  EXPECT_EQ(Q(w.state().output_folder), QString("/tmp/out/"));
  EXPECT_EQ(TakeEvents(), QStringList({"choose:保存先フォルダの指定", "choose:保存先フォルダの指定"}));
}

TEST_F(PersistenceTest, SavingASettingsFileKeepsItsOtherContent) {
  TForm1& w = Start();
  const QString set = Q(temp_.path() / "mine.set");
  WriteText(set, "[Note]\nwho=me\n[JWW]\nC1=9\nC9=keep\n");
  w.state().settings.values = {1, 2, 1, 0, 1, 0, 0, 1};
  feedback_->file_choice = ToFsPath(set);
  w.MnuSetSaveClick();
  EXPECT_EQ(Q(w.state().settings_file), set);
  const QStringList lines = IniLines(set);
  EXPECT_TRUE(lines.contains("Note/who=me"));
  EXPECT_TRUE(lines.contains("JWW/C9=keep"));
  EXPECT_TRUE(lines.contains("JWW/C1=1"));
  EXPECT_TRUE(lines.contains("JWW/C8=1"));
  EXPECT_FALSE(lines.contains("JWW/C1=9"));
  EXPECT_EQ(TakeEvents(), QStringList({"choose:現在の設定を保存"}));  // no message
}

TEST_F(PersistenceTest, OpeningASettingsFileChangesOnlyItsKeys) {
  TForm1& w = Start();
  const QString set = Q(temp_.path() / "only_c3.set");
  WriteText(set, "[JWW]\nC3=1\n");
  w.state().settings.values = {5, 6, 0, 1, 0, 1, 0, 1};
  feedback_->file_choice.clear();  // cancelled: nothing changes
  w.MnuSetOpenClick();
  EXPECT_TRUE(w.state().settings_file.empty());
  feedback_->file_choice = ToFsPath(set);
  w.MnuSetOpenClick();
  EXPECT_EQ(w.state().settings.values, (std::array<int32_t, 8>{5, 6, 1, 1, 0, 1, 0, 1}));
  EXPECT_EQ(Q(w.state().settings_file), set);
  // The ini file has the same layout and opens as a settings file too.
  Close();
  w.state().settings = ConversionSettings{};
  feedback_->file_choice = ToFsPath(ini());
  w.MnuSetOpenClick();
  EXPECT_EQ(w.state().settings.values, (std::array<int32_t, 8>{5, 6, 1, 1, 0, 1, 0, 1}));
}

}  // namespace
}  // namespace varnelko::test
