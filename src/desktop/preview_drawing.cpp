#include "desktop/preview_drawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>

#include "render/palette.h"

namespace varnelko {

namespace {

// The drawing is cut into kRegions x kRegions regions; a batch holds one
// look's items of one region, so that a zoomed-in view skips most batches.
constexpr int kRegions = 8;
// Antialiasing and pens wider than a pixel cost several times the plain
// strokes; above this many visible segments the picture is drawn without.
constexpr size_t kMaxPreciseSegments = 40'000;
// Lines go to the painter this many at a time: wide pens are stroked by
// building a path of every line of one call, and that path stays small.
constexpr size_t kChunkLines = 2'048;
constexpr double kPointPixels = 3;
constexpr double kMinSegmentPixels = 1;
constexpr double kClipMargin = 8;  // pixels beyond the picture that lines keep
// What an arc is taken to cost before its zoom says how many points it gets.
constexpr size_t kArcSegments = 16;
// Arcs are drawn as chords no further than this from the curve.
constexpr double kArcTolerancePixels = 0.35;
// Texts smaller than this on screen show as their base line only; and no
// more than this many texts are set in glyphs per repaint.
constexpr double kMinGlyphHeightPx = 4;
constexpr int kMaxGlyphTexts = 800;
constexpr double kMaxGlyphHeightPx = 1'500;
// Marks are opaque, so that drawing them again to widen them changes nothing:
// the change colour laid on white at 45 %.
constexpr double kMarkStrength = 0.45;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kOffSheet = 0xD8D8D8;  // around the sheet in the print view

uint32_t MarkRgb() {
  auto mix = [](uint32_t c) {
    return static_cast<uint32_t>(255 - (255 - static_cast<int>(c & 0xFF)) * kMarkStrength);
  };
  const uint32_t full = render::kChangeRgb;
  return mix(full >> 16) << 16 | mix(full >> 8) << 8 | mix(full);
}

DrawingBox BoxOf(std::span<const render::Point2> points) {
  if (points.empty()) return {};
  DrawingBox box{points[0].x, points[0].y, points[0].x, points[0].y};
  for (const render::Point2& p : points) box.Unite({p.x, p.y, p.x, p.y});
  return box;
}

DrawingBox BoxOf(const DeviceRect& r) { return {r.left, r.top, r.right(), r.bottom()}; }

render::Point2 Plus(render::Point2 a, render::Point2 d, double k) {
  return {a.x + d.x * k, a.y + d.y * k};
}

// The four corners of a text's box, drawing coordinates.
std::array<render::Point2, 4> TextCorners(const render::SceneText& t) {
  const render::Point2 d{std::cos(t.angle), std::sin(t.angle)};
  const render::Point2 u{-d.y, d.x};
  const render::Point2 a = t.anchor;
  return {a, Plus(a, d, t.length), Plus(Plus(a, d, t.length), u, t.height), Plus(a, u, t.height)};
}

DevicePoint MapPoint(const ViewTransform& view, render::Point2 p) { return view.Map(p.x, p.y); }

// The regions cover where most of the drawing lies: a few entities far
// away (a block inserted at a huge scale) would otherwise put everything
// else into one region.
DrawingBox RegionFrame(const render::Scene& scene) {
  constexpr size_t kSamples = 20'000;
  const size_t step = std::max<size_t>(1, scene.items.size() / kSamples);
  std::vector<double> xs, ys;
  for (size_t i = 0; i < scene.items.size(); i += step) {
    const render::SceneItem& item = scene.items[i];
    const render::Point2 p = item.shape == render::ItemShape::kText  ? scene.Text(item).anchor
                             : item.shape == render::ItemShape::kArc ? scene.Arc(item).center
                             : item.count > 0                        ? scene.points[item.first]
                                                                     : render::Point2{};
    xs.push_back(p.x), ys.push_back(p.y);
  }
  if (xs.empty()) return {};
  auto quantile = [](std::vector<double>& v, double q) {
    auto at = v.begin() + static_cast<std::ptrdiff_t>(q * (v.size() - 1));
    std::nth_element(v.begin(), at, v.end());
    return *at;
  };
  const double x0 = quantile(xs, 0.02), y0 = quantile(ys, 0.02);
  return {x0, y0, quantile(xs, 0.98), quantile(ys, 0.98)};
}

// Hands `lines` to the painter five times, moved a pixel to each side: a
// line three pixels wide from the painter's fast one-pixel lines.
void DrawWidened(Painter& painter, std::span<const DeviceLine> lines) {
  static constexpr DevicePoint kOffsets[] = {{0, 0}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}};
  std::vector<DeviceLine> moved(lines.size());
  for (const DevicePoint& o : kOffsets) {
    for (size_t i = 0; i < lines.size(); ++i) {
      moved[i] = {{lines[i].a.x + o.x, lines[i].a.y + o.y}, {lines[i].b.x + o.x, lines[i].b.y + o.y}};
    }
    painter.DrawLines(moved);
  }
}

void DrawWidened(Painter& painter, std::span<const DevicePoint> points) {
  static constexpr DevicePoint kOffsets[] = {{0, 0}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}};
  std::vector<DevicePoint> moved(points.size());
  for (const DevicePoint& o : kOffsets) {
    for (size_t i = 0; i < points.size(); ++i) moved[i] = {points[i].x + o.x, points[i].y + o.y};
    painter.DrawPoints(moved);
  }
}

}  // namespace

