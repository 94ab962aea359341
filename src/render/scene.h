#pragma once
// A drawing as a flat list of drawable items in drawing coordinates (y up),
// ready for any painter: polylines with colour, width and dash pattern,
// filled polygons, texts and point marks. Every item remembers the entity it
// came from, so that views can filter and highlight.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "conversion/conversion_changes.h"
#include "conversion/conversion_settings.h"
#include "document/jws_document.h"
#include "document/jww_document.h"

namespace varnelko::render {

struct Point2 {
  double x = 0, y = 0;
  bool operator==(const Point2&) const = default;
};

struct Extent {
  double min_x = 0, min_y = 0, max_x = 0, max_y = 0;
  bool empty = true;
  void Add(Point2 p);
  void AddBox(const Extent& other);
  bool Contains(Point2 p, double tolerance) const;
  bool Overlaps(const Extent& other) const;
};

// kArc items are polylines given by a formula (ArcShape): a painter turns
// them into points at the precision its zoom needs (ArcShape::Tessellate).
enum class ItemShape : uint8_t { kPolyline, kPolygon, kText, kPointMark, kArc };

// An elliptic arc: the points centre + u cos t + v sin t for t from `start`
// to `start + sweep` (radians; a negative sweep runs clockwise). u and v are
// conjugate semi-diameters: for an untransformed circle of radius r, (r, 0)
// and (0, r) turned by the tilt, v shortened by the flatness.
struct ArcShape {
  Point2 center, u, v;
  double start = 0, sweep = 0;

  Point2 At(double t) const;
  // Points along the arc, the chord never further than `tolerance` from the
  // curve (within sensible bounds on the number of points); replaces `out`.
  void Tessellate(double tolerance, std::vector<Point2>& out) const;
  // The smallest box around the arc.
  void AddTo(Extent& extent) const;
};

// Item flags.
constexpr uint8_t kItemAux = 1;            // auxiliary colour 9 or line type 9: thin, pale, dashed
constexpr uint8_t kItemChangedColor = 2;   // "after" views: the conversion changed the colour
constexpr uint8_t kItemChangedStyle = 4;   // ... or the line type
constexpr uint8_t kItemChanged = kItemChangedColor | kItemChangedStyle;
constexpr uint8_t kItemLocked = 8;         // on a layer shown but locked: greyed on screen

// Where an item came from. `block_def` and `index` name the record: index
// `index` of kind `kind`'s array in the top level (block_def -1) or in the
// members of block definition `block_def` (store order). `path` names the
// chain of insertions it was drawn through (Scene::paths), -1 at the top level.
struct ItemOrigin {
  uint8_t kind = 0;  // entity kind code 1..6; members of a dimension carry 5
  uint8_t part = 0;  // DimensionPart for members of a dimension, else kPartWhole
  uint8_t pen_style = 0;
  uint16_t pen_color = 0;
  uint16_t layer_group = 0;
  uint16_t layer = 0;
  int32_t block_def = -1;
  int32_t index = 0;
  int32_t path = -1;
};

// One insertion step: block insertion `index` of list `list_def` (-1 the top
// level) drew block definition `def`, inside insertion step `parent`.
struct InsertionStep {
  int32_t parent = -1;
  int32_t list_def = -1;
  int32_t index = 0;
  int32_t def = 0;
};

// A text's box: from the anchor `length` along the angle, `height` up.
// Painters fit the characters to that length, stretching or squeezing them
// sideways, since the stored length is what the drawing was laid out with.
struct SceneText {
  std::string utf8;
  uint32_t font = 0;     // Scene::fonts index: drawings use few fonts for many texts
  Point2 anchor;         // lower left corner of the first character
  double angle = 0;      // radians, counter-clockwise from +x
  double height = 0;     // character height, drawing units
  double width = 0;      // width of a full-width character, drawing units
  double spacing = 0;    // gap between characters, drawing units
  double length = 0;     // from the anchor to the end of the last character

