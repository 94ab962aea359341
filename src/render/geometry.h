#pragma once
// Geometry of the renderer: block transforms, arcs and ellipses as
// polylines, and the sizes of texts.
#include <optional>
#include <string_view>
#include <vector>

#include "document/entities.h"
#include "render/scene.h"

namespace varnelko::render {

// x' = a x + b y + e, y' = c x + d y + f.
struct Affine {
  double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

  Point2 Apply(Point2 p) const { return {a * p.x + b * p.y + e, c * p.x + d * p.y + f}; }
  Point2 ApplyVector(Point2 v) const { return {a * v.x + b * v.y, c * v.x + d * v.y}; }
  // This transform applied after `inner`.
  Affine Then(const Affine& inner) const;
  // A block insertion: scale about the block's origin, rotate (radians),
  // then move the origin to the base point.
  static Affine Insertion(const TEntBlock& block);
};

// Coordinates beyond this are taken for garbage: they are no drawing on
// this planet in millimetres, and squaring them stays finite.
constexpr double kMaxCoordinate = 1e12;
bool Usable(Point2 p);
bool Usable(double v);

// An arc or circle in its drawing's coordinates: centre, radius, start and
// arc angles in radians counter-clockwise, the ellipse's minor axis
// `flatness` times the radius, the whole turned by the tilt angle. A full
// circle (flag set) ignores the angles. Nothing when a value is unusable.
std::optional<ArcShape> ArcOf(const TEntEnko& arc);

// `arc` after the transform `t` (an affine image of an ellipse is one).
ArcShape Transformed(const ArcShape& arc, const Affine& t);
bool Usable(const ArcShape& arc);

// A text's length on paper in units of its character width: a double-byte
// character is one, a single-byte character a half; spacing adds between
// characters. Bytes are code page 932.
double TextPaperLength(std::string_view cp932, double size_x, double spacing);

}  // namespace varnelko::render
