// The memo reader: every memo handed over once, in row order, on the
// window's thread; nothing after a stop.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/memo_reader.h"
#include "document/cp932.h"
#include "formats/jww/jww_file.h"
#include "support/document_builder.h"
#include "support/temp_dir.h"

namespace varnelko::test {
namespace {

namespace fs = std::filesystem;

// Drawings "d00.jww" ... with the memos "図面 0" ..., a text file and a
// missing file between them.
std::vector<fs::path> MakeFiles(const TempDir& temp, int drawings) {
  auto doc = std::make_unique<JwwDocument>(BuildJwwDocument({.entities = 4}));
  std::vector<fs::path> files;
  for (int i = 0; i < drawings; ++i) {
    files.push_back(temp.path() / ("d" + std::to_string(i) + ".jww"));
    doc->header.memo = Utf8ToCp932("図面 " + std::to_string(i));
    EXPECT_TRUE(WriteJwwFile(files.back(), 700, *doc));
  }
  FreeJwwDocument(*doc);
  temp.Write("note.txt", "text");
  files.insert(files.begin() + 1, temp.path() / "note.txt");
  files.insert(files.begin() + 3, temp.path() / "gone.jww");
  return files;
}

void WaitUntil(const std::function<bool()>& done) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < 10'000) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

TEST(MemoReaderTest, HandsEveryMemoOverOnceInRowOrder) {
  TempDir temp;
  const std::vector<fs::path> files = MakeFiles(temp, 30);
  std::vector<std::pair<int, QString>> read;
  bool finished = false;
  MemoReader reader(files);
  QObject::connect(&reader, &MemoReader::MemoRead, [&](int index, const QString& memo) {
    read.emplace_back(index, memo);
  });
  QObject::connect(&reader, &MemoReader::Finished, [&] { finished = true; });
  EXPECT_TRUE(reader.Pending());
  WaitUntil([&] { return finished; });
  ASSERT_TRUE(finished);
  EXPECT_FALSE(reader.Pending());
  ASSERT_EQ(read.size(), files.size());
  for (size_t i = 0; i < read.size(); ++i) EXPECT_EQ(read[i].first, static_cast<int>(i));
  EXPECT_EQ(read[0].second, QString("図面 0"));
  EXPECT_EQ(read[1].second, QString());  // the text file
  EXPECT_EQ(read[3].second, QString());  // the missing file
  EXPECT_EQ(read.back().second, QString("図面 29"));
}

TEST(MemoReaderTest, NothingIsHandedOverAfterAStop) {
  TempDir temp;
  const std::vector<fs::path> files = MakeFiles(temp, 30);
  int read = 0;
  bool finished = false;
  {
    MemoReader reader(files);
    QObject::connect(&reader, &MemoReader::MemoRead, [&] {
      ++read;
      reader.Stop();  // memos already read and queued are dropped too
    });
    QObject::connect(&reader, &MemoReader::Finished, [&] { finished = true; });
    WaitUntil([&] { return read > 0; });
    EXPECT_FALSE(reader.Pending());
    QApplication::processEvents();
  }  // destroyed while its thread may still run: it is waited for
  QApplication::processEvents();
  EXPECT_EQ(read, 1);
  EXPECT_FALSE(finished);
}

}  // namespace
}  // namespace varnelko::test
