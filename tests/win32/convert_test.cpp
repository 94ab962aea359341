// The convert command under Wine: its checks in order with their boxes and
// beeps, then a real run over the selected rows with a failing file, read
// back from the status bar and the report of files not converted.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/path_text.h"
#include "win32/control_ids.h"
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
                    source_ / PathFromUtf8(name));
    }
    std::ofstream(source_ / "broken.jww", std::ios::binary) << "JwwData.\x5e\x02";
    std::ofstream(source_ / "notes.txt") << "text";
    MainWindow& w = Start();
    SearchAndList(source_);
    SelectRows(0, RowCount() - 1);
    w.state().settings.C(1) = 16;
    w.state().settings.C(2) = 16;
    w.state().settings.C(3) = 1;
    w.SetOutputFolder(output_);
    feedback_.Take();
    return w;
  }

 public:
  fs::path source_, output_;
  RecordingFeedback& feedback() { return feedback_; }
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
       [](ConvertTest&, MainWindow& w) { w.state().settings.C(3) = 0; },
       {"beep"},
       "変換を行わない設定になっています。確認して下さい。"},
      {"answered No",
       [](ConvertTest& t, MainWindow&) { t.feedback().answer_yes = false; },
       {"ask:変換を開始します。よろしいですか？"},
       "変換作業をキャンセルしました。"},
  };
  for (const Check& check : checks) {
    MainWindow& w = Prepare();
    feedback_.answer_yes = true;
    check.arrange(*this, w);
    Command(kButton4);
    WaitIdle();
    EXPECT_EQ(TakeBoxes(), check.events) << check.name;
    if (!check.status.empty()) {
      EXPECT_EQ(w.StatusText(), check.status) << check.name;
    }
    EXPECT_TRUE(fs::is_empty(output_)) << check.name;
    window_.reset();
    fs::remove_all(temp_.path() / "src");
    fs::remove_all(temp_.path() / "out");
  }
}

TEST_F(ConvertTest, ConvertsTheSelectionAndReportsTheFailure) {
  MainWindow& w = Prepare();
  Command(kButton4);
  WaitIdle();
  const std::vector<std::string> boxes = TakeBoxes();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0], "ask:変換を開始します。よろしいですか？");
  EXPECT_EQ(boxes[1], "beep");
  EXPECT_EQ(w.StatusText(), "変換作業を完了しました。1 個のファイルを変換できませんでした。");
  // The failure list names the broken drawing with its reason, then the skip.
  EXPECT_NE(boxes[2].find("broken.jww: ファイルが途中で切れています（オフセット 8）"), std::string::npos) << boxes[2];
  EXPECT_NE(boxes[2].find("notes.txt: JWW/JWS 図面ではありません"), std::string::npos);
  for (const char* name : {"平面図.jww", "old.jww"}) {
    EXPECT_TRUE(fs::exists(output_ / PathFromUtf8(name))) << name;
  }
  EXPECT_FALSE(fs::exists(output_ / "broken.jww"));
  EXPECT_FALSE(fs::exists(output_ / "notes.txt"));
}

TEST_F(ConvertTest, ConvertsOnlyTheSelectedRange) {
  MainWindow& w = Prepare();
  // Rows by name: broken.jww, notes.txt, old.jww, 平面図.jww.
  SelectRows(2, 2);
  Command(kButton4);
  WaitIdle();
  EXPECT_EQ(w.StatusText(), "変換作業を完了しました。");
  EXPECT_TRUE(fs::exists(output_ / "old.jww"));
  EXPECT_FALSE(fs::exists(output_ / PathFromUtf8("平面図.jww")));
}

}  // namespace
}  // namespace varnelko::test
