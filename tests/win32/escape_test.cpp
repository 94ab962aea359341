// Escape under Wine: it stops a listing's memos and a running conversion,
// whose files in progress finish and whose report counts those not started.
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
  std::string ManyDrawings(int count) {
    const std::string folder = Folder("many");
    const fs::path plan = fs::path(VARNELKO_SOURCE_DIR) / "samples" / PathFromUtf8("平面図.jww");
    for (int i = 0; i < count; ++i) {
      fs::copy_file(plan, PathFromUtf8(folder) / ("d" + std::to_string(1000 + i) + ".jww"));
    }
    return folder;
  }

  void PressEscape() {
    PostMessageW(window_->Control(kStringGrid1), WM_KEYDOWN, VK_ESCAPE, 0);
  }
};

TEST_F(EscapeTest, StopsAConversionAndCountsTheFilesNotStarted) {
  const int count = 300;
  const std::string folder = ManyDrawings(count);
  MainWindow& w = Start();
  SearchAndList(folder);
  SelectRows(0, RowCount() - 1);
  w.state().ini.settings.C(3) = 1;
  w.SetOutputFolder(Folder("out"));
  Command(kButton4);  // the run starts on its worker; the window goes on
  PressEscape();
  WaitIdle();
  const std::string status = w.StatusText();
  EXPECT_EQ(status.rfind("変換を中止しました。", 0), 0u) << status;
  const auto written = std::distance(fs::directory_iterator(PathFromUtf8(Folder("out"))),
                                     fs::directory_iterator());
  EXPECT_LT(written, count);
  // Every file either converted or named as not started.
  EXPECT_NE(status.find(std::to_string(written) + " 個を変換し、" +
                        std::to_string(count - written) + " 個は変換していません。"),
            std::string::npos)
      << status;
  EXPECT_NE(prompts_.report_details.find("中止したため変換していません"), std::string::npos);
}

TEST_F(EscapeTest, StopsTheMemosOfAListing) {
  const std::string folder = ManyDrawings(600);
  MainWindow& w = Start();
  prompts_.folder_choice = folder;
  Command(kMenuSearchFolder);
  w.ListFiles(folder);
  PressEscape();
  WaitIdle();
  EXPECT_EQ(w.StatusText(), "検索を中断しました。");
  // The rows already listed stay; later listings are not disturbed.
  w.ListFiles(folder);
  WaitIdle();
  EXPECT_EQ(w.StatusText(), "600 Files  パス名「" + folder + "」");
}

}  // namespace
}  // namespace varnelko::test