  Point2 End() const;    // the anchor moved `length` along the text
};

struct SceneItem {
  ItemShape shape = ItemShape::kPolyline;
  uint8_t flags = 0;
  uint8_t dash = 0;        // DashPattern index, 0 solid
  uint32_t rgb = 0;        // 0xRRGGBB
  float width_px = 1;      // stroke width in output pixels
  uint32_t first = 0;      // polylines, polygons, point marks: Scene::points[first, first + count)
  uint32_t count = 0;      // texts: Scene::texts[first]; arcs: Scene::arcs[first]
  ItemOrigin origin;
};

// What the builder left out, and why.
struct SceneStats {
  int64_t skipped_geometry = 0;    // non-finite or out-of-range coordinates
  int64_t hidden_temporary = 0;    // temporary points, unless asked for
  int64_t hidden_by_view = 0;      // auxiliary entities left out of the print view
  int64_t missing_blocks = 0;      // insertions of a block number with no definition
  int64_t cut_cycles = 0;          // insertions of a block inside itself
  int64_t cut_depth = 0;           // insertions nested deeper than the limit
  int64_t cut_limit = 0;           // insertions not drawn after the item limit was reached
  int64_t hidden_layers = 0;       // entities on hidden layers or layer groups
  int64_t off_paper = 0;           // items wholly outside the sheet (print: not drawn)
  bool Cut() const { return cut_cycles + cut_depth + cut_limit + missing_blocks > 0; }
};

enum class SceneView {
  kScreen,  // everything drawn on screen, auxiliary entities thin, pale and dashed
  kPrint,   // what prints on the sheet: no auxiliary entities, black unless in colour
};

// What "fit" frames, and why.
enum class FrameSource : uint8_t {
  kPaper,          // the sheet of the drawing's paper size
  kNoPaper,        // a figure carries no paper: the items' extent
  kUnknownPaper,   // a paper size code without a known sheet: the items' extent
  kOffPaper,       // most items lie off the sheet: the items' extent
  kEmpty,          // nothing drawn and no sheet
};
const char* Describe(FrameSource source);

struct Scene {
  std::vector<SceneItem> items;  // what the view draws, in file order
  // "after" views: every item whose entity the conversion changed, also
  // those that the print view no longer draws; painted over the items.
  std::vector<SceneItem> marks;
  std::vector<Point2> points;
  std::vector<SceneText> texts;
  std::vector<ArcShape> arcs;
  std::vector<std::string> fonts;  // font names, UTF-8
  std::vector<InsertionStep> paths;
  Extent extent;  // of every item drawn
  // The sheet, centred on the origin, when the paper size code names one.
  std::optional<Extent> paper;
  int32_t paper_code = -1;  // the drawing's paper size code; -1 for figures
  // What "fit" shows: the sheet, or the extent when the sheet cannot serve.
  Extent frame;
  FrameSource frame_source = FrameSource::kEmpty;
  SceneView view = SceneView::kScreen;  // the view it was built for
  SceneStats stats;
  // "after" views: what the conversion changed, as ApplyLayerConversion
  // counts it (block members count once, however often they are drawn).
  std::optional<ConversionCounts> changes;

  // The points of a polyline, polygon or point mark.
  std::span<const Point2> Vertices(const SceneItem& item) const {
    return {points.data() + item.first, item.count};
  }
  const SceneText& Text(const SceneItem& item) const { return texts[item.first]; }
  const ArcShape& Arc(const SceneItem& item) const { return arcs[item.first]; }
  // The points of any item but a text: its vertices, or its arc as a
  // polyline within `tolerance` drawing units. Replaces `out`.
  void PointsOf(const SceneItem& item, double tolerance, std::vector<Point2>& out) const;
};


struct SceneOptions {
  SceneView view = SceneView::kScreen;
  bool temporary_points = false;
  bool print_colours = false;  // the print view in the drawing's colours, not black
  int max_depth = 16;  // nested insertions drawn
  // Items drawn through insertions; 0 picks the number of entity records in
  // the document, at least 250,000, which keeps the scene within a few times
  // the file's size whatever the blocks do.
  int64_t max_expanded_items = 0;
  // The "after" view: draw the document as this conversion leaves it, with
  // the changed entities flagged.
  std::optional<ConversionSettings> after;
};

Scene BuildScene(const JwwDocument& doc, const SceneOptions& options = {});
Scene BuildScene(const JwsDocument& doc, const SceneOptions& options = {});

}  // namespace varnelko::render
