#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "formats/entity_archive.h"
#include "support/jww_fixture.h"

namespace varnelko {
namespace {

using namespace test;

struct Loaded {
  bool ok = false;
  EntityStore store;
  FormatError error;
  size_t end = 0;  // where the reader stopped
};

Loaded Read(const std::string& bytes, int32_t version = 600,
            size_t max_class_name = kJwwMaxClassName) {
  Loaded r;
  ByteReader in(bytes);
  r.ok = ReadEntityArchive(in, version, max_class_name, r.store);
  EXPECT_EQ(r.ok, in.ok());
  r.error = in.error();
  r.end = in.offset();
  return r;
}

TEntTen SamplePoint(int seed, uint8_t pen_style) {
  TEntTen e;
  e.header = {seed, pen_style, 2, 0, 1, 1, 0};
  e.x = seed;
  e.y = seed + 0.5;
  e.temporary = seed % 2;
  if (pen_style == 100) {
    e.code = seed + 3;
    e.angle = 0.25;
    e.scale = 2.5;
  }
  return e;
}

// Entity list: CDataSen is class 1 and its first line object 2; the second
// line refers to class 1 (object 3); CDataEnko is class 4, its arc object 5;
// a long reference to class 1 (object 6) and a short one to class 4
// (object 7). Block definitions: CDataList is class 8, the first definition
// object 9, its members a line by class 1 (10) and a point of the new class
// CDataTen (11, object 12); the second definition refers to class 8 (13)
// and its member to class 11 (14).
std::string ClassMapArchive() {
  ByteWriter out;
  PutCount(out, 5);
  PutNewClass(out, "CDataSen");
  PutLine(out, 600, SampleLine(1));
  PutClassRef(out, 1);
  PutLine(out, 600, SampleLine(2));
  PutNewClass(out, "CDataEnko");
  TEntEnko arc;
  arc.radius = 5;
  PutArc(out, 600, arc);
  out.U16(0x7FFF);
  out.I32(static_cast<int32_t>(0x80000001u));
  PutLine(out, 600, SampleLine(3));
  PutClassRef(out, 4);
  PutArc(out, 600, arc);

  PutCount(out, 2);
  PutNewClass(out, "CDataList");
  PutEntHeader(out, 600, {});
  out.I32(1);  // number
  out.I32(0);  // referenced
  out.I32(9);  // time stamp
  PutCString(out, "first");
  PutCount(out, 2);
  PutClassRef(out, 1);
  PutLine(out, 600, SampleLine(4));
  PutNewClass(out, "CDataTen");
  PutPoint(out, 600, SamplePoint(5, 1));
  PutClassRef(out, 8);
  PutEntHeader(out, 600, {});
  out.I32(2);
  out.I32(1);
  out.I32(10);
  PutCString(out, "second");
  PutCount(out, 1);
  PutClassRef(out, 11);
  PutPoint(out, 600, SamplePoint(6, 1));
  return out.Take();
}

TEST(EntityArchiveRead, ClassesAndObjectsShareOneRunningNumber) {
  std::string bytes = ClassMapArchive();
  Loaded r = Read(bytes);
  ASSERT_TRUE(r.ok) << r.error.Describe();
  EXPECT_EQ(r.end, bytes.size());
  const EntityStore& s = r.store;
  std::vector<TEntRef> order = {{1, 0}, {1, 1}, {2, 0}, {1, 2}, {2, 1}};
  EXPECT_EQ(s.order, order);
  EXPECT_EQ(s.lines[2], SampleLine(3));
  EXPECT_EQ(s.arcs[1].radius, 5);
  ASSERT_EQ(s.block_defs.size(), 2u);
  EXPECT_EQ(s.block_defs[0].name, "first");
  EXPECT_EQ(s.block_defs[0].members.order, (std::vector<TEntRef>{{1, 0}, {3, 0}}));
  EXPECT_EQ(s.block_defs[0].members.points[0], SamplePoint(5, 1));
  EXPECT_EQ(s.block_defs[1].name, "second");
  EXPECT_EQ(s.block_defs[1].referenced, 1);
  EXPECT_EQ(s.block_defs[1].members.points[0], SamplePoint(6, 1));
}

TEST(EntityArchiveRead, UnrecognisedClassesEndTheLoadWithWhatAndWhere) {
  struct Case {
    const char* name;
    std::string tag;  // bytes written after a first line of class 1
    std::string message;
  };
  auto tag = [](auto put) {
    ByteWriter out;
    put(out);
    return out.Take();
  };
  Case cases[] = {
      {"unknown name", tag([](ByteWriter& o) { PutNewClass(o, "CDataFoo"); }),
       "unknown class name \"CDataFoo\""},
      {"names are case-sensitive", tag([](ByteWriter& o) { PutNewClass(o, "CDATASEN"); }),
       "unknown class name \"CDATASEN\""},
      {"block definition class in the entity list",
       tag([](ByteWriter& o) { PutNewClass(o, "CDataList"); }),
       "unknown class name \"CDataList\""},
      {"control bytes are quoted", tag([](ByteWriter& o) { PutNewClass(o, "C\x1b[2J\xff"); }),
       "unknown class name \"C\\x1b[2J\\xff\""},
      {"reference 0", tag([](ByteWriter& o) { o.U16(0x8000); }),
       "class reference 0 names no known class"},
      {"reference to an object", tag([](ByteWriter& o) { PutClassRef(o, 2); }),
       "class reference 2 names no known class"},
      {"reference past the map", tag([](ByteWriter& o) { PutClassRef(o, 7); }),
       "class reference 7 names no known class"},
      {"long reference past the map", tag([](ByteWriter& o) { PutClassRef(o, 0x12345); }),
       "class reference 74565 names no known class"},
      {"tag below 0x8000", tag([](ByteWriter& o) { o.U16(0x0001); }),
       "tag 0x0001 is no class tag"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ByteWriter out;
    PutCount(out, 2);
    PutNewClass(out, "CDataSen");
    PutLine(out, 600, SampleLine(1));
    size_t tag_offset = out.size();
    out.Bytes(c.tag);
    PutLine(out, 600, SampleLine(2));
    PutCount(out, 0);
    Loaded r = Read(out.Take());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error.what, c.message);
    EXPECT_EQ(r.error.offset, tag_offset);
    EXPECT_EQ(r.store.lines.size(), 1u);
  }
}

TEST(EntityArchiveRead, ReintroducedNameReplacesTheKindsNumber) {
  ByteWriter out;
  PutCount(out, 3);
  PutNewClass(out, "CDataSen");  // class 1, object 2
  PutLine(out, 600, SampleLine(1));
  PutNewClass(out, "CDataSen");  // class 3, object 4
  PutLine(out, 600, SampleLine(2));
  PutClassRef(out, 3);  // object 5
  PutLine(out, 600, SampleLine(3));
  PutCount(out, 0);
  std::string good = out.data();
  Loaded r = Read(good);
  ASSERT_TRUE(r.ok) << r.error.Describe();
  EXPECT_EQ(r.store.lines.size(), 3u);

  // The first number no longer names the line class.
  good[good.size() - 2 - 47 - 2] = 1;
  r = Read(good);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error.what, "class reference 1 names no known class");
}

TEST(EntityArchiveRead, BlockDefinitionTagsMustNameTheDefinitionClass) {
  auto archive = [](auto put_tag) {
    ByteWriter out;
    PutCount(out, 1);
    PutNewClass(out, "CDataSen");
    PutLine(out, 600, SampleLine(1));
    PutCount(out, 1);
    put_tag(out);
    PutEntHeader(out, 600, {});
    out.I32(1);
    out.I32(0);
    out.I32(0);
    PutCString(out, "b");
    PutCount(out, 0);
    return out.Take();
  };
  EXPECT_TRUE(Read(archive([](ByteWriter& o) { PutNewClass(o, "CDataList"); })).ok);
  Loaded r = Read(archive([](ByteWriter& o) { PutNewClass(o, "CDataSen"); }));
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error.what, "unknown class name \"CDataSen\" for a block definition");
  r = Read(archive([](ByteWriter& o) { PutClassRef(o, 1); }));
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error.what, "class reference 1 names no block definition class");
}

