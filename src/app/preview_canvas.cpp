#include "app/preview_canvas.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "app/latest_job_runner.h"
#include "app/preview_drawing.h"

namespace varnelko {

namespace {

constexpr double kMargin = 8;          // pixels around a fitted drawing
constexpr double kWheelStep = 1.0015;  // zoom per eighth of a degree of wheel turn
constexpr double kMaxZoomIn = 1e6;     // beyond the fitted scale
constexpr double kMaxZoomOut = 1e-3;
// Drawings with more vertices than this are painted on the thread: a
// repaint of them takes longer than a frame.
constexpr int64_t kWorkPaintedHere = 300'000;
constexpr int kRestMs = 120;

}  // namespace

PreviewCanvas::PreviewCanvas(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PreviewCanvas"));
  setMinimumSize(80, 60);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::OpenHandCursor);
  runner_ = new LatestJobRunner(this);
  rest_.setSingleShot(true);
  rest_.setInterval(kRestMs);
  connect(&rest_, &QTimer::timeout, this, [this] { AskPicture(); });
}

PreviewCanvas::~PreviewCanvas() = default;

void PreviewCanvas::SetDrawing(std::shared_ptr<const PreviewDrawing> drawing, bool keep_view) {
  drawing_ = std::move(drawing);
  on_thread_ = drawing_->Work() > kWorkPaintedHere;
  message_.clear();
  // Another view of the same drawing keeps the last picture until its own comes.
  if (!keep_view || !on_thread_) picture_ = QImage();
  if (!keep_view || fitted_) Fit();
  runner_->Cancel();
  rest_.stop();
  if (on_thread_) AskPicture();
  update();
}

void PreviewCanvas::SetMessage(const QString& text) {
  drawing_.reset();
  picture_ = QImage();
  runner_->Cancel();
  rest_.stop();
  message_ = text;
  update();
}

bool PreviewCanvas::PicturePending() const { return runner_->Pending() || rest_.isActive(); }

void PreviewCanvas::AskPicture() {
  if (!drawing_ || !on_thread_) return;
  const QSize size = this->size() * devicePixelRatioF();
  const QTransform view = view_ * QTransform::fromScale(devicePixelRatioF(), devicePixelRatioF());
  runner_->Post([this, drawing = drawing_, view, size](const std::function<bool()>&) {
    QElapsedTimer timer;
    timer.start();
    QImage image(size, QImage::Format_RGB32);
    {
      QPainter painter(&image);
      drawing->Paint(painter, view, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    const double ms = timer.nsecsElapsed() / 1e6;
    return LatestJobRunner::Delivery([this, image = std::move(image), view, ms]() mutable {
      picture_ = std::move(image);
      picture_view_ = view;
      last_picture_ms_ = ms;
      update();
    });
  });
}

void PreviewCanvas::Fit() {
  fitted_ = true;
  const QRectF extent = drawing_ ? drawing_->Extent() : QRectF();
  const double w = std::max(1.0, width() - 2 * kMargin), h = std::max(1.0, height() - 2 * kMargin);
  // A single point or a line along an axis has no area; it still gets a scale.
  const double ew = std::max(extent.width(), extent.height() * 1e-3),
               eh = std::max(extent.height(), extent.width() * 1e-3);
  const double scale =
      ew > 0 || eh > 0 ? std::min(w / std::max(ew, 1e-9), h / std::max(eh, 1e-9)) : 1;
  // y grows upwards in the drawing and downwards on screen.
  view_ = QTransform::fromTranslate(-extent.center().x(), -extent.center().y()) *
          QTransform::fromScale(scale, -scale) *
          QTransform::fromTranslate(width() / 2.0, height() / 2.0);
  Moved();
}

void PreviewCanvas::Moved() {
  if (on_thread_) rest_.start();
  update();
}

void PreviewCanvas::ZoomAt(const QPointF& at, double factor) {
  if (!drawing_) return;
  const double scale = std::sqrt(std::fabs(view_.determinant()));
  const QRectF extent = drawing_->Extent();
  const double fit = std::min(width() / std::max(extent.width(), 1e-9),
                              height() / std::max(extent.height(), 1e-9));
  factor = std::clamp(scale * factor, fit * kMaxZoomOut, fit * kMaxZoomIn) / scale;
  view_ = view_ * QTransform::fromTranslate(-at.x(), -at.y()) *
          QTransform::fromScale(factor, factor) * QTransform::fromTranslate(at.x(), at.y());
  fitted_ = false;
  Moved();
}

void PreviewCanvas::Pan(const QPointF& by) {
  view_ = view_ * QTransform::fromTranslate(by.x(), by.y());
  fitted_ = false;
  Moved();
}

void PreviewCanvas::paintEvent(QPaintEvent*) {
  QElapsedTimer timer;
  timer.start();
  QPainter painter(this);
  if (drawing_ && !on_thread_) {
    drawing_->Paint(painter, view_, rect());
  } else if (drawing_) {
    // The last picture, moved and scaled from its view to the current one.
    painter.fillRect(rect(), Qt::white);
    if (!picture_.isNull()) {
      painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
      painter.setTransform(picture_view_.inverted() * view_);
      painter.drawImage(QPointF(0, 0), picture_);
    } else {
      painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("描画中…"));
    }
  } else {
    painter.fillRect(rect(), palette().window());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, message_);
  }
  last_paint_ms_ = timer.nsecsElapsed() / 1e6;
}

void PreviewCanvas::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (fitted_) {
    Fit();
  } else {
    Moved();
  }
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
