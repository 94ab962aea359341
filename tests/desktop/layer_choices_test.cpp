#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "desktop/layer_choices.h"
#include "desktop_fixtures.h"
#include "document/cp932.h"
#include "formats/jws/jws_file.h"
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
    ShowAllLayers(doc);
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

// Layers hidden in the drawings are marked: converting them changes nothing
// anyone sees. Figures store no states and count for neither side.
TEST(LayerTallyTest, HiddenGroupsAndLayersAreMarked) {
  struct Case {
    std::vector<std::pair<int32_t, int32_t>> states;  // group 2, its layer 4; per drawing
    bool figure_too;
    const char* group_item;
    const char* layer_item;
  };
  const Case cases[] = {
      {{{2, 2}}, false, "2 (0)", "4 (0)"},
      {{{2, 0}}, false, "2 (0)", "4 (0) (非表示)"},
      {{{0, 2}, {0, 3}}, true, "2 (0) (非表示)", "4 (0) (非表示)"},
      {{{2, 0}, {2, 1}}, false, "2 (0)", "4 (0) (一部非表示)"},
      {{{1, 2}}, false, "2 (0)", "4 (0)"},  // locked is still shown
  };
  for (const Case& c : cases) {
    TempDir temp;
    LayerTally tally;
    int n = 0;
    for (auto [group_state, layer_state] : c.states) {
      JwwDocument doc = BuildJwwDocument({.entities = 0, .block_defs = 0});
      for (TLayerGroup& g : doc.layer_groups) g.name.clear();
      for (TLayer& l : doc.layers) l.name.clear();
      ShowAllLayers(doc);
      doc.layer_groups[2].state = group_state;
      doc.layers[2 * 16 + 4].state = layer_state;
      const std::filesystem::path file = temp.path() / ("d" + std::to_string(n++) + ".jww");
      ASSERT_TRUE(WriteJwwFile(file, 700, doc));
      LoadedDrawing drawing;
      ASSERT_TRUE(drawing.Load(file, nullptr));
      tally.Add(drawing);
    }
    if (c.figure_too) {
      const std::filesystem::path file = temp.path() / "f.jws";
      ASSERT_TRUE(WriteJwsFile(file, 600, BuildJwsDocument({.entities = 0, .block_defs = 0})));
      LoadedDrawing drawing;
      ASSERT_TRUE(drawing.Load(file, nullptr));
      tally.Add(drawing);
    }
    EXPECT_EQ(GroupItemText(tally, 2), c.group_item) << c.layer_item;
    EXPECT_EQ(LayerItemText(tally, 2, 4), c.layer_item) << c.layer_item;
  }
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