TEST(EntityArchiveRead, ClassNamesLongerThanTheReadersBufferAreRefused) {
  auto archive = [](size_t name_length) {
    ByteWriter out;
    PutCount(out, 1);
    PutNewClass(out, std::string(name_length, 'C'));
    PutLine(out, 600, SampleLine(1));
    PutCount(out, 0);
    return out.Take();
  };
  Loaded r = Read(archive(201), 600, kJwsMaxClassName);
  EXPECT_EQ(r.error.what, "class name of 201 bytes is longer than the 200 the reader holds");
  r = Read(archive(2049), 600, kJwwMaxClassName);
  EXPECT_EQ(r.error.what, "class name of 2049 bytes is longer than the 2048 the reader holds");
  r = Read(archive(2048), 600, kJwwMaxClassName);
  EXPECT_EQ(r.error.what.rfind("unknown class name", 0), 0u);
}

TEST(EntityArchiveRead, CountsAreCheckedAgainstTheBytesLeft) {
  // 70,000 lines need the long count form.
  ByteWriter out;
  PutCount(out, 70000);
  EXPECT_EQ(out.size(), 6u);
  PutNewClass(out, "CDataSen");
  PutLine(out, 600, SampleLine(0));
  for (int i = 1; i < 70000; ++i) {
    PutClassRef(out, 1);
    PutLine(out, 600, SampleLine(i));
  }
  PutCount(out, 0);
  Loaded r = Read(out.data());
  ASSERT_TRUE(r.ok) << r.error.Describe();
  ASSERT_EQ(r.store.lines.size(), 70000u);
  EXPECT_EQ(r.store.lines[69999], SampleLine(69999));

  for (int64_t count : {int64_t{-1}, int64_t{INT32_MIN}, int64_t{INT32_MAX}, int64_t{3}}) {
    SCOPED_TRACE(count);
    ByteWriter bad;
    PutCount(bad, count);
    PutNewClass(bad, "CDataSen");
    PutLine(bad, 600, SampleLine(0));
    PutCount(bad, 0);
    EXPECT_FALSE(Read(bad.Take()).ok);
  }
  // An empty entity list still has its block definition list after it.
  ByteWriter empty;
  PutCount(empty, 0);
  PutCount(empty, 0xFFFF);  // long form
  r = Read(empty.Take());
  EXPECT_FALSE(r.ok);
  ByteWriter negative_defs;
  PutCount(negative_defs, 0);
  PutCount(negative_defs, -5);
  r = Read(negative_defs.Take());
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error.what, "block definition list count -5 is negative");
}

