#include "support/document_builder.h"

#include <fstream>
#include <string>

#include "document/bound_images.h"

namespace varnelko::test {
namespace {

// Code page 932 words. Some trail bytes are 0x5C ("\") or 0x5E ("^"), which
// a careless single-byte cleaner would split or take for a "^m" pair.
const char* const kJapaneseWords[] = {
    "\x95\xB6\x8E\x9A",                  // 文字
    "\x90\x7D\x96\xCA",                  // 図面
    "\x83\x8C\x83\x43\x83\x84",          // レイヤ
    "\x83\x5C\x81\x5Em",                 // ソ／m
    "\x90\xA1\x96\x40",                  // 寸法
    "\x95\x94\x95\x69",                  // 部品
    "\x95\x5C",                          // 表
};
const char* const kAsciiWords[] = {"wall", "door", "A-12", "grid", "stair", "room", "roof"};
const char kGothicFont[] = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳ ゴシック

// A small deterministic generator (splitmix64): the same seed gives the same
// document on every platform, unlike the standard distributions.
class Rng {
 public:
  explicit Rng(uint32_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int32_t Range(int32_t lo, int32_t hi) {  // inclusive
    return lo + static_cast<int32_t>(Next() % (static_cast<uint64_t>(int64_t{hi} - lo) + 1));
  }
  bool Chance(int percent) { return Range(0, 99) < percent; }
  // Coordinates with a few fractional bits, negative ones included.
  double Coord() { return static_cast<double>(Range(-800000, 800000)) / 64.0; }
  double Angle() { return static_cast<double>(Range(0, 2880)) / 8.0; }

 private:
  uint64_t state_;
};

class Builder {
 public:
  Builder(const BuildOptions& options) : o_(options), rng_(options.seed) {}

  // A header that every writer check keeps unchanged at this version.
  TEntHeader Header(int norm_type) {
    TEntHeader h;
    h.group = rng_.Range(0, 40);
    h.layer = static_cast<uint16_t>(rng_.Range(0, 15));
    h.layer_group = static_cast<uint16_t>(rng_.Range(0, 15));
    h.flags = static_cast<uint16_t>(rng_.Chance(20) ? rng_.Range(0, 0xFFFF) : 0);
    h.pen_width = o_.version >= 351 ? static_cast<uint16_t>(rng_.Range(0, 30000)) : 0;
    h.pen_style = static_cast<uint8_t>(Style(norm_type));
    h.pen_color = static_cast<uint16_t>(Color(norm_type));
    return h;
  }

  std::string Word() {
    bool japanese = o_.japanese_text && rng_.Chance(50);
    return japanese ? kJapaneseWords[rng_.Range(0, 6)] : kAsciiWords[rng_.Range(0, 6)];
  }

  // 20 to 40 bytes of clean text.
  std::string Sentence() {
    std::string s = Word();
    size_t target = static_cast<size_t>(rng_.Range(20, 40));
    while (s.size() < target) s += (rng_.Chance(30) ? " " : "") + Word();
    return s;
  }

  TEntSen Line(int norm_type = 1) {
    TEntSen e;
    e.header = Header(norm_type);
    e.start_x = rng_.Coord(), e.start_y = rng_.Coord();
    e.end_x = rng_.Coord(), e.end_y = rng_.Coord();
    return e;
  }

  TEntEnko Arc() {
    TEntEnko e;
    e.header = Header(2);
    e.center_x = rng_.Coord(), e.center_y = rng_.Coord();
    e.radius = rng_.Range(1, 5000) / 4.0;
    e.start_angle = rng_.Angle(), e.arc_angle = rng_.Angle(), e.tilt_angle = rng_.Angle();
    e.flatness = rng_.Range(1, 16) / 8.0;
    e.full_circle = rng_.Chance(30) ? 1 : 0;
    return e;
  }

  TEntTen Point() {
    TEntTen e;
    e.header = Header(3);
    e.x = rng_.Coord(), e.y = rng_.Coord();
    e.temporary = rng_.Chance(20) ? 1 : 0;
    if (e.header.pen_style == 100) {
      e.code = rng_.Range(1, 20);
      e.angle = rng_.Angle();
      e.scale = rng_.Range(1, 40) / 4.0;
    }
    return e;
  }

