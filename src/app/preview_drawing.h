#pragma once
// A scene made ready for QPainter once, off the user-interface thread: its
// strokes grouped by look and by region of the drawing, so that a repaint
// walks a few hundred batches, skips those outside the view, and hands each
// batch to the painter in one call.
#include <QColor>
#include <QLineF>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "render/scene.h"

class QPainter;

namespace varnelko {

class PreviewDrawing {
 public:
  explicit PreviewDrawing(const render::Scene& scene);

  // What the scene covers, drawing coordinates (y up); empty for nothing drawn.
  QRectF Extent() const { return extent_; }
  int64_t Items() const { return items_; }

  // Paints through `view`, which maps drawing coordinates to the device;
  // `device` is the area to fill.
  void Paint(QPainter& painter, const QTransform& view, const QRectF& device) const;

 private:
  struct Look {
    QColor color;
    float width = 1;
    uint8_t dash = 0;
    bool mark = false;  // a change mark: wide, translucent, round ends
  };
  // One look's strokes, fills and points in one region of the drawing.
  struct Batch {
    int look = 0;
    QRectF bounds;
    std::vector<QLineF> lines;
    std::vector<QPointF> points;
    QPainterPath fill;
  };
  struct Text {
    QString text;
    QPointF anchor;
    double angle = 0;  // radians, counter-clockwise
    double height = 0, length = 0;
    QRectF bounds;
    int look = 0;
  };

  void AddItems(const render::Scene& scene, const std::vector<render::SceneItem>& items,
                bool marks);
  int LookOf(const render::SceneItem& item, bool mark);
  Batch& BatchOf(int look, const QRectF& bounds, bool mark);
  void PaintBatches(QPainter& painter, const std::vector<Batch>& batches, const QRectF& visible) const;
  void PaintTexts(QPainter& painter, const QTransform& view, const QRectF& visible) const;

  QRectF extent_;
  int64_t items_ = 0;
  std::vector<Look> looks_;
  std::vector<Batch> batches_;  // the drawing
  std::vector<Batch> marks_;    // painted over it
  std::vector<Text> texts_;
  mutable std::vector<double> advances_;  // of each text at the reference size, once painted
  // Looks and batches by their keys while building.
  std::unordered_map<uint64_t, int> look_index_, batch_index_;
};

}  // namespace varnelko
