#include "render/geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace varnelko::render {

Affine Affine::Then(const Affine& in) const {
  return {a * in.a + b * in.c, a * in.b + b * in.d, c * in.a + d * in.c,
          c * in.b + d * in.d, a * in.e + b * in.f + e, c * in.e + d * in.f + f};
}

Affine Affine::Insertion(const TEntBlock& k) {
  const double cs = std::cos(k.angle), sn = std::sin(k.angle);
  return {cs * k.scale_x, -sn * k.scale_y, sn * k.scale_x, cs * k.scale_y, k.base_x, k.base_y};
}

bool Usable(double v) { return std::isfinite(v) && std::fabs(v) <= kMaxCoordinate; }
bool Usable(Point2 p) { return Usable(p.x) && Usable(p.y); }

std::optional<ArcShape> ArcOf(const TEntEnko& arc) {
  const double r = arc.radius;
  double sweep = arc.full_circle ? 2 * std::numbers::pi : arc.arc_angle;
  const double start = arc.full_circle ? 0.0 : arc.start_angle;
  if (!Usable(arc.center_x) || !Usable(arc.center_y) || !Usable(r) || !Usable(sweep) ||
      !Usable(start) || !Usable(arc.tilt_angle) || !Usable(arc.flatness)) {
    return std::nullopt;
  }
  // Angles beyond a turn draw no more than a turn.
  sweep = std::clamp(sweep, -2 * std::numbers::pi, 2 * std::numbers::pi);
  const double ct = std::cos(arc.tilt_angle), st = std::sin(arc.tilt_angle);
  const double minor = r * arc.flatness;
  // The start angle is measured on the circle that the ellipse is squeezed
  // from: the ellipse's own parameter.
  ArcShape shape;
  shape.center = {arc.center_x, arc.center_y};
  shape.u = {r * ct, r * st};
  shape.v = {-minor * st, minor * ct};
  shape.start = std::fmod(start, 2 * std::numbers::pi);
  shape.sweep = sweep;
  return shape;
}

ArcShape Transformed(const ArcShape& arc, const Affine& t) {
  ArcShape out = arc;
  out.center = t.Apply(arc.center);
  out.u = t.ApplyVector(arc.u);
  out.v = t.ApplyVector(arc.v);
  return out;
}

bool Usable(const ArcShape& a) {
  return Usable(a.center) && Usable(a.u) && Usable(a.v) && Usable(a.start) && Usable(a.sweep);
}

Point2 ArcShape::At(double t) const {
  const double c = std::cos(t), s = std::sin(t);
  return {center.x + u.x * c + v.x * s, center.y + u.y * c + v.y * s};
}

void ArcShape::Tessellate(double tolerance, std::vector<Point2>& out) const {
  out.clear();
  // A chord of angle a on a circle of radius r stays r (1 - cos(a/2)) from it.
  const double r = std::sqrt(u.x * u.x + u.y * u.y + v.x * v.x + v.y * v.y);
  int per_turn = 1024;
  if (tolerance > 0 && r > tolerance) {
    const double step = 2 * std::acos(std::max(-1.0, 1 - tolerance / r));
    per_turn = static_cast<int>(std::ceil(2 * std::numbers::pi / std::max(step, 1e-3)));
  } else if (tolerance > 0) {
    per_turn = 8;
  }
  per_turn = std::clamp(per_turn, 8, 1024);
  const int n = std::max(2, static_cast<int>(std::ceil(per_turn * std::fabs(sweep) / (2 * std::numbers::pi))));
  out.reserve(n + 1);
  for (int i = 0; i <= n; ++i) out.push_back(At(start + sweep * i / n));
}

void ArcShape::AddTo(Extent& extent) const {
  extent.Add(At(start));
  extent.Add(At(start + sweep));
  // Inside the sweep, x and y are extreme where their derivative is zero:
  // x(t) = cx + ux cos t + vx sin t peaks at t = atan2(vx, ux) and half a turn on.
  const double lo = std::min(start, start + sweep), hi = std::max(start, start + sweep);
  for (double base : {std::atan2(v.x, u.x), std::atan2(v.y, u.y)}) {
    for (double t = base - 4 * std::numbers::pi; t <= hi; t += std::numbers::pi) {
      if (t >= lo) extent.Add(At(t));
    }
  }
}

double TextPaperLength(std::string_view s, double size_x, double spacing) {
  double units = 0;
  int chars = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const auto b = static_cast<unsigned char>(s[i]);
    const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    if (lead && i + 1 < s.size()) {
      units += 1, ++i;
    } else {
      units += 0.5;
    }
    ++chars;
  }
  return units * size_x + (chars > 1 ? (chars - 1) * spacing : 0.0);
}

}  // namespace varnelko::render
