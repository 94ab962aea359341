#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "desktop/memo_reader.h"
#include "desktop_fixtures.h"

namespace varnelko::test {
namespace {

namespace fs = std::filesystem;

TEST(MemoReaderTest, HandsEveryMemoOverOnceInRowOrder) {
  TempDir temp;
  const std::vector<fs::path> files = MakeMemoFiles(temp, 30);
  UiQueue ui;
  std::vector<std::pair<int, std::string>> read;
  bool finished = false;
  MemoReader reader(files, ui.Post(),
                    {[&](int index, const std::string& memo) { read.emplace_back(index, memo); },
                     [&] { finished = true; }});
  EXPECT_TRUE(reader.Pending());
  ASSERT_TRUE(ui.RunUntil([&] { return finished; }));
  EXPECT_FALSE(reader.Pending());
  ASSERT_EQ(read.size(), files.size());
  for (size_t i = 0; i < read.size(); ++i) EXPECT_EQ(read[i].first, static_cast<int>(i));
  EXPECT_EQ(read[0].second, "図面 0");
  EXPECT_EQ(read[1].second, "");  // the text file
  EXPECT_EQ(read[3].second, "");  // the missing file
  EXPECT_EQ(read.back().second, "図面 29");
}

TEST(MemoReaderTest, NothingIsHandedOverAfterAStopOrAfterTheReaderIsGone) {
  TempDir temp;
  const std::vector<fs::path> files = MakeMemoFiles(temp, 30);
  UiQueue ui;
  int read = 0;
  bool finished = false;
  {
    MemoReader reader(files, ui.Post(), {});
    reader.Stop();
    EXPECT_FALSE(reader.Pending());
  }
  {
    MemoReader* self = nullptr;
    MemoReader reader(files, ui.Post(),
                      {[&](int, const std::string&) {
                         ++read;
                         self->Stop();  // memos already read and posted are dropped too
                       },
                       [&] { finished = true; }});
    self = &reader;
    ui.RunUntil([&] { return read > 0; });
    EXPECT_FALSE(reader.Pending());
    ui.RunPending();
  }  // destroyed while its thread may still run: it is waited for
  ui.RunPending();  // what it posted before it went does nothing now
  EXPECT_EQ(read, 1);
  EXPECT_FALSE(finished);
}

}  // namespace
}  // namespace varnelko::test