  TEntMoji Text() {
    TEntMoji e;
    e.header = Header(4);
    e.start_x = rng_.Coord(), e.start_y = rng_.Coord();
    e.end_x = rng_.Coord(), e.end_y = rng_.Coord();
    e.text_type = rng_.Range(1, 10);
    e.size_x = rng_.Range(1, 40) / 4.0, e.size_y = rng_.Range(1, 40) / 4.0;
    e.spacing = rng_.Range(0, 8) / 4.0, e.angle = rng_.Angle();
    e.font = o_.japanese_text && rng_.Chance(60) ? kGothicFont : "Arial";
    e.text = Sentence();
    return e;
  }

  TEntSunpo Dimension() {
    TEntSunpo e;
    e.header = Header(5);
    e.line = Line();
    e.text = Text();
    if (o_.version >= 420) {
      e.sxf_mode = static_cast<int16_t>(rng_.Range(0, 3));
      for (TEntSen& aux : e.aux_lines) aux = Line();
      for (TEntTen& p : e.points) p = Point();
    } else {
      // Files before 420 do not carry these; a loader fills them from the
      // dimension's own header with zero coordinates and pen style 0.
      for (TEntSen& aux : e.aux_lines) aux = TEntSen{e.header};
      for (TEntTen& p : e.points) {
        p = TEntTen{e.header};
        p.header.pen_style = 0;
      }
    }
    return e;
  }

  TEntSolid Solid() {
    TEntSolid e;
    e.header = Header(6);
    for (TSolidCorner& c : e.corners) c = {rng_.Coord(), rng_.Coord()};
    if (e.header.pen_color == 10) e.color = rng_.Range(0, 0xFFFFFF);
    return e;
  }

  TEntBlock Block(size_t block_defs) {
    TEntBlock e;
    e.header = Header(7);
    e.base_x = rng_.Coord(), e.base_y = rng_.Coord();
    e.scale_x = rng_.Range(1, 16) / 4.0, e.scale_y = rng_.Range(1, 16) / 4.0;
    e.angle = rng_.Angle();
    e.block_number = block_defs == 0 ? 0 : rng_.Range(1, static_cast<int32_t>(block_defs));
    return e;
  }

  // One entity of the kind that follows `i` round the seven kinds, so that
  // every kind shows up early and often.
  void AddEntity(EntityList& list, size_t i) {
    switch (i % 7) {
      case 0: list.Add(Line()); break;
      case 1: list.Add(Arc()); break;
      case 2: list.Add(Point()); break;
      case 3: list.Add(Text()); break;
      case 4: list.Add(Dimension()); break;
      case 5: list.Add(Solid()); break;
      default: list.Add(Block(o_.block_defs)); break;
    }
  }

  void AddEntities(EntityStore& store) {
    store.order.reserve(o_.entities);
    for (size_t i = 0; i < o_.entities; ++i) AddEntity(store, i);
    for (size_t d = 0; d < o_.block_defs; ++d) {
      TEntBlockDef def;
      def.header = Header(kNormBlockDef);
      def.number = static_cast<int32_t>(d + 1);
      def.referenced = rng_.Chance(50) ? 1 : 0;
      def.timestamp = rng_.Range(0, 0x7FFFFFFF);
      def.name = Word() + std::to_string(d + 1);
      size_t members = 7 + d % 5;
      for (size_t m = 0; m < members; ++m) AddEntity(def.members, m + d);
      store.block_defs.push_back(std::move(def));
    }
  }

  const BuildOptions& o_;
  Rng rng_;

 private:
  int32_t Style(int norm_type) {
    switch (norm_type) {
      case 1:
      case 2:
        // Styles 31..62 are extended ones, which versions before 420 map away.
        if (o_.version >= 420 && rng_.Chance(20)) return rng_.Range(31, 62);
        return rng_.Chance(20) ? rng_.Range(11, 19) : rng_.Range(1, 9);
      case 3: return rng_.Chance(40) ? 100 : 1;
      case 4: return rng_.Range(1, 9);
      default: return rng_.Range(0, 255);
    }
  }

