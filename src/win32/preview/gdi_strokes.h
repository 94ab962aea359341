#pragma once
// The aliased half of the preview's painter: lines, points and solids drawn
// with plain GDI on a device context. A big drawing's quick picture is
// hundreds of thousands of hairlines; GDI draws them in one call per few
// thousand, where GDI+ (Wine's above all) takes microseconds per line.
// Device coordinates as the layer counts them: pixel i covers [i, i + 1).
#include <windows.h>

#include <span>
#include <vector>

#include "desktop/painter.h"

namespace varnelko::win32 {

class GdiStrokes {
 public:
  GdiStrokes() = default;
  ~GdiStrokes();
  GdiStrokes(const GdiStrokes&) = delete;
  GdiStrokes& operator=(const GdiStrokes&) = delete;

  void SetPen(const PainterPen& pen);
  void DrawLines(HDC dc, std::span<const DeviceLine> lines);
  void DrawPoints(HDC dc, std::span<const DevicePoint> points);
  void FillPolygons(HDC dc, std::span<const DevicePoint> points, std::span<const uint32_t> counts,
                    uint32_t rgb);

 private:
  HPEN Pen();  // made when first needed after SetPen
  void AddLine(const DeviceLine& line);
  void AddDashes(const DeviceLine& line);

  PainterPen pen_;
  std::vector<double> dash_px_;  // pen_.dash_px points here
  HPEN gdi_pen_ = nullptr;
  std::vector<POINT> points_;
  std::vector<DWORD> line_counts_;
};

}  // namespace varnelko::win32
