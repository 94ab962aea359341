#include "win32/preview/gdi_strokes.h"

#include <algorithm>
#include <cmath>

namespace varnelko::win32 {

namespace {

COLORREF ToColorref(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// The pixel a device point lies in.
POINT PixelOf(const DevicePoint& p) {
  return {static_cast<LONG>(std::floor(p.x)), static_cast<LONG>(std::floor(p.y))};
}

// Selects `object` into `dc` for the life of the guard.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selected() { SelectObject(dc_, old_); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace

GdiStrokes::~GdiStrokes() {
  if (gdi_pen_) DeleteObject(gdi_pen_);
}

void GdiStrokes::SetPen(const PainterPen& pen) {
  dash_px_.assign(pen.dash_px.begin(), pen.dash_px.end());
  pen_ = pen;
  pen_.dash_px = dash_px_;
  if (gdi_pen_) DeleteObject(gdi_pen_);
  gdi_pen_ = nullptr;
}

HPEN GdiStrokes::Pen() {
  if (gdi_pen_) return gdi_pen_;
  const COLORREF color = ToColorref(pen_.rgb);
  if (pen_.width_px <= 1) {
    gdi_pen_ = CreatePen(PS_SOLID, 1, color);  // cosmetic: GDI's fast one-pixel lines
  } else {
    const LOGBRUSH brush{BS_SOLID, color, 0};
    const DWORD ends =
        pen_.round_caps ? PS_ENDCAP_ROUND | PS_JOIN_ROUND : PS_ENDCAP_FLAT | PS_JOIN_MITER;
    gdi_pen_ = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | ends,
                            static_cast<DWORD>(std::lround(pen_.width_px)), &brush, 0, nullptr);
  }
  return gdi_pen_;
}

void GdiStrokes::AddLine(const DeviceLine& line) {
  points_.push_back(PixelOf(line.a));
  points_.push_back(PixelOf(line.b));
  line_counts_.push_back(2);
}

// GDI's own dashed pens are slow (geometric) or follow no given pattern
// (cosmetic, on Wine): a dashed line goes as its dashes, the pattern
// starting afresh on every line.
void GdiStrokes::AddDashes(const DeviceLine& line) {
  const double dx = line.b.x - line.a.x, dy = line.b.y - line.a.y;
  const double length = std::hypot(dx, dy);
  if (length == 0) return;
  double at = 0;
  for (size_t i = 0; at < length; i = (i + 1) % dash_px_.size()) {
    const double end = std::min(length, at + std::max(dash_px_[i], 0.5));
    if (i % 2 == 0) {
      AddLine({{line.a.x + dx * at / length, line.a.y + dy * at / length},
               {line.a.x + dx * end / length, line.a.y + dy * end / length}});
    }
    at = end;
  }
}

void GdiStrokes::DrawLines(HDC dc, std::span<const DeviceLine> lines) {
  points_.clear();
  line_counts_.clear();
  for (const DeviceLine& line : lines) {
    if (dash_px_.empty()) {
      AddLine(line);
    } else {
      AddDashes(line);
    }
  }
  const Selected pen(dc, Pen());
  PolyPolyline(dc, points_.data(), line_counts_.data(), static_cast<DWORD>(line_counts_.size()));
}

void GdiStrokes::DrawPoints(HDC dc, std::span<const DevicePoint> points) {
  const COLORREF color = ToColorref(pen_.rgb);
  if (pen_.width_px <= 1) {
    for (const DevicePoint& p : points) {
      const POINT at = PixelOf(p);
      SetPixelV(dc, at.x, at.y, color);
    }
    return;
  }
  const HBRUSH fill = CreateSolidBrush(color);
  {
    const Selected brush(dc, fill), no_pen(dc, GetStockObject(NULL_PEN));
    const double r = pen_.width_px / 2;
    for (const DevicePoint& p : points) {
      // A NULL pen leaves the right and bottom edge out: one pixel more.
      Ellipse(dc, static_cast<int>(std::lround(p.x - r)), static_cast<int>(std::lround(p.y - r)),
              static_cast<int>(std::lround(p.x + r)) + 1, static_cast<int>(std::lround(p.y + r)) + 1);
    }
  }
  DeleteObject(fill);
}

void GdiStrokes::FillPolygons(HDC dc, std::span<const DevicePoint> points,
                              std::span<const uint32_t> counts, uint32_t rgb) {
  const HBRUSH fill = CreateSolidBrush(ToColorref(rgb));
  {
    const Selected brush(dc, fill), no_pen(dc, GetStockObject(NULL_PEN));
    const int old_mode = SetPolyFillMode(dc, WINDING);
    // One call per polygon: Wine's PolyPolygon slows down with their number.
    size_t at = 0;
    for (const uint32_t count : counts) {
      const size_t end = std::min(points.size(), at + count);
      points_.clear();
      for (size_t i = at; i < end; ++i) {
        points_.push_back({static_cast<LONG>(std::lround(points[i].x)),
                           static_cast<LONG>(std::lround(points[i].y))});
      }
      // Fewer than three points enclose nothing.
      if (points_.size() >= 3) Polygon(dc, points_.data(), static_cast<int>(points_.size()));
      at = end;
    }
    SetPolyFillMode(dc, old_mode);
  }
  DeleteObject(fill);
}

}  // namespace varnelko::win32
