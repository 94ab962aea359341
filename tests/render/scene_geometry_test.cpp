// Where things land: arcs and ellipses, block transforms through nested
// insertions, text anchors, sizes and angles.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "render/geometry.h"
#include "scene_test_support.h"

namespace varnelko::render {
namespace {

using test::DefOf;
using test::InsertOf;
using test::LineOf;
using test::Pen;
constexpr double kPi = std::numbers::pi;

void ExpectNear(Point2 got, Point2 want, double tol = 1e-9) {
  EXPECT_NEAR(got.x, want.x, tol);
  EXPECT_NEAR(got.y, want.y, tol);
}

TEntEnko ArcRecord(double cx, double cy, double r, double start, double sweep, double tilt = 0,
               double flatness = 1, int full = 0) {
  TEntEnko a;
  a.header = Pen(2);
  a.center_x = cx, a.center_y = cy, a.radius = r;
  a.start_angle = start, a.arc_angle = sweep, a.tilt_angle = tilt, a.flatness = flatness;
  a.full_circle = full;
  return a;
}

std::vector<Point2> PointsOf(const TEntEnko& e, double tolerance = 1e-3) {
  std::vector<Point2> pts;
  std::optional<ArcShape> arc = render::ArcOf(e);
  if (arc) arc->Tessellate(tolerance, pts);
  return pts;
}

TEST(ArcGeometry, EndPointsFollowRadiansCounterClockwise) {
  std::vector<Point2> pts = PointsOf(ArcRecord(10, 20, 5, kPi / 2, kPi / 2));
  ASSERT_GE(pts.size(), 3u);
  ExpectNear(pts.front(), {10, 25});
  ExpectNear(pts.back(), {5, 20});
  // A clockwise sweep runs the other way round.
  pts = PointsOf(ArcRecord(0, 0, 1, 0, -kPi / 2));
  ExpectNear(pts.back(), {0, -1});
}

TEST(ArcGeometry, TiltedFlattenedEllipseEndsOnItsAxes) {
  // Major axis 4 turned to point up, minor axis 4 * 0.5 = 2 pointing left.
  std::vector<Point2> pts = PointsOf(ArcRecord(1, 1, 4, 0, kPi / 2, kPi / 2, 0.5));
  ExpectNear(pts.front(), {1, 5});
  ExpectNear(pts.back(), {-1, 1});
  for (Point2 p : pts) {
    // Back in the ellipse's own axes every point is on the ellipse.
    const double u = p.y - 1, v = -(p.x - 1);
    EXPECT_NEAR(u * u / 16 + v * v / 4, 1, 1e-9);
  }
  // Its box: x from -1 (the minor axis) to 1, y from 1 to 5.
  Extent box;
  ArcOf(ArcRecord(1, 1, 4, 0, kPi / 2, kPi / 2, 0.5))->AddTo(box);
  EXPECT_NEAR(box.min_x, -1, 1e-9);
  EXPECT_NEAR(box.max_x, 1, 1e-9);
  EXPECT_NEAR(box.max_y, 5, 1e-9);
  EXPECT_NEAR(box.min_y, 1, 1e-9);
}

TEST(ArcGeometry, FullCirclesCloseWhateverTheirAngles) {
  std::vector<Point2> pts = PointsOf(ArcRecord(3, 4, 2, 1.0, 0.25, 0, 1, 1));
  ASSERT_GT(pts.size(), 8u);
  ExpectNear(pts.front(), pts.back());
  Extent box;
  ArcOf(ArcRecord(3, 4, 2, 1.0, 0.25, 0, 1, 1))->AddTo(box);
  EXPECT_NEAR(box.min_x, 1, 1e-9);
  EXPECT_NEAR(box.max_y, 6, 1e-9);
  // Sweeps of many turns draw one turn; the tolerance bounds the chords.
  pts = PointsOf(ArcRecord(0, 0, 1, 0, 1e6), 0.01);
  EXPECT_LE(pts.size(), 40u);
  for (size_t i = 1; i < pts.size(); ++i) {
    const Point2 mid{(pts[i].x + pts[i - 1].x) / 2, (pts[i].y + pts[i - 1].y) / 2};
    EXPECT_LE(1 - std::hypot(mid.x, mid.y), 0.01 + 1e-12);
  }
}

TEST(ArcGeometry, UnusableValuesGiveNothing) {
  for (TEntEnko a : {ArcRecord(NAN, 0, 1, 0, 1), ArcRecord(0, 0, INFINITY, 0, 1), ArcRecord(0, 0, 1, NAN, 1),
                     ArcRecord(0, 0, 1, 0, 1, INFINITY), ArcRecord(0, 0, 1e300, 0, 1)}) {
    EXPECT_FALSE(ArcOf(a).has_value());
  }
}

TEST(ArcGeometry, InsertionsTurnArcsIntoEllipses) {
  JwwDocument doc = test::EmptyDrawing();
  TEntBlockDef def = DefOf(3, "circle");
  def.members.Add(ArcRecord(1, 0, 1, 0, kPi / 2));
  doc.store.block_defs = {def};
  doc.store.Add(InsertOf(3, 0, 0, 2, 1, kPi / 2));  // stretched in x, then turned up
  const Scene scene = BuildScene(doc);
  ASSERT_EQ(scene.items.size(), 1u);
  ASSERT_EQ(scene.items[0].shape, ItemShape::kArc);
  const ArcShape& arc = scene.Arc(scene.items[0]);
  // Local (2, 0) -> stretched (4, 0) -> turned (0, 4); local (1, 1) -> (2, 1) -> (-1, 2).
  ExpectNear(arc.At(arc.start), {0, 4});
  ExpectNear(arc.At(arc.start + arc.sweep), {-1, 2});
}

TEST(SceneTransforms, NestedInsertionsComposeBaseScaleAndRotation) {
  JwwDocument doc = test::EmptyDrawing();
  TEntBlockDef inner = DefOf(1, "inner");
  inner.members.Add(LineOf(0, 0, 1, 0));
  TEntBlockDef outer = DefOf(2, "outer");
  outer.members.Add(InsertOf(1, 10, 0, 2, 2, kPi / 2));  // inner, doubled and turned up
  doc.store.block_defs = {inner, outer};
  doc.store.Add(InsertOf(2, 100, 100, 1, 3));  // outer, stretched 3 times in y
  const Scene scene = BuildScene(doc);
  ASSERT_EQ(scene.items.size(), 1u);
  auto v = scene.Vertices(scene.items[0]);
  ExpectNear(v[0], {110, 100});
  ExpectNear(v[1], {110, 106});
  // The item knows the record and the chain of insertions it came through.
  const ItemOrigin& o = scene.items[0].origin;
  EXPECT_EQ(o.block_def, 0);
  EXPECT_EQ(o.kind, kKindLine);
  ASSERT_EQ(scene.paths.size(), 2u);
  EXPECT_EQ(scene.paths[o.path].def, 0);
  EXPECT_EQ(scene.paths[o.path].list_def, 1);
  const InsertionStep& top = scene.paths[scene.paths[o.path].parent];
  EXPECT_EQ(top.list_def, -1);
  EXPECT_EQ(top.def, 1);
  EXPECT_EQ(top.parent, -1);
}

TEntMoji TextOf(const char* utf8, double x, double y, double ex, double ey, double size) {
  TEntMoji t;
  t.header = Pen(2);
  t.start_x = x, t.start_y = y, t.end_x = ex, t.end_y = ey;
  t.size_x = t.size_y = size;
  t.font = Utf8ToCp932("ＭＳ ゴシック");
  t.text = Utf8ToCp932(utf8);
  return t;
}

TEST(SceneTexts, AnchorAtTheStartPointDirectionFromTheEndPointHeightAsStored) {
  JwwDocument doc = test::EmptyDrawing();
  doc.layer_groups[0].scale = 50;  // says what a millimetre stands for, not how texts look
  // Three full-width characters of 3, drawn upwards.
  doc.store.Add(TextOf("圧縮材", 5, 5, 5, 14, 3));
  // "AB" is one full width of 2 long on paper, stored 20 long: stretched to it.
  doc.store.Add(TextOf("AB", 0, 0, 20, 0, 2));
  const Scene scene = BuildScene(doc);
  ASSERT_EQ(scene.texts.size(), 2u);
  const SceneText& up = scene.texts[0];
  ExpectNear(up.anchor, {5, 5});
  EXPECT_NEAR(up.angle, kPi / 2, 1e-12);
  EXPECT_NEAR(up.height, 3, 1e-12);
  EXPECT_NEAR(up.length, 9, 1e-12);
  ExpectNear(up.End(), {5, 14});
  EXPECT_EQ(up.utf8, "圧縮材");
  EXPECT_EQ(scene.fonts[up.font], "ＭＳ ゴシック");
  EXPECT_EQ(scene.fonts.size(), 1u);
  EXPECT_NEAR(scene.texts[1].height, 2, 1e-12);
  EXPECT_NEAR(scene.texts[1].length, 20, 1e-12);
  // The extent holds the whole boxes: the upright one from x 2 (5 - height 3) to y 14.
  EXPECT_NEAR(scene.extent.min_x, 0, 1e-12);
  EXPECT_NEAR(scene.extent.max_x, 20, 1e-12);
  EXPECT_NEAR(scene.extent.max_y, 14, 1e-9);
}

// Sizes are millimetres on paper as the coordinates are: the group scale
// never enlarges a text, also when its end equals its start.
TEST(SceneTexts, TextsWhoseEndIsTheirStartKeepTheirStoredSizeAtAnyScale) {
  struct Case {
    const char* text;
    double size, spacing, angle, group_scale;
    double length;  // expected: the characters' length on paper
  };
  const Case cases[] = {
      {"Printer_Orientation = 0", 3, 0.5, 0, 100, 23 * 1.5 + 22 * 0.5},
      {"View_Direct2d = 1", 3, 0.5, 0, 500, 17 * 1.5 + 16 * 0.5},
      {"文字", 2.5, 0, 90, 1, 5},
      {"", 3, 0, 0, 100, 0},
  };
  for (const Case& c : cases) {
    JwwDocument doc = test::EmptyDrawing();
    doc.layer_groups[2].scale = c.group_scale;
    TEntMoji t = TextOf(c.text, 0, -1000, 0, -1000, c.size);
    t.spacing = c.spacing;
    t.angle = c.angle;
    t.header.layer_group = 2;
    doc.store.Add(t);
    const Scene scene = BuildScene(doc);
    ASSERT_EQ(scene.texts.size(), 1u) << c.text;
    const SceneText& drawn = scene.texts[0];
    EXPECT_NEAR(drawn.angle, c.angle * kPi / 180, 1e-12) << c.text;
    EXPECT_NEAR(drawn.height, c.size, 1e-12) << c.text;
    EXPECT_NEAR(drawn.spacing, c.spacing, 1e-12) << c.text;
    EXPECT_NEAR(drawn.length, c.length, 1e-9) << c.text;
    ExpectNear(drawn.anchor, {0, -1000});
  }
}

TEST(SceneTexts, InsertionsTurnAndScaleTexts) {
  JwwDocument doc = test::EmptyDrawing();
  TEntBlockDef def = DefOf(7, "label");
  def.members.Add(TextOf("ＧＬ", 1, 0, 7, 0, 3));
  doc.store.block_defs = {def};
  doc.store.Add(InsertOf(7, 10, 10, 2, 2, kPi));
  const Scene scene = BuildScene(doc);
  ASSERT_EQ(scene.texts.size(), 1u);
  const SceneText& t = scene.texts[0];
  ExpectNear(t.anchor, {8, 10});
  EXPECT_NEAR(std::fabs(t.angle), kPi, 1e-12);
  EXPECT_NEAR(t.height, 6, 1e-12);
  EXPECT_NEAR(t.width, 6, 1e-12);
  EXPECT_NEAR(t.length, 12, 1e-12);
}

TEST(SceneTexts, PaperLengthCountsDoubleByteCharactersAsFullWidth) {
  EXPECT_DOUBLE_EQ(TextPaperLength(Utf8ToCp932("壁つなぎ"), 3, 0), 12);
  EXPECT_DOUBLE_EQ(TextPaperLength("A-12", 3, 0), 6);
  EXPECT_DOUBLE_EQ(TextPaperLength(Utf8ToCp932("ｱｲ"), 4, 1), 5);  // half-width kana, one gap
  EXPECT_DOUBLE_EQ(TextPaperLength("\x82", 2, 0), 1);  // a lone lead byte counts as a half
}

TEST(SceneSolids, PenColourTenUsesTheSolidsOwnColour) {
  JwwDocument doc = test::EmptyDrawing();
  TEntSolid s;
  s.header = Pen(10);
  s.corners = {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
  s.color = 0x00336699;  // blue 0x33, green 0x66, red 0x99
  doc.store.Add(s);
  s.header = Pen(8);
  doc.store.Add(s);
  const Scene scene = BuildScene(doc);
  ASSERT_EQ(scene.items.size(), 2u);
  EXPECT_EQ(scene.items[0].shape, ItemShape::kPolygon);
  EXPECT_EQ(scene.items[0].count, 4u);
  EXPECT_EQ(scene.items[0].rgb, 0x996633u);
  EXPECT_NE(scene.items[1].rgb, 0x996633u);
}

TEST(SceneColours, ExtendedColoursComeFromTheDrawingsTable) {
  JwwDocument doc = test::EmptyDrawing();
  doc.color_ex[20].color = 0x000000FF;  // red as the drawing stores it
  doc.store.Add(LineOf(0, 0, 1, 1, Pen(120)));
  doc.store.Add(LineOf(0, 0, 1, 1, Pen(102)));
  Scene scene = BuildScene(doc);
  EXPECT_EQ(scene.items[0].rgb, 0xFF0000u);
  // Before version 420 there is no table: the standard SXF colour 2 is red.
  doc.header.version = 400;
  scene = BuildScene(doc);
  EXPECT_EQ(scene.items[1].rgb, 0xFF0000u);
}

}  // namespace
}  // namespace varnelko::render
