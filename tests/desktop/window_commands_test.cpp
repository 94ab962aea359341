#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/window_commands.h"
#include "desktop_fixtures.h"
#include "recording_feedback.h"

namespace varnelko::test {
namespace {

namespace fs = std::filesystem;
using Events = std::vector<std::string>;

class WindowCommandsTest : public ::testing::Test {
 protected:
  WindowCommandsTest()
      : commands_(state_, feedback_, [this](const std::string& text) { status_ = text; }) {
    state_.program_folder = temp_.path() / "program/";
    fs::create_directories(state_.program_folder);
    state_.ini_path = state_.program_folder / "varnelko.ini";
  }

  TempDir temp_;
  WindowState state_;
  RecordingFeedback feedback_;
  std::string status_;
  WindowCommands commands_;
};

TEST_F(WindowCommandsTest, StartUpTakesTheDesignValuesAndTheIniFileOnTop) {
  state_.sort_descending = state_.tree_ready = true;
  AppIniValues values = commands_.StartUp();
  EXPECT_FALSE(state_.sort_descending || state_.tree_ready);
  EXPECT_EQ(state_.search_folder, state_.program_folder);
  EXPECT_TRUE(state_.output_folder.empty());
  EXPECT_EQ(values.main_width, 696);
  commands_.StartUpDone();
  EXPECT_EQ(status_, "検索フォルダを指定して下さい。");

  // What the window gathered at shutdown comes back at the next start.
  state_.output_folder = temp_.path() / "out/";
  state_.settings.C(3) = 1;
  values.main_width = 800;
  commands_.ShutDown(values);
  state_ = {.program_folder = state_.program_folder, .ini_path = state_.ini_path};
  EXPECT_EQ(commands_.StartUp().main_width, 800);
  EXPECT_EQ(state_.output_folder, temp_.path() / "out/");
  EXPECT_EQ(state_.settings.C(3), 1);
}

TEST_F(WindowCommandsTest, ConversionChecksRunInOrderWithTheirTextsAndBeeps) {
  const fs::path source = MakeConvertFolder(temp_, "src");
  const fs::path output = temp_.path() / "out/";
  fs::create_directories(output);
  struct Step {
    std::function<void()> change;  // what the user fixes before this attempt
    fs::path output;
    Events events;
  };
  const std::string choose = "検索フォルダを指定して下さい。";
  const Step steps[] = {
      {[] {}, output, {"beep", "error:" + choose, "status:" + choose}},
      {[&] { state_.tree_ready = true; }, output, {"beep", "error:ファイル一覧が表示されていません。"}},
      {[&] { state_.list_shown = true, state_.listed_folder = source; }, "",
       {"beep", "confirm:保存先フォルダを指定して下さい。"}},
      {[] {}, source, {"beep", "confirm:保存先フォルダとファイルのフォルダが同じになっています。"}},
      {[] {}, output, {"beep", "status:変換を行わない設定になっています。確認して下さい。"}},
      {[&] { state_.settings.C(4) = 1, feedback_.answer_yes = false; }, output,
       {"ask:変換を開始します。よろしいですか？", "status:変換作業をキャンセルしました。"}},
  };
  for (const Step& step : steps) {
    step.change();
    EXPECT_FALSE(commands_.CheckConversion(step.output));
    EXPECT_EQ(feedback_.Take(), step.events);
  }
  feedback_.answer_yes = true;
  EXPECT_TRUE(commands_.CheckConversion(output));
  const BatchRequest request = commands_.MakeBatchRequest({source / "a.jww"}, output);
  EXPECT_EQ(request.settings.C(4), 1);
  EXPECT_GE(request.jobs, 1);
}

TEST_F(WindowCommandsTest, ARunWithFailuresSaysHowManyAndNamesThem) {
  FileOutcome converted, failed;
  converted.kind = FileOutcomeKind::kConverted;
  failed.source = "/d/a.jww";
  failed.kind = FileOutcomeKind::kLoadFailed;
  commands_.ReportRun({converted});
  EXPECT_EQ(feedback_.Take(), Events{"status:変換作業を完了しました。"});
  commands_.ReportRun({converted, failed});
  const Events events = feedback_.Take();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0], "beep");
  EXPECT_EQ(events[1], "status:変換作業を完了しました。1 個のファイルを変換できませんでした。");
  EXPECT_TRUE(events[2].ends_with("--\na.jww: 読み込めません")) << events[2];
}

TEST_F(WindowCommandsTest, FolderAndFileChoosersChangeOnlyWhatWasChosen) {
  EXPECT_FALSE(commands_.ChooseSearchFolder());  // cancelled
  EXPECT_FALSE(commands_.ChooseOutputFolder({}));
  EXPECT_FALSE(commands_.OpenSettingsFile());
  EXPECT_EQ(feedback_.Take(), (Events{"status:", "choose:検索フォルダの指定",
                                      "choose:保存先フォルダの指定",
                                      "choose:保存した設定ファイルを開く"}));
  EXPECT_TRUE(state_.search_folder.empty() && state_.settings_file.empty());

  feedback_.folder_choice = temp_.path() / "chosen";
  EXPECT_TRUE(commands_.ChooseSearchFolder());
  EXPECT_EQ(state_.search_folder, WithTrailingSeparator(temp_.path() / "chosen"));
  feedback_.file_choice = temp_.path() / "a.set";
  state_.settings.C(3) = 1;
  EXPECT_TRUE(commands_.SaveSettingsFile());
  state_.settings.C(3) = 0;
  EXPECT_TRUE(commands_.OpenSettingsFile());
  EXPECT_EQ(state_.settings.C(3), 1);
  EXPECT_EQ(state_.settings_file, temp_.path() / "a.set");
}

TEST_F(WindowCommandsTest, ASearchNeedsAnExistingFolder) {
  commands_.SetSearchFolder(temp_.path() / "missing");
  state_.tree_ready = true;
  EXPECT_FALSE(commands_.BeginSearch());
  EXPECT_TRUE(state_.tree_ready);  // the old tree stays usable
  EXPECT_EQ(feedback_.Take(),
            (Events{"status:フォルダ検索中です。（ESC:中断）", "beep",
                    "info:検索フォルダのディスクドライブの準備が出来ていません。",
                    "status:検索フォルダを指定して下さい。"}));
  commands_.SetSearchFolder(temp_.path());
  EXPECT_TRUE(commands_.BeginSearch());
  EXPECT_FALSE(state_.tree_ready);
  state_.cancel = true;
  commands_.EndSearch();
  EXPECT_TRUE(state_.tree_ready);
  EXPECT_EQ(status_, "フォルダ検索を中断しました。");
}

TEST_F(WindowCommandsTest, OpeningARowNeedsATreeAndAListAndSaysWhenNoProgramOpensIt) {
  EXPECT_FALSE(commands_.CanOpenRow());
  state_.tree_ready = true;
  EXPECT_FALSE(commands_.CanOpenRow());
  EXPECT_EQ(status_, "図面の格納されているフォルダを指定して下さい。");
  state_.list_shown = true;
  EXPECT_TRUE(commands_.CanOpenRow());
  feedback_.Take();
  state_.listed_folder = "/d/";
  feedback_.open_succeeds = false;
  commands_.OpenRow("a.jww");
  EXPECT_EQ(feedback_.Take(),
            (Events{"open:/d/a.jww", "beep",
                    "status:「a.jww」を開くことのできるプログラムが見つかりません。"}));
}

}  // namespace
}  // namespace varnelko::test
