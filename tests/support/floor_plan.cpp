#include "support/floor_plan.h"

#include "document/cp932.h"
#include "support/drafting.h"

namespace varnelko::test {
namespace {

constexpr double kScale = 50;  // 1:50, laid out here in real millimetres

enum Layer : uint16_t { kWall = 0, kFitting = 1, kFurniture = 2, kDims = 3, kText = 4, kGrid = 5, kDraft = 15 };

TEntSen Line(uint16_t layer, uint16_t color, double x1, double y1, double x2, double y2,
             uint8_t style = 1) {
  return test::Line(Pen(layer, color, style), x1, y1, x2, y2);
}

TEntEnko Arc(uint16_t layer, uint16_t color, double cx, double cy, double r, double start,
             double sweep, double flatness = 1, double tilt = 0) {
  return test::Arc(Pen(layer, color), cx, cy, r, start, sweep, flatness, tilt);
}

TEntMoji Text(uint16_t layer, const char* utf8, double x, double y, double size) {
  return test::Text(Pen(layer, 2), utf8, x, y, size, kScale);
}

void Rect(EntityList& l, uint16_t layer, uint16_t color, double x1, double y1, double x2, double y2) {
  test::Rect(l, Pen(layer, color), x1, y1, x2, y2);
}

TEntBlock Insert(int32_t number, double x, double y, double angle = 0, double sx = 1) {
  TEntBlock k;
  k.header = Pen(kFitting, 2);
  k.base_x = x, k.base_y = y, k.scale_x = sx, k.scale_y = 1, k.angle = angle;
  k.block_number = number;
  return k;
}

// A horizontal dimension from x1 to x2, its line at `y`, measured from `from_y`.
TEntSunpo Dimension(double x1, double x2, double y, double from_y) {
  return test::Dimension(Pen(kDims, 1), x1, from_y, x2, from_y, y - from_y, kScale, kScale);
}

TEntBlockDef Door() {
  TEntBlockDef def;
  def.number = 1;
  def.name = Utf8ToCp932("片開き戸");
  def.header = Pen(kFitting, 2);
  def.members.Add(Line(kFitting, 2, 0, 0, 0, 780));
  def.members.Add(Arc(kFitting, 2, 0, 0, 780, 0, kPi / 2));
  return def;
}

TEntBlockDef Window() {
  TEntBlockDef def;
  def.number = 2;
  def.name = Utf8ToCp932("引違い窓");
  def.header = Pen(kFitting, 2);
  def.members.Add(Line(kFitting, 2, 0, -60, 1690, -60));
  def.members.Add(Line(kFitting, 2, 0, 60, 1690, 60));
  def.members.Add(Line(kFitting, 2, 0, -20, 900, -20));
  def.members.Add(Line(kFitting, 2, 790, 20, 1690, 20));
  return def;
}

void Walls(EntityList& l) {
  // Outer walls 150 thick round 7280 x 5460, with a gap for the front door
  // and two for the windows; each gap closed across the wall.
  const double t = 75;
  for (double off : {-t, t}) {
    l.Add(Line(kWall, 2, -off, -off, 3640, -off));
    l.Add(Line(kWall, 2, 4520, -off, 7280 + off, -off));
    l.Add(Line(kWall, 2, 7280 + off, -off, 7280 + off, 5460 + off));
    l.Add(Line(kWall, 2, 7280 + off, 5460 + off, 6790, 5460 + off));
    l.Add(Line(kWall, 2, 5100, 5460 + off, 2890, 5460 + off));
    l.Add(Line(kWall, 2, 1200, 5460 + off, -off, 5460 + off));
    l.Add(Line(kWall, 2, -off, 5460 + off, -off, -off));
  }
  for (double x : {3640.0, 4520.0}) l.Add(Line(kWall, 2, x, -t, x, t));
  for (double x : {1200.0, 2890.0, 5100.0, 6790.0}) l.Add(Line(kWall, 2, x, 5460 - t, x, 5460 + t));
  // Inner wall between the living room and the bedroom, with a door gap.
  for (double off : {-50.0, 50.0}) {
    l.Add(Line(kWall, 2, 4550 + off, 0, 4550 + off, 2000));
    l.Add(Line(kWall, 2, 4550 + off, 2900, 4550 + off, 5460));
  }
  for (double y : {2000.0, 2900.0}) l.Add(Line(kWall, 2, 4500, y, 4600, y));
}

void Furniture(EntityList& l) {
  // Dining table and chairs, a sofa, a bed with its pillow, a kitchen sink.
  Rect(l, kFurniture, 3, 1200, 2300, 2600, 3100);
  for (double x : {1450.0, 2050.0}) {
    Rect(l, kFurniture, 3, x, 1900, x + 450, 2250);
    Rect(l, kFurniture, 3, x, 3150, x + 450, 3500);
  }
  Rect(l, kFurniture, 3, 300, 300, 2400, 1100);
  Rect(l, kFurniture, 3, 5000, 500, 7000, 2000);
  Rect(l, kFurniture, 3, 5000, 3200, 6950, 5200);
  Rect(l, kFurniture, 3, 5100, 4700, 6850, 5100);
  l.Add(Arc(kFurniture, 3, 700, 4500, 350, 0, 2 * kPi, 0.6, kPi / 6));  // a tilted oval basin
  TEntSolid counter;
  counter.header = Pen(kFurniture, 10);
  counter.corners = {{{200, 4800}, {3200, 4800}, {3200, 5300}, {200, 5300}}};
  counter.color = 0x00C8DCE6;  // a pale wood colour, as the drawing stores it
  l.Add(counter);
}

void GridAndDimensions(EntityList& l) {
  for (double x : {0.0, 3640.0, 7280.0}) {
    l.Add(Line(kGrid, 1, x, -1400, x, 6200, 5));
    l.Add(Arc(kGrid, 1, x, -1700, 300, 0, 2 * kPi));
  }
  l.Add(Text(kGrid, "X1", -100, -1800, 4));
  l.Add(Text(kGrid, "X2", 3540, -1800, 4));
  l.Add(Text(kGrid, "X3", 7180, -1800, 4));
  l.Add(Dimension(0, 3640, 6600, 5460));
  l.Add(Dimension(3640, 7280, 6600, 5460));
  l.Add(Dimension(0, 7280, 7300, 6600));
}

void Texts(EntityList& l) {
  l.Add(Text(kText, "居間・食堂", 1200, 3700, 5));
  l.Add(Text(kText, "寝室", 5400, 2300, 5));
  l.Add(Text(kText, "台所", 2300, 4200, 4));
  l.Add(Text(kText, "玄関", 3700, -1100, 4));
  l.Add(Text(kText, "1階平面図  S=1:50", 0, -3000, 7));
}

void Draft(EntityList& l) {
  // Construction lines in auxiliary colour 9: seen while drawing, never printed.
  l.Add(Line(kDraft, 9, -600, 2730, 7880, 2730));
  l.Add(Line(kDraft, 9, 4550, -600, 4550, 6000));
}

const char* const kLayerNames[16] = {"壁", "建具", "家具", "寸法", "文字", "通り芯", "", "",
                                     "", "", "", "", "", "", "", "下書き"};

}  // namespace

JwwDocument BuildFloorPlan() {
  JwwDocument doc = NewDrawing(700, "1階平面図 S=1:50", kScale, 3);
  doc.layer_groups[0].name = Utf8ToCp932("1F平面");
  for (int l = 0; l < 16; ++l) doc.layers[l].name = Utf8ToCp932(kLayerNames[l]);
  doc.layer_groups[1].name = Utf8ToCp932("図枠");
  EntityStore& s = doc.store;
  s.block_defs = {Door(), Window()};
  Walls(s);
  s.Add(Insert(1, 3640 + 830, 75, kPi / 2));  // front door, hinge on the right
  s.Add(Insert(1, 4550, 2010, 0, -1));        // bedroom door, mirrored
  s.Add(Insert(2, 1200, 5460));
  s.Add(Insert(2, 5100, 5460));
  Furniture(s);
  GridAndDimensions(s);
  Texts(s);
  Draft(s);
  // Laid out in real millimetres round the house; stored on paper, centred
  // on the A3 sheet.
  ToPaper(s, -3640, -2200, kScale);
  SheetFrame(s, 420, 297, 1, 0, "1階平面図", "S=1:50  A3", "A-101");
  return doc;
}

}  // namespace varnelko::test