  int32_t Color(int norm_type) {
    if (norm_type >= 7) return rng_.Range(0, 0xFFFF);
    if (norm_type == 6 && rng_.Chance(30)) return 10;
    if (o_.version >= 420 && rng_.Chance(20)) return rng_.Range(101, 356);
    return rng_.Range(1, 9);
  }
};

void FillHeader(Builder& b, JwwDocument& doc) {
  Rng& rng = b.rng_;
  const int32_t v = b.o_.version;
  THeader& h = doc.header;
  h.signature = "JwwData.";
  h.version = v;
  // The memo is written as it is stored: control bytes stay, and it is long
  // enough to need the 16-bit length.
  h.memo = "Memo\r\n" + std::string(b.o_.japanese_text ? "\x90\x7D\x96\xCA" : "plan");
  while (h.memo.size() < 300) h.memo += b.Word();
  h.paper_size = rng.Range(0, 4);
  h.write_layer_group = rng.Range(0, 15);
  for (int32_t& s : h.dim_settings) s = rng.Range(0, 100);
  h.max_draw_width = rng.Range(-101, 100);
  h.printer_origin_x = rng.Coord(), h.printer_origin_y = rng.Coord();
  h.printer_scale = rng.Range(1, 100);
  h.printer_settings = rng.Range(0, 7);
  h.grid_mode = rng.Range(0, 3);
  h.grid_min_spacing = 2.5, h.grid_spacing_x = 5, h.grid_spacing_y = 7.5;
  h.grid_base_x = rng.Coord(), h.grid_base_y = rng.Coord();
  h.sun_level = 1.5, h.latitude = 35.68, h.time_range = 2, h.wall_shadow_level = 0.5;
  if (v >= 300) h.sky_level = 1.25, h.sky_radius = 10;
  h.unit_25d = 3;
  h.view_zoom = 2, h.view_x = rng.Coord(), h.view_y = rng.Coord();
  h.range_zoom = 3, h.range_x = rng.Coord(), h.range_y = rng.Coord();
  // Version 230 and older carry four jump entries without layer groups.
  size_t jumps = v > 230 ? 8 : 4;
  for (size_t i = 0; i < jumps; ++i) {
    TJumpEntry& j = h.jumps[i];
    j.zoom = rng.Range(1, 8), j.x = rng.Coord(), j.y = rng.Coord();
    if (v > 230) j.layer_group = rng.Range(-1, 15);
  }
  if (v > 230) h.spare_jumps[1] = {1.5, 2.5, 3.5, 7};
  for (double& s : h.parallel_spacings) s = rng.Range(0, 100) / 2.0;
  h.parallel_end_margin = 0.75;
  for (int32_t& s : h.version_settings) s = rng.Range(-5, 1000);
  // The packed value comes back from a write unchanged only in these forms.
  h.packed_units = rng.Range(0, 9);
  h.packed_rest = v >= 600 ? rng.Range(1, 20) : 0;
  if (v >= 223) {
    for (int32_t& x : h.group2_ints) x = rng.Range(0, 50);
    for (double& x : h.group2_doubles) x = rng.Coord();
  }
  if (v >= 225) h.group3 = {0.5, 1.5, 2.5, 3.5};
  if (v >= 230) h.group4 = {4, 5};
  TTextSettings& t = h.text_settings;
  t.width = 3, t.height = 3.5, t.spacing = 0.25, t.color = 2, t.type = 5;
  t.tidy_line_spacing = 1.5, t.tidy_char_count = 20, t.offsets_on = 1;
  t.h_offsets = {0, 0.5, 1}, t.v_offsets = {0, 0.25, 0.5};
}

void FillTables(Builder& b, JwwDocument& doc) {
  Rng& rng = b.rng_;
  for (size_t g = 0; g < doc.layer_groups.size(); ++g) {
    TLayerGroup& lg = doc.layer_groups[g];
    lg.state = rng.Range(0, 3), lg.write_layer = rng.Range(0, 15);
    lg.scale = rng.Range(1, 500), lg.protection = rng.Range(0, 2);
    lg.name = g % 3 == 0 ? "" : b.Word();
  }
  for (size_t l = 0; l < doc.layers.size(); ++l) {
    TLayer& layer = doc.layers[l];
    layer.state = rng.Range(0, 3), layer.protection = rng.Range(0, 2);
    layer.name = l % 4 == 0 ? "" : b.Word() + std::to_string(l);
  }
  for (TPenColorEntry& p : doc.pen_colors) {
    p = {rng.Range(0, 0xFFFFFF), rng.Range(1, 10), rng.Range(0, 0xFFFFFF), rng.Range(1, 10),
         rng.Range(0, 40) / 8.0};
  }
  for (TLineTypeEntry& e : doc.line_types) e.values = {rng.Range(0, 0xFFFF), 16, 2, 3};
  for (TRandomLineEntry& e : doc.random_lines) e.values = {1, 2, 3, 4, rng.Range(0, 99)};
  for (TDoubleLineTypeEntry& e : doc.double_line_types) e.values = {rng.Range(0, 99), 6, 7, 8};
  for (TTextTypeEntry& e : doc.text_types) e = {2.5, 3.0, 0.5, rng.Range(1, 9)};
  if (b.o_.version < 420) return;  // older files have no extended tables
  for (size_t i = 0; i < doc.color_ex.size(); ++i) {
    TColorExNo& c = doc.color_ex[i];
    c.color = rng.Range(0, 0xFFFFFF), c.width = rng.Range(1, 10);
    c.name = i % 5 == 0 ? b.Word() : "";
    c.printer_color = c.color, c.printer_width = c.width, c.printer_point_radius = 0.5;
  }
  for (size_t i = 0; i < doc.line_type_ex.size(); ++i) {
    TLineTypeExNo& lt = doc.line_type_ex[i];
    lt.values = {rng.Range(0, 99), 1, 2, 3};
    lt.name = i % 3 == 0 ? b.Word() : "";
    lt.segment_count = rng.Range(0, 10);
    for (int s = 0; s < lt.segment_count; ++s) lt.pitches[s] = rng.Range(1, 50) / 2.0;
  }
}

// Images with bytes of their own; a text per image refers to it the way
// Jw_cad does.
void AddImages(Builder& b, JwwDocument& doc) {
  if (b.o_.images == 0 || b.o_.version < 700) return;
  for (size_t i = 0; i < b.o_.images; ++i) {
    std::string name = "image" + std::to_string(i + 1) + ".bmp";
    std::string data(static_cast<size_t>(b.rng_.Range(100, 5000)), '\0');
    for (char& c : data) c = static_cast<char>(b.rng_.Next());
    doc.images.list.push_back({name, static_cast<int32_t>(data.size()), 0, data});
    TEntMoji ref = b.Text();
    ref.text = "^@BM%temp%" + name + ",100,80,0,0,1,0";
    doc.store.Add(std::move(ref));
  }
}

}  // namespace

JwwDocument BuildJwwDocument(const BuildOptions& options) {
  Builder b(options);
  JwwDocument doc;
  FillHeader(b, doc);
  FillTables(b, doc);
  b.AddEntities(doc.store);
  AddImages(b, doc);
  return doc;
}

JwsDocument BuildJwsDocument(const BuildOptions& options) {
  Builder b(options);
  JwsDocument doc;
  doc.signature = "JwsData";
  doc.version = options.version;
  doc.leading1 = 1, doc.leading2 = 2.5;
  for (double& s : doc.group_scales) s = b.rng_.Range(1, 500);
  for (int32_t& x : doc.header_ints) x = b.rng_.Range(-10, 1000);
  for (double& x : doc.header_doubles) x = b.rng_.Coord();
  b.AddEntities(doc.store);
  return doc;
}

void ShowAllLayers(JwwDocument& doc) {
  for (TLayerGroup& g : doc.layer_groups) g.state = 2;
  for (TLayer& l : doc.layers) l.state = 2;
}

}  // namespace varnelko::test
