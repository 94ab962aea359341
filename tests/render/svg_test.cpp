// The SVG: one element per item, the view box, texts, the "after" marks;
// and every real drawing drawn inside its own extent.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "formats/jws/jws_file.h"
#include "formats/jww/jww_file.h"
#include "render/paper.h"
#include "render/svg_writer.h"
#include "render/geometry.h"
#include "document/cp932.h"
#include "scene_test_support.h"
#include "support/document_builder.h"
#include "support/temp_dir.h"

namespace varnelko::render {
namespace {

size_t Count(const std::string& s, const std::string& what) {
  size_t n = 0;
  for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
  return n;
}

// The text between <g id="NAME" ...> and its </g>.
std::string Group(const std::string& svg, const std::string& name) {
  const size_t start = svg.find("<g id=\"" + name + "\"");
  if (start == std::string::npos) return {};
  const size_t end = svg.find("</g>", start);
  return svg.substr(start, end - start);
}

size_t Elements(const std::string& group) {
  size_t n = 0;
  for (const char* tag : {"<polyline ", "<polygon ", "<circle ", "<text ", "<rect "}) {
    n += Count(group, tag);
  }
  return n;
}

TEST(Svg, OneElementPerItemInEveryView) {
  test::BuildOptions build;
  build.entities = 300;
  build.block_defs = 4;
  const JwwDocument doc = test::BuildJwwDocument(build);
  for (SceneView view : {SceneView::kScreen, SceneView::kPrint}) {
    SceneOptions options;
    options.view = view;
    const Scene scene = BuildScene(doc, options);
    std::string svg;
    BuildSvg(scene, {}, svg);
    EXPECT_EQ(Elements(Group(svg, "drawing")), scene.items.size());
    EXPECT_EQ(Count(svg, "<text "), scene.texts.size());
    EXPECT_EQ(svg.find("after-marks"), std::string::npos);
    EXPECT_NE(svg.find("<svg xmlns=\"http://www.w3.org/2000/svg\""), std::string::npos);
    EXPECT_NE(svg.find("fill=\"#ffffff\""), std::string::npos);
  }
}

TEST(Svg, AfterMarksSitOnTheirOwnLayerOnePerChangedItem) {
  test::BuildOptions build;
  build.entities = 400;
  build.block_defs = 0;
  JwwDocument doc = test::BuildJwwDocument(build);
  test::ShowEverything(doc);
  SceneOptions options;
  options.view = SceneView::kPrint;
  options.temporary_points = true;
  options.after = ConversionSettings{{16, 16, 1, 1, 1, 1, 1, 1}};
  const Scene scene = BuildScene(doc, options);
  std::string svg;
  BuildSvg(scene, {}, svg);
  const std::string marks = Group(svg, "after-marks");
  // Every changed entity is marked, also those the print view now leaves out.
  EntityStore copy = doc.store;
  const ConversionCounts counts = ApplyLayerConversion(copy, doc.header.version, *options.after);
  EXPECT_EQ(Elements(marks), scene.marks.size());
  EXPECT_EQ(Count(marks, "class=\"color"), static_cast<size_t>(counts.colors));
  EXPECT_EQ(Count(marks, "linetype\""), static_cast<size_t>(counts.styles));
  EXPECT_NE(svg.find("data-changed-colors=\"" + std::to_string(counts.colors) + "\""),
            std::string::npos);
}

TEST(Svg, ViewBoxFitsTheExtentWithYUpAndTextsEscaped) {
  JwwDocument doc = test::EmptyDrawing();
  doc.header.paper_size = 99;  // no known sheet: the items are framed
  doc.store.Add(test::LineOf(10, 20, 110, 70));
  TEntMoji t;
  t.header = test::Pen(2);
  t.start_x = 10, t.start_y = 20, t.end_x = 16, t.end_y = 20;
  t.size_x = t.size_y = 3;
  t.text = Utf8ToCp932("A<&>\"\x01");
  doc.store.Add(t);
  const Scene scene = BuildScene(doc);
  std::string svg;
  BuildSvg(scene, {.width_px = 1000, .title = "a & b"}, svg);
  // 100 x 50 with a margin of 2 on each side; y runs down in SVG.
  EXPECT_NE(svg.find("viewBox=\"8 -72 104 54\""), std::string::npos) << svg.substr(0, 300);
  EXPECT_NE(svg.find("width=\"1000\" height=\"519\""), std::string::npos);
  EXPECT_NE(svg.find("points=\"10,-20 110,-70\""), std::string::npos);
  EXPECT_NE(svg.find(">A&lt;&amp;&gt;&quot;</text>"), std::string::npos);
  EXPECT_NE(svg.find("<title>a &amp; b</title>"), std::string::npos);
  EXPECT_NE(svg.find("Noto Sans CJK JP"), std::string::npos);
}

TEST(Svg, TextsAreFittedToTheirStoredLength) {
  JwwDocument doc = test::EmptyDrawing();
  TEntMoji t;
  t.header = test::Pen(2);
  t.start_x = 10, t.start_y = 20, t.end_x = 10, t.end_y = 32.5;  // upwards, 12.5 long
  t.size_x = t.size_y = 2.5;
  t.text = "X10";
  doc.store.Add(t);
  std::string svg;
  BuildSvg(BuildScene(doc), {}, svg);
  EXPECT_NE(svg.find("translate(10 -20) rotate(-90)"), std::string::npos) << svg;
  EXPECT_NE(svg.find("font-size=\"2.5\" textLength=\"12.5\" lengthAdjust=\"spacingAndGlyphs\""),
            std::string::npos)
      << svg;
}

TEST(Svg, ScreenShowsTheSheetsEdgePrintShowsTheSheetAlone) {
  JwwDocument doc = test::EmptyDrawing();
  doc.header.paper_size = 4;  // A4: 297 x 210
  doc.store.Add(test::LineOf(-100, -50, 100, 50));
  doc.store.Add(test::LineOf(5000, 0, 5001, 0));  // far off the sheet
  std::string screen, print;
  BuildSvg(BuildScene(doc), {.width_px = 1000}, screen);
  SceneOptions options;
  options.view = SceneView::kPrint;
  BuildSvg(BuildScene(doc, options), {.width_px = 1000}, print);
  // The sheet with a margin of 2% of its width; its edge as a thin frame.
  EXPECT_NE(screen.find("viewBox=\"-154.44 -110.94 308.88 221.88\""), std::string::npos)
      << screen.substr(0, 400);
  EXPECT_NE(screen.find("<rect id=\"paper\" x=\"-148.5\" y=\"-105\" width=\"297\" height=\"210\""),
            std::string::npos);
  EXPECT_NE(screen.find("data-frame=\"paper\" data-off-paper=\"1\""), std::string::npos);
  EXPECT_EQ(Count(Group(screen, "drawing"), "<polyline "), 2u);
  EXPECT_NE(print.find("viewBox=\"-148.5 -105 297 210\""), std::string::npos) << print.substr(0, 400);
  EXPECT_NE(print.find("width=\"1000\" height=\"707\""), std::string::npos);
  EXPECT_EQ(print.find("id=\"paper\""), std::string::npos);
  EXPECT_EQ(Count(Group(print, "drawing"), "<polyline "), 1u);
  EXPECT_NE(print.find("stroke=\"#000000\""), std::string::npos);
}

TEST(Svg, AnEmptyDrawingStillGivesAPicture) {
  const Scene scene = BuildScene(test::EmptyDrawing());
  std::string svg;
  BuildSvg(scene, {}, svg);
  EXPECT_NE(svg.find("viewBox="), std::string::npos);
  EXPECT_NE(svg.find("</svg>"), std::string::npos);
  EXPECT_EQ(svg.find("nan"), std::string::npos);
}

// A figure stores its extent in header doubles 7..10 (x min, y min, x max,
// y max): the box round its geometry and its texts' base lines, from the
// start of the first character to the end of the last. It leaves out how
// high the texts stand (a figure whose label stands 0.2 above its lines has
// the lines' top stored), so text boxes are checked by their base lines and
// their height against the stored size; everything else to a thousandth of
// the figure's size, and the stored box must be the drawn one, not only
// hold it.
void ExpectInside(const Scene& scene, const Extent& extent, const std::string& name) {
  const double size = std::max(extent.max_x - extent.min_x, extent.max_y - extent.min_y);
  const double tol = std::max(size * 1e-3, 1e-3);
  Extent drawn;
  std::vector<Point2> points;
  for (const SceneItem& item : scene.items) {
    points.clear();
    if (item.shape == ItemShape::kText) {
      const SceneText& t = scene.Text(item);
      points = {t.anchor, t.End()};
    } else if (item.shape == ItemShape::kArc) {
      Extent box;
      scene.Arc(item).AddTo(box);
      points = {{box.min_x, box.min_y}, {box.max_x, box.max_y}};
    } else {
      scene.PointsOf(item, tol / 10, points);
    }
    for (Point2 p : points) {
      EXPECT_TRUE(extent.Contains(p, tol)) << name << " " << p.x << "," << p.y;
      drawn.Add(p);
    }
  }
  EXPECT_NEAR(drawn.min_x, extent.min_x, tol) << name;
  EXPECT_NEAR(drawn.min_y, extent.min_y, tol) << name;
  EXPECT_NEAR(drawn.max_x, extent.max_x, tol) << name;
  EXPECT_NEAR(drawn.max_y, extent.max_y, tol) << name;
}

// Every text of a figure is as high as its stored size and as long as its
// characters on paper, which is where its stored end point lies.
void ExpectTextsAsStored(const Scene& scene, const std::string& name) {
  for (const SceneText& t : scene.texts) {
    EXPECT_GT(t.height, 0) << name;
    EXPECT_NEAR(t.length, TextPaperLength(Utf8ToCp932(t.utf8), t.width, t.spacing), 1e-6)
        << name << " " << t.utf8;
  }
}

TEST(RealDrawings, EveryOneRendersInsideItsExtent) {
  const std::filesystem::path folder = test::RealDrawingsFolder();
  if (folder.empty()) GTEST_SKIP() << "no real drawings beside the project";
  size_t figures = 0, drawings = 0, texts = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const std::filesystem::path& p = entry.path();
    std::string svg;
    if (p.extension() == ".jws") {
      JwsDocument doc;
      ASSERT_TRUE(ReadJwsFile(p, doc)) << p;
      SceneOptions options;
      options.temporary_points = true;
      const Scene scene = BuildScene(doc, options);
      EXPECT_FALSE(scene.items.empty()) << p;
      EXPECT_FALSE(scene.stats.Cut()) << p;
      Extent stored;
      stored.Add({doc.header_doubles[6], doc.header_doubles[7]});
      stored.Add({doc.header_doubles[8], doc.header_doubles[9]});
      ExpectInside(scene, stored, p.filename().string());
      ExpectTextsAsStored(scene, p.filename().string());
      EXPECT_EQ(scene.frame_source, FrameSource::kNoPaper);
      texts += scene.texts.size();
      BuildSvg(scene, {}, svg);
      ++figures;
    } else if (p.extension() == ".jww") {
      JwwDocument doc;
      ASSERT_TRUE(ReadJwwFile(p, doc)) << p;
      const Scene scene = BuildScene(doc);
      EXPECT_FALSE(scene.items.empty()) << p;
      // Drawn on their sheet, nothing off it, nothing hidden.
      EXPECT_EQ(scene.frame_source, FrameSource::kPaper) << p;
      EXPECT_EQ(scene.stats.off_paper, 0) << p;
      EXPECT_EQ(scene.stats.hidden_layers, 0) << p;
      ASSERT_TRUE(scene.paper) << p;
      for (const SceneItem& item : scene.items) {
        const Extent box = BoxOf(scene, item);
        EXPECT_TRUE(scene.paper->Contains({box.min_x, box.min_y}, 0)) << p;
        EXPECT_TRUE(scene.paper->Contains({box.max_x, box.max_y}, 0)) << p;
      }
      BuildSvg(scene, {}, svg);
      FreeJwwDocument(doc);
      ++drawings;
    } else {
      continue;
    }
    EXPECT_NE(svg.find("</svg>"), std::string::npos);
  }
  EXPECT_GT(figures + drawings, 0u);
  EXPECT_GT(texts, 0u);
}

}  // namespace
}  // namespace varnelko::render
