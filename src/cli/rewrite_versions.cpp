#include "cli/rewrite_versions.h"

namespace varnelko::cli {

namespace {

constexpr int32_t kDrawingVersions[] = {220, 223, 225, 230, 300, 351, 420, 600, 700};
// A figure is written at 230 at least, and one of version 300 as 351.
constexpr int32_t kFigureVersions[] = {230, 300, 351, 420, 600, 700};

// Where a part of the file first appears, and what it is.
struct Threshold {
  int32_t version;
  bool in_figures;
  const char* what;
};
constexpr Threshold kThresholds[] = {
    {223, false, "the header settings of version 223"},
    {225, false, "the header settings of version 225"},
    {230, false, "the header settings of version 230"},
    {300, false, "the sky settings"},
    {351, true, "pen widths"},
    {420, true,
     "the extended colours and line types (drawn with basic ones instead) and the "
     "dimensions' extension lines and points"},
};
constexpr int32_t kImagesVersion = 700;

}  // namespace

std::span<const int32_t> KnownVersions(bool figure) {
  if (figure) return kFigureVersions;
  return kDrawingVersions;
}

std::string VersionList(bool figure) {
  std::string list;
  for (int32_t v : KnownVersions(figure)) list += (list.empty() ? "" : ", ") + std::to_string(v);
  return list;
}

std::vector<std::string> DroppedByVersion(int32_t from, int32_t to, bool figure,
                                          size_t bound_images) {
  std::vector<std::string> dropped;
  for (const Threshold& t : kThresholds) {
    if ((t.in_figures || !figure) && to < t.version && t.version <= from) {
      dropped.push_back(t.what);
    }
  }
  if (to < kImagesVersion && bound_images > 0) {
    dropped.push_back(std::to_string(bound_images) + " bound images");
  }
  return dropped;
}

}  // namespace varnelko::cli
