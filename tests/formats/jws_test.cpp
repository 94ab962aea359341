#include "formats/jws/jws_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "formats/byte_writer.h"
#include "formats/entity_archive.h"
#include "support/document_builder.h"
#include "support/temp_dir.h"

namespace varnelko {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;

// Header bytes of a figure with recognisable values: the filler holds
// garbage, scale of group g is 100 + g, header integers 1..6, doubles 0.5..
std::string HeaderBytes(int32_t version, std::string_view signature = "JwsData") {
  ByteWriter w;
  w.Bytes(signature);
  w.Fill(0xA5, 193);
  w.I32(version);
  w.F64(1.25);
  w.F64(-7.5);
  for (int g = 0; g < 16; ++g) w.F64(100 + g);
  for (int i = 1; i <= 6; ++i) w.I32(i);
  for (int i = 1; i <= 10; ++i) w.F64(i + 0.5);
  return w.Take();
}

std::string ArchiveBytes(int32_t version, const EntityStore& store) {
  ByteWriter w;
  EXPECT_TRUE(WriteEntityArchive(w, version, store, {}, nullptr));
  return w.Take();
}

// An entity list of one object of a new class, followed by zero bytes.
std::string OneObjectOfClass(const std::string& name) {
  ByteWriter w;
  w.U16(1);
  w.U16(0xFFFF);
  w.U16(600);
  w.U16(static_cast<uint16_t>(name.size()));
  w.Bytes(name);
  w.Fill(0, 64);
  return w.Take();
}

const std::string kEmptyLists("\0\0\0\0", 4);

// Names the first part of two stores that differs, for readable failures.
template <typename T>
std::string FirstDiffering(const char* what, const std::vector<T>& a, const std::vector<T>& b) {
  if (a.size() != b.size()) return std::string(what) + " count";
  for (size_t i = 0; i < a.size(); ++i) {
    if (!(a[i] == b[i])) return std::string(what) + " #" + std::to_string(i);
  }
  return {};
}

std::string StoreDifference(const EntityList& a, const EntityList& b) {
  for (std::string d : {FirstDiffering("order", a.order, b.order),
                        FirstDiffering("line", a.lines, b.lines),
                        FirstDiffering("arc", a.arcs, b.arcs),
                        FirstDiffering("point", a.points, b.points),
                        FirstDiffering("text", a.texts, b.texts),
                        FirstDiffering("dimension", a.dimensions, b.dimensions),
                        FirstDiffering("solid", a.solids, b.solids),
                        FirstDiffering("block", a.blocks, b.blocks)}) {
    if (!d.empty()) return d;
  }
  return "no difference";
}

std::string StoreDifference(const EntityStore& a, const EntityStore& b) {
  if (!(static_cast<const EntityList&>(a) == b)) return StoreDifference(static_cast<const EntityList&>(a), b);
  if (a.block_defs.size() != b.block_defs.size()) return "block definition count";
  for (size_t i = 0; i < a.block_defs.size(); ++i) {
    if (!(a.block_defs[i] == b.block_defs[i])) {
      const TEntBlockDef& x = a.block_defs[i];
      const TEntBlockDef& y = b.block_defs[i];
      if (!(x.header == y.header)) return "block definition #" + std::to_string(i) + " header";
      if (x.number != y.number || x.referenced != y.referenced || x.timestamp != y.timestamp ||
          x.name != y.name) {
        return "block definition #" + std::to_string(i) + " fields: " + std::to_string(x.number) +
               "/" + std::to_string(y.number) + " " + std::to_string(x.referenced) + "/" +
               std::to_string(y.referenced) + " " + std::to_string(x.timestamp) + "/" +
               std::to_string(y.timestamp);
      }
      return "block definition #" + std::to_string(i) + ": " +
             StoreDifference(a.block_defs[i].members, b.block_defs[i].members);
    }
  }
  return "no difference";
}

size_t FirstDifference(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    if (a[i] != b[i]) return i;
  }
  return n;
}

TEST(JwsProbe, AcceptsOnlyTheExactSignature) {
  TempDir dir;
  EXPECT_TRUE(IsJwsFile(dir.Write("a.jws", "JwsData and anything")));
  EXPECT_TRUE(IsJwsFile(dir.Write("b.jws", "JwsData")));
  EXPECT_FALSE(IsJwsFile(dir.Write("c.jws", "JwsDat")));
  EXPECT_FALSE(IsJwsFile(dir.Write("d.jws", "JwwData.xxxxxxxx")));
  EXPECT_FALSE(IsJwsFile(dir.Write("e.jws", "JWSDATA.")));
  EXPECT_FALSE(IsJwsFile(dir.Write("f.jws", std::string("Jws\0ata", 7))));
  EXPECT_FALSE(IsJwsFile(dir / "missing.jws"));
}

