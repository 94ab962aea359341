#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "desktop/layer_choices.h"
#include "desktop_fixtures.h"
#include "document/cp932.h"
#include "formats/jww/jww_file.h"
#include "formats/loaded_drawing.h"
#include "support/document_builder.h"

namespace varnelko::test {
namespace {

TEST(LayerTallyTest, NamesThatDifferBetweenDrawingsAreMarked) {
  TempDir temp;
  LayerTally tally;
  for (const char* name : {"1階", "", "2階"}) {
    JwwDocument doc = BuildJwwDocument({.entities = 0, .block_defs = 0});
    for (TLayerGroup& g : doc.layer_groups) g.name.clear();
    for (TLayer& l : doc.layers) l.name.clear();
    doc.layer_groups[1].name = Utf8ToCp932(name);
    doc.layers[16 + 15].name = Utf8ToCp932("通り芯");
    TEntSen line;
    line.header.layer_group = 1;
    line.header.layer = 15;
    doc.store.Add(line);
    const std::filesystem::path file = temp.path() / (std::string("d") + name + ".jww");
    ASSERT_TRUE(WriteJwwFile(file, 700, doc));
    LoadedDrawing drawing;
    ASSERT_TRUE(drawing.Load(file, nullptr));
    tally.Add(drawing);
  }
  EXPECT_EQ(tally.drawings, 3);
  EXPECT_EQ(GroupItemText(tally, 1), "1 : 1階 他 (3)");
  EXPECT_EQ(LayerItemText(tally, 1, 15), "F : 通り芯 (3)");
  // Over every group a layer has no one name.
  EXPECT_EQ(LayerItemText(tally, 16, 15), "F (3)");
  EXPECT_EQ(LayerItemText(tally, -1, 15), "F (3)");
  EXPECT_EQ(GroupItemText(tally, 16), "全て (3)");
  EXPECT_EQ(GroupItemCount(tally, 0), 0);
}

TEST(LayerTallyReaderTest, CountsTheDrawingsOnceAndNothingAfterItIsGone) {
  TempDir temp;
  WriteLayeredDrawing(temp.path() / "a.jww", 1'200);
  WriteLayeredDrawing(temp.path() / "b.jww", 3);
  temp.Write("c.jww", "JwwData.no header");
  UiQueue ui;
  int calls = 0;
  LayerTally tally;
  {
    LayerTallyReader reader({temp.path() / "a.jww", temp.path() / "b.jww", temp.path() / "c.jww"},
                            ui.Post(), [&](const LayerTally& t) {
                              ++calls;
                              tally = t;
                            });
    ASSERT_TRUE(ui.RunUntil([&] { return calls > 0; }));
  }
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(tally.drawings, 2);
  EXPECT_EQ(tally.failed, 1);
  EXPECT_EQ(LayerItemText(tally, 1, 3), "3 : 壁 (1,203)");
  EXPECT_EQ(GroupItemText(tally, 1), "1 : 1階 (1,205)");

  // A reader dropped before it finishes hands nothing over, even later.
  {
    LayerTallyReader reader({temp.path() / "a.jww"}, ui.Post(), [&](const LayerTally&) { ++calls; });
  }
  ui.RunUntil([] { return false; }, std::chrono::milliseconds(300));
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace varnelko::test
