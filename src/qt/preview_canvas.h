#pragma once
// The picture of the preview pane: a prepared drawing fitted to the widget,
// zoomed by the mouse wheel around the cursor, moved by dragging, fitted
// again by a double click; or a message instead of a picture. A drawing too
// big to paint at every step is painted on a thread of its own: meanwhile
// its last picture follows the zoom and the move, and the sharp one replaces
// it once the mouse rests.
#include <QImage>
#include <QTimer>
#include <QTransform>
#include <QWidget>
#include <memory>

#include "desktop/view_transform.h"

namespace varnelko {

class LatestJobRunner;
class PreviewDrawing;

class PreviewCanvas : public QWidget {
  Q_OBJECT
 public:
  explicit PreviewCanvas(QWidget* parent = nullptr);
  ~PreviewCanvas() override;

  // Shows `drawing`; `keep_view` keeps the zoom and position (the same
  // drawing in another view), otherwise it is fitted.
  void SetDrawing(std::shared_ptr<const PreviewDrawing> drawing, bool keep_view);
  // Shows `text` instead of a picture.
  void SetMessage(const QString& text);
  void Fit();
  // Zooms by `factor` keeping the drawing point under `at` where it is.
  void ZoomAt(const QPointF& at, double factor);
  void Pan(const QPointF& by);

  const PreviewDrawing* drawing() const { return drawing_.get(); }
  // Drawing coordinates to pixels.
  QTransform view() const;
  const QString& message() const { return message_; }
  // A sharp picture of a big drawing is still to come.
  bool PicturePending() const;
  double last_paint_ms() const { return last_paint_ms_; }  // the last paintEvent
  double last_picture_ms() const {
    return last_picture_ms_;
  }  // the last picture painted on the thread

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void AskPicture();
  void Moved();  // after the view changed

  std::shared_ptr<const PreviewDrawing> drawing_;
  bool on_thread_ = false;  // the drawing is painted on the thread only
  QString message_;
  std::unique_ptr<LatestJobRunner> runner_;
  QTimer rest_;              // the mouse has rested: paint a sharp picture
  QImage picture_;           // painted on the thread ...
  QTransform picture_view_;  // ... through this view
  double last_picture_ms_ = 0;
  PreviewView view_;  // drawing coordinates to widget pixels
  bool dragging_ = false;
  QPointF drag_from_;
  double last_paint_ms_ = 0;
};

}  // namespace varnelko