TEST(JwsReader, EmptyFigureKeepsEveryHeaderValue) {
  TempDir dir;
  auto path = dir.Write("empty.jws", HeaderBytes(351) + kEmptyLists);
  ASSERT_EQ(HeaderBytes(351).size(), 452u);
  JwsDocument doc;
  FormatError error;
  ASSERT_TRUE(ReadJwsFile(path, doc, &error)) << error.Describe();
  EXPECT_EQ(doc.signature, "JwsData");
  EXPECT_EQ(doc.version, 351);
  EXPECT_EQ(doc.leading1, 1.25);
  EXPECT_EQ(doc.leading2, -7.5);
  EXPECT_EQ(doc.group_scales[5], 105);  // the double at offset 260
  EXPECT_EQ(doc.header_ints[5], 6);
  EXPECT_EQ(doc.header_doubles[9], 10.5);
  EXPECT_TRUE(doc.store.order.empty());
  EXPECT_TRUE(doc.store.block_defs.empty());
}

TEST(JwsReader, VersionDecidesTheEntityLayout) {
  TempDir dir;
  for (int32_t v : {350, 351, 419, 420, 700}) {
    JwsDocument built = test::BuildJwsDocument({.version = v, .entities = 40, .seed = 7});
    // A version 700 figure ends after its block definitions: what follows
    // is never read as an image count.
    std::string trailing = v == 700 ? std::string("\xFF\xFF\xFF\x7F", 4) : std::string();
    auto path = dir.Write("v.jws", HeaderBytes(v) + ArchiveBytes(v, built.store) + trailing);
    JwsDocument doc;
    FormatError error;
    ASSERT_TRUE(ReadJwsFile(path, doc, &error)) << v << ": " << error.Describe();
    EXPECT_TRUE(doc.store == built.store) << v << ": " << StoreDifference(doc.store, built.store);
  }
}

TEST(JwsReader, SignatureIsNotTestedWhenCalledDirectly) {
  TempDir dir;
  auto path = dir.Write("odd.jws", HeaderBytes(600, "XXXXXXX") + kEmptyLists);
  JwsDocument doc;
  ASSERT_TRUE(ReadJwsFile(path, doc));
  EXPECT_EQ(doc.signature, "XXXXXXX");
}

TEST(JwsReader, DamagedFilesFailWithAnOffset) {
  TempDir dir;
  JwsDocument doc;
  FormatError error;
  // A negative block definition count in the long form.
  std::string negative = HeaderBytes(600) + std::string("\0\0\xFF\xFF\xFE\xFF\xFF\xFF", 8);
  EXPECT_FALSE(ReadJwsFile(dir.Write("neg.jws", negative), doc, &error));
  // A header cut short.
  EXPECT_FALSE(ReadJwsFile(dir.Write("short.jws", HeaderBytes(600).substr(0, 300)), doc, &error));
  EXPECT_LE(error.offset, 300u);
  // A count far beyond what the file could hold.
  std::string huge = HeaderBytes(600) + std::string("\xFF\xFF\xFF\xFF\xFF\x7F", 6);
  EXPECT_FALSE(ReadJwsFile(dir.Write("huge.jws", huge), doc, &error));
  // A class name longer than a figure's 200 bytes, and a class the format
  // does not have: both end the load.
  for (std::string name : {std::string(201, 'C'), std::string("CDataFoo")}) {
    EXPECT_FALSE(ReadJwsFile(dir.Write("class.jws", HeaderBytes(600) + OneObjectOfClass(name)),
                             doc, &error))
        << name;
  }
  // A file that cannot be opened leaves the document empty.
  doc.version = 5;
  EXPECT_FALSE(ReadJwsFile(dir / "missing.jws", doc, &error));
  EXPECT_EQ(doc, JwsDocument{});
}

TEST(JwsWriter, RoundTripAcrossVersionNormalisation) {
  TempDir dir;
  const std::pair<int32_t, int32_t> cases[] = {{200, 230}, {230, 230}, {231, 231}, {299, 299},
                                               {300, 351}, {301, 301}, {350, 350}, {351, 351},
                                               {420, 420}, {700, 700}};
  for (auto [loaded, written] : cases) {
    JwsDocument doc = test::BuildJwsDocument({.version = loaded, .entities = 30, .seed = 3});
    auto path = dir / "out.jws";
    FormatError error;
    ASSERT_TRUE(WriteJwsFile(path, loaded, doc, &error)) << error.Describe();
    std::string bytes = ReadFile(path);
    int32_t stored = 0;
    std::memcpy(&stored, bytes.data() + 200, 4);
    EXPECT_EQ(stored, written) << loaded;
    EXPECT_EQ(bytes.substr(7, 193), std::string(193, '.'));
    JwsDocument back;
    ASSERT_TRUE(ReadJwsFile(path, back, &error)) << loaded << ": " << error.Describe();
    doc.version = written;
    EXPECT_TRUE(back == doc) << loaded << ": " << StoreDifference(back.store, doc.store);
  }
}

