#include <gtest/gtest.h>

#include <cmath>

#include "desktop/view_transform.h"

namespace varnelko::test {
namespace {

double Distance(DevicePoint a, DevicePoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

// A 100 x 50 rectangle with its lower left corner at (1000, 2000).
const DeviceRect kExtent{1000, 2000, 100, 50};

TEST(PreviewViewTest, FitsZoomsAroundTheCursorAndMoves) {
  PreviewView view;
  view.Fit(kExtent, 416, 216);  // 400 x 200 inside the margins
  // Fitted: the drawing's centre in the middle, y upwards, 4 pixels a unit.
  EXPECT_EQ(view.transform().Map(1050, 2025), (DevicePoint{208, 108}));
  EXPECT_EQ(view.transform().Map(1100, 2050), (DevicePoint{408, 8}));

  const DevicePoint cursor{300, 50};
  const DevicePoint under = view.transform().Inverted().Map(cursor);
  view.ZoomAt(kExtent, 416, 216, cursor, 2.5);
  EXPECT_NEAR(Distance(view.transform().Map(under), cursor), 0, 1e-9);
  EXPECT_NEAR(view.transform().m11, 10, 1e-9);
  EXPECT_FALSE(view.fitted());

  view.Pan(-30, 12);
  EXPECT_NEAR(Distance(view.transform().Map(under), {cursor.x - 30, cursor.y + 12}), 0, 1e-9);

  // Zooming out stops at a thousandth of the fitted size.
  for (int i = 0; i < 40; ++i) view.ZoomAt(kExtent, 416, 216, cursor, 0.1);
  EXPECT_NEAR(view.transform().m11, 4e-3, 1e-3);

  // A resize after zooming keeps the view; a fitted one follows the size.
  const ViewTransform zoomed = view.transform();
  EXPECT_FALSE(view.Resized(kExtent, 616, 216));
  EXPECT_EQ(view.transform(), zoomed);
  view.Fit(kExtent, 616, 216);
  EXPECT_TRUE(view.Resized(kExtent, 216, 116));
  EXPECT_EQ(view.transform().Map(1050, 2025), (DevicePoint{108, 58}));
}

TEST(PreviewViewTest, ALineOrAPointStillGetsAScale) {
  PreviewView view;
  view.Fit({5, 5, 0, 0}, 116, 116);  // a single point
  EXPECT_EQ(view.transform().Map(5, 5), (DevicePoint{58, 58}));
  EXPECT_TRUE(std::isfinite(view.transform().m11));
  view.Fit({0, 0, 100, 0}, 116, 116);  // a horizontal line fills the width
  EXPECT_NEAR(view.transform().Map(100, 0).x, 108, 1e-9);
}

TEST(ViewTransformTest, InverseAndCompositionUndoEachOther) {
  const ViewTransform t = ViewTransform::Translate(-3, 7) * ViewTransform::Scale(2, -4) *
                          ViewTransform{0.6, 0.8, -0.8, 0.6, 10, 20};  // then turned
  const ViewTransform identity = t * t.Inverted();
  for (const DevicePoint p : {DevicePoint{0, 0}, DevicePoint{12.5, -7}, DevicePoint{-1e4, 3e3}}) {
    EXPECT_NEAR(Distance(identity.Map(p), p), 0, 1e-6);
  }
  const DeviceRect box = ViewTransform::Scale(2, -1).MapRect({1, 1, 2, 3});
  EXPECT_EQ(box.left, 2);
  EXPECT_EQ(box.top, -4);
  EXPECT_EQ(box.width, 4);
  EXPECT_EQ(box.height, 3);
}

TEST(ClipLineTest, KeepsOnlyWhatLiesInside) {
  const DeviceRect clip{0, 0, 100, 50};
  struct Case {
    DeviceLine line;
    bool kept;
    DeviceLine clipped;
  };
  const Case cases[] = {
      {{{10, 10}, {20, 20}}, true, {{10, 10}, {20, 20}}},     // inside: untouched
      {{{-50, 25}, {150, 25}}, true, {{0, 25}, {100, 25}}},   // across: both ends cut
      {{{50, -1e9}, {50, 1e9}}, true, {{50, 0}, {50, 50}}},   // zoomed a million times
      {{{-10, -10}, {-1, 60}}, false, {}},                    // beside
      {{{0, 60}, {100, 60}}, false, {}},                      // below, parallel
      {{{100, 0}, {120, 0}}, true, {{100, 0}, {100, 0}}},     // touching a corner
  };
  for (const Case& c : cases) {
    DeviceLine line = c.line;
    ASSERT_EQ(ClipLine(clip, line), c.kept) << c.line.a.x << "," << c.line.a.y;
    if (!c.kept) continue;
    EXPECT_NEAR(Distance(line.a, c.clipped.a), 0, 1e-6);
    EXPECT_NEAR(Distance(line.b, c.clipped.b), 0, 1e-6);
  }
}

}  // namespace
}  // namespace varnelko::test
