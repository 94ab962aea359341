// The GDI+ painter against a bitmap: lines, wide and dashed pens, points
// and solids land on the pixels the layer's device coordinates name (pixel
// i covers [i, i + 1)), and texts fill the box they are given.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <span>
#include <vector>

#include "win32/preview/dib_picture.h"
#include "win32/preview/gdiplus_painter.h"

namespace varnelko::win32 {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0xFF0000;
constexpr int kSize = 64;

// A white picture painted by `draw`, smooth (GDI+) or quick (GDI).
std::unique_ptr<DibPicture> Paint(const std::function<void(GdiplusPainter&)>& draw,
                                  bool antialias = false, int width = kSize, int height = kSize) {
  EXPECT_TRUE(StartGdiplus());
  auto picture = std::make_unique<DibPicture>(width, height);
  {
    Gdiplus::Graphics graphics(picture->dc());
    GdiplusPainter painter(graphics);
    painter.FillRect({0, 0, double(width), double(height)}, kWhite);
    painter.SetAntialias(antialias);
    draw(painter);
  }
  return picture;
}

struct Pixel {
  int x, y;
  bool inked;
};

// An inked pixel of the quick picture has the pen's colour; a smooth one's
// edges are blended, so there any colour but white counts.
void ExpectPixel(const DibPicture& picture, const Pixel& px, bool antialias, const char* what) {
  const uint32_t rgb = picture.Pixel(px.x, px.y);
  const bool ok = !px.inked ? rgb == kWhite : antialias ? rgb != kWhite : rgb == kRed;
  EXPECT_TRUE(ok) << what << (antialias ? " (smooth)" : " (quick)") << " at " << px.x << ","
                  << px.y << ": " << std::hex << rgb;
}

struct StrokeCase {
  const char* what;
  PainterPen pen;
  std::vector<DeviceLine> lines;
  std::vector<Pixel> pixels;
};

const double kDash[] = {6, 4};

PainterPen Pen(double width, bool round_caps = false, std::span<const double> dash = {}) {
  return {.rgb = kRed, .width_px = width, .round_caps = round_caps, .dash_px = dash};
}

TEST(GdiplusPainterTest, LinesLandOnThePixelsTheyCross) {
  const StrokeCase cases[] = {
      {"a hairline along row 10",
       Pen(1),
       {{{2, 10.5}, {40, 10.5}}},
       {{2, 10, true}, {20, 10, true}, {39, 10, true}, {20, 9, false}, {20, 11, false},
        {45, 10, false}}},
      {"a hairline down column 7",
       Pen(1),
       {{{7.5, 3}, {7.5, 50}}},
       {{7, 30, true}, {6, 30, false}, {8, 30, false}, {7, 55, false}}},
      {"independent lines are not joined",
       Pen(1),
       {{{0, 5.5}, {10, 5.5}}, {{30, 40.5}, {40, 40.5}}},
       {{5, 5, true}, {35, 40, true}, {20, 22, false}, {20, 5, false}}},
      {"a pen three pixels wide",
       Pen(3),
       {{{5, 20.5}, {50, 20.5}}},
       {{25, 19, true}, {25, 20, true}, {25, 21, true}, {25, 17, false}, {25, 23, false}}},
      {"a diagonal",
       Pen(1),
       {{{0, 0}, {60, 60}}},
       {{30, 30, true}, {30, 10, false}, {10, 30, false}}},
      {"a dashed pen: dash, gap, dash",
       Pen(1, false, kDash),
       {{{0, 30.5}, {60, 30.5}}},
       {{2, 30, true}, {8, 30, false}, {12, 30, true}, {18, 30, false}}},
  };
  for (const bool antialias : {false, true}) {
    for (const StrokeCase& c : cases) {
      const auto picture = Paint(
          [&](GdiplusPainter& p) {
            p.SetPen(c.pen);
            p.DrawLines(c.lines);
          },
          antialias);
      for (const Pixel& px : c.pixels) ExpectPixel(*picture, px, antialias, c.what);
    }
  }
}

TEST(GdiplusPainterTest, PointsAreAPixelForAHairlineAndDiscsForWidePens) {
  const DevicePoint points[] = {{10.2, 10.7}, {40, 40}};
  struct PointCase {
    const char* what;
    PainterPen pen;
    std::vector<Pixel> pixels;
  };
  const PointCase cases[] = {
      {"hairline points",
       Pen(1),
       {{10, 10, true}, {11, 10, false}, {10, 12, false}, {40, 40, true}, {41, 41, false}}},
      {"discs",
       Pen(7, true),
       {{40, 40, true}, {42, 40, true}, {40, 37, true}, {45, 40, false}, {44, 44, false}}},
  };
  for (const bool antialias : {false, true}) {
    for (const PointCase& c : cases) {
      const auto picture = Paint(
          [&](GdiplusPainter& p) {
            p.SetPen(c.pen);
            p.DrawPoints(points);
          },
          antialias);
      for (const Pixel& px : c.pixels) ExpectPixel(*picture, px, antialias, c.what);
    }
  }
}

TEST(GdiplusPainterTest, PolygonsAreFilledEachOnItsOwnAndDegenerateOnesAreSkipped) {
  // A square, a segment that is no polygon, and a triangle over the
  // square's corner: the overlap stays filled, the segment fills nothing.
  const DevicePoint points[] = {{5, 5},   {25, 5},  {25, 25}, {5, 25},  {40, 40},
                                {50, 50}, {20, 20}, {50, 20}, {20, 50}};
  const uint32_t counts[] = {4, 2, 3};
  const Pixel pixels[] = {{10, 10, true},  {22, 22, true},  {40, 22, true},
                          {30, 10, false}, {45, 45, false}, {2, 2, false}};
  for (const bool antialias : {false, true}) {
    const auto picture =
        Paint([&](GdiplusPainter& p) { p.FillPolygons(points, counts, kRed); }, antialias);
    for (const Pixel& px : pixels) ExpectPixel(*picture, px, antialias, "solids");
  }
}

struct InkBox {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  bool empty() const { return right < 0; }
};

InkBox InkOf(const DibPicture& picture) {
  InkBox box;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      if (picture.Pixel(x, y) == kWhite) continue;
      box.left = std::min(box.left, x), box.right = std::max(box.right, x);
      box.top = std::min(box.top, y), box.bottom = std::max(box.bottom, y);
    }
  }
  return box;
}

