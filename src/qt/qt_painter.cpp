#include "qt/qt_painter.h"

#include <QLineF>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>

#include "qt/ui_fonts.h"

namespace varnelko {

namespace {

QColor ColorOf(uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// Looked up once: the font database is asked on every thread that paints.
const QFont& ReferenceFont() {
  static const QFont font = [] {
    QFont f = FixedPitchFont();
    f.setPixelSize(static_cast<int>(kTextReferencePixels));
    return f;
  }();
  return font;
}

}  // namespace

QtPainter::QtPainter(QPainter& painter)
    : painter_(painter), font_(ReferenceFont()), metrics_(ReferenceFont()) {
  painter_.resetTransform();
}

void QtPainter::FillRect(const DeviceRect& area, uint32_t rgb) {
  painter_.fillRect(QRectF(area.left, area.top, area.width, area.height), ColorOf(rgb));
}

void QtPainter::SetAntialias(bool on) { painter_.setRenderHint(QPainter::Antialiasing, on); }

void QtPainter::SetPen(const PainterPen& pen) {
  pen_ = QPen(ColorOf(pen.rgb), pen.width_px);
  pen_.setCosmetic(true);  // widths are screen pixels at every zoom
  pen_.setCapStyle(pen.round_caps ? Qt::RoundCap : Qt::FlatCap);
  if (!pen.dash_px.empty()) {
    QList<qreal> pattern;  // Qt counts dashes in pen widths
    const qreal unit = std::max<qreal>(1, pen.width_px);
    for (const double length : pen.dash_px) pattern << length / unit;
    pen_.setDashPattern(pattern);
  }
  point_pen_ = pen_;
  point_pen_.setStyle(Qt::SolidLine);
  point_pen_.setCapStyle(Qt::RoundCap);
}

void QtPainter::DrawLines(std::span<const DeviceLine> lines) {
  static_assert(sizeof(DeviceLine) == sizeof(QLineF), "a line pair is four doubles");
  painter_.setPen(pen_);
  painter_.drawLines(reinterpret_cast<const QLineF*>(lines.data()), static_cast<int>(lines.size()));
}

void QtPainter::DrawPoints(std::span<const DevicePoint> points) {
  static_assert(sizeof(DevicePoint) == sizeof(QPointF), "a point is two doubles");
  painter_.setPen(point_pen_);
  painter_.drawPoints(reinterpret_cast<const QPointF*>(points.data()),
                      static_cast<int>(points.size()));
}

void QtPainter::FillPolygons(std::span<const DevicePoint> points, std::span<const uint32_t> counts,
                             uint32_t rgb) {
  QPainterPath path;
  path.setFillRule(Qt::WindingFill);  // overlapping solids both stay filled
  size_t at = 0;
  for (const uint32_t count : counts) {
    QPolygonF polygon;
    for (uint32_t i = 0; i < count; ++i, ++at) polygon << QPointF(points[at].x, points[at].y);
    path.addPolygon(polygon);
  }
  painter_.setPen(Qt::NoPen);
  painter_.setBrush(ColorOf(rgb));
  painter_.drawPath(path);
  painter_.setBrush(Qt::NoBrush);
}

double QtPainter::TextAdvance(std::string_view utf8) {
  return metrics_.horizontalAdvance(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

void QtPainter::DrawText(std::string_view utf8, DevicePoint anchor, double angle, double height_px,
                         double x_scale, uint32_t rgb) {
  const double glyph_scale = height_px / kTextReferencePixels;
  QTransform at;
  at.translate(anchor.x, anchor.y);
  at.rotateRadians(angle);
  at.scale(x_scale * glyph_scale, glyph_scale);
  painter_.setTransform(at);
  painter_.setFont(font_);
  painter_.setPen(ColorOf(rgb));
  painter_.drawText(QPointF(0, -metrics_.descent()),
                    QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
  painter_.resetTransform();
}

}  // namespace varnelko