void DrawingBox::Unite(const DrawingBox& other) {
  x0 = std::min(x0, other.x0), y0 = std::min(y0, other.y0);
  x1 = std::max(x1, other.x1), y1 = std::max(y1, other.y1);
}

PreviewDrawing::PreviewDrawing(render::Scene scene) : scene_(std::move(scene)) {
  // "Fit" frames the sheet, or the items when the scene has no sheet; a
  // scene put together by hand may carry no frame at all.
  const render::Extent& e = scene_.frame.empty ? scene_.extent : scene_.frame;
  if (!e.empty) extent_ = {e.min_x, e.min_y, e.max_x - e.min_x, e.max_y - e.min_y};
  frame_ = RegionFrame(scene_);
  AddItems(scene_.marks, true);
  AddItems(scene_.items, false);
  look_index_.clear();
  batch_index_.clear();
  advances_.assign(texts_.size(), -1);
}

int PreviewDrawing::LookOf(const render::SceneItem& item, bool mark) {
  Look look;
  if (mark) {
    look.rgb = MarkRgb();
    look.width = render::kChangeWidthPx;
    look.mark = true;
  } else {
    look.rgb = item.rgb;
    look.width = item.width_px;
    look.dash = item.dash;
  }
  const uint64_t key = (uint64_t{look.rgb} << 24) ^
                       (uint64_t{static_cast<uint32_t>(look.width * 64)} << 8) ^ look.dash ^
                       (look.mark ? 1ull << 63 : 0);
  auto [it, added] = look_index_.try_emplace(key, static_cast<int>(looks_.size()));
  if (added) looks_.push_back(look);
  return it->second;
}

PreviewDrawing::Batch& PreviewDrawing::BatchOf(int look, const DrawingBox& bounds, bool mark) {
  int cx = 0, cy = 0;
  const double fw = frame_.x1 - frame_.x0, fh = frame_.y1 - frame_.y0;
  if (fw > 0) {
    const double c = (bounds.x0 + bounds.x1) / 2;
    cx = std::clamp(static_cast<int>((c - frame_.x0) / fw * kRegions), 0, kRegions - 1);
  }
  if (fh > 0) {
    const double c = (bounds.y0 + bounds.y1) / 2;
    cy = std::clamp(static_cast<int>((c - frame_.y0) / fh * kRegions), 0, kRegions - 1);
  }
  const uint64_t key = (uint64_t(look) * kRegions + cy) * kRegions + cx;
  auto [it, added] = batch_index_.try_emplace(key, static_cast<int>(batches_.size()));
  if (added) {
    batches_.emplace_back();
    batches_.back().look = look;
    batches_.back().marks = mark;
    batches_.back().bounds = bounds;
  }
  Batch& batch = batches_[it->second];
  batch.bounds.Unite(bounds);
  return batch;
}

void PreviewDrawing::AddItems(const std::vector<render::SceneItem>& items, bool marks) {
  for (uint32_t i = 0; i < items.size(); ++i) {
    const render::SceneItem& item = items[i];
    const int look = LookOf(item, marks);
    if (item.shape == render::ItemShape::kText) {
      const std::array<render::Point2, 4> corners = TextCorners(scene_.Text(item));
      const DrawingBox bounds = BoxOf(corners);
      work_ += 4;
      if (marks) {  // a changed text is marked by its box
        Batch& batch = BatchOf(look, bounds, true);
        batch.items.push_back(i);
        batch.segments += 4;
        continue;
      }
      texts_.push_back(i);
      text_bounds_.push_back(bounds);
      continue;
    }
    if (item.shape == render::ItemShape::kArc) {
      render::Extent e;
      scene_.Arc(item).AddTo(e);
      Batch& batch = BatchOf(look, {e.min_x, e.min_y, e.max_x, e.max_y}, marks);
      batch.items.push_back(i);
      batch.segments += kArcSegments;
      work_ += kArcSegments;
      continue;
    }
    const std::span<const render::Point2> v = scene_.Vertices(item);
    if (v.empty()) continue;
    work_ += static_cast<int64_t>(v.size());
    Batch& batch = BatchOf(look, BoxOf(v), marks);
    if (item.shape == render::ItemShape::kPolygon && !marks) {
      batch.fills.push_back(i);
      continue;
    }
    batch.items.push_back(i);
    batch.segments += v.size();
  }
}

