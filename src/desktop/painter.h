#pragma once
// What a window's picture is painted through: a few calls in device pixels
// (x to the right, y downwards, the origin at the picture's top left) that
// any toolkit's 2-D painter offers. The preview hands a drawing to it in
// batches; the painter only strokes, fills and sets text. Every call gets
// device coordinates already transformed and clipped, so a painter keeps no
// transform of its own between calls.
#include <cstdint>
#include <span>
#include <string_view>

namespace varnelko {

struct DevicePoint {
  double x = 0, y = 0;
  bool operator==(const DevicePoint&) const = default;
};

// A line from `a` to `b`; lines are handed over as independent pairs.
struct DeviceLine {
  DevicePoint a, b;
};

struct DeviceRect {
  double left = 0, top = 0, width = 0, height = 0;
  double right() const { return left + width; }
  double bottom() const { return top + height; }
};

// How lines and points are stroked until the next SetPen.
struct PainterPen {
  uint32_t rgb = 0;      // 0xRRGGBB, opaque
  double width_px = 1;   // device pixels, whatever the zoom; 1 is the fast hairline
  bool round_caps = false;  // round line ends (change marks); flat otherwise
  // Dash then gap, repeated, in device pixels; empty: solid.
  std::span<const double> dash_px;
};

// The font size text advances are measured at, in pixels.
constexpr double kTextReferencePixels = 64;

class Painter {
 public:
  virtual ~Painter() = default;

  // Fills `area` with `rgb` and nothing else; the background of a picture.
  virtual void FillRect(const DeviceRect& area, uint32_t rgb) = 0;

  // Smooth (antialiased) edges for lines, points, polygons and text from now
  // on, or the fast aliased ones. The preview turns it off for big pictures.
  virtual void SetAntialias(bool on) = 0;

  // The pen of the following DrawLines and DrawPoints calls.
  virtual void SetPen(const PainterPen& pen) = 0;

  // Strokes each line with the pen; the dash pattern starts afresh on every
  // line. Called with up to a few thousand lines at a time; a painter that
  // strokes dashes or wide pens by building a path may build one per call.
  virtual void DrawLines(std::span<const DeviceLine> lines) = 0;

  // A dot at each point: a filled disc as wide as the pen (round caps), a
  // single pixel for a pen of width 1.
  virtual void DrawPoints(std::span<const DevicePoint> points) = 0;

  // Fills polygons in `rgb` without outline: `counts[i]` points of
  // `points`, one polygon after the other, each closed implicitly. Polygons
  // of one call are filled with the winding rule, each on its own
  // (overlaps are simply painted twice).
  virtual void FillPolygons(std::span<const DevicePoint> points, std::span<const uint32_t> counts,
                            uint32_t rgb) = 0;

  // The advance (width) of `utf8` set in the fixed-pitch drawing font at a
  // pixel size of kTextReferencePixels. The caller keeps the result; it is
  // asked once per text.
  virtual double TextAdvance(std::string_view utf8) = 0;

  // Sets `utf8` in the fixed-pitch drawing font at a pixel size of
  // `height_px`, in `rgb`:
  // - `anchor` is the lower left corner of the text's box: the bottom of the
  //   font's descent lies on it (the baseline is `descent` above it);
  // - `angle` turns the text around the anchor, in radians, clockwise on
  //   the screen from +x (the angle of the device direction of its base line,
  //   atan2(dy, dx) with y downwards);
  // - `x_scale` widens (> 1) or narrows the glyphs along the base line only,
  //   so that the text fills the length its drawing gives it.
  virtual void DrawText(std::string_view utf8, DevicePoint anchor, double angle, double height_px,
                        double x_scale, uint32_t rgb) = 0;
};

}  // namespace varnelko
