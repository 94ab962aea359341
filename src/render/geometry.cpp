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

void ArcPoints(const TEntEnko& arc, std::vector<Point2>& out) {
  out.clear();
  const double r = arc.radius;
  double sweep = arc.full_circle ? 2 * std::numbers::pi : arc.arc_angle;
  const double start = arc.full_circle ? 0.0 : arc.start_angle;
  if (!Usable(arc.center_x) || !Usable(arc.center_y) || !Usable(r) || !std::isfinite(sweep) ||
      !std::isfinite(start) || !std::isfinite(arc.tilt_angle) || !Usable(arc.flatness)) {
    return;
  }
  // Angles beyond a turn draw no more than a turn.
  sweep = std::clamp(sweep, -2 * std::numbers::pi, 2 * std::numbers::pi);
  const int segments = std::clamp(static_cast<int>(std::ceil(std::fabs(sweep) / (2 * std::numbers::pi) * 72)), 2, 72);
  const double ct = std::cos(arc.tilt_angle), st = std::sin(arc.tilt_angle);
  const double minor = r * arc.flatness;
  // The start angle is measured on the circle that the ellipse is squeezed
  // from, so that the end points follow the ellipse's own parameter.
  const double s0 = std::fmod(start, 2 * std::numbers::pi);
  out.reserve(segments + 1);
  for (int i = 0; i <= segments; ++i) {
    const double t = s0 + sweep * i / segments;
    const double lx = r * std::cos(t), ly = minor * std::sin(t);
    out.push_back({arc.center_x + ct * lx - st * ly, arc.center_y + st * lx + ct * ly});
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
