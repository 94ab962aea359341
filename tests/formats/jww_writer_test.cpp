// Exact byte layouts of the JWW writer and of the shared archive writer.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "document/jww_document.h"
#include "document/text_helpers.h"
#include "formats/entity_archive.h"
#include "formats/jww/jww_file.h"
#include "formats/jww/jww_header.h"
#include "support/temp_dir.h"

namespace varnelko {
namespace {

std::string Hex(std::string_view bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string s;
  for (unsigned char c : bytes) s += {digits[c >> 4], digits[c & 15], ' '};
  return s;
}

// The bytes of a literal, zero bytes included.
template <size_t N>
std::string Raw(const char (&s)[N]) { return std::string(s, N - 1); }

std::string Le16(uint16_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
std::string Le32(uint32_t v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }

std::string NewClass(int32_t version, std::string_view name) {
  return Le16(0xFFFF) + Le16(static_cast<uint16_t>(version)) +
         Le16(static_cast<uint16_t>(name.size())) + std::string(name);
}

TEntHeader PlainHeader() {
  TEntHeader h;
  h.group = 3, h.pen_style = 1, h.pen_color = 5, h.pen_width = 7;
  h.layer = 2, h.layer_group = 4, h.flags = 0x20;
  return h;
}

std::string HeaderBytes(int32_t version, int norm_type, const TEntHeader& h) {
  ByteWriter out;
  WriteEntHeader(out, version, norm_type, h);
  return out.Take();
}

std::string LineBody(int32_t version, const TEntSen& line) {
  ByteWriter out;
  out.Bytes(HeaderBytes(version, 1, line.header));
  out.F64(line.start_x), out.F64(line.start_y), out.F64(line.end_x), out.F64(line.end_y);
  return out.Take();
}

TEntSen MakeLine(double x) { return {PlainHeader(), x, x + 1, x + 2, x + 3}; }

TEntEnko MakeArc() {
  TEntEnko a;
  a.header = PlainHeader();
  a.center_x = 1, a.center_y = 2, a.radius = 3, a.start_angle = 4, a.arc_angle = 5;
  a.tilt_angle = 6, a.flatness = 1, a.full_circle = 1;
  return a;
}

std::string ArcBody(int32_t version, const TEntEnko& a) {
  ByteWriter out;
  out.Bytes(HeaderBytes(version, 2, a.header));
  for (double d : {a.center_x, a.center_y, a.radius, a.start_angle, a.arc_angle, a.tilt_angle,
                   a.flatness}) {
    out.F64(d);
  }
  out.I32(a.full_circle);
  return out.Take();
}

std::string Archive(int32_t version, const EntityStore& store, FormatError* error = nullptr,
                    ArchiveWriteOptions options = {}) {
  ByteWriter out;
  EXPECT_TRUE(WriteEntityArchive(out, version, store, options, error));
  return out.Take();
}

EntityStore LineArcLine() {
  EntityStore store;
  store.Add(MakeLine(10));
  store.Add(MakeArc());
  store.Add(MakeLine(20));
  return store;
}

TEST(ArchiveWriter, LineArcLineNumbersClassesAndObjectsFromOne) {
  const int32_t v = 600;
  std::string expected = Le16(3) + NewClass(v, "CDataSen") + LineBody(v, MakeLine(10)) +
                         NewClass(v, "CDataEnko") + ArcBody(v, MakeArc()) +
                         Le16(0x8001) + LineBody(v, MakeLine(20)) + Le16(0);
  EXPECT_EQ(Hex(Archive(v, LineArcLine())), Hex(expected));
}

TEST(ArchiveWriter, BlockDefinitionsShareTheClassTableAndTheCounter) {
  const int32_t v = 600;
  EntityStore store = LineArcLine();
  TEntBlockDef def;
  def.header = PlainHeader();
  def.number = 1, def.referenced = 1, def.timestamp = 12345, def.name = "part";
  def.members.Add(MakeLine(30));  // class 1, object 8
  TEntTen point;
  point.header = PlainHeader();
  point.x = 1, point.y = 2;
  def.members.Add(point);  // new class 9, object 10
  store.block_defs.push_back(def);
  TEntBlockDef second = def;
  second.number = 2, second.name = "";
  store.block_defs.push_back(second);  // class ref 6, object 11; members 12, 13

  auto def_head = [&](const TEntBlockDef& d) {
    ByteWriter out;
    out.Bytes(HeaderBytes(v, 8, d.header));
    out.I32(d.number), out.I32(d.referenced), out.I32(d.timestamp);
    out.U8(static_cast<uint8_t>(d.name.size())), out.Bytes(d.name);
    out.U16(2);
    return out.Take();
  };
  ByteWriter point_body;
  point_body.Bytes(HeaderBytes(v, 3, point.header));
  point_body.F64(1), point_body.F64(2), point_body.I32(0);

  std::string lists = Archive(v, LineArcLine());
  std::string expected = lists.substr(0, lists.size() - 2) + Le16(2) +
                         NewClass(v, "CDataList") + def_head(def) + Le16(0x8001) +
                         LineBody(v, MakeLine(30)) + NewClass(v, "CDataTen") +
                         point_body.data() + Le16(0x8006) + def_head(second) + Le16(0x8001) +
                         LineBody(v, MakeLine(30)) + Le16(0x8009) + point_body.data();
  EXPECT_EQ(Hex(Archive(v, store)), Hex(expected));
}

TEST(ArchiveWriter, CountsAndClassReferencesSwitchToTheirLongForms) {
  auto count = [](int32_t n) { ByteWriter w; WriteCount(w, n); return Hex(w.data()); };
  EXPECT_EQ(count(0), "00 00 ");
  EXPECT_EQ(count(65534), "FE FF ");
  EXPECT_EQ(count(65535), "FF FF FF FF 00 00 ");
  EXPECT_EQ(count(70000), "FF FF 70 11 01 00 ");
  auto ref = [](int32_t k) { ByteWriter w; WriteClassRef(w, k); return Hex(w.data()); };
  EXPECT_EQ(ref(1), "01 80 ");
  EXPECT_EQ(ref(0x7FFE), "FE FF ");
  EXPECT_EQ(ref(0x7FFF), "FF 7F FF 7F 00 80 ");
  EXPECT_EQ(ref(0x12345), "FF 7F 45 23 01 80 ");
}

TEST(ArchiveWriter, ClassesFirstSeenAfter32766ObjectsAreReferredToLongForm) {
  EntityStore store;
  for (int i = 0; i < 0x7FFF; ++i) store.Add(MakeLine(i));
  store.Add(MakeArc());  // its class takes number 0x8001: too big for a short tag
  store.Add(MakeArc());
  std::string bytes = Archive(600, store);
  std::string tail = Le32(0x80000000u | 0x8001) + ArcBody(600, MakeArc()) + Le16(0);
  ASSERT_GT(bytes.size(), tail.size() + 2);
  EXPECT_EQ(Hex(bytes.substr(bytes.size() - tail.size() - 2)), Hex(Le16(0x7FFF) + tail));
}

TEST(ArchiveWriter, PenWidthOnlyFromVersion351) {
  TEntHeader h = PlainHeader();
  EXPECT_EQ(Hex(HeaderBytes(350, 1, h)), "03 00 00 00 01 05 00 02 00 04 00 20 00 ");
  EXPECT_EQ(Hex(HeaderBytes(351, 1, h)), "03 00 00 00 01 05 00 07 00 02 00 04 00 20 00 ");
}

struct NormCase {
  int32_t version;
  int norm_type;
  int style, color, layer, layer_group, width;
  int want_style, want_color, want_layer, want_layer_group, want_width;
};

TEST(ArchiveWriter, HeaderNormalisationReplacesOutOfRangeValues) {
  const NormCase cases[] = {
      // Layers, groups and widths beyond their limits, compared unsigned.
      {600, 1, 1, 1, 16, 3, 30000, 1, 1, 0, 3, 30000},
      {600, 1, 1, 1, 0xFFFF, 0xFFFF, 30001, 1, 1, 0, 0, 0},
      {600, 7, 200, 0, 15, 16, 0xFFFF, 200, 0, 15, 0, 0},
      // Pen styles per type.
      {600, 1, 0, 1, 0, 0, 0, 1, 1, 0, 0, 0},
      {600, 2, 10, 1, 0, 0, 0, 1, 1, 0, 0, 0},
      {600, 2, 63, 1, 0, 0, 0, 1, 1, 0, 0, 0},
      {600, 1, 62, 1, 0, 0, 0, 62, 1, 0, 0, 0},
      {600, 3, 100, 1, 0, 0, 0, 100, 1, 0, 0, 0},
      {600, 3, 9, 1, 0, 0, 0, 1, 1, 0, 0, 0},
      {600, 4, 10, 1, 0, 0, 0, 1, 1, 0, 0, 0},
      {600, 5, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0},
      {600, 8, 255, 0xFFFF, 0, 0, 0, 255, 0xFFFF, 0, 0, 0},
      // Pen colours per type.
      {600, 4, 1, 0, 0, 0, 0, 1, 2, 0, 0, 0},
      {600, 1, 1, 10, 0, 0, 0, 1, 2, 0, 0, 0},
      {600, 6, 1, 10, 0, 0, 0, 1, 10, 0, 0, 0},
      {600, 6, 1, 11, 0, 0, 0, 1, 2, 0, 0, 0},
      {600, 5, 1, 356, 0, 0, 0, 1, 356, 0, 0, 0},
      {600, 5, 1, 357, 0, 0, 0, 1, 2, 0, 0, 0},
      // Extended values are mapped below 420 and kept from 420 on.
      {400, 1, 38, 1, 0, 0, 0, 5, 1, 0, 0, 0},
      {420, 1, 38, 1, 0, 0, 0, 38, 1, 0, 0, 0},
      {419, 2, 44, 112, 0, 0, 0, 17, 3, 0, 0, 0},
      {400, 4, 38, 101, 0, 0, 0, 1, 2, 0, 0, 0},   // texts keep no extended style
      {400, 6, 1, 200, 0, 0, 0, 1, 2, 0, 0, 0},
      {400, 7, 38, 101, 0, 0, 0, 38, 101, 0, 0, 0},  // block insertions are not mapped
      // The auxiliary colour and line type pass everywhere.
      {230, 1, 9, 9, 0, 0, 0, 9, 9, 0, 0, 0},
      {700, 4, 9, 9, 0, 0, 0, 9, 9, 0, 0, 0},
  };
  for (const NormCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "version " << c.version << " type " << c.norm_type
                                    << " style " << c.style << " colour " << c.color);
    TEntHeader h;
    h.pen_style = static_cast<uint8_t>(c.style);
    h.pen_color = static_cast<uint16_t>(c.color);
    h.layer = static_cast<uint16_t>(c.layer);
    h.layer_group = static_cast<uint16_t>(c.layer_group);
    h.pen_width = static_cast<uint16_t>(c.width);
    TEntHeader n = NormalizeEntHeader(c.version, c.norm_type, h);
    EXPECT_EQ(n.pen_style, c.want_style);
    EXPECT_EQ(n.pen_color, c.want_color);
    EXPECT_EQ(n.layer, c.want_layer);
    EXPECT_EQ(n.layer_group, c.want_layer_group);
    EXPECT_EQ(n.pen_width, c.want_width);
  }
}

TEST(ArchiveWriter, OldVersionMapsEveryExtendedStyleAndColour) {
  // Styles 31..62 and colours 101..356 as a version below 420 writes them.
  const int styles[] = {1, 4, 3, 6, 8, 8, 2, 5, 7, 6, 6, 8, 8, 17, 17};
  for (int s = 31; s <= 62; ++s) {
    TEntHeader h;
    h.pen_style = static_cast<uint8_t>(s);
    h.pen_color = 1;
    EXPECT_EQ(NormalizeEntHeader(400, 1, h).pen_style, s <= 45 ? styles[s - 31] : 1) << s;
  }
  const int colors[] = {2, 8, 3, 6, 4, 5, 1, 2, 5, 8, 4, 3, 6, 5, 2, 2};
  for (int c = 101; c <= 356; ++c) {
    TEntHeader h;
    h.pen_style = 1;
    h.pen_color = static_cast<uint16_t>(c);
    EXPECT_EQ(NormalizeEntHeader(400, 6, h).pen_color, c <= 116 ? colors[c - 101] : 2) << c;
  }
}

TEST(ArchiveWriter, ExtraFieldsFollowTheStoredMarkers) {
  EntityStore store;
  TEntTen plain, marked;
  plain.header = marked.header = PlainHeader();
  plain.code = 5, plain.angle = 1, plain.scale = 2;  // not carried without style 100
  marked.header.pen_style = 100;
  marked.code = 5, marked.angle = 1, marked.scale = 2;
  TEntSolid solid, coloured;
  solid.header = coloured.header = PlainHeader();
  solid.color = 0x123456;  // not carried without pen colour 10
  coloured.header.pen_color = 10;
  coloured.color = 0x123456;
  store.Add(plain), store.Add(marked), store.Add(solid), store.Add(coloured);
  std::string bytes = Archive(600, store);
  const size_t hdr = 15, point = hdr + 20, solid_body = hdr + 64;
  const size_t point_class = 6 + 8, solid_class = 6 + 10;
  size_t expected = 2 + point_class + point + 2 + (point + 20) + solid_class + solid_body + 2 +
                    (solid_body + 4) + 2;
  EXPECT_EQ(bytes.size(), expected);
  EXPECT_EQ(bytes.substr(2 + point_class + point + 2 + point, 4), Le32(5));
  EXPECT_EQ(bytes.substr(bytes.size() - 6, 4), Le32(0x123456));
}

TEST(ArchiveWriter, DimensionExtrasOnlyFrom420) {
  EntityStore store;
  TEntSunpo dim;
  dim.header = PlainHeader();
  dim.line = MakeLine(1);
  dim.text.header = PlainHeader();
  dim.text.text = "100";
  dim.sxf_mode = 2;
  for (TEntTen& p : dim.points) p.header = PlainHeader();
  dim.points[3].header.pen_style = 100;
  store.Add(dim);
  // Count, class, own header, line, text (header, numbers, empty font,
  // "100"), block definition count.
  auto base = [](size_t hdr) { return 2 + 17 + hdr + (hdr + 32) + (hdr + 68 + 1 + 4) + 2; };
  EXPECT_EQ(Archive(350, store).size(), base(13));
  EXPECT_EQ(Archive(419, store).size(), base(15));
  // SXF mode, two auxiliary lines, four points, one with its extra fields.
  EXPECT_EQ(Archive(420, store).size(), base(15) + 2 + 2 * 47 + 4 * 35 + 20);
}

TEST(ArchiveWriter, StringsAreCleanedAndImageMarkersShortenedOnRequest) {
  EntityStore store;
  TEntMoji t;
  t.header = PlainHeader();
  t.font = "A\rB";
  t.text = "^@BM%temp%x.bmp,1^m\n";
  store.Add(t);
  t.text = "\r^@BM%temp%y.bmp,2";  // the marker shows once the text is clean
  t.font = "";
  store.Add(t);
  TEntSunpo dim;
  dim.header = dim.text.header = dim.line.header = PlainHeader();
  dim.text.text = "^@BM%temp%dim";
  store.Add(dim);
  TEntBlockDef def;
  def.name = "\x81\x5Em\r";  // a double-byte character with a caret trail byte
  def.timestamp = -1;        // not writable as it stands
  def.members.Add(t);
  store.block_defs.push_back(def);
  auto contains = [](const std::string& hay, std::string_view needle) {
    return hay.find(needle) != std::string::npos;
  };
  std::string jww = Archive(600, store);
  EXPECT_TRUE(contains(jww, "\x02" "AB" "\x11" "^@BM%temp%x.bmp,1"));
  EXPECT_TRUE(contains(jww, "\x0D" "^@BM%temp%dim"));
  EXPECT_TRUE(contains(jww, Le32(1) + "\x03\x81\x5Em"));  // time stamp 1, then the name
  ArchiveWriteOptions figure;
  figure.shorten_image_marker = true;
  std::string jws = Archive(600, store, nullptr, figure);
  EXPECT_TRUE(contains(jws, "\x0B" "^@BMx.bmp,1"));
  EXPECT_TRUE(contains(jws, "\x0B" "^@BMy.bmp,2"));
  EXPECT_FALSE(contains(jws, "^@BM%temp%x.bmp"));
  EXPECT_TRUE(contains(jws, "\x0D" "^@BM%temp%dim"));  // dimension texts stay
}

TEST(ArchiveWriter, CleanStringsSkipTheCopyWithoutChangingTheResult) {
  // Strings made of the bytes that matter to cleaning: control bytes, carets,
  // "m", lead bytes and bytes that only look like them. Whatever path the
  // writer takes, it writes what CleanTextForWrite makes of the string.
  const char alphabet[] = {'\0', '\n', '^', 'm', 'A', '\x81', '\x5E', '\xE0', '\xFD',
                           '\xFE', '\x9F', '\xA0', '\x7F', '\x1F'};
  uint32_t state = 12345;
  for (int round = 0; round < 3000; ++round) {
    std::string name;
    size_t length = round % 13;
    for (size_t i = 0; i < length; ++i) {
      state = state * 1103515245u + 12345u;
      name += alphabet[(state >> 16) % sizeof alphabet];
    }
    EntityStore store;
    store.block_defs.push_back(TEntBlockDef{});
    store.block_defs[0].name = name;
    std::string bytes = Archive(600, store);
    // Counts, the definition's class record, its header and three numbers.
    const size_t at = 2 + 2 + 15 + 15 + 12;
    std::string want = CleanTextForWrite(name);
    ASSERT_EQ(static_cast<uint8_t>(bytes[at]), want.size()) << Hex(name);
    ASSERT_EQ(bytes.substr(at + 1, want.size()), want) << Hex(name);
  }
}

TEST(ArchiveWriter, UnwritableContentFailsWithWhatAndWhere) {
  EntityStore store = LineArcLine();
  TEntMoji t;
  t.text = std::string(65535, 'x');
  store.Add(t);
  FormatError error;
  ByteWriter out;
  EXPECT_TRUE(WriteEntityArchive(out, 600, store, {}, &error));  // the largest text fits
  store.texts[0].text += 'y';
  EXPECT_FALSE(WriteEntityArchive(out, 600, store, {}, &error));
  EXPECT_NE(error.what.find("entity list entry 4: text"), std::string::npos) << error.what;

  EntityStore broken = LineArcLine();
  broken.order.push_back({kKindSolid, 0});
  TEntBlockDef def;
  def.members.order.push_back({kKindLine, 3});
  broken.block_defs.push_back(def);
  EXPECT_FALSE(WriteEntityArchive(out, 600, broken, {}, &error));
  EXPECT_NE(error.what.find("entity list entry 4"), std::string::npos) << error.what;
  broken.order.pop_back();
  EXPECT_FALSE(WriteEntityArchive(out, 600, broken, {}, &error));
  EXPECT_NE(error.what.find("block definition 1 entry 1"), std::string::npos) << error.what;
}

TEST(ArchiveWriter, SizeEstimateIsAnUpperBound) {
  // The largest form of every kind: extras present, long strings, long tags.
  EntityStore store;
  TEntTen point;
  point.header.pen_style = 100;
  TEntSunpo dim;
  dim.text.text = std::string(300, 'd');
  dim.points.fill(point);
  TEntSolid solid;
  solid.header.pen_color = 10;
  TEntMoji text;
  text.font = std::string(256, 'f');
  text.text = std::string(255, 't');
  store.Add(point), store.Add(dim), store.Add(solid), store.Add(text);
  store.Add(MakeArc()), store.Add(MakeLine(1)), store.Add(TEntBlock{});
  TEntBlockDef def;
  def.name = std::string(400, 'n');
  def.members = store;
  store.block_defs.assign(3, def);
  EXPECT_LE(Archive(700, store).size(), EstimateArchiveSize(store));
  for (int i = 0; i < 40000; ++i) store.Add(dim);  // tags in their long form
  EXPECT_LE(Archive(700, store).size(), EstimateArchiveSize(store));
}

// ---- Header block ----

// Offsets in a header whose names are all empty and whose memo is `memo_size`
// bytes (below 255).
constexpr size_t kReservedAt(size_t memo_size) { return 8 + 4 + 1 + memo_size + 8 + 16 * 148; }

std::string Header(int32_t version, const JwwDocument& doc) {
  ByteWriter out;
  FormatError error;
  EXPECT_TRUE(WriteJwwHeader(out, version, doc, &error)) << error.Describe();
  return out.Take();
}

int32_t I32At(const std::string& bytes, size_t offset) {
  int32_t v = 0;
  std::memcpy(&v, bytes.data() + offset, 4);
  return v;
}

TEST(JwwHeaderWriter, SizesFollowTheVersionTests) {
  JwwDocument doc;
  doc.header.signature = "JwwData.";
  // Fixed part: signature, version, empty memo, two i32, layer groups,
  // H7..H20, 272 empty names, sun group, H29..H35, H37..H43, version group 1,
  // text types and text settings.
  const size_t fixed = 8 + 4 + 1 + 8 + 2368 + 84 + 72 + 272 + 28 + 52 + 88 + 80 + 160 + 128 +
                       100 + 64 + 44 + 280 + 100;
  const size_t extended = 257 * 8 + 257 * 17 + 33 * 16 + 33 * 85;
  struct { int32_t v; size_t extra; } cases[] = {
      {220, 96},  {222, 96},  {223, 96 + 60},  {224, 96 + 60}, {225, 96 + 92},
      {229, 96 + 92}, {230, 96 + 100}, {231, 280 + 100}, {299, 280 + 100},
      {300, 16 + 280 + 100}, {419, 16 + 280 + 100}, {420, 16 + 280 + 100 + extended},
      {700, 16 + 280 + 100 + extended},
  };
  for (auto c : cases) EXPECT_EQ(Header(c.v, doc).size(), fixed + c.extra) << c.v;
}

TEST(JwwHeaderWriter, MemoLengthFormsAt254And300) {
  JwwDocument doc;
  doc.header.memo = std::string(254, 'm');
  std::string h = Header(600, doc);
  EXPECT_EQ(static_cast<uint8_t>(h[12]), 254);
  EXPECT_EQ(h.substr(13, 254), doc.header.memo);
  EXPECT_EQ(h.substr(13 + 254, 4), Le32(0));  // paper size right after
  doc.header.memo = std::string(300, 'm');
  doc.header.memo[299] = 'z';
  doc.header.memo[0] = '\r';  // the memo is written as it is stored
  doc.header.paper_size = 3;
  h = Header(600, doc);
  EXPECT_EQ(Hex(h.substr(12, 3)), "FF 2C 01 ");
  EXPECT_EQ(h.substr(15, 300), doc.header.memo);
  EXPECT_EQ(I32At(h, 315), 3);
}

TEST(JwwHeaderWriter, ReservedWordsAreZeroAndOldWidthsClamped) {
  JwwDocument doc;
  doc.header.reserved.fill(77);
  doc.header.reserved2 = 99;
  doc.header.max_draw_width = -150;
  doc.header.dim_settings = {1, 2, 3, 4, 5};
  const size_t at = kReservedAt(0);
  for (int32_t v : {420, 421}) {
    std::string h = Header(v, doc);
    EXPECT_EQ(h.substr(at, 56), std::string(56, '\0')) << v;
    EXPECT_EQ(I32At(h, at + 56 + 16), 5);
    EXPECT_EQ(I32At(h, at + 76), 0) << v;
    EXPECT_EQ(I32At(h, at + 80), v == 420 ? -101 : -150);
  }
  doc.header.max_draw_width = -101;
  EXPECT_EQ(I32At(Header(300, doc), at + 80), -101);
  doc.header.max_draw_width = -102;
  EXPECT_EQ(I32At(Header(300, doc), at + 80), -101);
}

TEST(JwwHeaderWriter, PackedValueIsPutTogetherForTheVersion) {
  // Offset of the packed value in a header with empty names and memo.
  auto packed_at = [](int32_t v) {
    return kReservedAt(0) + 84 + 72 + 272 + (v >= 300 ? 44 : 28) + 52 + (v > 230 ? 280 : 96) +
           88 + 80 + 160 + 128 + 100 + 64 + 40;
  };
  struct { int32_t v, units, rest, want; } cases[] = {
      {600, 5, 0, 15}, {600, 3, 2, 23}, {600, 3, -1, 13}, {700, 0, 100, 1000},
      {500, 3, 2, 3},  {599, 5, 0, 5},  {230, -7, 0, -7},
  };
  for (auto c : cases) {
    JwwDocument doc;
    doc.header.packed_units = c.units;
    doc.header.packed_rest = c.rest;
    doc.header.version_settings.fill(-3);
    std::string h = Header(c.v, doc);
    EXPECT_EQ(I32At(h, packed_at(c.v) - 4), -3);
    EXPECT_EQ(I32At(h, packed_at(c.v)), c.want) << c.v << " " << c.units << " " << c.rest;
  }
}

TEST(JwwHeaderWriter, NamesAreCleanedOthersKeptAndTheDocumentUntouched) {
  JwwDocument doc;
  doc.header.signature = "JwwData.";
  doc.header.memo = "a\r\nb";
  doc.layers[0].name = "\r\n";            // only control bytes: one blank
  doc.layers[1].name = "L^m1";            // "^m" pairs go
  doc.layers[2].name = "\x95\x5C\x01";    // 表 and a control byte
  doc.layer_groups[15].name = "G\t";
  JwwDocument before = doc;
  std::string h = Header(300, doc);
  const size_t names = kReservedAt(4) + 84 + 72;
  EXPECT_EQ(h.substr(0, 12), std::string("JwwData.") + Le32(300));
  EXPECT_EQ(h.substr(12, 5), "\x04" "a\r\nb");
  EXPECT_EQ(Hex(h.substr(names, 10)), Hex(Raw("\x01 \x02L1\x02\x95\x5C\x00\x00")));
  EXPECT_EQ(h.substr(names + 8 + 253 + 15, 2), "\x01G");
  EXPECT_EQ(doc.header, before.header);
  EXPECT_EQ(doc.layers, before.layers);
}

// ---- Whole files ----

JwwDocument SmallDrawing(int32_t version) {
  JwwDocument doc;
  doc.header.signature = "JwwData.";
  doc.header.version = version;
  doc.store = LineArcLine();
  return doc;
}

TEST(JwwWriter, FileIsHeaderThenArchive) {
  JwwDocument doc = SmallDrawing(600);
  std::string bytes;
  ASSERT_TRUE(BuildJwwBytes(600, doc, bytes));
  EXPECT_EQ(bytes, Header(600, doc) + Archive(600, doc.store));
  ASSERT_TRUE(BuildJwwBytes(700, doc, bytes));
  EXPECT_EQ(bytes, Header(700, doc) + Archive(700, doc.store) + Le32(0));
}

class JwwWriterImages : public testing::Test {
 protected:
  void SetUp() override {
    doc_ = SmallDrawing(700);
    for (const char* name : {"photo1.bmp", "photo2.bmp", "Logo.JPG"}) {
      std::string data = std::string(name) + std::string(3000, 'd');
      doc_.images.list.push_back({name, static_cast<int32_t>(data.size()), 1, data});
    }
    doc_.images.list.push_back({"gone.png", 0, 1, ""});  // a size of 0: no image
  }
  void TearDown() override { FreeJwwDocument(doc_); }

