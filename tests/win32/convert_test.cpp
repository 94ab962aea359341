// The convert command under Wine: its checks in order with their boxes and
// beeps, then a real run over the selected rows with a failing file, read
// back from the status bar and the report of files not converted.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/path_text.h"
#include "win32/control_ids.h"
#include "win32/run_report.h"
#include "window_fixture.h"

namespace varnelko::test {
namespace {

namespace fs = std::filesystem;
using namespace win32;

class ConvertTest : public WindowTest {
 protected:
  // A listed folder with two drawings, a drawing that breaks off and a text
  // file; every row selected, colours of every layer converted.
  MainWindow& Prepare() {
    source_ = Folder("src");
    output_ = Folder("out");
    for (const char* name : {"平面図.jww", "old.jww"}) {
      fs::copy_file(fs::path(VARNELKO_SOURCE_DIR) / "samples" / PathFromUtf8(name),
                    PathFromUtf8(source_) / PathFromUtf8(name));
    }
    std::ofstream(PathFromUtf8(source_) / "broken.jww", std::ios::binary) << "JwwData.\x5e\x02";
    std::ofstream(PathFromUtf8(source_) / "notes.txt") << "text";
    MainWindow& w = Start();
    SearchAndList(source_);
    SelectRows(0, RowCount() - 1);
    w.state().ini.settings.C(1) = 16;
    w.state().ini.settings.C(2) = 16;
    w.state().ini.settings.C(3) = 1;
    w.SetOutputFolder(output_);
    prompts_.events.clear();
    return w;
  }

 public:
  std::string source_, output_;
  RecordingPrompts& prompts() { return prompts_; }
};

TEST_F(ConvertTest, RefusesInOrderWithTheTextsOfEachCheck) {
  struct Check {
    const char* name;
    std::function<void(ConvertTest&, MainWindow&)> arrange;
    std::vector<std::string> events;
    std::string status;  // empty: not looked at
  };
  const Check checks[] = {
      {"no folder searched",
       [](ConvertTest&, MainWindow& w) { w.state().tree_ready = false; },
       {"beep", "error:検索フォルダを指定して下さい。"},
       "検索フォルダを指定して下さい。"},
      {"no list shown",
       [](ConvertTest&, MainWindow& w) { w.state().list_shown = false; },
       {"beep", "error:ファイル一覧が表示されていません。"},
       ""},
      {"no output folder",
       [](ConvertTest&, MainWindow& w) { w.SetOutputFolder(""); },
       {"beep", "confirm:保存先フォルダを指定して下さい。"},
       ""},
      {"output is the source",
       [](ConvertTest& t, MainWindow& w) { w.SetOutputFolder(t.source_); },
       {"beep", "confirm:保存先フォルダとファイルのフォルダが同じになっています。"},
       ""},
      {"nothing to convert",
       [](ConvertTest&, MainWindow& w) { w.state().ini.settings.C(3) = 0; },
       {"beep"},
       "変換を行わない設定になっています。確認して下さい。"},
      {"answered No",
       [](ConvertTest& t, MainWindow&) { t.prompts().answer_yes = false; },
       {"ask:変換を開始します。よろしいですか？"},
       "変換作業をキャンセルしました。"},
  };
  for (const Check& check : checks) {
    MainWindow& w = Prepare();
    prompts_.answer_yes = true;
    check.arrange(*this, w);
    Command(kButton4);
    WaitIdle();
    EXPECT_EQ(prompts_.events, check.events) << check.name;
    if (!check.status.empty()) EXPECT_EQ(w.StatusText(), check.status) << check.name;
    EXPECT_TRUE(fs::is_empty(PathFromUtf8(output_))) << check.name;
    window_.reset();
    fs::remove_all(temp_.path() / "src");
    fs::remove_all(temp_.path() / "out");
  }
}

TEST_F(ConvertTest, ConvertsTheSelectionAndReportsTheFailure) {
  MainWindow& w = Prepare();
  Command(kButton4);
  WaitIdle();
  EXPECT_EQ(prompts_.events.front(), "ask:変換を開始します。よろしいですか？");
  EXPECT_EQ(w.StatusText(), "変換作業を完了しました。1 個のファイルを変換できませんでした。");
  EXPECT_NE(prompts_.report_details.find("broken.jww: 読み込めません"), std::string::npos)
      << prompts_.report_details;
  EXPECT_NE(prompts_.report_details.find("notes.txt: JWW/JWS 図面ではありません"),
            std::string::npos);
  for (const char* name : {"平面図.jww", "old.jww"}) {
    EXPECT_TRUE(fs::exists(PathFromUtf8(output_) / PathFromUtf8(name))) << name;
  }
  EXPECT_FALSE(fs::exists(PathFromUtf8(output_) / "broken.jww"));
  EXPECT_FALSE(fs::exists(PathFromUtf8(output_) / "notes.txt"));
}

TEST_F(ConvertTest, ConvertsOnlyTheSelectedRange) {
  MainWindow& w = Prepare();
  // Rows by name: broken.jww, notes.txt, old.jww, 平面図.jww.
  SelectRows(2, 2);
  Command(kButton4);
  WaitIdle();
  EXPECT_EQ(w.StatusText(), "変換作業を完了しました。");
  EXPECT_TRUE(fs::exists(PathFromUtf8(output_) / "old.jww"));
  EXPECT_FALSE(fs::exists(PathFromUtf8(output_) / PathFromUtf8("平面図.jww")));
}

TEST(RunReportTest, CountsEveryOutcomeAndSaysWhatWasLeft) {
  const auto outcome = [](const char* name, FileOutcomeKind kind, const char* error = "") {
    FileOutcome o;
    o.source = PathFromUtf8(name);
    o.kind = kind;
    o.error = error;
    return o;
  };
  struct Case {
    std::vector<FileOutcome> outcomes;
    std::string status;
    std::string details;
  };
  const Case cases[] = {
      {{outcome("a.jww", FileOutcomeKind::kConverted)}, "変換作業を完了しました。", ""},
      {{outcome("a.jww", FileOutcomeKind::kConverted), outcome("b.jww", FileOutcomeKind::kWriteFailed, "disk full"),
        outcome("c.txt", FileOutcomeKind::kSkipped)},
       "変換作業を完了しました。1 個のファイルを変換できませんでした。",
       "b.jww: 書き込めません (disk full)\nc.txt: JWW/JWS 図面ではありません"},
      // Stopped by Escape: the files not started are counted apart.
      {{outcome("a.jww", FileOutcomeKind::kConverted), outcome("b.jww", FileOutcomeKind::kNotStarted),
        outcome("c.jww", FileOutcomeKind::kNotStarted)},
       "変換を中止しました。1 個を変換し、2 個は変換していません。",
       "b.jww: 中止したため変換していません\nc.jww: 中止したため変換していません"},
  };
  for (const Case& c : cases) {
    const RunReport report = MakeRunReport(c.outcomes);
    EXPECT_EQ(report.status, c.status);
    EXPECT_EQ(report.details, c.details);
  }
}

}  // namespace
}  // namespace varnelko::test
