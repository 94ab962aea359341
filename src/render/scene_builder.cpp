// Walks a document's entities in file order and draws each into the scene;
// block insertions are drawn through their definitions, transform upon
// transform, within the limits that keep hostile files finite.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <unordered_map>

#include "document/cp932.h"
#include "document/layer_state.h"
#include "render/geometry.h"
#include "render/palette.h"
#include "render/paper.h"
#include "render/scene.h"

namespace varnelko::render {
namespace {

// What the builder needs from either kind of document.
struct DrawingInfo {
  const EntityStore* store = nullptr;
  int32_t version = 0;
  const std::array<TColorExNo, 257>* color_ex = nullptr;
  // Per layer (group * 16 + layer): how the layer shows. Figures carry no
  // states and show everything.
  std::array<LayerShow, 256> layers{};
  int32_t paper_code = -1;
};

constexpr int32_t kFirstVersionWithDimensionExtras = 420;
// Vertices drawn through insertions, besides the item limit: arcs carry many.
constexpr int64_t kMaxExpandedPoints = 16'000'000;
constexpr int64_t kMinExpandedItems = 250'000;

class Builder {
 public:
  Builder(const DrawingInfo& info, const SceneOptions& options, const ConversionChanges* changes,
          Scene& out)
      : info_(info), options_(options), changes_(changes), out_(out) {
    for (size_t d = 0; d < info.store->block_defs.size(); ++d) {
      by_number_.emplace(info.store->block_defs[d].number, static_cast<int32_t>(d));
    }
    active_.assign(info.store->block_defs.size(), 0);
    max_expanded_ = options.max_expanded_items;
    if (max_expanded_ <= 0) {
      int64_t records = static_cast<int64_t>(info.store->order.size());
      for (const TEntBlockDef& def : info.store->block_defs) records += def.members.order.size();
      max_expanded_ = std::max<int64_t>(kMinExpandedItems, records);
    }
    Reserve();
  }

  void Run() {
    for (const TEntRef& ref : info_.store->order) DrawTopLevel(*info_.store, ref);
    out_.view = options_.view;
    PlaceOnPaper(out_, info_.paper_code, options_.view);
  }

  // Room for the top level and the expansion limit at once: growing by
  // doubling would hold both the old and the new array at its peak, and
  // pages reserved but never written cost no memory.
  void Reserve() {
    const EntityStore& s = *info_.store;
    const size_t dims = s.dimensions.size() * (info_.version >= kFirstVersionWithDimensionExtras ? 8 : 2);
    const size_t expanded = static_cast<size_t>(max_expanded_);
    out_.items.reserve(s.order.size() + dims + expanded);
    out_.points.reserve(2 * s.lines.size() + s.points.size() + 4 * s.solids.size() + 2 * dims +
                        2 * expanded);
    out_.texts.reserve(s.texts.size() + s.dimensions.size() + expanded / 8);
    out_.arcs.reserve(s.arcs.size() + expanded / 4);
  }

 private:
  struct Context {
    int32_t def = -1;   // the list being drawn: -1 top level, else a block definition
    int32_t path = -1;  // the insertion it is drawn through
    int depth = 0;
    bool locked = false;  // the top-level entity lies on a locked layer
    Affine t;
  };

  void DrawList(const EntityList& list, const Context& ctx) {
    for (const TEntRef& ref : list.order) DrawRef(list, ref, ctx);
  }

  // A top-level entity shows, hides and locks with its layer, and whatever
  // a block insertion draws with the insertion's layer: the user placed the
  // block as one entity on that layer, whatever layers its members name.
  void DrawTopLevel(const EntityList& list, const TEntRef& ref) {
    const TEntHeader* h = HeaderOf(list, ref);
    Context ctx;
    if (h) {
      const LayerShow show = info_.layers[(h->layer_group & 15) * 16 + (h->layer & 15)];
      if (show == LayerShow::kHidden) {
        ++out_.stats.hidden_layers;
        return;
      }
      ctx.locked = show == LayerShow::kLocked;
    }
    DrawRef(list, ref, ctx);
  }