void PreviewDrawing::Paint(Painter& painter, const ViewTransform& view,
                           const DeviceRect& device) const {
  PaintPaper(painter, view, device);
  const DrawingBox visible = BoxOf(view.Inverted().MapRect(device));
  size_t segments = 0;
  for (const Batch& batch : batches_) {
    if (batch.bounds.Overlaps(visible)) segments += batch.segments;
  }
  const bool precise = segments <= kMaxPreciseSegments;
  painter.SetAntialias(precise);
  for (const Batch& batch : batches_) {
    if (batch.bounds.Overlaps(visible)) PaintBatch(painter, view, batch, device, precise);
  }
  PaintTexts(painter, view, visible, device);
}

// On screen the sheet's edge shows thinly on the white ground; the print
// view shows the sheet white on grey, as a print preview does.
void PreviewDrawing::PaintPaper(Painter& painter, const ViewTransform& view,
                                const DeviceRect& device) const {
  if (!scene_.paper) return painter.FillRect(device, kWhite);
  const render::Extent& p = *scene_.paper;
  const std::array<DevicePoint, 4> corners = {
      MapPoint(view, {p.min_x, p.min_y}), MapPoint(view, {p.max_x, p.min_y}),
      MapPoint(view, {p.max_x, p.max_y}), MapPoint(view, {p.min_x, p.max_y})};
  if (scene_.view == render::SceneView::kPrint) {
    painter.FillRect(device, kOffSheet);
    const uint32_t count = 4;
    painter.FillPolygons(corners, std::span(&count, 1), kWhite);
    return;
  }
  painter.FillRect(device, kWhite);
  std::array<DeviceLine, 4> edges;
  for (size_t i = 0; i < 4; ++i) edges[i] = {corners[i], corners[(i + 1) % 4]};
  painter.SetAntialias(true);
  painter.SetPen({render::kPaperFrameRgb, render::kPaperFrameWidthPx, false, {}});
  painter.DrawLines(edges);
}

void PreviewDrawing::PaintFills(Painter& painter, const ViewTransform& view,
                                const Batch& batch) const {
  std::vector<DevicePoint> points;
  std::vector<uint32_t> counts;
  for (uint32_t index : batch.fills) {
    const std::span<const render::Point2> v = scene_.Vertices(scene_.items[index]);
    for (const render::Point2& p : v) points.push_back(MapPoint(view, p));
    counts.push_back(static_cast<uint32_t>(v.size()));
  }
  painter.FillPolygons(points, counts, looks_[batch.look].rgb);
}

