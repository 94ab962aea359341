#pragma once
// The preview's view: how drawing coordinates (y up) map to device pixels
// (y down), fitted to the picture, zoomed around a point and moved.
#include "desktop/painter.h"

namespace varnelko {

// An affine map: device = (m11 x + m21 y + dx, m12 x + m22 y + dy).
struct ViewTransform {
  double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;

  static ViewTransform Translate(double x, double y) { return {1, 0, 0, 1, x, y}; }
  static ViewTransform Scale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }

  DevicePoint Map(double x, double y) const {
    return {m11 * x + m21 * y + dx, m12 * x + m22 * y + dy};
  }
  DevicePoint Map(DevicePoint p) const { return Map(p.x, p.y); }
  double Determinant() const { return m11 * m22 - m12 * m21; }
  // Pixels per drawing unit (the mean of the two axes' scales).
  double UnitScale() const;
  ViewTransform Inverted() const;
  // The box around `rect` mapped.
  DeviceRect MapRect(const DeviceRect& rect) const;
  bool operator==(const ViewTransform&) const = default;
};

// `first` applied, then `then`.
ViewTransform operator*(const ViewTransform& first, const ViewTransform& then);

// Cuts `line` to `clip` (Liang-Barsky); false when nothing of it is inside.
// A line zoomed to a million pixels costs a painter as much as it is long.
bool ClipLine(const DeviceRect& clip, DeviceLine& line);

// The fit, zoom and move of a picture `width` x `height` pixels showing a
// drawing whose extent is `extent` (drawing coordinates; empty: nothing).
class PreviewView {
 public:
  // Centres the extent in the picture, as large as fits within a margin.
  void Fit(const DeviceRect& extent, double width, double height);
  // Zooms by `factor` keeping the drawing point under `at` where it is;
  // the zoom stays between a thousandth and a million times the fitted one.
  void ZoomAt(const DeviceRect& extent, double width, double height, DevicePoint at,
              double factor);
  void Pan(double by_x, double by_y);
  // After a resize: a fitted view fits again, a zoomed one stays. True
  // when the view changed.
  bool Resized(const DeviceRect& extent, double width, double height);

  const ViewTransform& transform() const { return view_; }
  // Follows the picture's size until zoomed or moved.
  bool fitted() const { return fitted_; }

 private:
  ViewTransform view_;
  bool fitted_ = true;
};

}  // namespace varnelko
