#pragma once
// A window position saved under another screen layout (a monitor since
// unplugged, a wider screen) would open the window where nobody can see or
// grab it, and the next shutdown would save it there again.
#include <QList>
#include <QPoint>
#include <QRect>

namespace varnelko {

// Where a window of the rectangle `window` goes among the screens' available
// areas: where it is when a grip of its top edge (100 by 30 pixels, or the
// whole width or height when smaller) lies on one screen; otherwise moved
// the least distance into the screen that holds most of it, or the nearest
// one when none does (its top-left corner first when it is larger than the
// screen). With no screen it stays where it is.
QPoint PlaceOnScreens(const QRect& window, const QList<QRect>& screens);

// The available areas of the screens the program runs on.
QList<QRect> AvailableScreenAreas();

}  // namespace varnelko
