#include <gtest/gtest.h>

#include <fstream>

#include "document/jws_document.h"
#include "document/jww_document.h"
#include "support/temp_dir.h"

namespace varnelko {
namespace {

TEST(JwwDocument, ClearRestoresTheDefaultsOfAFreshDocument) {
  JwwDocument doc;
  doc.header.printer_scale = 5;
  doc.header.jumps[0].layer_group = 3;
  doc.header.memo = "memo";
  doc.layers[17].name = "x";
  doc.store.Add(TEntSen{});
  doc.store.block_defs.push_back({});
  ClearJwwDocument(doc);
  EXPECT_EQ(doc.header.printer_scale, 1.0);
  EXPECT_EQ(doc.header.grid_spacing_y, 1.0);
  EXPECT_EQ(doc.header.range_zoom, 1.0);
  EXPECT_EQ(doc.header.jumps[0].layer_group, -1);
  EXPECT_EQ(doc.header.jumps[7].zoom, 1.0);
  EXPECT_TRUE(doc.header.memo.empty());
  EXPECT_TRUE(doc.layers[17].name.empty());
  EXPECT_TRUE(doc.store.order.empty());
  EXPECT_TRUE(doc.store.lines.empty());
  EXPECT_TRUE(doc.store.block_defs.empty());
}

TEST(EntityList, AddKeepsTheOrderInvariant) {
  EntityList list;
  list.Add(TEntSen{});
  list.Add(TEntEnko{});
  list.Add(TEntSen{});
  ASSERT_EQ(list.order.size(), 3u);
  EXPECT_EQ(list.order[0], (TEntRef{kKindLine, 0}));
  EXPECT_EQ(list.order[1], (TEntRef{kKindArc, 0}));
  EXPECT_EQ(list.order[2], (TEntRef{kKindLine, 1}));
}

TEST(BoundImages, ScratchFilesAreDeletedAndTheFolderReleased) {
  JwwDocument doc;
  ASSERT_TRUE(EnsureScratchFolder(doc.images));
  auto folder = doc.images.scratch_folder;
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  for (const char* name : {"a.png", "gone.png", "c.png"}) {
    doc.images.list.push_back({name, 3, 0});
    if (std::string(name) != "gone.png") std::ofstream(folder / name) << "abc";
  }
  DeleteBoundImageFiles(doc.images);
  EXPECT_FALSE(std::filesystem::exists(folder / "a.png"));
  EXPECT_FALSE(std::filesystem::exists(folder / "c.png"));
  EXPECT_EQ(doc.images.list.size(), 3u);  // the list itself stays
  FreeJwwDocument(doc);
  EXPECT_FALSE(std::filesystem::exists(folder));
  EXPECT_TRUE(doc.images.list.empty());
}

TEST(BoundImages, TwoDocumentsNeverShareAScratchFolder) {
  BoundImages a, b;
  ASSERT_TRUE(EnsureScratchFolder(a));
  ASSERT_TRUE(EnsureScratchFolder(b));
  EXPECT_NE(a.scratch_folder, b.scratch_folder);
  ReleaseScratchFolder(a);
  ReleaseScratchFolder(b);
}

TEST(BoundImages, OnlyPlainFileNamesAreAccepted) {
  EXPECT_TRUE(IsPlainImageName("photo.jpg"));
  for (const char* bad : {"", ".", "..", "a/b.jpg", "..\\x.jpg", "C:x.jpg", "/etc/passwd"})
    EXPECT_FALSE(IsPlainImageName(bad)) << bad;
  EXPECT_FALSE(IsPlainImageName(std::string("a\0b", 3)));
  // Code page 932 names: the second byte of "表" is 0x5C, which is no backslash
  // there; a backslash or slash after a whole character still is one.
  const std::string hyou = "\x95\x5C";
  EXPECT_TRUE(IsPlainImageName(hyou + "\x8E\x86.jpg"));
  EXPECT_FALSE(IsPlainImageName(hyou + "\\x.jpg"));
  EXPECT_FALSE(IsPlainImageName(hyou + "/x.jpg"));
  EXPECT_FALSE(IsPlainImageName("\x95/x.jpg"));
}

TEST(JwsDocument, ClearEmptiesEverything) {
  JwsDocument doc;
  doc.version = 600;
  doc.group_scales[5] = 2;
  doc.store.Add(TEntTen{});
  FreeJwsDocument(doc);
  EXPECT_EQ(doc, JwsDocument{});
}

}  // namespace
}  // namespace varnelko
