#include "render/paper.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace varnelko::render {
namespace {

// Width and height in millimetres, landscape.
constexpr std::array<std::array<double, 2>, 5> kIsoA = {{
    {1189, 841}, {841, 594}, {594, 420}, {420, 297}, {297, 210}}};

void AddTextBox(const SceneText& t, Extent& box) {
  const Point2 d{std::cos(t.angle), std::sin(t.angle)};
  const Point2 up{-d.y * t.height, d.x * t.height};
  const Point2 end = t.End();
  box.Add(t.anchor);
  box.Add(end);
  box.Add({t.anchor.x + up.x, t.anchor.y + up.y});
  box.Add({end.x + up.x, end.y + up.y});
}

template <typename Keep>
void KeepOnly(std::vector<SceneItem>& items, Keep keep) {
  items.erase(std::remove_if(items.begin(), items.end(), [&](const SceneItem& i) { return !keep(i); }),
              items.end());
}

}  // namespace

std::optional<Extent> SheetOf(int32_t paper_code) {
  if (paper_code < 0 || paper_code >= static_cast<int32_t>(kIsoA.size())) return std::nullopt;
  const auto [w, h] = kIsoA[paper_code];
  Extent sheet;
  sheet.Add({-w / 2, -h / 2});
  sheet.Add({w / 2, h / 2});
  return sheet;
}

Extent BoxOf(const Scene& scene, const SceneItem& item) {
  Extent box;
  switch (item.shape) {
    case ItemShape::kText: AddTextBox(scene.Text(item), box); break;
    case ItemShape::kArc: scene.Arc(item).AddTo(box); break;
    default:
      for (Point2 p : scene.Vertices(item)) box.Add(p);
  }
  return box;
}

const char* Describe(FrameSource source) {
  switch (source) {
    case FrameSource::kPaper: return "the sheet";
    case FrameSource::kNoPaper: return "the items, a figure has no paper";
    case FrameSource::kUnknownPaper: return "the items, the paper size code names no known sheet";
    case FrameSource::kOffPaper: return "the items, most of them lie off the sheet";
    case FrameSource::kEmpty: return "nothing, no items and no sheet";
  }
  return "";
}

void PlaceOnPaper(Scene& scene, int32_t paper_code, SceneView view) {
  scene.paper_code = paper_code;
  const std::optional<Extent> sheet = paper_code >= 0 ? SheetOf(paper_code) : std::nullopt;
  const auto fallback = [&](FrameSource why) {
    scene.paper.reset();
    scene.frame = scene.extent;
    scene.frame_source = scene.extent.empty ? FrameSource::kEmpty : why;
  };
  if (!sheet) return fallback(paper_code < 0 ? FrameSource::kNoPaper : FrameSource::kUnknownPaper);
  const auto on_sheet = [&](const SceneItem& item) { return BoxOf(scene, item).Overlaps(*sheet); };
  const int64_t on = std::count_if(scene.items.begin(), scene.items.end(), on_sheet);
  scene.stats.off_paper = static_cast<int64_t>(scene.items.size()) - on;
  if (2 * on < static_cast<int64_t>(scene.items.size())) return fallback(FrameSource::kOffPaper);
  scene.paper = sheet;
  scene.frame = *sheet;
  scene.frame_source = FrameSource::kPaper;
  if (view != SceneView::kPrint || scene.stats.off_paper == 0) return;
  KeepOnly(scene.items, on_sheet);
  KeepOnly(scene.marks, on_sheet);
  scene.extent = Extent{};
  for (const SceneItem& item : scene.items) scene.extent.AddBox(BoxOf(scene, item));
}

}  // namespace varnelko::render
