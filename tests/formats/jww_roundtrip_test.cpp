// Drawings written by the JWW writer load back as they were, and writing the
// loaded drawing gives the same bytes again.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>
#include <string>

#include "formats/entity_archive.h"
#include "formats/jww/jww_file.h"
#include "support/document_builder.h"
#include "support/jww_fixture.h"
#include "support/temp_dir.h"

namespace varnelko {
namespace {

// Every version at which a test of the layout switches, and its neighbours.
const int32_t kVersions[] = {220, 222, 223, 224, 225, 229, 230, 231, 299, 300,
                             350, 351, 419, 420, 421, 599, 600, 699, 700};

void ExpectSameLists(const EntityList& a, const EntityList& b, const std::string& where) {
  SCOPED_TRACE(where);
  EXPECT_EQ(a.order, b.order);
  EXPECT_EQ(a.lines, b.lines);
  EXPECT_EQ(a.arcs, b.arcs);
  EXPECT_EQ(a.points, b.points);
  EXPECT_EQ(a.texts, b.texts);
  EXPECT_EQ(a.dimensions, b.dimensions);
  EXPECT_EQ(a.solids, b.solids);
  EXPECT_EQ(a.blocks, b.blocks);
}

// Equal in everything a file carries; the used flags are the writer's own.
void ExpectSameDrawing(const JwwDocument& a, const JwwDocument& b) {
  EXPECT_EQ(a.header, b.header);
  EXPECT_EQ(a.layer_groups, b.layer_groups);
  EXPECT_EQ(a.layers, b.layers);
  EXPECT_EQ(a.pen_colors, b.pen_colors);
  EXPECT_EQ(a.line_types, b.line_types);
  EXPECT_EQ(a.random_lines, b.random_lines);
  EXPECT_EQ(a.double_line_types, b.double_line_types);
  EXPECT_EQ(a.color_ex, b.color_ex);
  EXPECT_EQ(a.line_type_ex, b.line_type_ex);
  EXPECT_EQ(a.text_types, b.text_types);
  ExpectSameLists(a.store, b.store, "entity list");
  ASSERT_EQ(a.store.block_defs.size(), b.store.block_defs.size());
  for (size_t d = 0; d < a.store.block_defs.size(); ++d) {
    const TEntBlockDef& x = a.store.block_defs[d];
    const TEntBlockDef& y = b.store.block_defs[d];
    EXPECT_EQ(x.header, y.header);
    EXPECT_EQ(std::tie(x.number, x.referenced, x.timestamp, x.name),
              std::tie(y.number, y.referenced, y.timestamp, y.name));
    ExpectSameLists(x.members, y.members, "block definition " + std::to_string(d + 1));
  }
  ASSERT_EQ(a.images.list.size(), b.images.list.size());
  for (size_t i = 0; i < a.images.list.size(); ++i) {
    const TBindImageType& x = a.images.list[i];
    const TBindImageType& y = b.images.list[i];
    EXPECT_EQ(x.name, y.name);
    EXPECT_EQ(x.size, y.size);
    EXPECT_EQ(x.data, y.data);
  }
}

std::string Build(int32_t version, JwwDocument& doc) {
  std::string bytes;
  FormatError error;
  EXPECT_TRUE(BuildJwwBytes(version, doc, bytes, &error)) << error.Describe();
  return bytes;
}

TEST(JwwRoundTrip, BuiltDrawingsComeBackAtEveryVersion) {
  for (int32_t v : kVersions) {
    SCOPED_TRACE(v);
    test::BuildOptions options;
    options.version = v;
    options.entities = 70;
    options.block_defs = 3;
    options.images = v >= 700 ? 3 : 0;
    options.seed = static_cast<uint32_t>(v);
    JwwDocument doc = test::BuildJwwDocument(options);
    std::string bytes = Build(v, doc);
    JwwDocument loaded;
    FormatError error;
    ASSERT_TRUE(ReadJwwBytes(bytes, loaded, &error)) << error.Describe();
    ExpectSameDrawing(doc, loaded);
    EXPECT_TRUE(Build(v, loaded) == bytes);
    FreeJwwDocument(loaded);
    FreeJwwDocument(doc);
  }
}

TEST(JwwRoundTrip, SavingForAnOlderVersionIsStable) {
  // Everything a version 700 drawing holds, written for each older version:
  // what the older layout drops or maps stays dropped and mapped.
  test::BuildOptions options;
  options.version = 700;
  options.entities = 140;
  options.block_defs = 4;
  JwwDocument doc = test::BuildJwwDocument(options);
  for (int32_t v : kVersions) {
    SCOPED_TRACE(v);
    std::string bytes = Build(v, doc);
    JwwDocument loaded;
    FormatError error;
    ASSERT_TRUE(ReadJwwBytes(bytes, loaded, &error)) << error.Describe();
    EXPECT_EQ(loaded.header.version, v);
    EXPECT_EQ(loaded.store.order, doc.store.order);
    ASSERT_EQ(loaded.store.lines.size(), doc.store.lines.size());
    for (size_t i = 0; i < doc.store.lines.size(); ++i) {
      TEntHeader want = NormalizeEntHeader(v, 1, doc.store.lines[i].header);
      if (v < 351) want.pen_width = 0;  // not carried
      ASSERT_EQ(loaded.store.lines[i].header, want) << "line " << i;
    }
    EXPECT_EQ(loaded.store.texts.size(), doc.store.texts.size());
    EXPECT_TRUE(Build(v, loaded) == bytes);
    FreeJwwDocument(loaded);
  }
}

TEST(JwwRoundTrip, EveryHeaderFieldGoesBackToItsPlace) {
  // A header in which every number field holds a distinct marker, so a field
  // written in the wrong place or under the wrong version test shows. Only
  // the reserved words and the packed value may change.
  for (int32_t v : kVersions) {
    SCOPED_TRACE(v);
    std::string original = test::JwwHeaderBytes(v, "a memo\r\n") + test::EmptyJwwTail(v);
    JwwDocument doc;
    ASSERT_TRUE(ReadJwwBytes(original, doc));
    std::string written = Build(v, doc);
    ASSERT_EQ(written.size(), original.size());
    const size_t reserved = 8 + 4 + 1 + 8 + 8 + 16 * 148;
    int32_t settings_10 = doc.header.version_settings[9];
    int32_t stored_packed = doc.header.packed_rest * 10 + doc.header.packed_units;
    std::string marker(8, '\0');
    std::memcpy(marker.data(), &settings_10, 4);
    std::memcpy(marker.data() + 4, &stored_packed, 4);
    size_t packed = original.find(marker);
    ASSERT_NE(packed, std::string::npos);
    packed += 4;
    for (size_t i = 0; i < original.size(); ++i) {
      bool may_differ = (i >= reserved && i < reserved + 56) ||  // fourteen reserved words
                        (i >= reserved + 76 && i < reserved + 80) ||  // one more
                        (i >= packed && i < packed + 4);
      if (!may_differ) {
        ASSERT_EQ(original[i], written[i]) << "offset " << i;
      }
    }
  }
}

TEST(JwwRoundTrip, WritingLeavesTheDocumentAsItWas) {
  test::BuildOptions options;
  options.version = 700;
  options.images = 2;
  JwwDocument doc = test::BuildJwwDocument(options);
  // Values the writer has to normalise or clean on the way out.
  doc.store.lines[0].header.layer = 40;
  doc.store.lines[0].header.pen_style = 0;
  doc.store.texts[0].text = "dirty^m\r\n";
  doc.store.block_defs[1].timestamp = -1;
  doc.layers[3].name = "\t";
  doc.images.list.push_back({"orphan.bmp", 4, 0, {}});
  JwwDocument copy = doc;
  std::string bytes = Build(700, doc);
  EXPECT_EQ(doc.header, copy.header);
  EXPECT_EQ(doc.layers, copy.layers);
  EXPECT_TRUE(doc.store == copy.store);
  std::vector<int> used;
  for (const TBindImageType& e : doc.images.list) used.push_back(e.used);
  EXPECT_EQ(used, (std::vector<int>{1, 1, 0}));

  JwwDocument loaded;
  ASSERT_TRUE(ReadJwwBytes(bytes, loaded));
  EXPECT_EQ(loaded.store.lines[0].header.layer, 0);
  EXPECT_EQ(loaded.store.lines[0].header.pen_style, 1);
  EXPECT_EQ(loaded.store.texts[0].text, "dirty");
  EXPECT_EQ(loaded.store.block_defs[1].timestamp, 2);  // its position in the list
  EXPECT_EQ(loaded.layers[3].name, " ");
  EXPECT_EQ(loaded.images.list.size(), 2u);
  FreeJwwDocument(loaded);
  FreeJwwDocument(doc);
}

TEST(JwwRoundTrip, WriteJwwFileWritesWhatBuildJwwBytesBuilds) {
  test::TempDir dir;
  test::BuildOptions options;
  options.version = 600;
  JwwDocument doc = test::BuildJwwDocument(options);
  std::filesystem::path out = dir.Write("out.jww", "an older drawing");
  FormatError error;
  ASSERT_TRUE(WriteJwwFile(out, 600, doc, &error)) << error.Describe();
  EXPECT_TRUE(test::ReadFile(out) == Build(600, doc));
  EXPECT_TRUE(IsJwwFile(out));
}

TEST(JwwRoundTrip, ManyEntitiesUseTheLongCountAndLongReferences) {
  test::BuildOptions options;
  options.version = 420;
  options.entities = 70000;
  options.block_defs = 2;  // the second refers to its class, numbered past 0x7FFF
  options.japanese_text = false;
  JwwDocument doc = test::BuildJwwDocument(options);
  std::string bytes = Build(420, doc);
  JwwDocument loaded;
  FormatError error;
  ASSERT_TRUE(ReadJwwBytes(bytes, loaded, &error)) << error.Describe();
  EXPECT_TRUE(loaded.store == doc.store);
}

}  // namespace
}  // namespace varnelko
