#include "support/drafting.h"

#include <cmath>

#include "document/cp932.h"
#include "render/geometry.h"

namespace varnelko::test {

TEntHeader Pen(uint16_t layer, uint16_t color, uint8_t style, uint16_t group) {
  TEntHeader h;
  h.layer = layer;
  h.layer_group = group;
  h.pen_color = color;
  h.pen_style = style;
  return h;
}

TEntSen Line(const TEntHeader& h, double x1, double y1, double x2, double y2) {
  TEntSen e;
  e.header = h;
  e.start_x = x1, e.start_y = y1, e.end_x = x2, e.end_y = y2;
  return e;
}

TEntEnko Arc(const TEntHeader& h, double cx, double cy, double r, double start, double sweep,
             double flatness, double tilt) {
  TEntEnko e;
  e.header = h;
  e.center_x = cx, e.center_y = cy, e.radius = r;
  e.start_angle = start, e.arc_angle = sweep, e.tilt_angle = tilt, e.flatness = flatness;
  e.full_circle = sweep >= 2 * kPi ? 1 : 0;
  return e;
}

TEntMoji Text(const TEntHeader& h, const char* utf8, double x, double y, double size,
              double units_per_mm) {
  TEntMoji t;
  t.header = h;
  t.text = Utf8ToCp932(utf8);
  t.start_x = x, t.start_y = y;
  t.end_x = x + render::TextPaperLength(t.text, size, 0) * units_per_mm, t.end_y = y;
  t.size_x = t.size_y = size;
  t.font = Utf8ToCp932("ＭＳ ゴシック");
  return t;
}

void Rect(EntityList& l, const TEntHeader& h, double x1, double y1, double x2, double y2) {
  l.Add(Line(h, x1, y1, x2, y1));
  l.Add(Line(h, x2, y1, x2, y2));
  l.Add(Line(h, x2, y2, x1, y2));
  l.Add(Line(h, x1, y2, x1, y1));
}

TEntSunpo Dimension(const TEntHeader& h, double x1, double y1, double x2, double y2, double offset,
                    double scale, double units_per_mm) {
  const double length = std::hypot(x2 - x1, y2 - y1);
  const double ux = (x2 - x1) / length, uy = (y2 - y1) / length;
  const double nx = -uy * offset, ny = ux * offset;  // to the left of the direction
  TEntSunpo d;
  d.header = h;
  d.line = Line(h, x1 + nx, y1 + ny, x2 + nx, y2 + ny);
  const std::string value = std::to_string(std::lround(length / units_per_mm * scale));
  d.text = Text(h, value.c_str(), 0, 0, 2.5, units_per_mm);
  const double text_length = d.text.end_x;
  const double gap = 0.8 * units_per_mm;  // the text stands clear of its line
  const double mx = (x1 + x2) / 2 + nx - ux * text_length / 2 - uy * gap;
  const double my = (y1 + y2) / 2 + ny - uy * text_length / 2 + ux * gap;
  d.text.start_x = mx, d.text.start_y = my;
  d.text.end_x = mx + ux * text_length, d.text.end_y = my + uy * text_length;
  d.text.angle = std::atan2(uy, ux) * 180 / kPi;
  const double over = (offset > 0 ? 1 : -1) * 1.5 * units_per_mm;
  d.aux_lines[0] = Line(h, x1, y1, x1 + nx + over * -uy, y1 + ny + over * ux);
  d.aux_lines[1] = Line(h, x2, y2, x2 + nx + over * -uy, y2 + ny + over * ux);
  const double xs[] = {x1 + nx, x2 + nx, x1, x2}, ys[] = {y1 + ny, y2 + ny, y1, y2};
  for (int i = 0; i < 4; ++i) {
    d.points[i].header = h;
    d.points[i].header.pen_style = 0;
    d.points[i].x = xs[i], d.points[i].y = ys[i];
  }
  return d;
}

namespace {

struct Move {
  double sx, sy, k;
  void operator()(double& x, double& y) const { x = (x + sx) / k, y = (y + sy) / k; }
  void operator()(TEntSen& e) const { (*this)(e.start_x, e.start_y), (*this)(e.end_x, e.end_y); }
  void operator()(TEntTen& e) const { (*this)(e.x, e.y); }
  void operator()(TEntMoji& e) const { (*this)(e.start_x, e.start_y), (*this)(e.end_x, e.end_y); }
  void operator()(TEntEnko& e) const { (*this)(e.center_x, e.center_y), e.radius /= k; }
  void operator()(TEntSolid& e) const {
    for (TSolidCorner& c : e.corners) (*this)(c.x, c.y);
  }
  void operator()(TEntBlock& e) const { (*this)(e.base_x, e.base_y); }
  void operator()(TEntSunpo& e) const {
    (*this)(e.line), (*this)(e.text);
    for (TEntSen& l : e.aux_lines) (*this)(l);
    for (TEntTen& p : e.points) (*this)(p);
  }
  void operator()(EntityList& l) const {
    for (auto& e : l.lines) (*this)(e);
    for (auto& e : l.arcs) (*this)(e);
    for (auto& e : l.points) (*this)(e);
    for (auto& e : l.texts) (*this)(e);
    for (auto& e : l.dimensions) (*this)(e);
    for (auto& e : l.solids) (*this)(e);
    for (auto& e : l.blocks) (*this)(e);
  }
};

}  // namespace

void ToPaper(EntityStore& store, double shift_x, double shift_y, double units_per_mm) {
  Move{shift_x, shift_y, units_per_mm}(store);
  // A block's members sit round its own origin: they only shrink.
  for (TEntBlockDef& def : store.block_defs) Move{0, 0, units_per_mm}(def.members);
}

JwwDocument NewDrawing(int32_t version, const char* memo, double scale, int32_t paper_code) {
  JwwDocument doc;
  doc.header.signature = "JwwData.";
  doc.header.version = version;
  doc.header.memo = Utf8ToCp932(memo);
  doc.header.paper_size = paper_code;
  for (TLayerGroup& g : doc.layer_groups) g.scale = scale, g.state = 2;
  for (TLayer& l : doc.layers) l.state = 2;
  doc.layer_groups[0].state = 3;
  doc.layers[0].state = 3;
  return doc;
}

void SheetFrame(EntityList& l, double width, double height, uint16_t group, uint16_t layer,
                const char* title, const char* scale, const char* number) {
  const TEntHeader thick = Pen(layer, 2, 1, group), thin = Pen(layer, 1, 1, group);
  const double x0 = -width / 2 + 10, y0 = -height / 2 + 10, x1 = width / 2 - 10, y1 = height / 2 - 10;
  Rect(l, thick, x0, y0, x1, y1);
  // Title block: 120 x 24, three rows.
  const double tx = x1 - 120, ty = y0 + 24;
  l.Add(Line(thick, tx, y0, tx, ty));
  l.Add(Line(thick, tx, ty, x1, ty));
  l.Add(Line(thin, tx, y0 + 12, x1, y0 + 12));
  l.Add(Line(thin, x1 - 40, y0, x1 - 40, y0 + 12));
  l.Add(Text(thick, title, tx + 4, y0 + 15, 6));
  l.Add(Text(thick, scale, tx + 4, y0 + 4, 3.5));
  l.Add(Text(thick, number, x1 - 36, y0 + 4, 3.5));
}

}  // namespace varnelko::test
