// Escape under Wine: it stops a listing's memos and a running conversion,
// whose files in progress finish; so does the stop button beside the progress.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "platform/path_text.h"
#include "win32/control_ids.h"
#include "win32/message_loop.h"
#include "window_fixture.h"

namespace varnelko::test {
namespace {

namespace fs = std::filesystem;
using namespace win32;

class EscapeTest : public WindowTest {
 protected:
  // `count` copies of the sample plan.
  fs::path ManyDrawings(int count) {
    const fs::path folder = Folder("many");
    const fs::path plan = fs::path(VARNELKO_SOURCE_DIR) / "samples" / PathFromUtf8("平面図.jww");
    for (int i = 0; i < count; ++i) {
      fs::copy_file(plan, folder / ("d" + std::to_string(1000 + i) + ".jww"));
    }
    return folder;
  }

  void PressEscape() {
    PostMessageW(window_->Control(kStringGrid1), WM_KEYDOWN, VK_ESCAPE, 0);
  }
};

TEST_F(EscapeTest, EscapeAndTheStopButtonEndARunAndTheCountsSaySo) {
  const int count = 300;
  const fs::path folder = ManyDrawings(count);
  MainWindow& w = Start();
  SearchAndList(folder);
  w.state().settings.C(3) = 1;
  HWND stop = GetDlgItem(w.Control(kStatusBar1), kStopRun);
  struct Run {
    const char* how;
    std::function<void()> stop;  // null: the run goes to the end
  };
  const Run runs[] = {
      {"Escape", [&] { PressEscape(); }},
      {"中止", [&] { PostMessageW(stop, BM_CLICK, 0, 0); }},
      {"to the end", nullptr},
  };
  for (const Run& run : runs) {
    const fs::path out = Folder(std::string("out ") + run.how);
    w.SetOutputFolder(out);
    SelectRows(0, RowCount() - 1);
    SendMessageW(w.hwnd(), WM_COMMAND, kButton4, 0);
    EXPECT_TRUE(IsWindowVisible(stop)) << run.how;
    if (run.stop) run.stop();
    WaitIdle();
    EXPECT_FALSE(IsWindowVisible(stop)) << run.how;
    const auto written = std::distance(fs::directory_iterator(out), fs::directory_iterator());
    const std::string counts = w.CountsText();
    if (run.stop) {
      EXPECT_LT(written, count) << run.how;
      EXPECT_EQ(w.StatusText(), "変換作業を中止しました。") << run.how;
      EXPECT_NE(counts.find("  未着手 " + std::to_string(count - written)), std::string::npos)
          << counts;
    } else {
      EXPECT_EQ(written, count);
      EXPECT_EQ(w.StatusText(), "変換作業を完了しました。");
      EXPECT_TRUE(counts.starts_with("変換 300")) << counts;
      EXPECT_TRUE(counts.ends_with("スキップ 0  失敗 0")) << counts;
    }
  }
}

TEST_F(EscapeTest, StopsTheMemosOfAListing) {
  const fs::path folder = ManyDrawings(600);
  MainWindow& w = Start();
  feedback_.folder_choice = folder;
  Command(kMenuSearchFolder);
  w.ListFiles(folder);
  PressEscape();
  WaitIdle();
  EXPECT_EQ(w.StatusText(), "検索を中断しました。");
  // The rows already listed stay; later listings are not disturbed.
  w.ListFiles(folder);
  WaitIdle();
  EXPECT_EQ(w.StatusText(), "600 Files  パス名「" + PathToUtf8(folder) + "」");
}

}  // namespace
}  // namespace varnelko::test
