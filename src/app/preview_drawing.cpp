#include "app/preview_drawing.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <span>

#include "app/ui_fonts.h"
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
constexpr qreal kPointPixels = 3;
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
constexpr int kReferencePixels = 64;  // font size the text advances are measured at
// Marks are opaque, so that drawing them again to widen them changes nothing:
// the change colour laid on white at 45 %.
constexpr double kMarkStrength = 0.45;

QColor ColorOf(uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

QColor MarkColor() {
  const QColor full = ColorOf(render::kChangeRgb);
  auto mix = [](int c) { return static_cast<int>(255 - (255 - c) * kMarkStrength); };
  return QColor(mix(full.red()), mix(full.green()), mix(full.blue()));
}

QRectF BoundsOf(std::span<const render::Point2> points) {
  if (points.empty()) return {};
  double x0 = points[0].x, x1 = x0, y0 = points[0].y, y1 = y0;
  for (const render::Point2& p : points) {
    x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
    y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
  }
  return QRectF(QPointF(x0, y0), QPointF(x1, y1));
}

// QRectF::intersects refuses rectangles of no width, which every
// horizontal or vertical line has.
bool Overlaps(const QRectF& a, const QRectF& b) {
  return a.left() <= b.right() && b.left() <= a.right() && a.top() <= b.bottom() &&
         b.top() <= a.bottom();
}

QPointF At(const render::Point2& p) { return {p.x, p.y}; }

// The four corners of a text's box, drawing coordinates.
std::array<QPointF, 4> TextCorners(const render::SceneText& t) {
  const QPointF d(std::cos(t.angle), std::sin(t.angle));
  const QPointF u(-d.y(), d.x());
  const QPointF a = At(t.anchor);
  return {a, a + d * t.length, a + d * t.length + u * t.height, a + u * t.height};
}

// The regions cover where most of the drawing lies: a few entities far
// away (a block inserted at a huge scale) would otherwise put everything
// else into one region.
QRectF RegionFrame(const render::Scene& scene) {
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
  return QRectF(QPointF(quantile(xs, 0.02), quantile(ys, 0.02)),
                QPointF(quantile(xs, 0.98), quantile(ys, 0.98)));
}

// Draws `draw` five times, moved a pixel to each side: a line three pixels
// wide from the painter's fast one-pixel lines.
template <typename Draw>
void WithOffsets(QPainter& painter, const QTransform& view, Draw draw) {
  static constexpr QPointF kOffsets[] = {{0, 0}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}};
  for (const QPointF& o : kOffsets) {
    painter.setTransform(view * QTransform::fromTranslate(o.x(), o.y()));
    draw();
  }
  painter.setTransform(view);
}

// Cuts `line` to `clip` (Liang-Barsky); false when nothing of it is inside.
// A line zoomed to a million pixels costs the painter as much as it is long.
bool ClipTo(const QRectF& clip, QLineF& line) {
  const QPointF a = line.p1(), d = line.p2() - line.p1();
  double t0 = 0, t1 = 1;
  const double p[] = {-d.x(), d.x(), -d.y(), d.y()};
  const double q[] = {a.x() - clip.left(), clip.right() - a.x(), a.y() - clip.top(),
                      clip.bottom() - a.y()};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
  }
  if (t0 > 0 || t1 < 1) line = QLineF(a + d * t0, a + d * t1);
  return true;
}

// Looked up once: the font database is asked on every thread that paints.
const QFont& ReferenceFont() {
  static const QFont font = [] {
    QFont f = FixedPitchFont();
    f.setPixelSize(kReferencePixels);
    return f;
  }();
  return font;
}

}  // namespace

PreviewDrawing::PreviewDrawing(render::Scene scene) : scene_(std::move(scene)) {
  const render::Extent& e = scene_.extent;
  if (!e.empty) extent_ = QRectF(QPointF(e.min_x, e.min_y), QPointF(e.max_x, e.max_y));
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
    look.color = MarkColor();
    look.width = render::kChangeWidthPx;
    look.mark = true;
  } else {
    look.color = ColorOf(item.rgb);
    look.width = item.width_px;
    look.dash = item.dash;
  }
  const uint64_t key = (uint64_t{look.color.rgba()} << 24) ^
                       (uint64_t{static_cast<uint32_t>(look.width * 64)} << 8) ^ look.dash ^
                       (look.mark ? 1ull << 63 : 0);
  auto [it, added] = look_index_.try_emplace(key, static_cast<int>(looks_.size()));
  if (added) looks_.push_back(look);
  return it->second;
}

