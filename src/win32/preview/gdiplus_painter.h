#pragma once
// The preview's painter on Windows, drawing on a device context through a
// GDI+ Graphics: a window's back buffer or a bitmap on a worker thread.
// Smooth strokes and solids are GDI+'s. The aliased quick picture of a big
// drawing (GdiStrokes) and the texts (GdiText) go to plain GDI, which Wine
// runs tens of times faster: the quick picture of 200,000 entities took 25 s
// of processor time through GDI+ under Wine. One painter per picture.
#include <windows.h>
// GDI+ needs these before its own header.
#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <vector>

#include "desktop/painter.h"
#include "win32/preview/gdi_strokes.h"
#include "win32/preview/gdi_text.h"

namespace varnelko::win32 {

// Starts GDI+ once for the process; every thread may paint after it.
// False when GDI+ is missing (the pane then shows no pictures).
bool StartGdiplus();

class GdiplusPainter : public Painter {
 public:
  // `graphics` must draw on a device context (Graphics(HDC)).
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
  // Runs `draw` with GDI on the graphics' device context.
  template <typename Draw>
  void WithGdi(Draw draw);
  Gdiplus::Pen& SmoothPen();  // made when first needed after SetPen

  Gdiplus::Graphics& graphics_;
  bool antialias_ = true;
  GdiStrokes gdi_;
  GdiText text_;
  PainterPen pen_;
  std::vector<double> dash_px_;  // pen_.dash_px points here
  std::unique_ptr<Gdiplus::Pen> smooth_pen_;
  // Reused between calls: the points and point types of a path.
  std::vector<Gdiplus::PointF> points_;
  std::vector<BYTE> types_;
};

}  // namespace varnelko::win32
