// Escape under Wine: it stops a listing's memos and a running conversion,
// whose files in progress finish.
#include <gtest/gtest.h>

#include <filesystem>

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

TEST_F(EscapeTest, StopsAConversionAndCountsTheFilesNotStarted) {
  const int count = 300;
  const fs::path folder = ManyDrawings(count);
  MainWindow& w = Start();
  SearchAndList(folder);
  SelectRows(0, RowCount() - 1);
  w.state().settings.C(3) = 1;
  w.SetOutputFolder(Folder("out"));
  // Waiting in the queue, the key arrives as soon as the run has started on
  // its worker and the window handles messages again.
  PressEscape();
  Command(kButton4);
  WaitIdle();
  const auto written =
      std::distance(fs::directory_iterator(Folder("out")), fs::directory_iterator());
  EXPECT_LT(written, count);
  EXPECT_FALSE(w.Working());
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