PreviewDrawing::Batch& PreviewDrawing::BatchOf(int look, const QRectF& bounds, bool mark) {
  int cx = 0, cy = 0;
  const QPointF c = bounds.center();
  if (frame_.width() > 0) {
    cx = std::clamp(static_cast<int>((c.x() - frame_.left()) / frame_.width() * kRegions), 0,
                    kRegions - 1);
  }
  if (frame_.height() > 0) {
    cy = std::clamp(static_cast<int>((c.y() - frame_.top()) / frame_.height() * kRegions), 0,
                    kRegions - 1);
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
  // united() drops a side of no width, which every axis-parallel line has.
  QRectF& b = batch.bounds;
  b.setCoords(std::min(b.left(), bounds.left()), std::min(b.top(), bounds.top()),
              std::max(b.right(), bounds.right()), std::max(b.bottom(), bounds.bottom()));
  return batch;
}

void PreviewDrawing::AddItems(const std::vector<render::SceneItem>& items, bool marks) {
  for (uint32_t i = 0; i < items.size(); ++i) {
    const render::SceneItem& item = items[i];
    const int look = LookOf(item, marks);
    if (item.shape == render::ItemShape::kText) {
      const std::array<QPointF, 4> corners = TextCorners(scene_.Text(item));
      const QRectF bounds =
          QPolygonF(QList<QPointF>(corners.begin(), corners.end())).boundingRect();
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
      Batch& batch =
          BatchOf(look, QRectF(QPointF(e.min_x, e.min_y), QPointF(e.max_x, e.max_y)), marks);
      batch.items.push_back(i);
      batch.segments += kArcSegments;
      work_ += kArcSegments;
      continue;
    }
    const std::span<const render::Point2> v = scene_.Vertices(item);
    if (v.empty()) continue;
    work_ += static_cast<int64_t>(v.size());
    Batch& batch = BatchOf(look, BoundsOf(v), marks);
    if (item.shape == render::ItemShape::kPolygon && !marks) {
      QPolygonF polygon;
      for (const render::Point2& p : v) polygon << At(p);
      batch.fill.addPolygon(polygon);
      continue;
    }
    batch.items.push_back(i);
    batch.segments += v.size();
  }
}

void PreviewDrawing::Paint(QPainter& painter, const QTransform& view, const QRectF& device) const {
  painter.fillRect(device, Qt::white);
  const QRectF visible = view.inverted().mapRect(device);
  size_t segments = 0;
  for (const Batch& batch : batches_) {
    if (Overlaps(batch.bounds, visible)) segments += batch.segments;
  }
  const bool precise = segments <= kMaxPreciseSegments;
  painter.setRenderHint(QPainter::Antialiasing, precise);
  for (const Batch& batch : batches_) {
    if (Overlaps(batch.bounds, visible)) PaintBatch(painter, view, batch, device, precise);
  }
  PaintTexts(painter, view, visible, device);
  painter.resetTransform();
}

void PreviewDrawing::PaintBatch(QPainter& painter, const QTransform& view, const Batch& batch,
                                const QRectF& device, bool precise) const {
  const Look& look = looks_[batch.look];
  const QRectF clip = device.adjusted(-kClipMargin, -kClipMargin, kClipMargin, kClipMargin);
  const QRectF visible = view.inverted().mapRect(clip);
  painter.setTransform(view);
  if (!batch.fill.isEmpty()) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(look.color);
    painter.drawPath(batch.fill);
    painter.setBrush(Qt::NoBrush);
  }
  // Only a cosmetic pen of one pixel takes the painter's fast path; the
  // quick picture draws every line with one and widens marks and points by
  // drawing them again a pixel to each side.
  QPen pen(look.color, precise ? look.width : 1);
  pen.setCosmetic(true);  // widths are screen pixels at every zoom
  pen.setCapStyle(look.mark ? Qt::RoundCap : Qt::FlatCap);
  const render::DashPattern& dash = render::Dash(look.dash);
  if (dash.count > 0) {
    QList<qreal> pattern;  // in pen widths
    const qreal unit = std::max<qreal>(1, pen.widthF());
    for (int i = 0; i < dash.count; ++i) pattern << dash.lengths[i] / unit;
    pen.setDashPattern(pattern);
  }
  QPen point_pen = pen;
  point_pen.setStyle(Qt::SolidLine);
  point_pen.setCapStyle(Qt::RoundCap);
  if (precise) point_pen.setWidthF(std::max<qreal>(kPointPixels, look.width));

  std::vector<QLineF> lines;
  std::vector<QPointF> points;
  lines.reserve(kChunkLines + 4);
  auto draw_lines = [&] {
    painter.setPen(pen);
    painter.drawLines(lines.data(), static_cast<int>(lines.size()));
  };
  auto draw_points = [&] {
    painter.setPen(point_pen);
    painter.drawPoints(points.data(), static_cast<int>(points.size()));
  };
  auto flush = [&] {
    if (!lines.empty())
      (precise || !look.mark) ? draw_lines() : WithOffsets(painter, QTransform(), draw_lines);
    if (!points.empty()) precise ? draw_points() : WithOffsets(painter, QTransform(), draw_points);
    lines.clear();
    points.clear();
  };
  // Lines are handed over in device pixels, and a polyline's vertices
  // closer than a pixel to the last one drawn are left out: a zoomed-out
  // arc of a hundred vertices becomes the few segments that show.
  painter.resetTransform();
  const double m11 = view.m11(), m12 = view.m12(), m21 = view.m21(), m22 = view.m22(),
               dx = view.dx(), dy = view.dy();
  auto to_device = [&](const render::Point2& p) {
    return QPointF(m11 * p.x + m21 * p.y + dx, m12 * p.x + m22 * p.y + dy);
  };
  const double arc_tolerance = kArcTolerancePixels / std::sqrt(std::fabs(view.determinant()));
  std::vector<render::Point2> arc_points;
  const std::vector<render::SceneItem>& items = batch.marks ? scene_.marks : scene_.items;
  for (uint32_t index : batch.items) {
    const render::SceneItem& item = items[index];
    if (item.shape == render::ItemShape::kText) {
      const std::array<QPointF, 4> c = TextCorners(scene_.Text(item));
      for (int i = 0; i < 4; ++i) lines.emplace_back(view.map(c[i]), view.map(c[(i + 1) % 4]));
    } else {
      if (item.shape == render::ItemShape::kArc) {
        // An arc outside the picture is not worth its points.
        const render::ArcShape& arc = scene_.Arc(item);
        const double rx = std::fabs(arc.u.x) + std::fabs(arc.v.x);
        const double ry = std::fabs(arc.u.y) + std::fabs(arc.v.y);
        if (!Overlaps(QRectF(arc.center.x - rx, arc.center.y - ry, 2 * rx, 2 * ry), visible))
          continue;
        arc.Tessellate(arc_tolerance, arc_points);
      }
      const std::span<const render::Point2> v = item.shape == render::ItemShape::kArc
                                                    ? std::span<const render::Point2>(arc_points)
                                                    : scene_.Vertices(item);
      if (v.empty()) continue;
      QPointF last = to_device(v[0]);
      if (item.shape == render::ItemShape::kPointMark || v.size() == 1) points.push_back(last);
      const size_t end =
          item.shape == render::ItemShape::kPolygon && v.size() > 2 ? v.size() + 1 : v.size();
      for (size_t i = 1; i < end; ++i) {
        const QPointF next = to_device(v[i % v.size()]);  // a polygon (a marked solid) closes
        const QPointF d = next - last;
        if (std::fabs(d.x()) + std::fabs(d.y()) < kMinSegmentPixels && i + 1 < end) continue;
        if (QLineF line(last, next); ClipTo(clip, line)) lines.push_back(line);
        last = next;
      }
    }
    if (lines.size() >= kChunkLines || points.size() >= kChunkLines) flush();
  }
  flush();
}

