#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "desktop/preview_drawing.h"
#include "render/palette.h"

namespace varnelko::test {
namespace {

// Records what a drawing hands to the painter.
class RecordingPainter : public Painter {
 public:
  struct Stroke {
    PainterPen pen;
    std::vector<double> dash;
    std::vector<DeviceLine> lines;
    std::vector<DevicePoint> points;
  };
  struct Text {
    std::string utf8;
    DevicePoint anchor;
    double angle, height, x_scale;
  };

  void FillRect(const DeviceRect&, uint32_t rgb) override { background = rgb; }
  void SetAntialias(bool on) override { antialias = on; }
  void SetPen(const PainterPen& pen) override {
    pen_ = pen;
    dash_.assign(pen.dash_px.begin(), pen.dash_px.end());
  }
  void DrawLines(std::span<const DeviceLine> lines) override {
    strokes.push_back({pen_, dash_, {lines.begin(), lines.end()}, {}});
  }
  void DrawPoints(std::span<const DevicePoint> points) override {
    strokes.push_back({pen_, dash_, {}, {points.begin(), points.end()}});
  }
  void FillPolygons(std::span<const DevicePoint> points, std::span<const uint32_t> counts,
                    uint32_t rgb) override {
    fills.push_back({rgb, {points.begin(), points.end()}});
    polygon_counts.insert(polygon_counts.end(), counts.begin(), counts.end());
  }
  double TextAdvance(std::string_view utf8) override {
    ++measured;
    return 32.0 * static_cast<double>(utf8.size());  // half the reference size a byte
  }
  void DrawText(std::string_view utf8, DevicePoint anchor, double angle, double height_px,
                double x_scale, uint32_t) override {
    texts.push_back({std::string(utf8), anchor, angle, height_px, x_scale});
  }

  size_t LineCount() const {
    size_t n = 0;
    for (const Stroke& s : strokes) n += s.lines.size();
    return n;
  }

  uint32_t background = 0;
  bool antialias = false;
  int measured = 0;
  std::vector<Stroke> strokes;
  std::vector<std::pair<uint32_t, std::vector<DevicePoint>>> fills;
  std::vector<uint32_t> polygon_counts;
  std::vector<Text> texts;