TEST(GdiplusPainterTest, TextAdvancesGrowWithTheTextAndTextsFillTheirBoxes) {
  double one = 0, four = 0, none = -1;
  Paint([&](GdiplusPainter& p) {
    one = p.TextAdvance("W");
    four = p.TextAdvance("WWWW");
    none = p.TextAdvance("");
  });
  EXPECT_GT(one, kTextReferencePixels / 4);
  EXPECT_NEAR(four, 4 * one, one * 0.1);
  EXPECT_EQ(none, 0);

  // "WWWW" 20 pixels high stretched to 120 pixels from (20, 60), then the
  // same turned a quarter clockwise: it runs down from the anchor, its
  // glyphs standing to the right.
  struct TextCase {
    double angle;
    InkBox within;  // the box the ink must stay in, a pixel of slack
    int min_length;
  };
  const TextCase cases[] = {{0, {19, 39, 141, 61}, 100},
                            {std::numbers::pi / 2, {19, 59, 41, 181}, 100}};
  for (const TextCase& c : cases) {
    const auto picture = Paint(
        [&](GdiplusPainter& p) {
          const double stretch = 120 / (four * 20 / kTextReferencePixels);
          p.DrawText("WWWW", {20, 60}, c.angle, 20, stretch, kRed);
        },
        true, 200, 200);
    const InkBox ink = InkOf(*picture);
    ASSERT_FALSE(ink.empty()) << "angle " << c.angle;
    EXPECT_GE(ink.left, c.within.left) << "angle " << c.angle;
    EXPECT_GE(ink.top, c.within.top) << "angle " << c.angle;
    EXPECT_LE(ink.right, c.within.right) << "angle " << c.angle;
    EXPECT_LE(ink.bottom, c.within.bottom) << "angle " << c.angle;
    EXPECT_GE(std::max(ink.right - ink.left, ink.bottom - ink.top), c.min_length)
        << "the text is stretched to its length";
  }
}

}  // namespace
}  // namespace varnelko::win32