void PreviewDrawing::PaintBatch(Painter& painter, const ViewTransform& view, const Batch& batch,
                                const DeviceRect& device, bool precise) const {
  const Look& look = looks_[batch.look];
  const DeviceRect clip{device.left - kClipMargin, device.top - kClipMargin,
                        device.width + 2 * kClipMargin, device.height + 2 * kClipMargin};
  const DrawingBox visible = BoxOf(view.Inverted().MapRect(clip));
  if (!batch.fills.empty()) PaintFills(painter, view, batch);

  // Only a pen of one pixel takes a painter's fast path; the quick picture
  // draws every line with one and widens marks and points by drawing them
  // again a pixel to each side.
  const render::DashPattern& dash = render::Dash(look.dash);
  const std::vector<double> dash_px(dash.lengths.begin(), dash.lengths.begin() + dash.count);
  PainterPen pen{look.rgb, precise ? look.width : 1.0, look.mark, dash_px};
  PainterPen point_pen{look.rgb, precise ? std::max<double>(kPointPixels, look.width) : 1.0, true,
                       {}};

  std::vector<DeviceLine> lines;
  std::vector<DevicePoint> points;
  lines.reserve(kChunkLines + 4);
  auto flush = [&] {
    if (!lines.empty()) {
      painter.SetPen(pen);
      if (precise || !look.mark) {
        painter.DrawLines(lines);
      } else {
        DrawWidened(painter, lines);
      }
    }
    if (!points.empty()) {
      painter.SetPen(point_pen);
      if (precise) {
        painter.DrawPoints(points);
      } else {
        DrawWidened(painter, points);
      }
    }
    lines.clear();
    points.clear();
  };
  // A polyline's vertices closer than a pixel to the last one drawn are left
  // out: a zoomed-out arc of a hundred vertices becomes the few segments
  // that show.
  const double arc_tolerance = kArcTolerancePixels / view.UnitScale();
  std::vector<render::Point2> arc_points;
  const std::vector<render::SceneItem>& items = batch.marks ? scene_.marks : scene_.items;
  for (uint32_t index : batch.items) {
    const render::SceneItem& item = items[index];
    if (item.shape == render::ItemShape::kText) {
      const std::array<render::Point2, 4> c = TextCorners(scene_.Text(item));
      for (int i = 0; i < 4; ++i) {
        lines.push_back({MapPoint(view, c[i]), MapPoint(view, c[(i + 1) % 4])});
      }
    } else {
      if (item.shape == render::ItemShape::kArc) {
        // An arc outside the picture is not worth its points.
        const render::ArcShape& arc = scene_.Arc(item);
        const double rx = std::fabs(arc.u.x) + std::fabs(arc.v.x);
        const double ry = std::fabs(arc.u.y) + std::fabs(arc.v.y);
        const DrawingBox box{arc.center.x - rx, arc.center.y - ry, arc.center.x + rx,
                             arc.center.y + ry};
        if (!box.Overlaps(visible)) continue;
        arc.Tessellate(arc_tolerance, arc_points);
      }
      const std::span<const render::Point2> v = item.shape == render::ItemShape::kArc
                                                    ? std::span<const render::Point2>(arc_points)
                                                    : scene_.Vertices(item);
      if (v.empty()) continue;
      DevicePoint last = MapPoint(view, v[0]);
      if (item.shape == render::ItemShape::kPointMark || v.size() == 1) points.push_back(last);
      const size_t end =
          item.shape == render::ItemShape::kPolygon && v.size() > 2 ? v.size() + 1 : v.size();
      for (size_t i = 1; i < end; ++i) {
        const DevicePoint next = MapPoint(view, v[i % v.size()]);  // a polygon (a marked solid) closes
        if (std::fabs(next.x - last.x) + std::fabs(next.y - last.y) < kMinSegmentPixels &&
            i + 1 < end) {
          continue;
        }
        if (DeviceLine line{last, next}; ClipLine(clip, line)) lines.push_back(line);
        last = next;
      }
    }
    if (lines.size() >= kChunkLines || points.size() >= kChunkLines) flush();
  }
  flush();
}

void PreviewDrawing::PaintTexts(Painter& painter, const ViewTransform& view,
                                const DrawingBox& visible, const DeviceRect& device) const {
  const double scale = view.UnitScale();
  int glyph_texts = 0;
  // Texts too small to read show as their base lines, texts larger than the
  // screen as their boxes; those lines are drawn together by colour.
  std::unordered_map<uint32_t, std::vector<DeviceLine>> base_lines;
  for (size_t i = 0; i < texts_.size(); ++i) {
    if (!text_bounds_[i].Overlaps(visible)) continue;
    const render::SceneItem& item = scene_.items[texts_[i]];
    const render::SceneText& t = scene_.Text(item);
    const render::Point2 along{std::cos(t.angle), std::sin(t.angle)};
    const double height_px = t.height * scale;
    const DevicePoint p = MapPoint(view, t.anchor);
    if (height_px < kMinGlyphHeightPx || glyph_texts >= kMaxGlyphTexts || t.utf8.empty()) {
      base_lines[item.rgb].push_back({p, MapPoint(view, Plus(t.anchor, along, t.length))});
      continue;
    }
    if (height_px > kMaxGlyphHeightPx) {  // larger than any screen: its box
      const std::array<render::Point2, 4> c = TextCorners(t);
      for (int k = 0; k < 4; ++k) {
        DeviceLine line{MapPoint(view, c[k]), MapPoint(view, c[(k + 1) % 4])};
        if (ClipLine(device, line)) base_lines[item.rgb].push_back(line);
      }
      continue;
    }
    ++glyph_texts;
    if (advances_[i] < 0) advances_[i] = painter.TextAdvance(t.utf8);
    // Laid out on screen: the anchor, the direction of the text, its height
    // and its length as the drawing gives them.
    const DevicePoint q = MapPoint(view, Plus(t.anchor, along, 1));
    const double glyph_scale = height_px / kTextReferencePixels;
    const double x_scale =
        advances_[i] > 0 ? t.length * scale / (advances_[i] * glyph_scale) : 1;
    painter.DrawText(t.utf8, p, std::atan2(q.y - p.y, q.x - p.x), height_px, x_scale, item.rgb);
  }
  for (const auto& [rgb, lines] : base_lines) {
    painter.SetPen({rgb, 1, false, {}});
    for (size_t i = 0; i < lines.size(); i += kChunkLines) {
      painter.DrawLines(std::span(lines).subspan(i, std::min(kChunkLines, lines.size() - i)));
    }
  }
}

}  // namespace varnelko