TEST(EntityArchiveRead, NegativeTimeStampCarriesEightBytesAndBecomesThePosition) {
  ByteWriter out;
  PutCount(out, 0);
  PutCount(out, 3);
  for (int i = 0; i < 3; ++i) {
    if (i == 0) {
      PutNewClass(out, "CDataList");
    } else {
      PutClassRef(out, 1);
    }
    PutEntHeader(out, 600, {});
    out.I32(i + 1);
    out.I32(0);
    int32_t stamp = i == 1 ? 77 : (i == 0 ? -1 : INT32_MIN);
    out.I32(stamp);
    if (stamp < 0) out.Bytes("\x01\x02\x03\x04\x05\x06\x07\x08");
    PutCString(out, "def" + std::to_string(i));
    PutCount(out, 0);
  }
  Loaded r = Read(out.Take());
  ASSERT_TRUE(r.ok) << r.error.Describe();
  ASSERT_EQ(r.store.block_defs.size(), 3u);
  EXPECT_EQ(r.store.block_defs[0].timestamp, 1);
  EXPECT_EQ(r.store.block_defs[1].timestamp, 77);
  EXPECT_EQ(r.store.block_defs[2].timestamp, 3);
  EXPECT_EQ(r.store.block_defs[2].name, "def2");
}

TEntSunpo SampleDimension() {
  TEntSunpo d;
  d.header = {4, 5, 6, 0, 7, 8, 0x20};
  d.line = SampleLine(11);
  d.text.header = {1, 1, 1, 0, 1, 1, 0};
  d.text.text = "12.5";
  d.text.font = "MS Gothic";
  return d;
}

