// The sheet and what "fit" frames, layer states, and the colours of the
// screen and print views.
#include <gtest/gtest.h>

#include "document/jws_document.h"
#include "render/palette.h"
#include "render/paper.h"
#include "scene_test_support.h"

namespace varnelko::render {
namespace {

using test::DefOf;
using test::InsertOf;
using test::LineOf;
using test::Pen;

Scene Build(const JwwDocument& doc, SceneView view = SceneView::kScreen, bool colours = false) {
  SceneOptions options;
  options.view = view;
  options.print_colours = colours;
  return BuildScene(doc, options);
}

void ExpectBox(const Extent& e, double x0, double y0, double x1, double y1) {
  EXPECT_FALSE(e.empty);
  EXPECT_DOUBLE_EQ(e.min_x, x0);
  EXPECT_DOUBLE_EQ(e.min_y, y0);
  EXPECT_DOUBLE_EQ(e.max_x, x1);
  EXPECT_DOUBLE_EQ(e.max_y, y1);
}

TEST(Paper, CodesZeroToFourAreTheASheetsLandscapeCentred) {
  const double sizes[][2] = {{1189, 841}, {841, 594}, {594, 420}, {420, 297}, {297, 210}};
  for (int code = 0; code < 5; ++code) {
    const std::optional<Extent> sheet = SheetOf(code);
    ASSERT_TRUE(sheet) << code;
    ExpectBox(*sheet, -sizes[code][0] / 2, -sizes[code][1] / 2, sizes[code][0] / 2, sizes[code][1] / 2);
  }
  for (int code : {-1, 5, 8, 99}) EXPECT_FALSE(SheetOf(code)) << code;
}

// A plan on A3 with its frame at -210..210, -148.5..148.5, and `far` lines
// a long way off the sheet.
JwwDocument PlanWithFarItems(int32_t paper_code, int far) {
  JwwDocument doc = test::EmptyDrawing();
  doc.header.paper_size = paper_code;
  for (TLayerGroup& g : doc.layer_groups) g.scale = 100;
  doc.store.Add(LineOf(-200, -140, 200, -140));
  doc.store.Add(LineOf(200, -140, 200, 140));
  doc.store.Add(LineOf(-200, 140, 200, 140));
  for (int i = 0; i < far; ++i) doc.store.Add(LineOf(50000, i, 50010, i));
  return doc;
}

TEST(Paper, FitFramesTheSheetFarItemsAreCountedAndLeftOutOfThePrint) {
  struct Case {
    int32_t code;
    int far;
    FrameSource source;
    size_t screen_items, print_items;
    int64_t off_paper;
  };
  const Case cases[] = {
      {3, 1, FrameSource::kPaper, 4, 3, 1},
      {3, 0, FrameSource::kPaper, 3, 3, 0},
      {3, 4, FrameSource::kOffPaper, 7, 7, 4},  // most lie off: the sheet must be wrong
      {9, 1, FrameSource::kUnknownPaper, 4, 4, 0},
  };
  for (const Case& c : cases) {
    const JwwDocument doc = PlanWithFarItems(c.code, c.far);
    const Scene screen = Build(doc), print = Build(doc, SceneView::kPrint);
    EXPECT_EQ(screen.frame_source, c.source) << c.code << " " << c.far;
    EXPECT_EQ(print.frame_source, c.source) << c.code << " " << c.far;
    EXPECT_EQ(screen.items.size(), c.screen_items) << c.code << " " << c.far;
    EXPECT_EQ(print.items.size(), c.print_items) << c.code << " " << c.far;
    EXPECT_EQ(screen.stats.off_paper, c.off_paper) << c.code << " " << c.far;
    if (c.source == FrameSource::kPaper) {
      ExpectBox(screen.frame, -210, -148.5, 210, 148.5);
      ASSERT_TRUE(screen.paper);
      ExpectBox(*screen.paper, -210, -148.5, 210, 148.5);
    } else {
      EXPECT_FALSE(screen.paper);
      ExpectBox(screen.frame, screen.extent.min_x, screen.extent.min_y, screen.extent.max_x,
                screen.extent.max_y);
    }
  }
}

TEST(Paper, FiguresAndEmptyDrawingsFrameTheirItems) {
  JwsDocument figure;
  figure.version = 600;
  figure.store.Add(LineOf(1, 2, 3, 4));
  const Scene scene = BuildScene(figure);
  EXPECT_EQ(scene.frame_source, FrameSource::kNoPaper);
  ExpectBox(scene.frame, 1, 2, 3, 4);
  EXPECT_EQ(scene.paper_code, -1);

  JwwDocument empty = test::EmptyDrawing();
  empty.header.paper_size = 7;
  EXPECT_EQ(Build(empty).frame_source, FrameSource::kEmpty);
  empty.header.paper_size = 4;
  EXPECT_EQ(Build(empty).frame_source, FrameSource::kPaper);  // an empty sheet is still a sheet
}

// Layer states: 0 hidden, 1 shown but locked, 2 editable, 3 being written.
TEST(LayerStates, HiddenLayersAreNotDrawnLockedOnesGreyOnScreenOnly) {
  struct Case {
    int32_t group_state, layer_state;
    bool drawn, locked;
  };
  const Case cases[] = {
      {2, 2, true, false}, {3, 3, true, false}, {2, 1, true, true}, {1, 2, true, true},
      {0, 2, false, false}, {2, 0, false, false}, {1, 0, false, false}, {7, -1, true, false},
  };
  for (const Case& c : cases) {
    JwwDocument doc = test::EmptyDrawing();
    doc.layer_groups[4].state = c.group_state;
    doc.layers[4 * 16 + 2].state = c.layer_state;
    doc.store.Add(LineOf(0, 0, 1, 1, Pen(8, 1, 4, 2)));  // red
    doc.store.Add(LineOf(0, 0, 1, 1, Pen(8, 1, 5, 2)));  // the next group, always shown
    const Scene screen = Build(doc), print = Build(doc, SceneView::kPrint, true);
    const std::string what = std::to_string(c.group_state) + "/" + std::to_string(c.layer_state);
    ASSERT_EQ(screen.items.size(), c.drawn ? 2u : 1u) << what;
    EXPECT_EQ(screen.stats.hidden_layers, c.drawn ? 0 : 1) << what;
    ASSERT_EQ(print.items.size(), screen.items.size()) << what;
    if (!c.drawn) continue;
    EXPECT_EQ((screen.items[0].flags & kItemLocked) != 0, c.locked) << what;
    EXPECT_EQ(screen.items[0].rgb, c.locked ? kLockedRgb : 0xE00000u) << what;
    EXPECT_EQ(print.items[0].rgb, 0xE00000u) << what;  // locked layers print as they are
  }
}

TEST(LayerStates, AnInsertionShowsAndHidesWithItsOwnLayer) {
  JwwDocument doc = test::EmptyDrawing();
  doc.layers[5].state = 0;   // group 0, layer 5: hidden
  doc.layers[6].state = 1;   // layer 6: locked
  TEntBlockDef def = DefOf(1, "part");
  def.members.Add(LineOf(0, 0, 1, 0, Pen(2, 1, 0, 5)));  // a member on the hidden layer
  doc.store.block_defs = {def};
  TEntBlock shown = InsertOf(1, 0, 0), hidden = InsertOf(1, 5, 0), locked = InsertOf(1, 9, 0);
  hidden.header.layer = 5;
  locked.header.layer = 6;
  for (const TEntBlock& k : {shown, hidden, locked}) doc.store.Add(k);
  const Scene scene = Build(doc);
  ASSERT_EQ(scene.items.size(), 2u);
  EXPECT_EQ(scene.stats.hidden_layers, 1);
  EXPECT_FALSE(scene.items[0].flags & kItemLocked);
  EXPECT_TRUE(scene.items[1].flags & kItemLocked);
}

TEST(Colours, VanishingColoursTurnToContrastAndPrintIsBlackUnlessInColour) {
  struct Case {
    uint16_t pen;
    int32_t table;  // the drawing's extended colour, as stored (0x00BBGGRR)
    uint32_t screen, print_colour;
  };
  const Case cases[] = {
      {108, 0x00FFFFFF, 0x000000, 0x000000},  // white: black on the white ground
      {120, 0x00F0F4F8, 0x000000, 0x000000},  // near white
      {115, 0x00C0C0C0, 0xC0C0C0, 0xC0C0C0},  // light grey still shows
      {105, 0x0000FFFF, 0xFFFF00, 0xFFFF00},  // yellow is far from white in blue
      {8, 0, 0xE00000, 0xE00000},             // pen colour 8, red
  };
  for (const Case& c : cases) {
    JwwDocument doc = test::EmptyDrawing();
    doc.color_ex[c.pen > 100 ? c.pen - 100 : 0].color = c.table;
    doc.store.Add(LineOf(0, 0, 1, 1, Pen(c.pen)));
    TEntSolid solid;
    solid.header = Pen(10);
    solid.corners = {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
    solid.color = 0x00FFFFFF;  // a white solid
    doc.store.Add(solid);
    const Scene screen = Build(doc), mono = Build(doc, SceneView::kPrint),
                colour = Build(doc, SceneView::kPrint, true);
    ASSERT_EQ(mono.items.size(), 2u);
    EXPECT_EQ(screen.items[0].rgb, c.screen) << c.pen;
    EXPECT_EQ(colour.items[0].rgb, c.print_colour) << c.pen;
    EXPECT_EQ(screen.items[1].rgb, 0u);
    for (const SceneItem& i : mono.items) EXPECT_EQ(i.rgb, 0u) << c.pen;
  }
}

TEST(Colours, FiguresDrawSxfColoursAsANewDrawingsTableHasThem) {
  // A drawing saved today carries these in its extended colour table.
  const std::pair<uint16_t, uint32_t> cases[] = {
      {102, 0xFF0000}, {107, 0x00FFFF}, {109, 0xC00080}, {116, 0x808080}, {120, 0xC0C0C0}, {140, 0x000000}};
  for (const auto& [pen, rgb] : cases) {
    JwsDocument figure;
    figure.version = 600;
    figure.store.Add(LineOf(0, 0, 1, 1, Pen(pen)));
    EXPECT_EQ(BuildScene(figure).items[0].rgb, rgb) << pen;
    JwwDocument old = test::EmptyDrawing();
    old.header.version = 400;  // before extended colour tables
    old.store.Add(LineOf(0, 0, 1, 1, Pen(pen)));
    EXPECT_EQ(Build(old).items[0].rgb, rgb) << pen;
  }
}

}  // namespace
}  // namespace varnelko::render
