#include "support/sample_drawings.h"

#include <algorithm>
#include <cmath>

#include "document/cp932.h"
#include "support/drafting.h"

namespace varnelko::test {
namespace {

// A label: a leader from the point to the text's line, the text above it.
void Label(EntityList& l, const TEntHeader& h, double px, double py, double tx, double ty,
           const char* utf8, double size) {
  TEntMoji t = Text(h, utf8, tx, ty + 0.6, size);
  l.Add(Line(h, px, py, tx, ty));
  l.Add(Line(h, tx, ty, t.end_x, ty));
  l.Add(t);
}

TEntSolid Fill(const TEntHeader& h, double x1, double y1, double x2, double y2, int32_t colorref) {
  TEntSolid s;
  s.header = h;
  s.header.pen_color = 10;
  s.corners = {{{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}}};
  s.color = colorref;
  return s;
}

}  // namespace

JwwDocument BuildFoundationDetail() {
  constexpr double k = 20;  // 1:20, laid out in real millimetres
  JwwDocument doc = NewDrawing(600, "基礎詳細図 S=1:20", k, 4);
  const char* const layers[] = {"躯体", "仕上", "寸法", "文字"};
  for (int i = 0; i < 4; ++i) doc.layers[i].name = Utf8ToCp932(layers[i]);
  doc.layer_groups[0].name = Utf8ToCp932("詳細");
  EntityStore& s = doc.store;
  const TEntHeader body = Pen(0, 2), grey = Pen(0, 1), dims = Pen(2, 1), note = Pen(3, 2);
  s.Add(Fill(body, -300, 0, 300, 150, 0x00C8C8C8));
  s.Add(Fill(body, -75, 150, 75, 900, 0x00C8C8C8));
  Rect(s, body, -350, -50, 350, 0);     // lean concrete
  Rect(s, body, -300, 0, 300, 150);     // footing
  Rect(s, body, -75, 150, 75, 900);     // stem wall
  Rect(s, body, -60, 900, 60, 1020);    // sill, cut: crossed
  s.Add(Line(body, -60, 900, 60, 1020));
  s.Add(Line(body, -60, 1020, 60, 900));
  s.Add(Line(Pen(0, 6, 2), 0, 420, 0, 1060));  // anchor bolt, hidden in the concrete
  for (int i = 0; i < 14; ++i) {               // gravel as a zigzag under the footing
    const double x = -350 + i * 50;
    s.Add(Line(grey, x, i % 2 ? -150 : -50, x + 50, i % 2 ? -50 : -150));
  }
  s.Add(Line(Pen(1, 2, 1), -800, 500, 800, 500));  // ground line
  s.Add(Text(note, "▽GL", 450, 520, 3, k));
  s.Add(Dimension(dims, -300, 0, 300, 0, -300, 1, 1));
  s.Add(Dimension(dims, 75, 900, 75, 150, -450, 1, 1));
  s.Add(Dimension(dims, 300, 150, 300, 0, 250, 1, 1));
  ToPaper(s, 0, -450, k);
  const double labels[][3] = {{60, 960, 1150}, {0, 1060, 1300}, {75, 700, 760}, {300, 75, 250}, {350, -25, 20}};
  const char* const texts[] = {"土台 120×120", "アンカーボルト M12", "基礎立上り 150", "ベース 600", "捨てコンクリート"};
  for (int i = 0; i < 5; ++i) {
    Label(s, note, labels[i][0] / k, (labels[i][1] - 450) / k, 40, (labels[i][2] - 450) / k, texts[i], 3);
  }
  Label(s, note, 200 / k, (-100 - 450) / k, 40, (-250 - 450) / k, "砕石 t=100", 3);
  TEntMoji title = Text(note, "基礎詳細図  S=1:20", -60, 65, 5);
  s.Add(title);
  SheetFrame(s, 297, 210, 0, 4, "基礎詳細図", "S=1:20  A4", "S-201");
  doc.layers[4].name = Utf8ToCp932("図枠");
  return doc;
}

JwwDocument BuildOldSitePlan() {
  constexpr double k = 200;  // 1:200, laid out in real millimetres
  JwwDocument doc = NewDrawing(351, "配置図 S=1:200 (旧形式)", k, 3);
  const char* const layers[] = {"敷地", "建物", "道路", "寸法", "文字"};
  for (int i = 0; i < 5; ++i) doc.layers[i].name = Utf8ToCp932(layers[i]);
  EntityStore& s = doc.store;
  const TEntHeader site = Pen(0, 5, 6), house = Pen(1, 2), road = Pen(2, 1), dims = Pen(3, 1),
                   note = Pen(4, 2);
  // Site 15 m by 20 m, the road along its south edge.
  Rect(s, site, 0, 0, 15000, 20000);
  Rect(s, house, 3000, 5000, 12000, 13000);
  for (int i = 1; i < 9; ++i) s.Add(Line(Pen(1, 3), 3000 + i * 1000, 5000, 3000 + i * 1000, 13000));
  s.Add(Line(road, -3000, -500, 18000, -500));
  s.Add(Line(road, -3000, -6500, 18000, -6500));
  s.Add(Line(Pen(2, 1, 5), -3000, -3500, 18000, -3500));  // centre line of the road
  s.Add(Text(note, "道路 幅員6.0m", 5500, -3200, 4, k));
  s.Add(Text(note, "住宅 木造2階建", 5000, 9000, 4, k));
  s.Add(Text(note, "敷地面積 300.00m2", 9000, 20800, 3.5, k));
  s.Add(Dimension(dims, 0, 20000, 15000, 20000, 2000, 1, 1));
  s.Add(Dimension(dims, 0, 0, 0, 20000, 2000, 1, 1));
  s.Add(Dimension(dims, 3000, 5000, 3000, 13000, 1500, 1, 1));
  // North arrow.
  s.Add(Arc(note, 20000, 17000, 1500));
  s.Add(Line(note, 20000, 15300, 20000, 18700));
  s.Add(Line(note, 19400, 16000, 20000, 18700));
  s.Add(Line(note, 20600, 16000, 20000, 18700));
  s.Add(Text(note, "N", 19700, 19000, 4, k));
  ToPaper(s, -8500, -7000, k);
  SheetFrame(s, 420, 297, 0, 5, "配置図", "S=1:200  A3", "A-001");
  doc.layers[5].name = Utf8ToCp932("図枠");
  return doc;
}

JwsDocument BuildToiletFigure() {
  JwsDocument doc;
  doc.signature = "JwsData";
  doc.version = 600;
  doc.group_scales.fill(50);
  for (int i = 0; i < 6; ++i) doc.header_ints[i] = i + 1, doc.header_doubles[i] = i + 1;
  TEntBlockDef def;
  def.number = 1;
  def.name = Utf8ToCp932("洋便器");
  const TEntHeader line = Pen(1, 2), thin = Pen(1, 1);
  // Tank 450 x 200 and bowl 360 x 480 at 1:50, the seat inside the bowl.
  Rect(def.members, line, -4.5, 0, 4.5, 4);
  def.members.Add(Line(thin, -4, 0.6, 4, 0.6));
  def.members.Add(Arc(line, 0, -4.8, 4.8, 0, 2 * kPi, 0.75, kPi / 2));
  def.members.Add(Arc(thin, 0, -4.4, 3.6, 0, 2 * kPi, 0.7, kPi / 2));
  def.members.Add(Text(Pen(1, 2), "洋便器", -3.75, -13, 2.5));
  TEntBlock insert;
  insert.header = line;
  insert.scale_x = insert.scale_y = 1;
  insert.block_number = 1;
  doc.store.block_defs = {def};
  doc.store.Add(insert);
  // The figure's base point and extent, as a saved figure carries them.
  doc.leading1 = 0, doc.leading2 = 0;
  doc.header_doubles[6] = -4.5, doc.header_doubles[7] = -13;
  doc.header_doubles[8] = 4.5, doc.header_doubles[9] = 4;
  return doc;
}

}  // namespace varnelko::test