TEST(EntityArchiveRead, DimensionsBelow420TakeTheirOwnHeaderForTheMissingParts) {
  ByteWriter out;
  PutCount(out, 2);
  PutNewClass(out, "CDataSunpou");
  PutDimension(out, 400, SampleDimension());
  PutNewClass(out, "CDataSen");
  PutLine(out, 400, SampleLine(3));
  PutCount(out, 0);
  Loaded r = Read(out.Take(), 400);
  ASSERT_TRUE(r.ok) << r.error.Describe();
  const TEntSunpo& d = r.store.dimensions[0];
  EXPECT_EQ(d.line, SampleLine(11));
  EXPECT_EQ(d.text.text, "12.5");
  EXPECT_EQ(d.sxf_mode, 0);
  for (const TEntSen& aux : d.aux_lines) {
    EXPECT_EQ(aux.header, d.header);
    EXPECT_EQ(aux.end_y, 0);
  }
  for (const TEntTen& p : d.points) {
    TEntHeader expected = d.header;
    expected.pen_style = 0;
    EXPECT_EQ(p.header, expected);
    EXPECT_EQ(p.x, 0);
  }
  EXPECT_EQ(r.store.lines[0], SampleLine(3));

  // From 420 the SXF mode, aux lines and points are read, each point's
  // extras by its own pen style.
  TEntSunpo full = SampleDimension();
  full.header.pen_width = 3;
  full.sxf_mode = -2;
  full.aux_lines[1] = SampleLine(12);
  full.points[0] = SamplePoint(1, 100);
  full.points[3] = SamplePoint(2, 7);
  ByteWriter v420;
  PutCount(v420, 1);
  PutNewClass(v420, "CDataSunpou");
  PutDimension(v420, 420, full);
  PutCount(v420, 0);
  r = Read(v420.Take(), 420);
  ASSERT_TRUE(r.ok) << r.error.Describe();
  EXPECT_EQ(r.store.dimensions[0], full);
}

TEST(EntityArchiveRead, EveryKindReadsBackFieldForField) {
  for (int32_t v : {350, 351, 700}) {
    SCOPED_TRACE(v);
    uint16_t width = v >= 351 ? 5 : 0;  // absent below 351
    TEntEnko arc{{1, 2, 3, width, 4, 5, 6}, 1, 2, 3, 4, 5, 6, 7, 1};
    TEntMoji text;
    text.header = {-1, 255, 65535, width, 15, 15, 0xFFFF};
    text.start_x = 1.5;
    text.text_type = 3;
    text.angle = 90;
    text.font = std::string("\x82\x6c\x82\x72\0", 5);
    text.text = std::string(300, '\x88');
    TEntSolid solid_plain;
    solid_plain.header.pen_color = 9;
    solid_plain.corners[3] = {7, 8};
    TEntSolid solid_colored = solid_plain;
    solid_colored.header.pen_color = 10;
    solid_colored.color = 0x123456;
    TEntBlock block{{2, 1, 1, width, 0, 0, 0}, 1, 2, 3, 4, 5, 42};
    TEntTen plain = SamplePoint(3, 1), extra = SamplePoint(4, 100);

    ByteWriter out;
    PutCount(out, 7);
    PutNewClass(out, "CDataEnko");
    PutArc(out, v, arc);
    PutNewClass(out, "CDataMoji");
    PutText(out, v, text);
    PutNewClass(out, "CDataSolid");
    PutSolid(out, v, solid_plain);
    PutClassRef(out, 5);
    PutSolid(out, v, solid_colored);
    PutNewClass(out, "CDataBlock");
    PutBlock(out, v, block);
    PutNewClass(out, "CDataTen");
    PutPoint(out, v, extra);
    PutClassRef(out, 10);
    PutPoint(out, v, plain);
    PutCount(out, 0);
    std::string bytes = out.Take();
    Loaded r = Read(bytes, v);
    ASSERT_TRUE(r.ok) << r.error.Describe();
    EXPECT_EQ(r.end, bytes.size());
    EXPECT_EQ(r.store.arcs[0], arc);
    EXPECT_EQ(r.store.texts[0], text);
    EXPECT_EQ(r.store.solids[0], solid_plain);
    EXPECT_EQ(r.store.solids[1], solid_colored);
    EXPECT_EQ(r.store.blocks[0], block);
    EXPECT_EQ(r.store.points[0], extra);
    EXPECT_EQ(r.store.points[1], plain);
  }
}

TEST(EntityArchiveRead, ExtraFieldsAreReadOnlyForTheirMarkers) {
  // A point in style 1 followed by zero bytes that would be its extras in
  // style 100: the first two of them are the empty block definition list.
  ByteWriter out;
  PutCount(out, 1);
  PutNewClass(out, "CDataTen");
  PutPoint(out, 600, SamplePoint(1, 1));
  size_t after = out.size();
  out.Fill(0, 20);
  PutCount(out, 0);
  Loaded r = Read(out.Take());
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.end, after + 2);  // the zero count of definitions
  EXPECT_EQ(r.store.points[0].code, 0);
  EXPECT_EQ(r.store.points[0].scale, 0);
}

}  // namespace
}  // namespace varnelko