 private:
  PainterPen pen_;
  std::vector<double> dash_;
};

render::SceneItem Item(render::ItemShape shape, uint32_t first, uint32_t count, uint32_t rgb = 0) {
  render::SceneItem item;
  item.shape = shape;
  item.first = first;
  item.count = count;
  item.rgb = rgb;
  return item;
}

void AddPolyline(render::Scene& scene, std::vector<render::Point2> points,
                 render::ItemShape shape = render::ItemShape::kPolyline, uint32_t rgb = 0) {
  scene.items.push_back(Item(shape, static_cast<uint32_t>(scene.points.size()),
                             static_cast<uint32_t>(points.size()), rgb));
  for (const render::Point2& p : points) scene.extent.Add(p), scene.points.push_back(p);
}

void AddText(render::Scene& scene, double x, double y, double angle, double height, double length) {
  render::SceneText text;
  text.utf8 = "ab";
  text.anchor = {x, y};
  text.angle = angle;
  text.height = height;
  text.length = length;
  scene.items.push_back(Item(render::ItemShape::kText, static_cast<uint32_t>(scene.texts.size()), 0));
  scene.texts.push_back(text);
  scene.extent.Add({x, y});
}

// One drawing unit a pixel, y up, the origin at the picture's bottom left.
ViewTransform View(double scale = 1, double height = 100) {
  return ViewTransform::Scale(scale, -scale) * ViewTransform::Translate(0, height);
}

TEST(PreviewDrawingTest, LinesAreClippedToThePictureAndPolygonsFilled) {
  render::Scene scene;
  AddPolyline(scene, {{-1e7, 50}, {1e7, 50}});  // far beyond both sides
  AddPolyline(scene, {{10, 10}, {20, 10}, {20, 20}, {10, 20}}, render::ItemShape::kPolygon, 0xFF0000);
  AddPolyline(scene, {{500, 500}, {600, 600}});  // outside the picture
  const PreviewDrawing drawing(std::move(scene));
  RecordingPainter painter;
  drawing.Paint(painter, View(), {0, 0, 100, 100});
  EXPECT_EQ(painter.background, 0xFFFFFFu);
  EXPECT_TRUE(painter.antialias);  // a small picture is drawn precisely
  ASSERT_EQ(painter.LineCount(), 1u);
  const DeviceLine line = painter.strokes[0].lines[0];
  EXPECT_NEAR(line.a.x, -8, 1e-6);  // the clip keeps 8 pixels beyond the edges
  EXPECT_NEAR(line.b.x, 108, 1e-6);
  EXPECT_NEAR(line.a.y, 50, 1e-6);
  ASSERT_EQ(painter.fills.size(), 1u);
  EXPECT_EQ(painter.fills[0].first, 0xFF0000u);
  EXPECT_EQ(painter.polygon_counts, std::vector<uint32_t>{4});
  EXPECT_EQ(painter.fills[0].second[2], (DevicePoint{20, 80}));
}

// The sheet: its edge thin on the white screen, white on grey in print;
// "fit" frames it, not the items.
TEST(PreviewDrawingTest, TheSheetShowsAsItsEdgeOnScreenAndAsPaperInPrint) {
  for (render::SceneView view : {render::SceneView::kScreen, render::SceneView::kPrint}) {
    render::Scene scene;
    AddPolyline(scene, {{10, 10}, {20, 20}}, render::ItemShape::kPolyline, 0x00A000);
    render::Extent sheet;
    sheet.Add({-50, -40});
    sheet.Add({50, 40});
    scene.paper = sheet;
    scene.frame = sheet;
    scene.view = view;
    const PreviewDrawing drawing(std::move(scene));
    EXPECT_DOUBLE_EQ(drawing.Extent().width, 100);
    EXPECT_DOUBLE_EQ(drawing.Extent().height, 80);
    RecordingPainter painter;
    drawing.Paint(painter, View(1, 100) * ViewTransform::Translate(50, -40), {0, 0, 100, 100});
    const bool print = view == render::SceneView::kPrint;
    EXPECT_EQ(painter.background, print ? 0xD8D8D8u : 0xFFFFFFu);
    ASSERT_FALSE(painter.strokes.empty());
    if (print) {
      ASSERT_EQ(painter.fills.size(), 1u);
      EXPECT_EQ(painter.fills[0].first, 0xFFFFFFu);
      EXPECT_EQ(painter.fills[0].second[0], (DevicePoint{0, 100}));
      EXPECT_EQ(painter.fills[0].second[2], (DevicePoint{100, 20}));
      EXPECT_EQ(painter.strokes[0].pen.rgb, 0x00A000u);  // no edge: only the line
    } else {
      EXPECT_TRUE(painter.fills.empty());
      EXPECT_EQ(painter.strokes[0].pen.rgb, render::kPaperFrameRgb);
      EXPECT_EQ(painter.strokes[0].lines.size(), 4u);
      EXPECT_EQ(painter.strokes[1].pen.rgb, 0x00A000u);
    }
  }
}

TEST(PreviewDrawingTest, ArcsGetAsManyPointsAsTheZoomNeeds) {
  render::Scene scene;
  render::ArcShape circle;
  circle.center = {50, 50};
  circle.u = {40, 0};
  circle.v = {0, 40};
  circle.sweep = 2 * std::numbers::pi;
  scene.items.push_back(Item(render::ItemShape::kArc, 0, 0));
  scene.arcs.push_back(circle);
  circle.AddTo(scene.extent);
  const PreviewDrawing drawing(std::move(scene));

  size_t previous = 0;
  for (const double scale : {0.25, 1.0, 4.0}) {
    RecordingPainter painter;
    // The circle's centre in the middle of a picture that holds it whole.
    const double size = 100 * scale;
    drawing.Paint(painter, View(scale, size), {0, 0, size, size});
    const size_t segments = painter.LineCount();
    EXPECT_GT(segments, previous) << "zoomed in " << scale << " times";
    previous = segments;
    // Every chord stays within about a third of a pixel of the curve.
    for (const DeviceLine& l : painter.strokes[0].lines) {
      const double mx = (l.a.x + l.b.x) / 2, my = (l.a.y + l.b.y) / 2;
      const double r = std::hypot(mx - 50 * scale, my - (size - 50 * scale));
      EXPECT_LT(40 * scale - r, 0.4);
    }
  }
}

TEST(PreviewDrawingTest, TextsFillTheirLengthOrShowAsTheirBaseLine) {
  render::Scene scene;
  AddText(scene, 10, 10, 0, 20, 60);                    // 20 pixels high: set in glyphs
  AddText(scene, 10, 50, std::numbers::pi / 2, 20, 40);  // turned upwards
  AddText(scene, 10, 90, 0, 2, 30);                     // too small to read
  const PreviewDrawing drawing(std::move(scene));
  RecordingPainter painter;
  drawing.Paint(painter, View(), {0, 0, 200, 100});
  ASSERT_EQ(painter.texts.size(), 2u);
  const auto& flat = painter.texts[0];
  EXPECT_EQ(flat.anchor, (DevicePoint{10, 90}));
  EXPECT_NEAR(flat.angle, 0, 1e-12);
  EXPECT_EQ(flat.height, 20);
  // "ab" measures 64 at the reference size, so 20 at 20 pixels; 60 wanted.
  EXPECT_NEAR(flat.x_scale, 3, 1e-12);
  EXPECT_NEAR(painter.texts[1].angle, -std::numbers::pi / 2, 1e-12);  // y grows downwards
  EXPECT_NEAR(painter.texts[1].x_scale, 2, 1e-12);
  ASSERT_EQ(painter.LineCount(), 1u);  // the small text's base line
  EXPECT_EQ(painter.strokes.back().lines[0].b, (DevicePoint{40, 10}));

  // Each text is measured once, however often it is painted.
  drawing.Paint(painter, View(), {0, 0, 200, 100});
  EXPECT_EQ(painter.measured, 2);
}

TEST(PreviewDrawingTest, ChangeMarksLieUnderTheEntitiesWideAndRound) {
  render::Scene scene;
  AddPolyline(scene, {{10, 10}, {90, 10}}, render::ItemShape::kPolyline, 0x000000);
  scene.items.back().dash = render::kAuxDash;
  scene.marks.push_back(scene.items.back());
  const PreviewDrawing drawing(std::move(scene));
  RecordingPainter painter;
  drawing.Paint(painter, View(), {0, 0, 100, 100});
  ASSERT_EQ(painter.strokes.size(), 2u);
  const RecordingPainter::Stroke& mark = painter.strokes[0];
  EXPECT_TRUE(mark.pen.round_caps);
  EXPECT_EQ(mark.pen.width_px, render::kChangeWidthPx);
  EXPECT_TRUE(mark.dash.empty());
  EXPECT_NE(mark.pen.rgb, 0u);
  const RecordingPainter::Stroke& entity = painter.strokes[1];
  EXPECT_FALSE(entity.pen.round_caps);
  const render::DashPattern& dash = render::Dash(render::kAuxDash);
  EXPECT_EQ(entity.dash, std::vector<double>(dash.lengths.begin(), dash.lengths.begin() + dash.count));
}

}  // namespace
}  // namespace varnelko::test