TEST(JwsWriter, ShortensTheImageMarkerOnlyInTextBodies) {
  JwsDocument doc = test::BuildJwsDocument({.version = 700, .entities = 0, .block_defs = 0});
  auto text = [](std::string s) {
    TEntMoji t;
    t.header.pen_color = 1;
    t.header.pen_style = 1;
    t.size_x = t.size_y = 1;
    t.font = "Arial";
    t.text = std::move(s);
    return t;
  };
  doc.store.Add(text("^@BM%temp%pic.bmp,100,80"));
  doc.store.Add(text("^@bm%temp%pic.bmp,100,80"));  // another case
  doc.store.Add(text("^@BM%temppic.bmp"));           // only nine of the ten bytes
  TEntSunpo dim;
  dim.header = dim.line.header = dim.text.header = text("").header;
  dim.text = text("^@BM%temp%dim.bmp");
  for (auto& a : dim.aux_lines) a.header = dim.header;
  for (auto& p : dim.points) p.header = dim.header;
  doc.store.Add(dim);
  TEntBlockDef def;
  def.header.pen_color = 1;
  def.name = "b";
  def.members.Add(text("^@BM%temp%member.bmp"));
  doc.store.block_defs.push_back(def);

  TempDir dir;
  ASSERT_TRUE(WriteJwsFile(dir / "m.jws", 700, doc));
  JwsDocument back;
  ASSERT_TRUE(ReadJwsFile(dir / "m.jws", back));
  EXPECT_EQ(back.store.texts[0].text, "^@BMpic.bmp,100,80");
  EXPECT_EQ(back.store.texts[1].text, "^@bm%temp%pic.bmp,100,80");
  EXPECT_EQ(back.store.texts[2].text, "^@BM%temppic.bmp");
  EXPECT_EQ(back.store.dimensions[0].text.text, "^@BM%temp%dim.bmp");
  EXPECT_EQ(back.store.block_defs[0].members.texts[0].text, "^@BMmember.bmp");
  EXPECT_EQ(doc.store.texts[0].text, "^@BM%temp%pic.bmp,100,80");  // the document stays
}

TEST(JwsWriter, FailureLeavesNoFile) {
  TempDir dir;
  JwsDocument doc = test::BuildJwsDocument({.version = 600});
  EXPECT_FALSE(WriteJwsFile(dir / "no" / "such" / "x.jws", 600, doc));
  EXPECT_FALSE(fs::exists(dir / "no"));
  // A text with no archive form fails the write; an older file stays as it
  // was (it may be the figure that was loaded).
  auto old = dir.Write("x.jws", "older output");
  doc.store.texts.at(0).text = std::string(70000, 'a');
  FormatError error;
  EXPECT_FALSE(WriteJwsFile(old, 600, doc, &error));
  EXPECT_EQ(test::ReadFile(old), "older output");
  EXPECT_FALSE(error.what.empty());
}

TEST(JwsRealFigures, LoadAndRebuildByteForByte) {
  fs::path root = test::RealDrawingsFolder();
  if (root.empty()) GTEST_SKIP() << "no real drawings beside the project";
  size_t checked = 0;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    std::string ext = entry.path().extension().string();
    if (ext != ".jws" && ext != ".JWS") continue;
    SCOPED_TRACE(entry.path().string());
    ASSERT_TRUE(IsJwsFile(entry.path()));
    JwsDocument doc;
    FormatError error;
    ASSERT_TRUE(ReadJwsFile(entry.path(), doc, &error)) << error.Describe();
    std::string original = ReadFile(entry.path());
    std::string rebuilt;
    ASSERT_TRUE(BuildJwsBytes(doc.version, doc, rebuilt, &error)) << error.Describe();
    EXPECT_EQ(rebuilt.size(), original.size());
    EXPECT_TRUE(rebuilt == original)
        << "first difference at offset " << FirstDifference(rebuilt, original);
    ++checked;
  }
  EXPECT_GT(checked, 0u);
}

}  // namespace
}  // namespace varnelko
