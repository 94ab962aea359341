// The layer inventory: entities by layer and kind, names from the drawing,
// and what a conversion would change on each layer.
#include <gtest/gtest.h>

#include "conversion/conversion_changes.h"
#include "conversion/layer_inventory.h"
#include "drawing_files.h"

namespace varnelko {
namespace {

TEntHeader On(uint16_t group, uint16_t layer, uint16_t color = 2, uint8_t style = 1) {
  TEntHeader h;
  h.layer_group = group;
  h.layer = layer;
  h.pen_color = color;
  h.pen_style = style;
  return h;
}

const LayerInventoryEntry* Find(const LayerInventory& inv, uint16_t group, uint16_t layer) {
  for (const LayerInventoryEntry& e : inv.entries) {
    if (e.group == group && e.layer == layer) return &e;
  }
  return nullptr;
}

TEST(LayerInventory, CountsByLayerAndKindWithTheDrawingsNames) {
  JwwDocument doc;
  doc.header.version = 700;
  doc.layer_groups[3].name = "\x95\xBD\x96\xCA";  // 平面
  doc.layers[3 * 16 + 5].name = "wall";
  doc.store.Add(TEntSen{On(3, 5)});
  doc.store.Add(TEntSen{On(3, 5)});
  doc.store.Add(TEntEnko{On(3, 5)});
  doc.store.Add(TEntSen{On(0, 0)});
  TEntBlockDef def;
  TEntMoji text;
  text.header = On(3, 5);
  def.members.Add(text);
  def.members.Add(TEntSen{On(15, 15)});
  doc.store.block_defs.push_back(def);

  const LayerInventory inv = BuildLayerInventory(doc, std::nullopt);
  ASSERT_EQ(inv.entries.size(), 3u);
  EXPECT_FALSE(inv.with_changes);
  const LayerInventoryEntry* wall = Find(inv, 3, 5);
  ASSERT_NE(wall, nullptr);
  EXPECT_EQ(wall->group_name, "\x95\xBD\x96\xCA");
  EXPECT_EQ(wall->layer_name, "wall");
  EXPECT_EQ(wall->counts[kKindLine], 2);
  EXPECT_EQ(wall->counts[kKindArc], 1);
  EXPECT_EQ(wall->member_counts[kKindText], 1);
  EXPECT_EQ(wall->Total(), 4);
  // Sorted by group, then layer.
  EXPECT_EQ(inv.entries.front().group, 0);
  EXPECT_EQ(inv.entries.back().group, 15);
}

TEST(LayerInventory, ChangesLandOnTheLayerOfTheHeaderThatChanges) {
  JwwDocument doc;
  doc.header.version = 700;
  // A dimension on layer 1-1 whose text lies on the target layer 2-2.
  TEntSunpo dim;
  dim.header = On(1, 1);
  dim.line.header = On(1, 1);
  dim.text.header = On(2, 2);
  for (TEntSen& aux : dim.aux_lines) aux.header = On(1, 1);
  for (TEntTen& p : dim.points) p.header = On(1, 1);
  doc.store.Add(dim);
  doc.store.Add(TEntSen{On(2, 2, 9, 1)});  // already auxiliary colour: only its style
  const LayerInventory inv =
      BuildLayerInventory(doc, test::SettingsOf({2, 2, 1, 1, 1, 0, 1, 0}));
  ASSERT_TRUE(inv.with_changes);
  const LayerInventoryEntry* target = Find(inv, 2, 2);
  ASSERT_NE(target, nullptr);
  EXPECT_EQ(target->counts[kKindDimension], 0);
  EXPECT_EQ(target->colors_changed, 1);  // the dimension text
  EXPECT_EQ(target->styles_changed, 1);  // the line
  EXPECT_EQ(Find(inv, 1, 1)->colors_changed, 0);
}

// Over generated drawings and figures and many settings, the per-layer
// changes add up to exactly what the conversion reports.
TEST(LayerInventory, ChangesAddUpToTheConversionsCounts) {
  test::BuildOptions build;
  build.entities = 500;
  build.block_defs = 6;
  for (int32_t version : {351, 600, 700}) {
    build.version = version;
    const JwwDocument jww = test::BuildJwwDocument(build);
    const JwsDocument jws = test::BuildJwsDocument(build);
    for (auto slots : {std::array<int32_t, 8>{16, 16, 1, 1, 1, 1, 1, 1},
                       std::array<int32_t, 8>{4, 16, 1, 0, 1, 1, 0, 0},
                       std::array<int32_t, 8>{16, 7, 0, 1, 0, 0, 1, 1},
                       std::array<int32_t, 8>{16, 16, 2, 0, 1, 1, 0, 0}}) {
      const ConversionSettings s = test::SettingsOf(slots);
      EntityStore copy = jww.store;
      const ConversionCounts want = ApplyLayerConversion(copy, version, s);
      const LayerInventory inv = BuildLayerInventory(jww, s);
      int64_t colors = 0, styles = 0;
      for (const LayerInventoryEntry& e : inv.entries) colors += e.colors_changed, styles += e.styles_changed;
      EXPECT_EQ(colors, want.colors);
      EXPECT_EQ(styles, want.styles);
      EXPECT_EQ(inv.colors_changed, want.colors);
      EXPECT_EQ(PlanConversion(jww.store, version, s).counts, want);

      EntityStore figure = jws.store;
      EXPECT_EQ(BuildLayerInventory(jws, s).colors_changed,
                ApplyLayerConversion(figure, version, s).colors);
    }
  }
}

}  // namespace
}  // namespace varnelko
