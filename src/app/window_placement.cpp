#include "app/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <limits>

namespace varnelko {

namespace {

constexpr int kGripWidth = 100;
constexpr int kGripHeight = 30;

bool GripOnScreen(const QRect& window, const QRect& screen) {
  const QRect grip(window.topLeft(),
                   QSize(window.width(), std::min(window.height(), kGripHeight)));
  const QRect shown = grip & screen;
  return shown.width() >= std::min(window.width(), kGripWidth) && shown.height() == grip.height();
}

// Most of the window by area; without any overlap, the screen whose centre
// is closest to the window's.
QRect TargetScreen(const QRect& window, const QList<QRect>& screens) {
  QRect best = screens.first();
  qint64 best_area = -1;
  qint64 best_distance = std::numeric_limits<qint64>::max();
  for (const QRect& screen : screens) {
    const QRect overlap = window & screen;
    const qint64 area = static_cast<qint64>(overlap.width()) * overlap.height();
    const QPoint d = screen.center() - window.center();
    const qint64 distance = static_cast<qint64>(d.x()) * d.x() + static_cast<qint64>(d.y()) * d.y();
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

QPoint PlaceOnScreens(const QRect& window, const QList<QRect>& screens) {
  if (screens.isEmpty()) return window.topLeft();
  for (const QRect& screen : screens) {
    if (GripOnScreen(window, screen)) return window.topLeft();
  }
  const QRect screen = TargetScreen(window, screens);
  return {Into(window.x(), window.width(), screen.x(), screen.width()),
          Into(window.y(), window.height(), screen.y(), screen.height())};
}

QList<QRect> AvailableScreenAreas() {
  QList<QRect> areas;
  for (const QScreen* screen : QGuiApplication::screens()) areas << screen->availableGeometry();
  return areas;
}

}  // namespace varnelko