  void AddReference(EntityList& list, std::string text) {
    TEntMoji t;
    t.header = PlainHeader();
    t.text = std::move(text);
    list.Add(t);
  }

  JwwDocument doc_;
};

TEST_F(JwwWriterImages, OnlyImagesATextStillRefersToAreWritten) {
  AddReference(doc_.store, "^@BM%temp%PHOTO2.bmp,10,10");    // upper-cased comparison
  TEntBlockDef def;
  AddReference(def.members, "^@BM%temp%logo.jpg,1");          // member texts count too
  AddReference(def.members, "^@BM%temp%gone.png,1");          // no image: not written
  AddReference(def.members, "^@BM%temp%photo1.bmp");          // no comma: no reference
  doc_.store.block_defs.push_back(def);
  TEntSunpo dim;
  dim.text.text = "^@BM%temp%photo1.bmp,1";                   // dimension texts do not refer
  doc_.store.Add(dim);

  std::string bytes;
  ASSERT_TRUE(BuildJwwBytes(700, doc_, bytes));
  std::string archive = Archive(700, doc_.store);
  std::string images = bytes.substr(Header(700, doc_).size() + archive.size());
  std::string photo2 = "photo2.bmp" + std::string(3000, 'd');
  std::string logo = "Logo.JPG" + std::string(3000, 'd');
  EXPECT_EQ(images, Le32(2) + "\x0Aphoto2.bmp" + Le32(3010) + photo2 + "\x08Logo.JPG" +
                        Le32(3008) + logo);
  std::vector<int> used;
  for (const TBindImageType& e : doc_.images.list) used.push_back(e.used);
  EXPECT_EQ(used, (std::vector<int>{0, 1, 1, 0}));

  // A version 600 drawing has no image section at all.
  ASSERT_TRUE(BuildJwwBytes(600, doc_, bytes));
  EXPECT_EQ(bytes.size(), Header(600, doc_).size() + Archive(600, doc_.store).size());
}

TEST_F(JwwWriterImages, ReferenceMatchesTheFirstNameItBegins) {
  AddReference(doc_.store, "^@BM%temp%photo,1");
  std::string bytes;
  ASSERT_TRUE(BuildJwwBytes(700, doc_, bytes));
  EXPECT_EQ(doc_.images.list[0].used, 1);
  EXPECT_EQ(doc_.images.list[1].used, 0);
}

// An image name is bytes of the drawing like any other: it is written from
// memory whatever it holds, and nothing outside is ever read.
TEST_F(JwwWriterImages, ImagesComeFromMemoryWhateverTheirNames) {
  const std::string escape = "../secret.bmp";
  doc_.images.list.push_back({escape, 3, 0, "abc"});
  doc_.images.list.push_back({"neg.bmp", -5, 0, ""});  // a negative size: an image of no bytes
  AddReference(doc_.store, "^@BM%temp%" + escape + ",1");
  AddReference(doc_.store, "^@BM%temp%neg.bmp,1");
  std::string bytes;
  ASSERT_TRUE(BuildJwwBytes(700, doc_, bytes));
  std::string images = bytes.substr(Header(700, doc_).size() + Archive(700, doc_.store).size());
  EXPECT_EQ(images, Le32(2) + "\x0D" + escape + Le32(3) + "abc" + "\x07neg.bmp" + Le32(0));
}

TEST(JwwWriter, FailuresLeaveNoFile) {
  test::TempDir dir;
  JwwDocument doc = SmallDrawing(600);
  FormatError error;
  // A folder that does not exist.
  EXPECT_FALSE(WriteJwwFile(dir / "missing" / "out.jww", 600, doc, &error));
  EXPECT_FALSE(error.what.empty());
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
  // A text too long for the format: nothing is written, and the older file
  // stays as it was (it may be the drawing that was loaded).
  std::filesystem::path out = dir.Write("out.jww", "old drawing");
  doc.store.texts.resize(1);
  doc.store.order.push_back({kKindText, 0});
  doc.store.texts[0].text = std::string(70000, 't');
  EXPECT_FALSE(WriteJwwFile(out, 600, doc, &error));
  EXPECT_NE(error.what.find("text"), std::string::npos) << error.what;
  EXPECT_EQ(test::ReadFile(out), "old drawing");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            1);
  // A layer name likewise.
  doc.store.texts[0].text = "fits";
  doc.layers[17].name = std::string(65536, 'n');
  EXPECT_FALSE(WriteJwwFile(out, 600, doc, &error));
  EXPECT_NE(error.what.find("layer name 17"), std::string::npos) << error.what;
  doc.layers[17].name.pop_back();
  EXPECT_TRUE(WriteJwwFile(out, 600, doc, &error)) << error.Describe();
}

}  // namespace
}  // namespace varnelko
