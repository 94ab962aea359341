#pragma once
// A scene made ready for painting once, off the user-interface thread: its
// items grouped by look and by region of the drawing, so that a repaint
// walks a few hundred groups, skips those outside the view, and hands the
// lines of each group to the painter a few thousand at a time.
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "desktop/painter.h"
#include "desktop/view_transform.h"
#include "render/scene.h"

namespace varnelko {

// A box in drawing coordinates; unlike a rectangle it may have no width or
// no height, as every axis-parallel line's box has.
struct DrawingBox {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  bool Overlaps(const DrawingBox& other) const {
    return x0 <= other.x1 && other.x0 <= x1 && y0 <= other.y1 && other.y0 <= y1;
  }
  void Unite(const DrawingBox& other);
};

class PreviewDrawing {
 public:
  explicit PreviewDrawing(render::Scene scene);

  // What the scene covers, drawing coordinates (y up, `top` the lowest y);
  // empty for nothing drawn.
  DeviceRect Extent() const { return extent_; }
  int64_t Items() const { return static_cast<int64_t>(scene_.items.size()); }
  // Vertices of the items, texts counting four: the work of a whole picture.
  int64_t Work() const { return work_; }

  // Paints through `view`, which maps drawing coordinates to the device;
  // `device` is the area to fill. Not on two threads at once.
  void Paint(Painter& painter, const ViewTransform& view, const DeviceRect& device) const;

 private:
  struct Look {
    uint32_t rgb = 0;
    float width = 1;
    uint8_t dash = 0;
    bool mark = false;  // a change mark: wide, round ends, under the entities
  };
  // One look's items in one region of the drawing: indexes into the scene's
  // items, or into its marks for a mark batch.
  struct Batch {
    int look = 0;
    bool marks = false;
    DrawingBox bounds;
    std::vector<uint32_t> items;
    size_t segments = 0;
    std::vector<uint32_t> fills;  // the solids, filled
  };

  void AddItems(const std::vector<render::SceneItem>& items, bool marks);
  int LookOf(const render::SceneItem& item, bool mark);
  Batch& BatchOf(int look, const DrawingBox& bounds, bool mark);
  // `precise`: antialiased, every pen at its width; else the quick picture.
  void PaintBatch(Painter& painter, const ViewTransform& view, const Batch& batch,
                  const DeviceRect& device, bool precise) const;
  void PaintPaper(Painter& painter, const ViewTransform& view, const DeviceRect& device) const;
  void PaintFills(Painter& painter, const ViewTransform& view, const Batch& batch) const;
  void PaintTexts(Painter& painter, const ViewTransform& view, const DrawingBox& visible,
                  const DeviceRect& device) const;

  render::Scene scene_;
  DeviceRect extent_;
  DrawingBox frame_;  // what the regions divide
  int64_t work_ = 0;
  std::vector<Look> looks_;
  std::vector<Batch> batches_;   // marks first: they lie under the entities
  std::vector<uint32_t> texts_;  // items that are texts
  std::vector<DrawingBox> text_bounds_;
  mutable std::vector<double> advances_;  // of each text at the reference size, once painted
  // Looks and batches by their keys while building.
  std::unordered_map<uint64_t, int> look_index_, batch_index_;
};

}  // namespace varnelko
