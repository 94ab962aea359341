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

TEST(BoundImages, ClearKeepsThemAndFreeDropsThem) {
  JwwDocument doc;
  doc.header.version = 700;
  doc.images.list.push_back({"a.png", 3, 1, "abc"});
  ClearJwwDocument(doc);
  EXPECT_EQ(doc.header.version, 0);
  ASSERT_EQ(doc.images.list.size(), 1u);
  EXPECT_EQ(doc.images.list[0].data, "abc");
  FreeJwwDocument(doc);
  EXPECT_TRUE(doc.images.list.empty());
}

TEST(BoundImages, OnlyANamedEntryOfNonZeroSizeCarriesAnImage) {
  EXPECT_TRUE(CarriesImage({"a.png", 3, 0, "abc"}));
  EXPECT_TRUE(CarriesImage({"neg.png", -1, 0, ""}));
  EXPECT_FALSE(CarriesImage({"zero.png", 0, 0, ""}));
  EXPECT_FALSE(CarriesImage({"", 5, 0, ""}));
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