  static const TEntHeader* HeaderOf(const EntityList& l, const TEntRef& r) {
    switch (r.kind) {
      case kKindLine: return HeaderIn(l.lines, r.index);
      case kKindArc: return HeaderIn(l.arcs, r.index);
      case kKindPoint: return HeaderIn(l.points, r.index);
      case kKindText: return HeaderIn(l.texts, r.index);
      case kKindDimension: return HeaderIn(l.dimensions, r.index);
      case kKindSolid: return HeaderIn(l.solids, r.index);
      case kKindBlock: return HeaderIn(l.blocks, r.index);
      default: return nullptr;
    }
  }
  template <typename T>
  static const TEntHeader* HeaderIn(const std::vector<T>& v, int32_t i) {
    const T* e = Get(v, i);
    return e ? &e->header : nullptr;
  }

  template <typename T>
  static const T* Get(const std::vector<T>& v, int32_t i) {
    return i >= 0 && static_cast<size_t>(i) < v.size() ? &v[i] : nullptr;
  }

  void DrawRef(const EntityList& l, const TEntRef& r, const Context& ctx) {
    switch (r.kind) {
      case kKindLine:
        if (auto* e = Get(l.lines, r.index)) DrawLine(*e, Origin(ctx, r, kPartWhole, e->header), ctx);
        break;
      case kKindArc:
        if (auto* e = Get(l.arcs, r.index)) DrawArc(*e, Origin(ctx, r, kPartWhole, e->header), ctx);
        break;
      case kKindPoint:
        if (auto* e = Get(l.points, r.index)) DrawPoint(*e, Origin(ctx, r, kPartWhole, e->header), ctx);
        break;
      case kKindText:
        if (auto* e = Get(l.texts, r.index)) DrawText(*e, Origin(ctx, r, kPartWhole, e->header), ctx);
        break;
      case kKindDimension:
        if (auto* e = Get(l.dimensions, r.index)) DrawDimension(*e, r, ctx);
        break;
      case kKindSolid:
        if (auto* e = Get(l.solids, r.index)) DrawSolid(*e, Origin(ctx, r, kPartWhole, e->header), ctx);
        break;
      case kKindBlock:
        if (auto* e = Get(l.blocks, r.index)) DrawInsertion(*e, r.index, ctx);
        break;
      default: break;
    }
  }

  ItemOrigin Origin(const Context& ctx, const TEntRef& r, uint8_t part, const TEntHeader& h) const {
    ItemOrigin o;
    o.kind = static_cast<uint8_t>(r.kind);
    o.part = part;
    o.pen_style = h.pen_style;
    o.pen_color = h.pen_color;
    o.layer_group = h.layer_group;
    o.layer = h.layer;
    o.block_def = ctx.def;
    o.index = r.index;
    o.path = ctx.path;
    return o;
  }

  // Common start of every item: the look, the change marks, the view filter
  // and the limit. False when the item is neither drawn nor marked.
  bool Begin(const ItemOrigin& o, const Context& ctx, SceneItem& item) {
    const PenLook look = LookOf(o.pen_color, o.pen_style, info_.color_ex);
    item.rgb = look.rgb;
    item.width_px = look.width_px;
    item.dash = look.dash;
    item.flags = look.aux ? kItemAux : 0;
    item.rgb = ViewColour(look, ctx);
    if (ctx.locked) item.flags |= kItemLocked;
    if (changes_) {
      const uint8_t bits = changes_->Of(o.block_def, o.kind, o.index, o.part);
      if (bits & kChangedColor) item.flags |= kItemChangedColor;
      if (bits & kChangedStyle) item.flags |= kItemChangedStyle;
    }
    item.origin = o;
    // The print view leaves auxiliary entities out, but still marks the
    // ones the conversion made auxiliary.
    visible_ = !(look.aux && options_.view == SceneView::kPrint);
    if (!visible_) ++out_.stats.hidden_by_view;
    if (!visible_ && !(item.flags & kItemChanged)) return false;
    if (ctx.def >= 0 && (expanded_items_ >= max_expanded_ ||
                         expanded_points_ >= kMaxExpandedPoints)) {
      limit_reached_ = true;
      return false;
    }
    return true;
  }

