#include "app/preview_drawing.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
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
// Antialiasing costs several times the plain strokes; above this many
// visible segments the picture is drawn without it.
constexpr size_t kMaxSmoothSegments = 40'000;
// Texts smaller than this on screen show as their base line only; and no
// more than this many texts are set in glyphs per repaint.
constexpr double kMinGlyphHeightPx = 4;
constexpr int kMaxGlyphTexts = 3'000;
constexpr int kReferencePixels = 64;  // font size the text advances are measured at
constexpr int kMarkAlpha = 150;

QRectF BoundsOf(std::span<const render::Point2> points) {
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

QColor ColorOf(uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// The four corners of a text's box, drawing coordinates.
std::array<QPointF, 4> TextCorners(const render::SceneText& t) {
  const QPointF d(std::cos(t.angle), std::sin(t.angle));
  const QPointF u(-d.y(), d.x());
  const QPointF a(t.anchor.x, t.anchor.y);
  return {a, a + d * t.length, a + d * t.length + u * t.height, a + u * t.height};
}

QFont ReferenceFont() {
  QFont font = FixedPitchFont();
  font.setPixelSize(kReferencePixels);
  return font;
}

}  // namespace

PreviewDrawing::PreviewDrawing(const render::Scene& scene) {
  const render::Extent& e = scene.extent;
  if (!e.empty) extent_ = QRectF(QPointF(e.min_x, e.min_y), QPointF(e.max_x, e.max_y));
  items_ = static_cast<int64_t>(scene.items.size());
  AddItems(scene, scene.items, false);
  AddItems(scene, scene.marks, true);
  look_index_.clear();
  batch_index_.clear();
  advances_.assign(texts_.size(), -1);
}

int PreviewDrawing::LookOf(const render::SceneItem& item, bool mark) {
  Look look;
  if (mark) {
    look.color = ColorOf(render::kChangeRgb);
    look.color.setAlpha(kMarkAlpha);
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
  auto [it, added] = look_index_.emplace(key, static_cast<int>(looks_.size()));
  if (added) looks_.push_back(look);
  return it->second;
}

PreviewDrawing::Batch& PreviewDrawing::BatchOf(int look, const QRectF& bounds, bool mark) {
  int cx = 0, cy = 0;
  if (!extent_.isEmpty()) {
    const QPointF c = bounds.center();
    cx = std::clamp(static_cast<int>((c.x() - extent_.left()) / extent_.width() * kRegions), 0,
                    kRegions - 1);
    cy = std::clamp(static_cast<int>((c.y() - extent_.top()) / extent_.height() * kRegions), 0,
                    kRegions - 1);
  }
  const uint64_t key = (uint64_t(look) * kRegions + cy) * kRegions + cx;
  std::vector<Batch>& batches = mark ? marks_ : batches_;
  auto [it, added] = batch_index_.emplace(key | (mark ? 1ull << 62 : 0), static_cast<int>(batches.size()));
  if (added) {
    batches.emplace_back();
    batches.back().look = look;
    batches.back().bounds = bounds;
  }
  Batch& batch = batches[it->second];
  batch.bounds = batch.bounds.united(bounds);
  // united() drops a side of no width; keep lines that are points wide.
  batch.bounds.setLeft(std::min(batch.bounds.left(), bounds.left()));
  batch.bounds.setTop(std::min(batch.bounds.top(), bounds.top()));
  batch.bounds.setRight(std::max(batch.bounds.right(), bounds.right()));
  batch.bounds.setBottom(std::max(batch.bounds.bottom(), bounds.bottom()));
  return batch;
}

void PreviewDrawing::AddItems(const render::Scene& scene,
                              const std::vector<render::SceneItem>& items, bool marks) {
  for (const render::SceneItem& item : items) {
    const int look = LookOf(item, marks);
    if (item.shape == render::ItemShape::kText) {
      const render::SceneText& t = scene.Text(item);
      const std::array<QPointF, 4> corners = TextCorners(t);
      QPolygonF box(QList<QPointF>(corners.begin(), corners.end()));
      const QRectF bounds = box.boundingRect();
      if (marks) {  // a changed text is marked by its box
        Batch& batch = BatchOf(look, bounds, true);
        for (int i = 0; i < 4; ++i) batch.lines.emplace_back(corners[i], corners[(i + 1) % 4]);
        continue;
      }
      texts_.push_back({QString::fromStdString(t.utf8), QPointF(t.anchor.x, t.anchor.y), t.angle,
                        t.height, t.length, bounds, look});
      continue;
    }
    const std::span<const render::Point2> v = scene.Vertices(item);
    if (v.empty()) continue;
    Batch& batch = BatchOf(look, BoundsOf(v), marks);
    switch (item.shape) {
      case render::ItemShape::kPointMark: batch.points.emplace_back(v[0].x, v[0].y); break;
      case render::ItemShape::kPolygon:
        if (!marks) {
          QPolygonF polygon;
          for (const render::Point2& p : v) polygon << QPointF(p.x, p.y);
          batch.fill.addPolygon(polygon);
          break;
        }
        // A changed solid is marked by its outline.
        for (size_t i = 0; i < v.size(); ++i) {
          const render::Point2 a = v[i], b = v[(i + 1) % v.size()];
          batch.lines.emplace_back(a.x, a.y, b.x, b.y);
        }
        break;
      default:
        if (v.size() == 1) batch.points.emplace_back(v[0].x, v[0].y);
        for (size_t i = 1; i < v.size(); ++i) {
          batch.lines.emplace_back(v[i - 1].x, v[i - 1].y, v[i].x, v[i].y);
        }
        break;
    }
  }
}

void PreviewDrawing::Paint(QPainter& painter, const QTransform& view, const QRectF& device) const {
  painter.fillRect(device, Qt::white);
  const QRectF visible = view.inverted().mapRect(device);
  size_t segments = 0;
  for (const Batch& batch : batches_) {
    if (Overlaps(batch.bounds, visible)) segments += batch.lines.size();
  }
  painter.setRenderHint(QPainter::Antialiasing, segments <= kMaxSmoothSegments);
  painter.setTransform(view);
  PaintBatches(painter, batches_, visible);
  PaintTexts(painter, view, visible);
  painter.setTransform(view);
  PaintBatches(painter, marks_, visible);
  painter.resetTransform();
}

void PreviewDrawing::PaintBatches(QPainter& painter, const std::vector<Batch>& batches,
                                  const QRectF& visible) const {
  for (const Batch& batch : batches) {
    if (!Overlaps(batch.bounds, visible)) continue;
    const Look& look = looks_[batch.look];
    if (!batch.fill.isEmpty()) {
      painter.setPen(Qt::NoPen);
      painter.setBrush(look.color);
      painter.drawPath(batch.fill);
      painter.setBrush(Qt::NoBrush);
    }
    QPen pen(look.color, look.width);
    pen.setCosmetic(true);  // widths are screen pixels at every zoom
    if (look.mark) {
      pen.setCapStyle(Qt::RoundCap);
      pen.setJoinStyle(Qt::RoundJoin);
    }
    const render::DashPattern& dash = render::Dash(look.dash);
    if (dash.count > 0) {
      QList<qreal> pattern;  // in pen widths
      const qreal unit = std::max<qreal>(1, look.width);
      for (int i = 0; i < dash.count; ++i) pattern << dash.lengths[i] / unit;
      pen.setDashPattern(pattern);
    }
    painter.setPen(pen);
    if (!batch.lines.empty()) painter.drawLines(batch.lines.data(), static_cast<int>(batch.lines.size()));
    if (!batch.points.empty()) {
      pen.setWidthF(std::max<qreal>(3, look.width));
      pen.setCapStyle(Qt::RoundCap);
      pen.setStyle(Qt::SolidLine);
      painter.setPen(pen);
      painter.drawPoints(batch.points.data(), static_cast<int>(batch.points.size()));
    }
  }
}

void PreviewDrawing::PaintTexts(QPainter& painter, const QTransform& view,
                                const QRectF& visible) const {
  const double scale = std::sqrt(std::fabs(view.determinant()));
  const QFont font = ReferenceFont();
  const QFontMetricsF metrics(font);
  painter.setFont(font);
  int glyph_texts = 0;
  for (size_t i = 0; i < texts_.size(); ++i) {
    const Text& t = texts_[i];
    if (!Overlaps(t.bounds, visible) || t.text.isEmpty()) continue;
    const QColor& color = looks_[t.look].color;
    const QPointF along(std::cos(t.angle), std::sin(t.angle));
    const double height_px = t.height * scale;
    if (height_px < kMinGlyphHeightPx || glyph_texts >= kMaxGlyphTexts) {
      QPen pen(color, 1);
      pen.setCosmetic(true);
      painter.setTransform(view);
      painter.setPen(pen);
      painter.drawLine(QLineF(t.anchor, t.anchor + along * t.length));
      continue;
    }
    ++glyph_texts;
    if (advances_[i] < 0) advances_[i] = metrics.horizontalAdvance(t.text);
    // Laid out on screen: the anchor, the direction of the text, its height
    // and its length as the drawing gives them.
    const QPointF p = view.map(t.anchor);
    const QPointF d = view.map(t.anchor + along) - p;
    const double stretch = advances_[i] > 0 ? t.length * scale / advances_[i] : 1;
    QTransform at;
    at.translate(p.x(), p.y());
    at.rotateRadians(std::atan2(d.y(), d.x()));
    at.scale(stretch, height_px / kReferencePixels);
    painter.setTransform(at);
    painter.setPen(color);
    painter.drawText(QPointF(0, -metrics.descent()), t.text);
  }
}

}  // namespace varnelko
