#include "conversion/layer_rules.h"

#include <gtest/gtest.h>

#include "conversion/drawing_files.h"

namespace varnelko {
namespace {

ConversionSettings Settings(std::array<int32_t, 8> slots) { return test::SettingsOf(slots); }

TEntHeader On(uint16_t group, uint16_t layer, uint16_t color = 3, uint8_t style = 2) {
  TEntHeader h;
  h.layer_group = group;
  h.layer = layer;
  h.pen_color = color;
  h.pen_style = style;
  h.pen_width = 7;
  h.flags = 5;
  h.group = 11;
  return h;
}

// One entity of every kind, every header on (group, layer).
EntityStore OneOfEach(uint16_t group, uint16_t layer) {
  EntityStore s;
  auto add = [&](auto e) {
    e.header = On(group, layer);
    s.Add(std::move(e));
  };
  add(TEntSen{{}, 1, 2, 3, 4});
  add(TEntEnko{});
  add(TEntTen{});
  add(TEntMoji{});
  TEntSunpo dim;
  dim.line.header = On(group, layer);
  dim.text.header = On(group, layer);
  for (auto& a : dim.aux_lines) a.header = On(group, layer);
  for (auto& p : dim.points) p.header = On(group, layer);
  add(dim);
  add(TEntSolid{});
  add(TEntBlock{});
  return s;
}

EntityStore WithBlockDef(uint16_t group, uint16_t layer) {
  EntityStore s;
  TEntBlockDef def;
  def.header = On(group, layer);
  EntityStore members = OneOfEach(group, layer);
  def.members = static_cast<EntityList&>(members);
  s.block_defs.push_back(def);
  return s;
}

TEST(ConvertPenRules, TargetTestAndRanges) {
  const ConversionSettings s = Settings({3, 5, 1, 1, 0, 0, 0, 0});
  EXPECT_EQ(ConvertPenColor(s, 3, 3, 5), kAuxColor);
  EXPECT_EQ(ConvertPenColor(s, 3, 3, 4), 3);  // other layer
  EXPECT_EQ(ConvertPenColor(s, 3, 2, 5), 3);  // other group
  EXPECT_EQ(ConvertPenColor(s, 0, 3, 5), 0);  // colour 0 stays
  EXPECT_EQ(ConvertPenColor(s, 356, 3, 5), kAuxColor);
  EXPECT_EQ(ConvertPenColor(s, 357, 3, 5), 357);
  EXPECT_EQ(ConvertPenStyle(s, 1, 3, 5), kAuxLineType);
  EXPECT_EQ(ConvertPenStyle(s, 62, 3, 5), kAuxLineType);
  EXPECT_EQ(ConvertPenStyle(s, 63, 3, 5), 63);
  EXPECT_EQ(ConvertPenStyle(s, 100, 3, 5), 100);
  EXPECT_EQ(ConvertPenStyle(s, 0, 3, 5), 0);
}

TEST(ConvertPenRules, OddSlotValues) {
  // Any non-zero C3/C4 is on.
  EXPECT_EQ(ConvertPenColor(Settings({0, 0, 2, 0, 0, 0, 0, 0}), 4, 0, 0), kAuxColor);
  EXPECT_EQ(ConvertPenStyle(Settings({0, 0, 0, -1, 0, 0, 0, 0}), 4, 0, 0), kAuxLineType);
  EXPECT_EQ(ConvertPenStyle(Settings({0, 0, 1, 0, 0, 0, 0, 0}), 4, 0, 0), 4);  // C4 off
  // C1 = 20 or -1 picks no group; 16 picks every group.
  for (uint16_t g : {0, 15, 16, 20, 65535}) {
    EXPECT_EQ(ConvertPenColor(Settings({20, 16, 1, 0, 0, 0, 0, 0}), 4, g, 0), 4);
    EXPECT_EQ(ConvertPenColor(Settings({-1, 16, 1, 0, 0, 0, 0, 0}), 4, g, 0), 4);
  }
  // An out-of-range layer in the header only matches "all".
  EXPECT_EQ(ConvertPenColor(Settings({16, 16, 1, 0, 0, 0, 0, 0}), 4, 20, 17), kAuxColor);
  EXPECT_EQ(ConvertPenColor(Settings({16, 17, 1, 0, 0, 0, 0, 0}), 4, 0, 17), 4);
}

TEST(ApplyLayerConversion, TopLevelKindsAndCounts) {
  EntityStore s = OneOfEach(2, 7);
  ConversionCounts c = ApplyLayerConversion(s, 700, Settings({2, 7, 1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(s.lines[0].header.pen_color, 9);
  EXPECT_EQ(s.lines[0].header.pen_style, 9);
  EXPECT_EQ(s.arcs[0].header.pen_color, 9);
  EXPECT_EQ(s.arcs[0].header.pen_style, 9);
  EXPECT_EQ(s.points[0].header.pen_color, 9);
  EXPECT_EQ(s.points[0].header.pen_style, 2);  // points never get the line type
  EXPECT_EQ(s.texts[0].header.pen_color, 9);
  EXPECT_EQ(s.texts[0].header.pen_style, 2);
  EXPECT_EQ(s.solids[0].header.pen_color, 9);
  EXPECT_EQ(s.blocks[0].header, On(2, 7));            // insertions are never visited
  EXPECT_EQ(s.dimensions[0], OneOfEach(2, 7).dimensions[0]);  // C5/C7 off
  EXPECT_EQ(c, (ConversionCounts{5, 2}));
  // Everything else of the header stays.
  EXPECT_EQ(s.lines[0].header.pen_width, 7);
  EXPECT_EQ(s.lines[0].header.flags, 5);
  EXPECT_EQ(s.lines[0].header.group, 11);
  EXPECT_EQ(s.lines[0].end_y, 4);

  // Converting again changes nothing and counts nothing.
  EXPECT_EQ(ApplyLayerConversion(s, 700, Settings({2, 7, 1, 1, 0, 0, 0, 0})),
            (ConversionCounts{0, 0}));
}

TEST(ApplyLayerConversion, GroupAndLayerSelection) {
  // C1 = 3, C2 = all: every layer of group 3 only.
  for (uint16_t g : {2, 3}) {
    for (uint16_t l : {0, 9, 15}) {
      EntityStore s = OneOfEach(g, l);
      ApplyLayerConversion(s, 700, Settings({3, 16, 1, 0, 0, 0, 0, 0}));
      EXPECT_EQ(s.lines[0].header.pen_color, g == 3 ? 9 : 3) << g << "/" << l;
    }
  }
  // C1 = all, C2 = 5: layer 5 of every group.
  for (uint16_t g : {0, 15}) {
    for (uint16_t l : {4, 5}) {
      EntityStore s = OneOfEach(g, l);
      ApplyLayerConversion(s, 700, Settings({16, 5, 1, 0, 0, 0, 0, 0}));
      EXPECT_EQ(s.texts[0].header.pen_color, l == 5 ? 9 : 3) << g << "/" << l;
    }
  }
}

TEST(ApplyLayerConversion, NothingChangesWithBothSwitchesOff) {
  EntityStore s = WithBlockDef(0, 0);
  EntityStore top = OneOfEach(0, 0);
  s.Add(top.lines[0]);
  EntityStore before = s;
  EXPECT_EQ(ApplyLayerConversion(s, 700, Settings({16, 16, 0, 0, 1, 1, 1, 1})),
            (ConversionCounts{0, 0}));
  EXPECT_EQ(s, before);
}

TEST(ApplyLayerConversion, DimensionMembers) {
  // Version 420: colours reach line, text, aux lines and points; line types
  // only the member lines; the dimension's own header never.
  EntityStore s = OneOfEach(1, 1);
  ConversionCounts c = ApplyLayerConversion(s, 420, Settings({1, 1, 1, 1, 1, 0, 1, 0}));
  const TEntSunpo& d = s.dimensions[0];
  EXPECT_EQ(d.header, On(1, 1));
  EXPECT_EQ(d.line.header.pen_color, 9);
  EXPECT_EQ(d.line.header.pen_style, 9);
  EXPECT_EQ(d.text.header.pen_color, 9);
  EXPECT_EQ(d.text.header.pen_style, 2);
  for (const auto& a : d.aux_lines) {
    EXPECT_EQ(a.header.pen_color, 9);
    EXPECT_EQ(a.header.pen_style, 9);
  }
  for (const auto& p : d.points) {
    EXPECT_EQ(p.header.pen_color, 9);
    EXPECT_EQ(p.header.pen_style, 2);
  }
  // 5 top-level colours + 8 dimension members; 2 + 3 styles.
  EXPECT_EQ(c, (ConversionCounts{13, 5}));

  // Version 419: aux lines and points are never looked at.
  EntityStore old = OneOfEach(1, 1);
  ApplyLayerConversion(old, 419, Settings({1, 1, 1, 1, 1, 0, 1, 0}));
  EXPECT_EQ(old.dimensions[0].line.header.pen_color, 9);
  EXPECT_EQ(old.dimensions[0].text.header.pen_color, 9);
  EXPECT_EQ(old.dimensions[0].aux_lines[0].header, On(1, 1));
  EXPECT_EQ(old.dimensions[0].points[3].header, On(1, 1));
}

TEST(ApplyLayerConversion, DimensionMembersUseTheirOwnLayer) {
  EntityStore s = OneOfEach(0, 1);           // dimension on the target layer...
  s.dimensions[0].line.header.layer = 2;     // ...but its line elsewhere
  EntityStore t = OneOfEach(0, 2);           // dimension elsewhere...
  t.dimensions[0].text.header.layer = 1;     // ...but its text on target
  const ConversionSettings on = Settings({0, 1, 1, 0, 1, 0, 0, 0});
  ApplyLayerConversion(s, 700, on);
  ApplyLayerConversion(t, 700, on);
  EXPECT_EQ(s.dimensions[0].line.header.pen_color, 3);
  EXPECT_EQ(s.dimensions[0].text.header.pen_color, 9);
  EXPECT_EQ(t.dimensions[0].text.header.pen_color, 9);
  EXPECT_EQ(t.dimensions[0].line.header.pen_color, 3);
}

TEST(ApplyLayerConversion, DimensionGateNeedsExactlyOne) {
  // C5 on with C3 off: dimensions keep their colours.
  EntityStore s = OneOfEach(0, 0);
  ApplyLayerConversion(s, 700, Settings({0, 0, 0, 1, 1, 0, 0, 0}));
  EXPECT_EQ(s.dimensions[0].line.header.pen_color, 3);
  // C3 = 2: plain entities convert, no dimension member does.
  EntityStore t = OneOfEach(0, 0);
  ApplyLayerConversion(t, 700, Settings({0, 0, 2, 0, 1, 1, 0, 0}));
  EXPECT_EQ(t.lines[0].header.pen_color, 9);
  EXPECT_EQ(t.dimensions[0], OneOfEach(0, 0).dimensions[0]);
  // The line type gate opens the dimension walk, and then C5 = 1 lets the
  // colour rule (on for any non-zero C3) reach the members too.
  EntityStore u = OneOfEach(0, 0);
  ApplyLayerConversion(u, 700, Settings({0, 0, 2, 1, 1, 0, 1, 0}));
  EXPECT_EQ(u.dimensions[0].line.header.pen_color, 9);
  EXPECT_EQ(u.dimensions[0].line.header.pen_style, 9);
}

TEST(ApplyLayerConversion, BlockDefinitionMembers) {
  EntityStore s = WithBlockDef(4, 4);
  ConversionCounts c = ApplyLayerConversion(s, 700, Settings({4, 4, 1, 1, 1, 1, 1, 1}));
  const TEntBlockDef& def = s.block_defs[0];
  EXPECT_EQ(def.header, On(4, 4));  // the definition's own header stays
  const EntityList& m = def.members;
  EXPECT_EQ(m.lines[0].header.pen_color, 9);
  EXPECT_EQ(m.lines[0].header.pen_style, 9);
  EXPECT_EQ(m.arcs[0].header.pen_style, 9);
  EXPECT_EQ(m.points[0].header.pen_color, 9);
  EXPECT_EQ(m.texts[0].header.pen_color, 9);
  EXPECT_EQ(m.solids[0].header.pen_color, 9);
  EXPECT_EQ(m.dimensions[0].aux_lines[1].header.pen_style, 9);
  EXPECT_EQ(m.dimensions[0].points[0].header.pen_color, 9);
  EXPECT_EQ(m.blocks[0].header, On(4, 4));  // member insertions are not visited
  EXPECT_EQ(c, (ConversionCounts{13, 5}));
}

TEST(ApplyLayerConversion, BlockGates) {
  // C6 off and C8 off: members untouched even with everything else on.
  EntityStore s = WithBlockDef(0, 0);
  ApplyLayerConversion(s, 700, Settings({0, 0, 1, 1, 1, 0, 1, 0}));
  EXPECT_EQ(s, WithBlockDef(0, 0));
  // C8 only: member line types, no member colours.
  EntityStore t = WithBlockDef(0, 0);
  ApplyLayerConversion(t, 700, Settings({0, 0, 1, 1, 0, 0, 0, 1}));
  EXPECT_EQ(t.block_defs[0].members.lines[0].header.pen_style, 9);
  EXPECT_EQ(t.block_defs[0].members.lines[0].header.pen_color, 3);
  EXPECT_EQ(t.block_defs[0].members.points[0].header.pen_color, 3);
  // C3 = 2, C6 = 1: member lines/arcs/points/texts convert, member solids and
  // member dimensions do not.
  EntityStore u = WithBlockDef(0, 0);
  ApplyLayerConversion(u, 700, Settings({0, 0, 2, 0, 1, 1, 0, 0}));
  const EntityList& m = u.block_defs[0].members;
  EXPECT_EQ(m.arcs[0].header.pen_color, 9);
  EXPECT_EQ(m.texts[0].header.pen_color, 9);
  EXPECT_EQ(m.solids[0].header.pen_color, 3);
  EXPECT_EQ(m.dimensions[0], WithBlockDef(0, 0).block_defs[0].members.dimensions[0]);
}

TEST(ApplyLayerConversion, AlreadyAuxiliaryIsNotCounted) {
  EntityStore s;
  s.Add(TEntSen{On(0, 0, 9, 9), 0, 0, 1, 1});
  s.Add(TEntSen{On(0, 0, 9, 3), 0, 0, 1, 1});
  TEntSolid solid;
  solid.header = On(0, 0, 10);
  solid.color = 0x123456;
  s.Add(solid);
  ConversionCounts c = ApplyLayerConversion(s, 700, Settings({0, 0, 1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(c, (ConversionCounts{1, 1}));
  EXPECT_EQ(s.solids[0].header.pen_color, 9);
  EXPECT_EQ(s.solids[0].color, 0x123456);  // the solid's own colour value is kept
}

}  // namespace
}  // namespace varnelko