  // Screen: locked layers greyed, colours that would vanish on the white
  // ground in contrast. Print: black, as a monochrome printer gives it,
  // unless asked for colour.
  uint32_t ViewColour(const PenLook& look, const Context& ctx) const {
    if (options_.view == SceneView::kPrint) return options_.print_colours ? Contrasting(look.rgb) : 0;
    if (ctx.locked && !look.aux) return kLockedRgb;
    return Contrasting(look.rgb);
  }

  void Finish(SceneItem& item, const Context& ctx) {
    if (ctx.def >= 0) {
      ++expanded_items_;
      expanded_points_ += item.count;
    }
    if (visible_) out_.items.push_back(item);
    if (item.flags & kItemChanged) out_.marks.push_back(item);
  }

  // Transforms `local` into the scene's points; false (and nothing added)
  // when any point is unusable.
  bool AddPoints(const std::vector<Point2>& local, const Context& ctx, SceneItem& item) {
    const size_t first = out_.points.size();
    for (Point2 p : local) {
      const Point2 q = ctx.t.Apply(p);
      if (!Usable(q)) {
        out_.points.resize(first);
        ++out_.stats.skipped_geometry;
        return false;
      }
      out_.points.push_back(q);
    }
    for (size_t i = first; i < out_.points.size(); ++i) out_.extent.Add(out_.points[i]);
    item.first = static_cast<uint32_t>(first);
    item.count = static_cast<uint32_t>(local.size());
    return true;
  }

  void DrawShape(ItemShape shape, const std::vector<Point2>& local, const ItemOrigin& o,
                 const Context& ctx) {
    SceneItem item;
    if (local.empty()) {
      ++out_.stats.skipped_geometry;
      return;
    }
    if (!Begin(o, ctx, item)) return;
    item.shape = shape;
    if (AddPoints(local, ctx, item)) Finish(item, ctx);
  }

  void DrawLine(const TEntSen& e, const ItemOrigin& o, const Context& ctx) {
    scratch_.assign({{e.start_x, e.start_y}, {e.end_x, e.end_y}});
    DrawShape(ItemShape::kPolyline, scratch_, o, ctx);
  }

  void DrawArc(const TEntEnko& e, const ItemOrigin& o, const Context& ctx) {
    std::optional<ArcShape> local = ArcOf(e);
    const ArcShape arc = local ? Transformed(*local, ctx.t) : ArcShape{};
    if (!local || !Usable(arc)) {
      ++out_.stats.skipped_geometry;
      return;
    }
    SceneItem item;
    if (!Begin(o, ctx, item)) return;
    item.shape = ItemShape::kArc;
    item.first = static_cast<uint32_t>(out_.arcs.size());
    item.count = 1;
    out_.arcs.push_back(arc);
    arc.AddTo(out_.extent);
    Finish(item, ctx);
  }

  void DrawPoint(const TEntTen& e, const ItemOrigin& o, const Context& ctx) {
    if (e.temporary && !options_.temporary_points) {
      ++out_.stats.hidden_temporary;
      return;
    }
    scratch_.assign({{e.x, e.y}});
    DrawShape(ItemShape::kPointMark, scratch_, o, ctx);
  }

  void DrawSolid(const TEntSolid& e, const ItemOrigin& o, const Context& ctx) {
    scratch_.clear();
    for (const TSolidCorner& c : e.corners) scratch_.push_back({c.x, c.y});
    SceneItem item;
    if (!Begin(o, ctx, item)) return;
    item.shape = ItemShape::kPolygon;
    // Pen colour 10: the solid carries its own colour.
    if (o.pen_color == 10 && !(item.flags & kItemAux)) {
      PenLook own;
      own.rgb = RgbOfColorRef(e.color);
      item.rgb = ViewColour(own, ctx);
    }
    if (AddPoints(scratch_, ctx, item)) Finish(item, ctx);
  }

