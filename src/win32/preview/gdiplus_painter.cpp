#include "win32/preview/gdiplus_painter.h"

#include <algorithm>
#include <cmath>

namespace varnelko::win32 {

namespace {

Gdiplus::Color ColorOf(uint32_t rgb) {
  return Gdiplus::Color(255, (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

Gdiplus::PointF At(const DevicePoint& p) {
  return {static_cast<Gdiplus::REAL>(p.x), static_cast<Gdiplus::REAL>(p.y)};
}

}  // namespace

bool StartGdiplus() {
  static const bool started = [] {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;  // kept: GDI+ stays up until the process ends
    return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
  }();
  return started;
}

GdiplusPainter::GdiplusPainter(Gdiplus::Graphics& graphics) : graphics_(graphics) {
  // The layer's pixel i covers [i, i + 1); GDI+ puts pixel centres on whole
  // numbers. Moving everything half a pixel up and left makes them agree
  // (Wine rounds PixelOffsetModeHalf the other way than Windows).
  graphics_.ResetTransform();
  graphics_.TranslateTransform(-0.5f, -0.5f);
  SetAntialias(true);
}

GdiplusPainter::~GdiplusPainter() = default;

template <typename Draw>
void GdiplusPainter::WithGdi(Draw draw) {
  // GDI+ hands its device context over with what it has drawn flushed.
  const HDC dc = graphics_.GetHDC();
  if (!dc) return;
  draw(dc);
  graphics_.ReleaseHDC(dc);
}

void GdiplusPainter::FillRect(const DeviceRect& area, uint32_t rgb) {
  WithGdi([&](HDC dc) {
    const RECT r{static_cast<LONG>(std::lround(area.left)), static_cast<LONG>(std::lround(area.top)),
                 static_cast<LONG>(std::lround(area.right())),
                 static_cast<LONG>(std::lround(area.bottom()))};
    const HBRUSH brush = CreateSolidBrush(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    ::FillRect(dc, &r, brush);
    DeleteObject(brush);
  });
}

void GdiplusPainter::SetAntialias(bool on) {
  antialias_ = on;
  graphics_.SetSmoothingMode(on ? Gdiplus::SmoothingModeAntiAlias : Gdiplus::SmoothingModeNone);
}

void GdiplusPainter::SetPen(const PainterPen& pen) {
  gdi_.SetPen(pen);
  dash_px_.assign(pen.dash_px.begin(), pen.dash_px.end());
  pen_ = pen;
  pen_.dash_px = dash_px_;
  smooth_pen_.reset();
}

Gdiplus::Pen& GdiplusPainter::SmoothPen() {
  if (smooth_pen_) return *smooth_pen_;
  smooth_pen_ =
      std::make_unique<Gdiplus::Pen>(ColorOf(pen_.rgb), static_cast<Gdiplus::REAL>(pen_.width_px));
  const Gdiplus::LineCap cap = pen_.round_caps ? Gdiplus::LineCapRound : Gdiplus::LineCapFlat;
  smooth_pen_->SetLineCap(cap, cap, pen_.round_caps ? Gdiplus::DashCapRound : Gdiplus::DashCapFlat);
  if (!dash_px_.empty()) {
    // GDI+ counts dashes in pen widths and refuses lengths of zero.
    const double unit = std::max(1.0, pen_.width_px);
    std::vector<Gdiplus::REAL> pattern;
    for (const double length : dash_px_) {
      pattern.push_back(static_cast<Gdiplus::REAL>(std::max(length, 0.1) / unit));
    }
    smooth_pen_->SetDashPattern(pattern.data(), static_cast<INT>(pattern.size()));
  }
  return *smooth_pen_;
}

void GdiplusPainter::DrawLines(std::span<const DeviceLine> lines) {
  if (lines.empty()) return;
  if (!antialias_) return WithGdi([&](HDC dc) { gdi_.DrawLines(dc, lines); });
  // One path of independent two-point figures: one call strokes them all.
  points_.clear();
  types_.clear();
  for (const DeviceLine& line : lines) {
    points_.push_back(At(line.a));
    points_.push_back(At(line.b));
    types_.push_back(Gdiplus::PathPointTypeStart);
    types_.push_back(Gdiplus::PathPointTypeLine);
  }
  const Gdiplus::GraphicsPath path(points_.data(), types_.data(), static_cast<INT>(points_.size()));
  graphics_.DrawPath(&SmoothPen(), &path);
}

void GdiplusPainter::DrawPoints(std::span<const DevicePoint> points) {
  if (points.empty()) return;
  if (!antialias_) return WithGdi([&](HDC dc) { gdi_.DrawPoints(dc, points); });
  Gdiplus::GraphicsPath path(Gdiplus::FillModeWinding);
  if (pen_.width_px <= 1) {
    // A hairline's point is the one pixel it lies in.
    std::vector<Gdiplus::RectF> pixels;
    pixels.reserve(points.size());
    for (const DevicePoint& p : points) {
      pixels.emplace_back(static_cast<Gdiplus::REAL>(std::floor(p.x)),
                          static_cast<Gdiplus::REAL>(std::floor(p.y)), 1.0f, 1.0f);
    }
    path.AddRectangles(pixels.data(), static_cast<INT>(pixels.size()));
  } else {
    const auto d = static_cast<Gdiplus::REAL>(pen_.width_px);
    for (const DevicePoint& p : points) {
      path.AddEllipse(static_cast<Gdiplus::REAL>(p.x) - d / 2,
                      static_cast<Gdiplus::REAL>(p.y) - d / 2, d, d);
    }
  }
  Gdiplus::SolidBrush brush(ColorOf(pen_.rgb));
  graphics_.FillPath(&brush, &path);
}

void GdiplusPainter::FillPolygons(std::span<const DevicePoint> points,
                                  std::span<const uint32_t> counts, uint32_t rgb) {
  if (!antialias_) return WithGdi([&](HDC dc) { gdi_.FillPolygons(dc, points, counts, rgb); });
  Gdiplus::GraphicsPath path(Gdiplus::FillModeWinding);  // overlapping solids both stay filled
  size_t at = 0;
  for (const uint32_t count : counts) {
    points_.clear();
    for (uint32_t i = 0; i < count && at < points.size(); ++i, ++at) {
      points_.push_back(At(points[at]));
    }
    if (points_.size() >= 3) path.AddPolygon(points_.data(), static_cast<INT>(points_.size()));
  }
  Gdiplus::SolidBrush brush(ColorOf(rgb));
  graphics_.FillPath(&brush, &path);
}

double GdiplusPainter::TextAdvance(std::string_view utf8) {
  double advance = 0;
  WithGdi([&](HDC dc) { advance = text_.Advance(dc, utf8); });
  return advance;
}

void GdiplusPainter::DrawText(std::string_view utf8, DevicePoint anchor, double angle,
                              double height_px, double x_scale, uint32_t rgb) {
  WithGdi([&](HDC dc) {
    text_.Draw(dc, utf8, anchor, angle, height_px, x_scale, rgb, antialias_);
  });
}

}  // namespace varnelko::win32
