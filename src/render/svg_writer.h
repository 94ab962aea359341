#pragma once
// A scene as a standalone SVG: white ground, the view box fitted to the
// scene's frame (the sheet, or the items when there is none), one element per item in group "drawing" and, for "after" views,
// one mark per changed item in group "after-marks".
#include <filesystem>
#include <string>

#include "formats/format_error.h"
#include "render/scene.h"

namespace varnelko::render {

struct SvgOptions {
  int width_px = 1600;   // the picture's width; its height follows the drawing
  std::string title;     // UTF-8
};

void BuildSvg(const Scene& scene, const SvgOptions& options, std::string& out);
bool WriteSvgFile(const std::filesystem::path& path, const Scene& scene, const SvgOptions& options,
                  FormatError* error = nullptr);

}  // namespace varnelko::render
