#pragma once
// The layer's painter on a QPainter: the preview pane's widget and the
// pictures painted on a thread both go through it.
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include "desktop/painter.h"

namespace varnelko {

class QtPainter : public Painter {
 public:
  explicit QtPainter(QPainter& painter);

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
  QPainter& painter_;
  QPen pen_;        // for lines
  QPen point_pen_;  // the same colour and width, solid, round
  const QFont& font_;
  QFontMetricsF metrics_;
};

}  // namespace varnelko