void PreviewDrawing::PaintTexts(QPainter& painter, const QTransform& view, const QRectF& visible,
                                const QRectF& device) const {
  const double scale = std::sqrt(std::fabs(view.determinant()));
  const QFont& font = ReferenceFont();
  const QFontMetricsF metrics(font);
  painter.setFont(font);
  int glyph_texts = 0;
  // Texts too small to read show as their base lines, texts larger than the
  // screen as their boxes; those lines are drawn together by colour.
  std::unordered_map<QRgb, std::vector<QLineF>> base_lines;
  for (size_t i = 0; i < texts_.size(); ++i) {
    if (!Overlaps(text_bounds_[i], visible)) continue;
    const render::SceneItem& item = scene_.items[texts_[i]];
    const render::SceneText& t = scene_.Text(item);
    const QPointF anchor = At(t.anchor);
    const QPointF along(std::cos(t.angle), std::sin(t.angle));
    const double height_px = t.height * scale;
    if (height_px < kMinGlyphHeightPx || glyph_texts >= kMaxGlyphTexts || t.utf8.empty()) {
      base_lines[item.rgb].emplace_back(view.map(anchor), view.map(anchor + along * t.length));
      continue;
    }
    if (height_px > kMaxGlyphHeightPx) {  // larger than any screen: its box
      const std::array<QPointF, 4> c = TextCorners(t);
      for (int k = 0; k < 4; ++k) {
        if (QLineF line(view.map(c[k]), view.map(c[(k + 1) % 4])); ClipTo(device, line)) {
          base_lines[item.rgb].push_back(line);
        }
      }
      continue;
    }
    ++glyph_texts;
    const QString text = QString::fromStdString(t.utf8);
    if (advances_[i] < 0) advances_[i] = metrics.horizontalAdvance(text);
    // Laid out on screen: the anchor, the direction of the text, its height
    // and its length as the drawing gives them.
    const QPointF p = view.map(anchor);
    const QPointF d = view.map(anchor + along) - p;
    const double stretch = advances_[i] > 0 ? t.length * scale / advances_[i] : 1;
    QTransform at;
    at.translate(p.x(), p.y());
    at.rotateRadians(std::atan2(d.y(), d.x()));
    at.scale(stretch, height_px / kReferencePixels);
    painter.setTransform(at);
    painter.setPen(ColorOf(item.rgb));
    painter.drawText(QPointF(0, -metrics.descent()), text);
  }
  painter.resetTransform();
  for (const auto& [rgb, lines] : base_lines) {
    QPen pen(ColorOf(rgb), 1);
    pen.setCosmetic(true);
    painter.setPen(pen);
    for (size_t i = 0; i < lines.size(); i += kChunkLines) {
      painter.drawLines(lines.data() + i,
                        static_cast<int>(std::min(kChunkLines, lines.size() - i)));
    }
  }
}

}  // namespace varnelko
