#pragma once
// A scene made ready for QPainter once, off the user-interface thread: its
// items grouped by look and by region of the drawing, so that a repaint
// walks a few hundred groups, skips those outside the view, and hands the
// lines of each group to the painter a few thousand at a time.
#include <QColor>
#include <QPainterPath>
#include <QRectF>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "render/scene.h"

class QPainter;
class QTransform;

namespace varnelko {

class PreviewDrawing {
 public:
  explicit PreviewDrawing(render::Scene scene);

  // What the scene covers, drawing coordinates (y up); empty for nothing drawn.
  QRectF Extent() const { return extent_; }
  int64_t Items() const { return static_cast<int64_t>(scene_.items.size()); }
  // Vertices of the items, texts counting four: the work of a whole picture.
  int64_t Work() const { return work_; }

  // Paints through `view`, which maps drawing coordinates to the device;
  // `device` is the area to fill. Not on two threads at once.
  void Paint(QPainter& painter, const QTransform& view, const QRectF& device) const;

 private:
  struct Look {
    QColor color;
    float width = 1;
    uint8_t dash = 0;
    bool mark = false;  // a change mark: wide, round ends, under the entities
  };
  // One look's items in one region of the drawing: indexes into the scene's
  // items, or into its marks for a mark batch.
  struct Batch {
    int look = 0;
    bool marks = false;
    QRectF bounds;
    std::vector<uint32_t> items;
    size_t segments = 0;
    QPainterPath fill;  // the solids, filled
  };

  void AddItems(const std::vector<render::SceneItem>& items, bool marks);
  int LookOf(const render::SceneItem& item, bool mark);
  Batch& BatchOf(int look, const QRectF& bounds, bool mark);
  // `precise`: antialiased, every pen at its width; else the quick picture.
  void PaintBatch(QPainter& painter, const QTransform& view, const Batch& batch,
                  const QRectF& device, bool precise) const;
  void PaintTexts(QPainter& painter, const QTransform& view, const QRectF& visible,
                  const QRectF& device) const;

  render::Scene scene_;
  QRectF extent_;
  QRectF frame_;  // what the regions divide
  int64_t work_ = 0;
  std::vector<Look> looks_;
  std::vector<Batch> batches_;   // marks first: they lie under the entities
  std::vector<uint32_t> texts_;  // items that are texts
  std::vector<QRectF> text_bounds_;
  mutable std::vector<double> advances_;  // of each text at the reference size, once painted
  // Looks and batches by their keys while building.
  std::unordered_map<uint64_t, int> look_index_, batch_index_;
};

}  // namespace varnelko
