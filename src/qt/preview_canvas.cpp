#include "qt/preview_canvas.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "desktop/latest_job_runner.h"
#include "desktop/preview_drawing.h"
#include "desktop/shell_texts.h"
#include "qt/app_paths.h"
#include "qt/qt_painter.h"
#include "qt/qt_post.h"

namespace varnelko {

namespace {

constexpr double kWheelStep = 1.0015;  // zoom per eighth of a degree of wheel turn
// Drawings with more vertices than this are painted on the thread: a
// repaint of them takes longer than a frame.
constexpr int64_t kWorkPaintedHere = 300'000;
constexpr int kRestMs = 120;

QTransform ToQt(const ViewTransform& v) { return QTransform(v.m11, v.m12, v.m21, v.m22, v.dx, v.dy); }

ViewTransform FromQt(const QTransform& t) {
  return {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()};
}

}  // namespace

PreviewCanvas::PreviewCanvas(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PreviewCanvas"));
  setMinimumSize(80, 60);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::OpenHandCursor);
  runner_ = std::make_unique<LatestJobRunner>(QtPost());
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
  if (!keep_view || view_.fitted()) Fit();
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
  const QTransform view = ToQt(view_.transform()) * QTransform::fromScale(devicePixelRatioF(), devicePixelRatioF());
  runner_->Post([this, drawing = drawing_, view, size](const std::function<bool()>&) {
    QElapsedTimer timer;
    timer.start();
    QImage image(size, QImage::Format_RGB32);
    {
      QPainter painter(&image);
      QtPainter device(painter);
      drawing->Paint(device, FromQt(view), {0, 0, double(size.width()), double(size.height())});
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

QTransform PreviewCanvas::view() const { return ToQt(view_.transform()); }

void PreviewCanvas::Fit() {
  view_.Fit(drawing_ ? drawing_->Extent() : DeviceRect{}, width(), height());
  Moved();
}

void PreviewCanvas::Moved() {
  if (on_thread_) rest_.start();
  update();
}

void PreviewCanvas::ZoomAt(const QPointF& at, double factor) {
  if (!drawing_) return;
  view_.ZoomAt(drawing_->Extent(), width(), height(), {at.x(), at.y()}, factor);
  Moved();
}

void PreviewCanvas::Pan(const QPointF& by) {
  view_.Pan(by.x(), by.y());
  Moved();
}

void PreviewCanvas::paintEvent(QPaintEvent*) {
  QElapsedTimer timer;
  timer.start();
  QPainter painter(this);
  if (drawing_ && !on_thread_) {
    QtPainter device(painter);
    drawing_->Paint(device, view_.transform(), {0, 0, double(width()), double(height())});
  } else if (drawing_) {
    // The last picture, moved and scaled from its view to the current one.
    painter.fillRect(rect(), Qt::white);
    if (!picture_.isNull()) {
      painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
      painter.setTransform(picture_view_.inverted() * view());
      painter.drawImage(QPointF(0, 0), picture_);
    } else {
      painter.drawText(rect(), Qt::AlignCenter, Utf8(texts::kPainting));
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
  if (view_.fitted()) {
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
