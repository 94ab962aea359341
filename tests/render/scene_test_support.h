#pragma once
// Small hand-made drawings for the renderer's tests.
#include <numbers>

#include "document/cp932.h"
#include "document/jww_document.h"
#include "render/scene.h"
#include "support/document_builder.h"

namespace varnelko::test {

inline TEntHeader Pen(uint16_t color, uint8_t style = 1, uint16_t group = 0, uint16_t layer = 0) {
  TEntHeader h;
  h.pen_color = color;
  h.pen_style = style;
  h.layer_group = group;
  h.layer = layer;
  return h;
}

inline TEntSen LineOf(double x1, double y1, double x2, double y2, TEntHeader h = Pen(2)) {
  TEntSen e;
  e.header = h;
  e.start_x = x1, e.start_y = y1, e.end_x = x2, e.end_y = y2;
  return e;
}

inline TEntBlock InsertOf(int32_t number, double x, double y, double sx = 1, double sy = 1,
                          double angle = 0) {
  TEntBlock k;
  k.header = Pen(2);
  k.base_x = x, k.base_y = y, k.scale_x = sx, k.scale_y = sy, k.angle = angle;
  k.block_number = number;
  return k;
}

inline TEntBlockDef DefOf(int32_t number, const char* name) {
  TEntBlockDef d;
  d.number = number;
  d.name = name;
  return d;
}

// Every layer shown and no sheet that could leave items out of the print
// view: every record of `doc` is drawn.
inline void ShowEverything(JwwDocument& doc) {
  ShowAllLayers(doc);
  doc.header.paper_size = -1;
}

// A version 700 drawing on A0 paper, every layer group at scale 1 and
// every layer editable, as a new drawing has them.
inline JwwDocument EmptyDrawing() {
  JwwDocument doc;
  doc.header.version = 700;
  for (TLayerGroup& g : doc.layer_groups) g.scale = 1, g.state = 2;
  for (TLayer& l : doc.layers) l.state = 2;
  return doc;
}

}  // namespace varnelko::test
