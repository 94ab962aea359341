// Hostile block structures, unusable coordinates, and the screen, print
// and "after" views.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <tuple>

#include "conversion/conversion_changes.h"
#include "scene_test_support.h"
#include "support/document_builder.h"

namespace varnelko::render {
namespace {

using test::DefOf;
using test::InsertOf;
using test::LineOf;
using test::Pen;

TEST(SceneLimits, BlocksInsertingThemselvesAreCutNotFollowed) {
  JwwDocument doc = test::EmptyDrawing();
  TEntBlockDef self = DefOf(1, "self");
  self.members.Add(LineOf(0, 0, 1, 0));
  self.members.Add(InsertOf(1, 1, 0));
  TEntBlockDef a = DefOf(2, "a"), b = DefOf(3, "b");
  a.members.Add(LineOf(0, 0, 0, 1));
  a.members.Add(InsertOf(3, 0, 1));
  b.members.Add(LineOf(0, 0, 0, 1));
  b.members.Add(InsertOf(2, 0, 1));
  doc.store.block_defs = {self, a, b};
  doc.store.Add(InsertOf(1, 0, 0));
  doc.store.Add(InsertOf(2, 5, 0));
  const Scene scene = BuildScene(doc);
  EXPECT_EQ(scene.items.size(), 3u);  // self once, a and b once each
  EXPECT_EQ(scene.stats.cut_cycles, 2);
  EXPECT_TRUE(scene.stats.Cut());
}

// Block n inserts block n-1 ten times: 10^12 lines if drawn in full.
JwwDocument ExplodingDrawing(int levels) {
  JwwDocument doc = test::EmptyDrawing();
  TEntBlockDef leaf = DefOf(0, "leaf");
  leaf.members.Add(LineOf(0, 0, 1, 0));
  doc.store.block_defs.push_back(leaf);
  for (int n = 1; n <= levels; ++n) {
    TEntBlockDef def = DefOf(n, "level");
    for (int i = 0; i < 10; ++i) def.members.Add(InsertOf(n - 1, i, 0));
    doc.store.block_defs.push_back(def);
  }
  doc.store.Add(InsertOf(levels, 0, 0));
  doc.store.Add(LineOf(0, 0, 5, 5));  // drawn after the explosion all the same
  return doc;
}

TEST(SceneLimits, ExponentialNestingStopsAtTheItemLimit) {
  SceneOptions options;
  options.max_expanded_items = 5000;
  const Scene scene = BuildScene(ExplodingDrawing(12), options);
  EXPECT_EQ(scene.items.size(), 5001u);
  EXPECT_GT(scene.stats.cut_limit, 0);
  EXPECT_EQ(scene.items.back().origin.block_def, -1);  // the top-level line
}

TEST(SceneLimits, NestingDeeperThanTheLimitIsCut) {
  SceneOptions options;
  options.max_depth = 3;
  const Scene scene = BuildScene(ExplodingDrawing(4), options);
  // Levels 4, 3 and 2 are drawn; the 100 level-2 blocks insert level 1
  // ten times each, and all 1000 of those insertions are cut.
  EXPECT_EQ(scene.stats.cut_depth, 1000);
  EXPECT_EQ(scene.items.size(), 1u);
}

TEST(SceneLimits, MissingBlocksAreCountedAndFirstNumberWins) {
  JwwDocument doc = test::EmptyDrawing();
  TEntBlockDef first = DefOf(5, "first"), second = DefOf(5, "second");
  first.members.Add(LineOf(0, 0, 1, 0));
  second.members.Add(LineOf(0, 0, 2, 0));
  second.members.Add(LineOf(0, 0, 3, 0));
  doc.store.block_defs = {first, second};
  doc.store.Add(InsertOf(5, 0, 0));
  doc.store.Add(InsertOf(6, 0, 0));
  const Scene scene = BuildScene(doc);
  EXPECT_EQ(scene.items.size(), 1u);
  EXPECT_EQ(scene.stats.missing_blocks, 1);
}

TEST(SceneLimits, UnusableCoordinatesAreSkipped) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  JwwDocument doc = test::EmptyDrawing();
  TEntBlockDef def = DefOf(1, "b");
  def.members.Add(LineOf(0, 0, 1, 1));
  doc.store.block_defs = {def};
  doc.store.Add(LineOf(nan, 0, 1, 1));
  doc.store.Add(LineOf(0, 0, inf, 1));
  doc.store.Add(LineOf(0, 0, 1e300, 1));
  doc.store.Add(InsertOf(1, 0, 0, 1e200, 1e200));  // finite transform, points beyond the limit
  doc.store.Add(InsertOf(1, nan, 0));
  TEntMoji text;
  text.header = Pen(2);
  text.size_x = text.size_y = inf;
  text.text = "x";
  doc.store.Add(text);
  TEntTen point;
  point.header = Pen(2);
  point.x = -inf;
  doc.store.Add(point);
  doc.store.Add(LineOf(0, 0, 1, 1));
  const Scene scene = BuildScene(doc);
  ASSERT_EQ(scene.items.size(), 1u);
  EXPECT_EQ(scene.stats.skipped_geometry, 7);
  EXPECT_DOUBLE_EQ(scene.extent.max_x, 1);
}

JwwDocument AuxDrawing() {
  JwwDocument doc = test::EmptyDrawing();
  doc.store.Add(LineOf(0, 0, 1, 0, Pen(2, 1)));
  doc.store.Add(LineOf(0, 0, 1, 0, Pen(9, 1)));  // auxiliary colour
  doc.store.Add(LineOf(0, 0, 1, 0, Pen(3, 9)));  // auxiliary line type
  TEntTen temp;
  temp.header = Pen(2);
  temp.temporary = 1;
  doc.store.Add(temp);
  return doc;
}

TEST(SceneViews, PrintLeavesOutAuxiliaryEntitiesScreenDrawsThemPale) {
  const JwwDocument doc = AuxDrawing();
  const Scene screen = BuildScene(doc);
  ASSERT_EQ(screen.items.size(), 3u);
  EXPECT_FALSE(screen.items[0].flags & kItemAux);
  EXPECT_TRUE(screen.items[1].flags & kItemAux);
  EXPECT_TRUE(screen.items[2].flags & kItemAux);
  EXPECT_NE(screen.items[2].dash, 0);
  EXPECT_LT(screen.items[2].width_px, screen.items[0].width_px);
  EXPECT_EQ(screen.stats.hidden_temporary, 1);

  SceneOptions print;
  print.view = SceneView::kPrint;
  print.temporary_points = true;
  const Scene printed = BuildScene(doc, print);
  ASSERT_EQ(printed.items.size(), 2u);
  EXPECT_EQ(printed.items[1].shape, ItemShape::kPointMark);
  EXPECT_EQ(printed.stats.hidden_by_view, 2);
}

// One key per drawn record: (block definition, kind, index, part).
using Key = std::tuple<int32_t, int, int32_t, int>;
std::set<Key> Keys(const Scene& scene, uint8_t flag_mask = 0) {
  std::set<Key> keys;
  for (const SceneItem& i : scene.items) {
    if (flag_mask && !(i.flags & flag_mask)) continue;
    keys.insert({i.origin.block_def, i.origin.kind, i.origin.index, i.origin.part});
  }
  return keys;
}

// Every kind, dimensions with all their members, no blocks: every record is
// drawn exactly once, so the marks must add up to the conversion's counts.
TEST(SceneAfter, MarksEqualTheConversionsCountsAndPrintDiffersByThem) {
  test::BuildOptions build;
  build.entities = 700;
  build.block_defs = 0;
  JwwDocument doc = test::BuildJwwDocument(build);
  test::ShowEverything(doc);
  for (auto slots : {std::array<int32_t, 8>{16, 16, 1, 1, 1, 0, 1, 0},
                     std::array<int32_t, 8>{3, 16, 1, 0, 0, 0, 0, 0},
                     std::array<int32_t, 8>{16, 5, 0, 1, 0, 0, 1, 0}}) {
    ConversionSettings settings;
    settings.values = slots;
    EntityStore copy = doc.store;
    const ConversionCounts applied = ApplyLayerConversion(copy, doc.header.version, settings);

    SceneOptions options;
    options.temporary_points = true;
    options.after = settings;
    const Scene after = BuildScene(doc, options);
    ASSERT_TRUE(after.changes.has_value());
    EXPECT_EQ(*after.changes, applied);
    int64_t colors = 0, styles = 0;
    for (const SceneItem& i : after.marks) {
      colors += (i.flags & kItemChangedColor) ? 1 : 0;
      styles += (i.flags & kItemChangedStyle) ? 1 : 0;
    }
    EXPECT_EQ(colors, applied.colors);
    EXPECT_EQ(styles, applied.styles);

    // What the print view loses is exactly what was printed and changed.
    SceneOptions print = options;
    print.view = SceneView::kPrint;
    const Scene print_after = BuildScene(doc, print);
    print.after.reset();
    const Scene print_before = BuildScene(doc, print);
    const std::set<Key> before = Keys(print_before), now = Keys(print_after);
    const std::set<Key> changed = Keys(after, kItemChanged);
    // The print view marks the same entities, though it no longer draws them.
    EXPECT_EQ(print_after.marks.size(), after.marks.size());
    std::set<Key> lost, changed_and_printed;
    for (const Key& k : before) {
      if (!now.count(k)) lost.insert(k);
      if (changed.count(k)) changed_and_printed.insert(k);
    }
    EXPECT_EQ(lost, changed_and_printed);
    EXPECT_FALSE(lost.empty());
    for (const Key& k : now) EXPECT_TRUE(before.count(k));
  }
}

TEST(SceneAfter, TheDocumentItselfStaysUnconverted) {
  const JwwDocument doc = AuxDrawing();
  const EntityStore before = doc.store;
  SceneOptions options;
  options.after = ConversionSettings{{16, 16, 1, 1, 0, 0, 0, 0}};
  const Scene scene = BuildScene(doc, options);
  EXPECT_EQ(doc.store, before);
  EXPECT_EQ(scene.changes->colors, 3);  // colours 2, 3 and the temporary point's
  EXPECT_EQ(scene.changes->styles, 2);  // the two lines of style 1
}

}  // namespace
}  // namespace varnelko::render