  void DrawText(const TEntMoji& e, const ItemOrigin& o, const Context& ctx) {
    SceneItem item;
    SceneText text;
    if (!TextGeometry(e, ctx, text)) {
      ++out_.stats.skipped_geometry;
      return;
    }
    if (!Begin(o, ctx, item)) return;
    item.shape = ItemShape::kText;
    text.utf8 = Cp932ToUtf8(e.text);
    text.font = FontIndex(e.font);
    item.first = static_cast<uint32_t>(out_.texts.size());
    item.count = 1;
    out_.texts.push_back(std::move(text));
    out_.extent.AddBox(BoxOf(out_, item));
    Finish(item, ctx);
  }

  // Sizes and spacing are millimetres on paper, as the coordinates are
  // (paper.h), so a text is as high as its stored size. Its end point says
  // where its last character ends: the painters fit the characters to that
  // length. A text whose end equals its start (settings that programs keep
  // as texts, say) is as long as its characters on paper, along its angle
  // in degrees.
  bool TextGeometry(const TEntMoji& e, const Context& ctx, SceneText& t) const {
    const Point2 start{e.start_x, e.start_y}, end{e.end_x, e.end_y};
    if (!Usable(start) || !Usable(end) || !Usable(e.size_x) || !Usable(e.size_y) ||
        !Usable(e.spacing) || !std::isfinite(e.angle)) {
      return false;
    }
    const double stored = std::hypot(end.x - start.x, end.y - start.y);
    const double paper = TextPaperLength(e.text, e.size_x, e.spacing);
    Point2 dir{std::cos(e.angle * std::numbers::pi / 180), std::sin(e.angle * std::numbers::pi / 180)};
    if (stored > 1e-9) dir = {(end.x - start.x) / stored, (end.y - start.y) / stored};
    const Point2 along = ctx.t.ApplyVector(dir);
    const Point2 up = ctx.t.ApplyVector({-dir.y, dir.x});
    const double ka = std::hypot(along.x, along.y), ku = std::hypot(up.x, up.y);
    t.anchor = ctx.t.Apply(start);
    t.angle = std::atan2(along.y, along.x);
    t.height = std::fabs(e.size_y) * ku;
    t.width = std::fabs(e.size_x) * ka;
    t.spacing = e.spacing * ka;
    t.length = (stored > 1e-9 ? stored : paper) * ka;
    return Usable(t.anchor) && Usable(t.height) && Usable(t.length) && std::isfinite(t.angle);
  }

  uint32_t FontIndex(const std::string& cp932) {
    auto [it, added] = fonts_.try_emplace(cp932, static_cast<uint32_t>(out_.fonts.size()));
    if (added) out_.fonts.push_back(Cp932ToUtf8(cp932));
    return it->second;
  }


  // A dimension draws its line and text and, from version 420, its
  // auxiliary lines and points; each member with its own header.
  void DrawDimension(const TEntSunpo& d, const TEntRef& r, const Context& ctx) {
    DrawLine(d.line, Origin(ctx, r, kPartDimLine, d.line.header), ctx);
    DrawText(d.text, Origin(ctx, r, kPartDimText, d.text.header), ctx);
    if (info_.version < kFirstVersionWithDimensionExtras) return;
    for (int i = 0; i < 2; ++i) {
      const TEntSen& aux = d.aux_lines[i];
      DrawLine(aux, Origin(ctx, r, static_cast<uint8_t>(kPartDimAux1 + i), aux.header), ctx);
    }
    for (int i = 0; i < 4; ++i) {
      const TEntTen& p = d.points[i];
      DrawPoint(p, Origin(ctx, r, static_cast<uint8_t>(kPartDimPoint1 + i), p.header), ctx);
    }
  }

