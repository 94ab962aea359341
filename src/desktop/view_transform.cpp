#include "desktop/view_transform.h"

#include <algorithm>
#include <cmath>

namespace varnelko {

namespace {

constexpr double kMargin = 8;       // pixels around a fitted drawing
constexpr double kMaxZoomIn = 1e6;  // beyond the fitted scale
constexpr double kMaxZoomOut = 1e-3;

}  // namespace

double ViewTransform::UnitScale() const { return std::sqrt(std::fabs(Determinant())); }

ViewTransform ViewTransform::Inverted() const {
  const double det = Determinant();
  if (det == 0) return {};
  const double i11 = m22 / det, i12 = -m12 / det, i21 = -m21 / det, i22 = m11 / det;
  return {i11, i12, i21, i22, -(i11 * dx + i21 * dy), -(i12 * dx + i22 * dy)};
}

DeviceRect ViewTransform::MapRect(const DeviceRect& rect) const {
  const DevicePoint c[] = {Map(rect.left, rect.top), Map(rect.right(), rect.top),
                           Map(rect.right(), rect.bottom()), Map(rect.left, rect.bottom())};
  double x0 = c[0].x, x1 = x0, y0 = c[0].y, y1 = y0;
  for (const DevicePoint& p : c) {
    x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
    y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
  }
  return {x0, y0, x1 - x0, y1 - y0};
}

bool ClipLine(const DeviceRect& clip, DeviceLine& line) {
  const DevicePoint a = line.a;
  const double ddx = line.b.x - a.x, ddy = line.b.y - a.y;
  double t0 = 0, t1 = 1;
  const double p[] = {-ddx, ddx, -ddy, ddy};
  const double q[] = {a.x - clip.left, clip.right() - a.x, a.y - clip.top, clip.bottom() - a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
  }
  if (t0 > 0 || t1 < 1) {
    line = {{a.x + ddx * t0, a.y + ddy * t0}, {a.x + ddx * t1, a.y + ddy * t1}};
  }
  return true;
}

ViewTransform operator*(const ViewTransform& a, const ViewTransform& b) {
  return {a.m11 * b.m11 + a.m12 * b.m21,         a.m11 * b.m12 + a.m12 * b.m22,
          a.m21 * b.m11 + a.m22 * b.m21,         a.m21 * b.m12 + a.m22 * b.m22,
          a.dx * b.m11 + a.dy * b.m21 + b.dx,    a.dx * b.m12 + a.dy * b.m22 + b.dy};
}

void PreviewView::Fit(const DeviceRect& extent, double width, double height) {
  fitted_ = true;
  const double w = std::max(1.0, width - 2 * kMargin), h = std::max(1.0, height - 2 * kMargin);
  // A single point or a line along an axis has no area; it still gets a scale.
  const double ew = std::max(extent.width, extent.height * 1e-3),
               eh = std::max(extent.height, extent.width * 1e-3);
  const double scale =
      ew > 0 || eh > 0 ? std::min(w / std::max(ew, 1e-9), h / std::max(eh, 1e-9)) : 1;
  // y grows upwards in the drawing and downwards on screen.
  view_ = ViewTransform::Translate(-(extent.left + extent.width / 2),
                                   -(extent.top + extent.height / 2)) *
          ViewTransform::Scale(scale, -scale) * ViewTransform::Translate(width / 2, height / 2);
}

void PreviewView::ZoomAt(const DeviceRect& extent, double width, double height, DevicePoint at,
                         double factor) {
  const double scale = view_.UnitScale();
  const double fit = std::min(width / std::max(extent.width, 1e-9),
                              height / std::max(extent.height, 1e-9));
  factor = std::clamp(scale * factor, fit * kMaxZoomOut, fit * kMaxZoomIn) / scale;
  view_ = view_ * ViewTransform::Translate(-at.x, -at.y) * ViewTransform::Scale(factor, factor) *
          ViewTransform::Translate(at.x, at.y);
  fitted_ = false;
}

void PreviewView::Pan(double by_x, double by_y) {
  view_ = view_ * ViewTransform::Translate(by_x, by_y);
  fitted_ = false;
}

bool PreviewView::Resized(const DeviceRect& extent, double width, double height) {
  if (!fitted_) return false;
  Fit(extent, width, height);
  return true;
}

}  // namespace varnelko
