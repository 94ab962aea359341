#include <gtest/gtest.h>

#include "desktop/window_placement.h"

namespace varnelko::test {
namespace {

TEST(WindowPlacementTest, OnlyAWindowThatCannotBeGrabbedIsMoved) {
  const ScreenRect wide{0, 0, 1280, 1024};
  const ScreenRect left{-1920, 0, 1920, 1080};  // a second monitor left of the first
  struct Case {
    ScreenRect window;
    std::vector<ScreenRect> screens;
    ScreenPoint placed;
  };
  const Case cases[] = {
      // "F1_X=1900" on a 1280-wide screen: pulled in as far as needed.
      {{1900, 109, 696, 478}, {wide}, {1280 - 696, 109}},
      // Partly off the screen, its top edge still grabbable: stays.
      {{1000, 900, 696, 478}, {wide}, {1000, 900}},
      {{-500, 100, 696, 478}, {wide}, {-500, 100}},
      // Only 50 pixels of the top edge show: moved.
      {{1230, 100, 696, 478}, {wide}, {584, 100}},
      // The title bar above the screen: moved down.
      {{100, -20, 696, 478}, {wide}, {100, 0}},
      // On the second monitor: stays; once it is unplugged: onto the first.
      {{-1500, 200, 696, 478}, {wide, left}, {-1500, 200}},
      {{-1500, 200, 696, 478}, {wide}, {0, 200}},
      // Far off in a corner, nothing overlapping: into the nearest screen.
      {{-9000, 5000, 696, 478}, {wide, left}, {-1920, 1080 - 478}},
      // Larger than the screen: its top-left corner shows.
      {{3000, 3000, 2000, 1500}, {wide}, {0, 0}},
      {{3000, 3000, 696, 478}, {}, {3000, 3000}},
  };
  for (const Case& c : cases) {
    const ScreenPoint placed = PlaceOnScreens(c.window, c.screens);
    EXPECT_EQ(placed, c.placed) << c.window.x << "," << c.window.y << " -> " << placed.x << ","
                                << placed.y;
  }
}

}  // namespace
}  // namespace varnelko::test
