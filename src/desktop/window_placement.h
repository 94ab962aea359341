#pragma once
// A window position saved under another screen layout (a monitor since
// unplugged, a wider screen) would open the window where nobody can see or
// grab it, and the next shutdown would save it there again.
#include <vector>

namespace varnelko {

struct ScreenRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const ScreenRect&) const = default;
};

struct ScreenPoint {
  int x = 0, y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

// Where a window of the rectangle `window` goes among the screens' available
// areas: where it is when a grip of its top edge (100 by 30 pixels, or the
// whole width or height when smaller) lies on one screen; otherwise moved
// the least distance into the screen that holds most of it, or the nearest
// one when none does (its top-left corner first when it is larger than the
// screen). With no screen it stays where it is.
ScreenPoint PlaceOnScreens(const ScreenRect& window, const std::vector<ScreenRect>& screens);

}  // namespace varnelko
