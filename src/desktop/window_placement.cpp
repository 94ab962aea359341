#include "desktop/window_placement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace varnelko {

namespace {

constexpr int kGripWidth = 100;
constexpr int kGripHeight = 30;

ScreenRect Intersection(const ScreenRect& a, const ScreenRect& b) {
  const int x0 = std::max(a.x, b.x), y0 = std::max(a.y, b.y);
  const int x1 = std::min(a.x + a.width, b.x + b.width), y1 = std::min(a.y + a.height, b.y + b.height);
  if (x1 <= x0 || y1 <= y0) return {};
  return {x0, y0, x1 - x0, y1 - y0};
}

bool GripOnScreen(const ScreenRect& window, const ScreenRect& screen) {
  const ScreenRect grip{window.x, window.y, window.width, std::min(window.height, kGripHeight)};
  const ScreenRect shown = Intersection(grip, screen);
  return shown.width >= std::min(window.width, kGripWidth) && shown.height == grip.height;
}

// Twice the centre, so that odd sizes stay exact.
int64_t Centre2(int start, int length) { return 2 * int64_t{start} + length; }

// Most of the window by area; without any overlap, the screen whose centre
// is closest to the window's.
ScreenRect TargetScreen(const ScreenRect& window, const std::vector<ScreenRect>& screens) {
  ScreenRect best = screens.front();
  int64_t best_area = -1;
  int64_t best_distance = std::numeric_limits<int64_t>::max();
  for (const ScreenRect& screen : screens) {
    const ScreenRect overlap = Intersection(window, screen);
    const int64_t area = int64_t{overlap.width} * overlap.height;
    const int64_t dx = Centre2(screen.x, screen.width) - Centre2(window.x, window.width);
    const int64_t dy = Centre2(screen.y, screen.height) - Centre2(window.y, window.height);
    const int64_t distance = dx * dx + dy * dy;
    if (area > best_area || (area == best_area && distance < best_distance)) {
      best = screen;
      best_area = area;
      best_distance = distance;
    }
  }
  return best;
}

int Into(int position, int size, int start, int length) {
  return std::max(start, std::min(position, start + length - size));
}

}  // namespace

ScreenPoint PlaceOnScreens(const ScreenRect& window, const std::vector<ScreenRect>& screens) {
  if (screens.empty()) return {window.x, window.y};
  for (const ScreenRect& screen : screens) {
    if (GripOnScreen(window, screen)) return {window.x, window.y};
  }
  const ScreenRect screen = TargetScreen(window, screens);
  return {Into(window.x, window.width, screen.x, screen.width),
          Into(window.y, window.height, screen.y, screen.height)};
}

}  // namespace varnelko