  void DrawInsertion(const TEntBlock& k, int32_t index, const Context& ctx) {
    auto it = by_number_.find(k.block_number);
    if (it == by_number_.end()) {
      ++out_.stats.missing_blocks;
      return;
    }
    const int32_t def = it->second;
    if (active_[def]) {
      ++out_.stats.cut_cycles;
      return;
    }
    if (ctx.depth >= options_.max_depth) {
      ++out_.stats.cut_depth;
      return;
    }
    if (limit_reached_ || expanded_items_ >= max_expanded_) {
      ++out_.stats.cut_limit;
      return;
    }
    Context inner;
    inner.t = ctx.t.Then(Affine::Insertion(k));
    const Affine& t = inner.t;
    if (!Usable(t.a) || !Usable(t.b) || !Usable(t.c) || !Usable(t.d) || !Usable(t.e) || !Usable(t.f)) {
      ++out_.stats.skipped_geometry;
      return;
    }
    inner.def = def;
    inner.depth = ctx.depth + 1;
    inner.locked = ctx.locked;
    inner.path = static_cast<int32_t>(out_.paths.size());
    out_.paths.push_back({ctx.path, ctx.def, index, def});
    active_[def] = 1;
    DrawList(info_.store->block_defs[def].members, inner);
    active_[def] = 0;
  }

  const DrawingInfo& info_;
  const SceneOptions& options_;
  const ConversionChanges* changes_;
  Scene& out_;
  std::unordered_map<int32_t, int32_t> by_number_;  // block number -> definition (first wins)
  std::unordered_map<std::string, uint32_t> fonts_;  // code page 932 name -> Scene::fonts
  std::vector<uint8_t> active_;                     // definitions being drawn
  std::vector<Point2> scratch_;
  bool visible_ = true;  // the item being built is drawn, not only marked
  int64_t max_expanded_ = 0;
  int64_t expanded_items_ = 0;
  int64_t expanded_points_ = 0;
  bool limit_reached_ = false;
};

Scene Build(const DrawingInfo& info, const SceneOptions& options) {
  Scene scene;
  if (!options.after) {
    Builder(info, options, nullptr, scene).Run();
    return scene;
  }
  // The "after" view draws a converted copy; the document stays as it is.
  EntityStore converted = *info.store;
  ConversionChanges changes = ConvertAndCompare(*info.store, converted, info.version, *options.after);
  DrawingInfo after = info;
  after.store = &converted;
  Builder(after, options, &changes, scene).Run();
  scene.changes = changes.counts;
  return scene;
}

}  // namespace

void Extent::AddBox(const Extent& other) {
  if (other.empty) return;
  Add({other.min_x, other.min_y});
  Add({other.max_x, other.max_y});
}

bool Extent::Overlaps(const Extent& o) const {
  return !empty && !o.empty && min_x <= o.max_x && o.min_x <= max_x && min_y <= o.max_y &&
         o.min_y <= max_y;
}

Point2 SceneText::End() const {
  return {anchor.x + std::cos(angle) * length, anchor.y + std::sin(angle) * length};
}

void Extent::Add(Point2 p) {
  if (empty) {
    min_x = max_x = p.x;
    min_y = max_y = p.y;
    empty = false;
    return;
  }
  min_x = std::min(min_x, p.x), max_x = std::max(max_x, p.x);
  min_y = std::min(min_y, p.y), max_y = std::max(max_y, p.y);
}

bool Extent::Contains(Point2 p, double tol) const {
  return !empty && p.x >= min_x - tol && p.x <= max_x + tol && p.y >= min_y - tol &&
         p.y <= max_y + tol;
}

void Scene::PointsOf(const SceneItem& item, double tolerance, std::vector<Point2>& out) const {
  if (item.shape == ItemShape::kArc) return Arc(item).Tessellate(tolerance, out);
  out.clear();
  if (item.shape == ItemShape::kText) return;
  const std::span<const Point2> v = Vertices(item);
  out.assign(v.begin(), v.end());
}

Scene BuildScene(const JwwDocument& doc, const SceneOptions& options) {
  DrawingInfo info;
  info.store = &doc.store;
  info.version = doc.header.version;
  if (doc.header.version >= kFirstVersionWithDimensionExtras) info.color_ex = &doc.color_ex;
  for (size_t i = 0; i < info.layers.size(); ++i) {
    info.layers[i] = ShowOf(doc.layer_groups[i / 16].state, doc.layers[i].state);
  }
  info.paper_code = doc.header.paper_size;
  return Build(info, options);
}

Scene BuildScene(const JwsDocument& doc, const SceneOptions& options) {
  DrawingInfo info;
  info.store = &doc.store;
  info.version = doc.version;
  return Build(info, options);
}

}  // namespace varnelko::render
