#include "app/preview_canvas.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "app/preview_drawing.h"

namespace varnelko {

namespace {

constexpr double kMargin = 8;             // pixels around a fitted drawing
constexpr double kWheelStep = 1.0015;     // zoom per eighth of a degree of wheel turn
constexpr double kMaxZoomIn = 1e6;        // beyond the fitted scale
constexpr double kMaxZoomOut = 1e-3;

}  // namespace

PreviewCanvas::PreviewCanvas(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PreviewCanvas"));
  setMinimumSize(80, 60);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::OpenHandCursor);
}

PreviewCanvas::~PreviewCanvas() = default;

void PreviewCanvas::SetDrawing(std::shared_ptr<const PreviewDrawing> drawing, bool keep_view) {
  drawing_ = std::move(drawing);
  message_.clear();
  if (!keep_view || fitted_) Fit();
  update();
}

void PreviewCanvas::SetMessage(const QString& text) {
  drawing_.reset();
  message_ = text;
  update();
}

void PreviewCanvas::Fit() {
  fitted_ = true;
  const QRectF extent = drawing_ ? drawing_->Extent() : QRectF();
  const double w = std::max(1.0, width() - 2 * kMargin), h = std::max(1.0, height() - 2 * kMargin);
  // A single point or a line along an axis has no area; it still gets a scale.
  const double ew = std::max(extent.width(), extent.height() * 1e-3),
               eh = std::max(extent.height(), extent.width() * 1e-3);
  const double scale = ew > 0 || eh > 0 ? std::min(w / std::max(ew, 1e-9), h / std::max(eh, 1e-9)) : 1;
  // y grows upwards in the drawing and downwards on screen.
  view_ = QTransform::fromTranslate(-extent.center().x(), -extent.center().y()) *
          QTransform::fromScale(scale, -scale) *
          QTransform::fromTranslate(width() / 2.0, height() / 2.0);
  update();
}

void PreviewCanvas::ZoomAt(const QPointF& at, double factor) {
  if (!drawing_) return;
  const double scale = std::sqrt(std::fabs(view_.determinant()));
  const QRectF extent = drawing_->Extent();
  const double fit = std::min(width() / std::max(extent.width(), 1e-9),
                              height() / std::max(extent.height(), 1e-9));
  factor = std::clamp(scale * factor, fit * kMaxZoomOut, fit * kMaxZoomIn) / scale;
  view_ = view_ * QTransform::fromTranslate(-at.x(), -at.y()) * QTransform::fromScale(factor, factor) *
          QTransform::fromTranslate(at.x(), at.y());
  fitted_ = false;
  update();
}

void PreviewCanvas::Pan(const QPointF& by) {
  view_ = view_ * QTransform::fromTranslate(by.x(), by.y());
  fitted_ = false;
  update();
}

void PreviewCanvas::paintEvent(QPaintEvent*) {
  QElapsedTimer timer;
  timer.start();
  QPainter painter(this);
  if (drawing_) {
    drawing_->Paint(painter, view_, rect());
  } else {
    painter.fillRect(rect(), palette().window());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, message_);
  }
  last_paint_ms_ = timer.nsecsElapsed() / 1e6;
}

void PreviewCanvas::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (fitted_) Fit();
}

void PreviewCanvas::wheelEvent(QWheelEvent* event) {
  ZoomAt(event->position(), std::pow(kWheelStep, event->angleDelta().y()));
  event->accept();
}

void PreviewCanvas::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = true;
  drag_from_ = event->position();
  setCursor(Qt::ClosedHandCursor);
}

void PreviewCanvas::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  Pan(event->position() - drag_from_);
  drag_from_ = event->position();
}

void PreviewCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = false;
  setCursor(Qt::OpenHandCursor);
}

void PreviewCanvas::mouseDoubleClickEvent(QMouseEvent*) { Fit(); }

}  // namespace varnelko
