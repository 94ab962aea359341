#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <algorithm>

#include "desktop/file_rows.h"
#include "desktop/list_sort.h"
#include "desktop/shortcuts.h"
#include "desktop/window_commands.h"
#include "desktop_fixtures.h"
#include "platform/path_text.h"
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
  WindowState fresh;
  fresh.program_folder = state_.program_folder;
  fresh.ini_path = state_.ini_path;
  state_ = fresh;
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
            (Events{"open:" + fs::path("/d/a.jww").make_preferred().string(), "beep",
                    "status:「a.jww」を開くことのできるプログラムが見つかりません。"}));
}

TEST_F(WindowCommandsTest, ATypedOrPastedOutputFolderIsTakenAsAFolder) {
  const std::string sep(1, static_cast<char>(fs::path::preferred_separator));
  struct Case {
    std::string typed;
    fs::path folder;
  };
  const Case cases[] = {
      {"/tmp/out", "/tmp/out" + sep},
      {"  /tmp/out/ \n", "/tmp/out/"},
      {"\"/tmp/with space\"", "/tmp/with space" + sep},  // pasted from a file manager
      {"   ", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    commands_.SetOutputFolderText(c.typed);
    EXPECT_EQ(state_.output_folder, c.folder) << c.typed;
  }
  // A folder that does not exist is found out when converting.
  state_.tree_ready = state_.list_shown = true;
  state_.listed_folder = MakeConvertFolder(temp_, "src");
  state_.settings.C(3) = 1;
  commands_.SetOutputFolderText(PathToUtf8(temp_.path() / "missing"));
  EXPECT_FALSE(commands_.CheckConversion(state_.output_folder));
  EXPECT_EQ(feedback_.Take(), (Events{"beep", "confirm:保存先フォルダが見つかりません。確認して下さい。"}));
}

TEST_F(WindowCommandsTest, TheHintShowsUntilAFolderIsListedAndF5FindsItsFolderAgain) {
  EXPECT_TRUE(commands_.ShowsStartHint());
  state_.search_folder = "/d/";
  state_.listed_folder = "/d/a/b/";
  EXPECT_FALSE(commands_.ShowsStartHint());
  EXPECT_EQ(commands_.ListedFolderSteps(), (std::vector<fs::path>{"a", "b"}));
  state_.listed_folder = "/d/";
  EXPECT_TRUE(commands_.ListedFolderSteps().empty());
  state_.listed_folder = "/elsewhere/";
  EXPECT_TRUE(commands_.ListedFolderSteps().empty());
}

TEST_F(WindowCommandsTest, HeaderClicksAlternateAndTheAttributeColumnClearsTheArrow) {
  EXPECT_EQ(HeaderClick(state_, 0), (SortIndicator{0, false}));
  EXPECT_EQ(HeaderClick(state_, 3), (SortIndicator{3, true}));  // whichever column
  EXPECT_EQ(HeaderClick(state_, kAttributeColumn), SortIndicator{});
  EXPECT_EQ(state_.sort, SortIndicator{});
  EXPECT_EQ(HeaderClick(state_, 1), (SortIndicator{1, false}));  // the direction went on
  EXPECT_EQ(state_.sort, (SortIndicator{1, false}));  // kept for the next listing
}

TEST(ShortcutsTest, EveryCommandHasItsOwnKey) {
  std::vector<std::string> keys;
  for (const CommandKey& key : CommandKeys()) {
    EXPECT_STRNE(key.key, "");
    EXPECT_EQ(std::count(keys.begin(), keys.end(), key.key), 0) << key.key;
    keys.push_back(key.key);
  }
  EXPECT_STREQ(KeyOf(Command::kChooseSearchFolder), "Ctrl+O");
  EXPECT_STREQ(KeyOf(Command::kConvert), "Ctrl+Return");
  EXPECT_STREQ(KeyOf(Command::kRefresh), "F5");
}

}  // namespace
}  // namespace varnelko::test
