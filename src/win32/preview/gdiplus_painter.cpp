#include "win32/preview/gdiplus_painter.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <numbers>

#include "platform/wide_text.h"

namespace varnelko::win32 {

namespace {

Gdiplus::Color ColorOf(uint32_t rgb) {
  return Gdiplus::Color(255, (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

Gdiplus::PointF At(const DevicePoint& p) {
  return {static_cast<Gdiplus::REAL>(p.x), static_cast<Gdiplus::REAL>(p.y)};
}

// The fixed-pitch face of drawings, as Jw_cad sets its texts; Wine and
// systems without it take the generic monospace face.
std::unique_ptr<Gdiplus::FontFamily> DrawingFamily() {
  for (const wchar_t* name : {L"ＭＳ ゴシック", L"MS Gothic", L"Noto Sans Mono CJK JP"}) {
    auto family = std::make_unique<Gdiplus::FontFamily>(name);
    if (family->IsAvailable()) return family;
  }
  return std::unique_ptr<Gdiplus::FontFamily>(Gdiplus::FontFamily::GenericMonospace()->Clone());
}

}  // namespace

bool StartGdiplus() {
  static bool started = [] {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;  // kept: GDI+ stays up until the process ends
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
    // GDI+'s headers cache these on first use without a lock: make them
    // here, before any worker thread paints.
    Gdiplus::StringFormat::GenericTypographic();
    Gdiplus::FontFamily::GenericMonospace();
    return true;
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
  SetPen({});
}

GdiplusPainter::~GdiplusPainter() = default;

void GdiplusPainter::FillRect(const DeviceRect& area, uint32_t rgb) {
  Gdiplus::SolidBrush brush(ColorOf(rgb));
  graphics_.FillRectangle(&brush, Gdiplus::RectF(area.left, area.top, area.width, area.height));
}

void GdiplusPainter::SetAntialias(bool on) {
  graphics_.SetSmoothingMode(on ? Gdiplus::SmoothingModeAntiAlias : Gdiplus::SmoothingModeNone);
  graphics_.SetTextRenderingHint(on ? Gdiplus::TextRenderingHintAntiAlias
                                    : Gdiplus::TextRenderingHintSingleBitPerPixelGridFit);
}

void GdiplusPainter::SetPen(const PainterPen& pen) {
  pen_width_ = pen.width_px;
  pen_rgb_ = pen.rgb;
  pen_ = std::make_unique<Gdiplus::Pen>(ColorOf(pen.rgb), static_cast<Gdiplus::REAL>(pen.width_px));
  const Gdiplus::LineCap cap = pen.round_caps ? Gdiplus::LineCapRound : Gdiplus::LineCapFlat;
  pen_->SetLineCap(cap, cap, pen.round_caps ? Gdiplus::DashCapRound : Gdiplus::DashCapFlat);
  if (pen.dash_px.empty()) return;
  // GDI+ counts dashes in pen widths and refuses lengths of zero.
  const double unit = std::max(1.0, pen.width_px);
  std::vector<Gdiplus::REAL> pattern;
  for (const double length : pen.dash_px) {
    pattern.push_back(static_cast<Gdiplus::REAL>(std::max(length, 0.1) / unit));
  }
  pen_->SetDashPattern(pattern.data(), static_cast<INT>(pattern.size()));
}

void GdiplusPainter::DrawLines(std::span<const DeviceLine> lines) {
  if (lines.empty()) return;
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
  graphics_.DrawPath(pen_.get(), &path);
}

void GdiplusPainter::DrawPoints(std::span<const DevicePoint> points) {
  if (points.empty()) return;
  Gdiplus::GraphicsPath path(Gdiplus::FillModeWinding);
  if (pen_width_ <= 1) {
    // A hairline's point is the one pixel it lies in.
    std::vector<Gdiplus::RectF> pixels;
    pixels.reserve(points.size());
    for (const DevicePoint& p : points) {
      pixels.emplace_back(static_cast<Gdiplus::REAL>(std::floor(p.x)),
                          static_cast<Gdiplus::REAL>(std::floor(p.y)), 1.0f, 1.0f);
    }
    path.AddRectangles(pixels.data(), static_cast<INT>(pixels.size()));
  } else {
    const auto d = static_cast<Gdiplus::REAL>(pen_width_);
    for (const DevicePoint& p : points) {
      path.AddEllipse(static_cast<Gdiplus::REAL>(p.x) - d / 2, static_cast<Gdiplus::REAL>(p.y) - d / 2,
                      d, d);
    }
  }
  Gdiplus::SolidBrush brush(ColorOf(pen_rgb_));
  graphics_.FillPath(&brush, &path);
}

void GdiplusPainter::FillPolygons(std::span<const DevicePoint> points,
                                  std::span<const uint32_t> counts, uint32_t rgb) {
  Gdiplus::GraphicsPath path(Gdiplus::FillModeWinding);  // overlapping solids both stay filled
  size_t at = 0;
  for (const uint32_t count : counts) {
    points_.clear();
    for (uint32_t i = 0; i < count && at < points.size(); ++i, ++at) points_.push_back(At(points[at]));
    if (points_.size() >= 3) path.AddPolygon(points_.data(), static_cast<INT>(points_.size()));
  }
  Gdiplus::SolidBrush brush(ColorOf(rgb));
  graphics_.FillPath(&brush, &path);
}

const Gdiplus::Font& GdiplusPainter::DrawingFont() {
  if (font_) return *font_;
  family_ = DrawingFamily();
  const auto style = Gdiplus::FontStyleRegular;
  font_ = std::make_unique<Gdiplus::Font>(family_.get(),
                                          static_cast<Gdiplus::REAL>(kTextReferencePixels), style,
                                          Gdiplus::UnitPixel);
  const double em = std::max<UINT16>(1, family_->GetEmHeight(style));
  ascent_px_ = kTextReferencePixels * family_->GetCellAscent(style) / em;
  descent_px_ = kTextReferencePixels * family_->GetCellDescent(style) / em;
  format_ = std::make_unique<Gdiplus::StringFormat>(Gdiplus::StringFormat::GenericTypographic());
  format_->SetFormatFlags(format_->GetFormatFlags() | Gdiplus::StringFormatFlagsMeasureTrailingSpaces |
                          Gdiplus::StringFormatFlagsNoWrap);
  return *font_;
}

double GdiplusPainter::TextAdvance(std::string_view utf8) {
  const Gdiplus::Font& font = DrawingFont();
  const std::wstring text = WideFromUtf8(utf8);
  Gdiplus::RectF box;
  graphics_.MeasureString(text.c_str(), static_cast<INT>(text.size()), &font, Gdiplus::PointF(0, 0),
                          format_.get(), &box);
  return box.Width;
}

void GdiplusPainter::DrawText(std::string_view utf8, DevicePoint anchor, double angle,
                              double height_px, double x_scale, uint32_t rgb) {
  const Gdiplus::Font& font = DrawingFont();
  const std::wstring text = WideFromUtf8(utf8);
  const double glyph_scale = height_px / kTextReferencePixels;
  const Gdiplus::GraphicsState state = graphics_.Save();
  graphics_.TranslateTransform(static_cast<Gdiplus::REAL>(anchor.x),
                               static_cast<Gdiplus::REAL>(anchor.y));
  graphics_.RotateTransform(static_cast<Gdiplus::REAL>(angle * 180 / std::numbers::pi));
  graphics_.ScaleTransform(static_cast<Gdiplus::REAL>(x_scale * glyph_scale),
                           static_cast<Gdiplus::REAL>(glyph_scale));
  Gdiplus::SolidBrush brush(ColorOf(rgb));
  // The layout box's top is the line's top: the descent's bottom lies on
  // the anchor when the top is a whole line height above it.
  const auto top = static_cast<Gdiplus::REAL>(-(ascent_px_ + descent_px_));
  graphics_.DrawString(text.c_str(), static_cast<INT>(text.size()), &font, Gdiplus::PointF(0, top),
                       format_.get(), &brush);
  graphics_.Restore(state);
}

}  // namespace varnelko::win32
