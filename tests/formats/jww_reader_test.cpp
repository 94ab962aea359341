#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "formats/jww/jww_file.h"
#include "platform/path_text.h"
#include "support/jww_fixture.h"
#include "support/temp_dir.h"
#include "support/test_platform.h"

namespace varnelko {
namespace {

namespace fs = std::filesystem;
using namespace test;

struct Image {
  std::string name;
  int32_t size;
  std::string data;  // written when the name is not empty and size > 0
};

// A version 700 drawing with a line, a text, one block definition holding
// a point, and the given bound images.
std::string DrawingWithImages(const std::vector<Image>& images) {
  ByteWriter out;
  out.Bytes(JwwHeaderBytes(700));
  PutCount(out, 2);
  PutNewClass(out, "CDataSen");
  PutLine(out, 700, SampleLine(1));
  PutNewClass(out, "CDataMoji");
  TEntMoji text;
  text.text = "^@BM%temp%a.png,100,100";
  PutText(out, 700, text);
  PutCount(out, 1);
  PutNewClass(out, "CDataList");
  PutEntHeader(out, 700, {});
  out.I32(1);
  out.I32(1);
  out.I32(-1);
  out.Fill(0xEE, 8);
  PutCString(out, "blk");
  PutCount(out, 1);
  PutNewClass(out, "CDataTen");
  TEntTen point;
  point.header.pen_style = 100;
  point.scale = 3;
  PutPoint(out, 700, point);
  out.I32(static_cast<int32_t>(images.size()));
  for (const Image& image : images) {
    PutCString(out, image.name);
    out.I32(image.size);
    out.Bytes(image.data);
  }
  return out.Take();
}

TEST(JwwReader, BoundImagesAreKeptInTheDocument) {
  std::string png(5000, '\0');
  for (size_t i = 0; i < png.size(); ++i) png[i] = static_cast<char>(i * 7);
  test::TempDir tmp;
  std::string bytes = DrawingWithImages(
      {{"a.png", 5000, png}, {"empty.png", 0, ""},
       {"", 7, ""},  // an empty name carries no data, whatever its size
       {"b.jpg", 3, "xyz"},
       {"../up/C:x.jpg", 2, "jp"}});  // a name is just bytes; no file is made of it
  JwwDocument doc;
  FormatError error;
  bool loaded = false;
  {
    test::TempFolderOverride temp(tmp.path());
    loaded = ReadJwwBytes(bytes, doc, &error);
  }
  ASSERT_TRUE(loaded) << error.Describe();
  EXPECT_TRUE(fs::is_empty(tmp.path()));
  EXPECT_EQ(doc.store.block_defs[0].timestamp, 1);
  EXPECT_EQ(doc.store.block_defs[0].members.points[0].scale, 3);
  ASSERT_EQ(doc.images.list.size(), 5u);
  EXPECT_EQ(doc.images.list[0], (TBindImageType{"a.png", 5000, 0, png}));
  EXPECT_EQ(doc.images.list[1], (TBindImageType{"empty.png", 0, 0, ""}));
  EXPECT_EQ(doc.images.list[2], (TBindImageType{"", 7, 0, ""}));
  EXPECT_EQ(doc.images.list[3].data, "xyz");
  EXPECT_EQ(doc.images.list[4].data, "jp");

  // Loading again frees the old images first.
  ASSERT_TRUE(ReadJwwBytes(DrawingWithImages({}), doc));
  EXPECT_TRUE(doc.images.list.empty());

  // A size that does not fit (0xFFFFFFFD, -3 as a signed size) is no image
  // of no bytes: the load fails at the size.
  const std::string negative = DrawingWithImages({{"neg.png", -3, ""}});
  EXPECT_FALSE(ReadJwwBytes(negative, doc, &error));
  EXPECT_EQ(error.offset, negative.size() - 4) << error.Describe();
}


TEST(JwwReader, AnImageNameLongerThanAFileNameLoads) {
  // No file is made of an image name, so no file-system limit applies to it.
  std::string name(300, 'n');
  std::string bytes = DrawingWithImages({{"first.png", 2, "ab"}, {name, 2, "zz"}});
  JwwDocument doc;
  FormatError error;
  ASSERT_TRUE(ReadJwwBytes(bytes, doc, &error)) << error.Describe();
  ASSERT_EQ(doc.images.list.size(), 2u);
  EXPECT_EQ(doc.images.list[1].name, name);
  EXPECT_EQ(doc.images.list[1].data, "zz");
}

TEST(JwwReader, TruncatedImageDataFails) {
  std::string bytes = DrawingWithImages({{"a.png", 4, "abcd"}, {"b.png", 100, "short"}});
  JwwDocument doc;
  FormatError error;
  EXPECT_FALSE(ReadJwwBytes(bytes, doc, &error));
  EXPECT_EQ(error.what, "truncated: bound image \"b.png\" needs 100 bytes, 5 left");
  // An absurd image count fails before anything is reserved.
  std::string counted = DrawingWithImages({});
  int32_t huge = 0x7FFFFFFF;
  std::memcpy(counted.data() + counted.size() - 4, &huge, 4);
  EXPECT_FALSE(ReadJwwBytes(counted, doc, &error));
}

TEST(JwwReader, ImageSectionOnlyFrom700) {
  // Below 700 the drawing ends after the block definitions; extra bytes are
  // never read.
  std::string bytes = JwwHeaderBytes(699) + EmptyJwwTail(699) + "trailing";
  JwwDocument doc;
  ASSERT_TRUE(ReadJwwBytes(bytes, doc));
  EXPECT_TRUE(doc.images.list.empty());
  EXPECT_FALSE(ReadJwwBytes(JwwHeaderBytes(700) + EmptyJwwTail(600), doc));
  EXPECT_TRUE(ReadJwwBytes(JwwHeaderBytes(700) + EmptyJwwTail(700), doc));
}

TEST(JwwReader, EveryTruncationFailsCleanly) {
  std::string bytes = DrawingWithImages({{"a.png", 6, "abcdef"}});
  JwwDocument doc;
  ASSERT_TRUE(ReadJwwBytes(bytes, doc));
  for (size_t n = 0; n < bytes.size(); ++n) {
    FormatError error;
    ASSERT_FALSE(ReadJwwBytes(std::string_view(bytes).substr(0, n), doc, &error)) << n;
    ASSERT_FALSE(error.what.empty()) << n;
    ASSERT_LE(error.offset, n);
  }
}

TEST(JwwReader, FileErrorsAreReported) {
  TempDir dir;
  JwwDocument doc;
  FormatError error;
  EXPECT_FALSE(ReadJwwFile(dir / "missing.jww", doc, &error));
  EXPECT_FALSE(error.what.empty());
  EXPECT_FALSE(ReadJwwFile(dir.Write("cut.jww", JwwHeaderBytes(600).substr(0, 100)), doc, &error));
  EXPECT_EQ(error.what.rfind("truncated", 0), 0u);
  fs::path good = dir.Write("good.jww", DrawingWithImages({{"a.png", 1, "a"}}));
  ASSERT_TRUE(ReadJwwFile(good, doc, &error)) << error.Describe();
  EXPECT_EQ(doc.store.order.size(), 2u);
  FreeJwwDocument(doc);
}

TEST(JwwReader, RealDrawingsLoad) {
  fs::path folder = RealDrawingsFolder();
  if (folder.empty()) GTEST_SKIP() << "no real drawings beside the project";
  size_t loaded = 0;
  for (const auto& entry : fs::directory_iterator(folder / "jww")) {
    if (entry.path().extension() != ".jww") continue;
    JwwDocument doc;
    FormatError error;
    EXPECT_TRUE(IsJwwFile(entry.path())) << entry.path();
    ASSERT_TRUE(ReadJwwFile(entry.path(), doc, &error))
        << entry.path() << ": " << error.Describe();
    const EntityStore& s = doc.store;
    std::printf("%s: version %d, %zu entities (%zu lines, %zu arcs, %zu points, %zu texts, "
                "%zu dimensions, %zu solids, %zu blocks), %zu block definitions, %zu images\n",
                PathToUtf8(entry.path().filename()).c_str(), doc.header.version, s.order.size(),
                s.lines.size(), s.arcs.size(), s.points.size(), s.texts.size(),
                s.dimensions.size(), s.solids.size(), s.blocks.size(), s.block_defs.size(),
                doc.images.list.size());
    JwwDocument memo;
    EXPECT_TRUE(ReadJwwMemo(entry.path(), memo));
    EXPECT_EQ(memo.header.memo, doc.header.memo);
    FreeJwwDocument(doc);
    ++loaded;
  }
  EXPECT_GT(loaded, 0u);
}

}  // namespace
}  // namespace varnelko
