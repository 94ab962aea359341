#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "formats/jww/jww_file.h"
#include "support/jww_fixture.h"
#include "support/temp_dir.h"

namespace varnelko {
namespace {

using test::JwwHeaderBytes;

// A drawing at `version` whose only entity is SampleLine(7): the line reads
// back right only if every header size before it was taken from the right
// version test.
std::string DrawingWithOneLine(int32_t version, std::string_view memo = "memo") {
  ByteWriter out;
  out.Bytes(JwwHeaderBytes(version, memo));
  test::PutCount(out, 1);
  test::PutNewClass(out, "CDataSen");
  test::PutLine(out, version, test::SampleLine(7));
  test::PutCount(out, 0);
  if (version >= 700) out.I32(0);
  return out.Take();
}

TEST(JwwHeader, LayoutsAcrossTheVersionThresholds) {
  for (int32_t v : {220, 222, 223, 224, 225, 229, 230, 231, 299, 300, 350, 351, 419, 420,
                    699, 700}) {
    SCOPED_TRACE(v);
    JwwDocument doc;
    FormatError error;
    ASSERT_TRUE(ReadJwwBytes(DrawingWithOneLine(v), doc, &error)) << error.Describe();
    const THeader& h = doc.header;
    EXPECT_EQ(h.signature, "JwwData.");
    EXPECT_EQ(h.version, v);
    EXPECT_EQ(h.memo, "memo");
    ASSERT_EQ(doc.store.lines.size(), 1u);
    EXPECT_EQ(doc.store.lines[0], test::SampleLine(7));

    EXPECT_EQ(h.sky_level != 0, v >= 300);
    EXPECT_EQ(h.group2_ints[0] != 0, v >= 223);
    EXPECT_EQ(h.group2_doubles[4] != 0, v >= 223);
    EXPECT_EQ(h.group3[3] != 0, v >= 225);
    EXPECT_EQ(h.group4[1] != 0, v >= 230);
    EXPECT_EQ(doc.color_ex[256].name.empty(), v < 420);
    EXPECT_EQ(doc.line_type_ex[32].pitches[9] != 0, v >= 420);
    EXPECT_NE(h.text_settings.v_offsets[2], 0);
    EXPECT_NE(doc.text_types[9].color, 0);
    if (v > 230) {
      // Eight interleaved jump entries with layer groups, then two spares.
      EXPECT_EQ(h.jumps[1].zoom, h.jumps[0].layer_group + 1.25);
      EXPECT_EQ(h.jumps[7].layer_group + 1.25, h.spare_jumps[0].a);
      EXPECT_NE(h.spare_jumps[1].d, 0);
    } else {
      // Four entries without layer groups; the rest keep their defaults.
      EXPECT_EQ(h.jumps[1].zoom, h.jumps[0].y + 1);
      EXPECT_EQ(h.jumps[0].layer_group, -1);
      EXPECT_EQ(h.jumps[4], TJumpEntry{});
      EXPECT_EQ(h.spare_jumps[0], TSpareJump{});
    }
  }
}

TEST(JwwHeader, TablesLandInTheirEntries) {
  JwwDocument doc;
  ASSERT_TRUE(ReadJwwBytes(DrawingWithOneLine(600), doc));
  // Paper size and write layer group are markers 1 and 2; each layer group
  // then holds 36 numbers: state, write layer, scale, protection, 16 layers.
  EXPECT_EQ(doc.header.paper_size, 1);
  EXPECT_EQ(doc.layer_groups[1].state, 39);
  EXPECT_EQ(doc.layer_groups[1].scale, 41.25);
  EXPECT_EQ(doc.layers[17].state, 45);
  EXPECT_EQ(doc.layers[17].protection, 46);
  // Names are group-major, layer names first, then the group names.
  int first = std::stoi(doc.layers[0].name.substr(1));
  EXPECT_EQ(doc.layers[255].name, "n" + std::to_string(first + 255));
  EXPECT_EQ(doc.layer_groups[15].name, "n" + std::to_string(first + 271));
  // Screen colours and widths of all pens come before their printer values.
  EXPECT_EQ(doc.pen_colors[1].screen_color, doc.pen_colors[0].screen_width + 1);
  EXPECT_EQ(doc.pen_colors[0].printer_color, doc.pen_colors[9].screen_width + 1);
  EXPECT_EQ(doc.line_types[0].values[0], doc.pen_colors[9].printer_point_radius + 0.75);
}

TEST(JwwHeader, VersionBelow220IsRefusedBeforeTheMemo) {
  ByteWriter out;
  out.Bytes("JwwData.");
  out.I32(219);
  JwwDocument doc;
  FormatError error;
  EXPECT_FALSE(ReadJwwBytes(out.data(), doc, &error));
  EXPECT_EQ(error.what, "version 219 is below 220");
  EXPECT_EQ(error.offset, 8u);
  EXPECT_EQ(doc.header.version, 219);
  EXPECT_TRUE(doc.header.memo.empty());
  // A complete drawing of that version is refused just the same.
  EXPECT_FALSE(ReadJwwBytes(DrawingWithOneLine(219), doc));
}

TEST(JwwHeader, MemoLengthForms) {
  for (size_t n : {0u, 254u, 255u, 300u, 65535u}) {
    SCOPED_TRACE(n);
    std::string memo(n, '\x82');
    std::string bytes = DrawingWithOneLine(600, memo);
    EXPECT_EQ(static_cast<uint8_t>(bytes[12]), n < 255 ? n : 0xFF);
    JwwDocument doc;
    ASSERT_TRUE(ReadJwwBytes(bytes, doc));
    EXPECT_EQ(doc.header.memo, memo);
  }
}

TEST(JwwHeader, PackedValueSplitsTowardZero) {
  // At version 220 the packed value is the last field before the text types
  // (10 x 28 bytes) and the text settings (100 bytes).
  for (auto [packed, units, rest] : {std::tuple{23, 3, 2}, {-7, -7, 0}, {-123, -3, -12}}) {
    std::string bytes = JwwHeaderBytes(220);
    std::memcpy(bytes.data() + bytes.size() - 380 - 4, &packed, 4);
    bytes += test::EmptyJwwTail(220);
    JwwDocument doc;
    ASSERT_TRUE(ReadJwwBytes(bytes, doc));
    EXPECT_EQ(doc.header.packed_units, units) << packed;
    EXPECT_EQ(doc.header.packed_rest, rest) << packed;
  }
}

class JwwProbe : public ::testing::Test {
 protected:
  test::TempDir dir;
  JwwDocument doc;
};

TEST_F(JwwProbe, SignatureDecidesAndNothingElse) {
  EXPECT_TRUE(IsJwwFile(dir.Write("only.jww", "JwwData.")));
  EXPECT_FALSE(ReadJwwMemo(dir / "only.jww", doc));
  EXPECT_FALSE(IsJwwFile(dir.Write("jws.jww", "JwsData..............")));
  EXPECT_FALSE(IsJwwFile(dir.Write("short.jww", "JwwData")));
  EXPECT_FALSE(IsJwwFile(dir.Write("case.jww", "jwwdata.xxxx")));
  EXPECT_FALSE(IsJwwFile(dir / "missing.jww"));
  EXPECT_FALSE(ReadJwwMemo(dir / "missing.jww", doc));
  EXPECT_TRUE(IsJwwFile(dir.Write("full.jww", DrawingWithOneLine(700))));
}

TEST_F(JwwProbe, MemoReaderReadsThroughTheVersionBlock) {
  std::string memo(300, 'm');
  ASSERT_TRUE(ReadJwwMemo(dir.Write("v230.jww", DrawingWithOneLine(230, memo)), doc));
  EXPECT_EQ(doc.header.memo, memo);
  EXPECT_EQ(doc.header.version, 230);
  EXPECT_EQ(doc.header.paper_size, 1);

  // Only the header through the version block is needed: the text settings
  // and everything after them may be missing.
  std::string header = JwwHeaderBytes(400, "short");
  ASSERT_TRUE(ReadJwwMemo(dir.Write("cut.jww", header.substr(0, header.size() - 380)), doc));
  EXPECT_EQ(doc.header.memo, "short");
  EXPECT_FALSE(ReadJwwMemo(dir.Write("cut2.jww", header.substr(0, header.size() - 381)), doc));

  // Cut inside the layer names: 12 bytes of signature and version, 6 of
  // memo, 8 of paper and write group, 16 x 148 of layer groups, 156 more.
  size_t names_start = 12 + 6 + 8 + 16 * 148 + 84 + 72;
  EXPECT_FALSE(ReadJwwMemo(dir.Write("names.jww", header.substr(0, names_start + 40)), doc));
}

TEST_F(JwwProbe, MemoReaderGrowsPastItsFirstPrefix) {
  // A 65,535-byte memo pushes the version block past the first 64 KiB read.
  std::string memo(65535, 'x');
  ASSERT_TRUE(ReadJwwMemo(dir.Write("long.jww", DrawingWithOneLine(700, memo)), doc));
  EXPECT_EQ(doc.header.memo, memo);
  EXPECT_FALSE(ReadJwwMemo(dir.Write("longcut.jww", JwwHeaderBytes(700, memo).substr(0, 70000)),
                           doc));
}

TEST_F(JwwProbe, MemoReaderClearsTheDocumentFirst) {
  ASSERT_TRUE(ReadJwwBytes(DrawingWithOneLine(700), doc));
  ASSERT_FALSE(doc.store.lines.empty());
  ASSERT_TRUE(ReadJwwMemo(dir.Write("a.jww", DrawingWithOneLine(420, "second")), doc));
  EXPECT_TRUE(doc.store.lines.empty());
  EXPECT_EQ(doc.header.memo, "second");
}

}  // namespace
}  // namespace varnelko
