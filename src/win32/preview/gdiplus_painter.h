#pragma once
// The preview's painter on Windows: the desktop layer's Painter calls made
// with GDI+ on a Graphics, which may draw into a window's back buffer or
// into a bitmap on a worker thread. One painter per picture: it keeps the
// pen and the drawing font of that picture.
#include <windows.h>
// GDI+ needs these before its own header.
#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <vector>

#include "desktop/painter.h"

namespace varnelko::win32 {

// Starts GDI+ once for the process; every thread may paint after it.
// False when GDI+ is missing (the pane then shows no pictures).
bool StartGdiplus();

class GdiplusPainter : public Painter {
 public:
  explicit GdiplusPainter(Gdiplus::Graphics& graphics);
  ~GdiplusPainter() override;

  void FillRect(const DeviceRect& area, uint32_t rgb) override;
  void SetAntialias(bool on) override;
  void SetPen(const PainterPen& pen) override;
  void DrawLines(std::span<const DeviceLine> lines) override;
  void DrawPoints(std::span<const DevicePoint> points) override;
  void FillPolygons(std::span<const DevicePoint> points, std::span<const uint32_t> counts,
                    uint32_t rgb) override;
  double TextAdvance(std::string_view utf8) override;
  void DrawText(std::string_view utf8, DevicePoint anchor, double angle, double height_px,
                double x_scale, uint32_t rgb) override;

 private:
  const Gdiplus::Font& DrawingFont();

  Gdiplus::Graphics& graphics_;
  std::unique_ptr<Gdiplus::Pen> pen_;
  double pen_width_ = 1;
  uint32_t pen_rgb_ = 0;
  // The drawing font at the reference size, made when a text first needs it.
  std::unique_ptr<Gdiplus::FontFamily> family_;
  std::unique_ptr<Gdiplus::Font> font_;
  std::unique_ptr<Gdiplus::StringFormat> format_;  // no padding around the glyphs
  double ascent_px_ = 0, descent_px_ = 0;
  // Reused between calls: the points and point types of a path.
  std::vector<Gdiplus::PointF> points_;
  std::vector<BYTE> types_;
};

}  // namespace varnelko::win32
