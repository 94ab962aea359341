// `render FILE -o OUT.svg`: draws a drawing or figure as a standalone SVG,
// as the screen shows it or as it prints, before or after a conversion.
#include <cstdio>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/conversion_options.h"
#include "cli/file_arguments.h"
#include "cli/output_check.h"
#include "cli/report_text.h"
#include "conversion/batch.h"
#include "document/cp932.h"
#include "formats/loaded_drawing.h"
#include "platform/path_text.h"
#include "render/svg_writer.h"

namespace varnelko::cli {
namespace {

constexpr int kExitFailed = 1;
constexpr int kExitRefused = 2;

struct RenderOptions {
  std::string file;
  std::string output;
  std::string view = "screen";
  bool after = false;
  bool temporary_points = false;
  bool colour = false;
  int width = 1600;
  std::shared_ptr<ConversionOptions> conversion = std::make_shared<ConversionOptions>();
};

int Refuse(const std::string& message) {
  PrintErrorLine("varnelko-cli render: " + EscapeControls(message));
  return kExitRefused;
}

int Fail(const std::string& file, const std::string& why) {
  PrintErrorLine("varnelko-cli render: " + EscapeControls(Shown(file)) + ": " +
                 EscapeControls(why));
  return kExitFailed;
}

std::string NotDrawn(const render::SceneStats& s) {
  std::string text;
  auto add = [&](int64_t n, const char* what) {
    if (n == 0) return;
    text += (text.empty() ? "; not drawn: " : ", ") + std::to_string(n) + " " + what;
  };
  add(s.missing_blocks, "insertions of missing blocks");
  add(s.cut_cycles, "insertions of a block inside itself");
  add(s.cut_depth, "insertions nested too deep");
  add(s.cut_limit, "insertions over the item limit");
  add(s.skipped_geometry, "entities with unusable coordinates");
  add(s.hidden_layers, "entities on hidden layers");
  add(s.off_paper, "items off the sheet");
  return text;
}

// Where the picture is framed; the sheet is the rule, anything else is said.
std::string Framed(const render::Scene& scene) {
  if (scene.frame_source == render::FrameSource::kPaper) return "";
  std::string text = std::string("; framed: ") + render::Describe(scene.frame_source);
  if (scene.frame_source == render::FrameSource::kUnknownPaper) {
    text += " (code " + std::to_string(scene.paper_code) + ")";
  }
  return text;
}

int RunRender(const RenderOptions& o) {
  render::SceneOptions scene_options;
  scene_options.view = o.view == "print" ? render::SceneView::kPrint : render::SceneView::kScreen;
  scene_options.temporary_points = o.temporary_points;
  scene_options.print_colours = o.colour;
  // Conversion options ask for the view after that conversion.
  if (o.after || o.conversion->Given()) {
    std::string why;
    std::optional<ConversionSettings> settings = ResolveConversionSettings(*o.conversion, why);
    if (!settings) return Refuse(why);
    if (settings->C(3) == 0 && settings->C(4) == 0) {
      return Refuse(BatchCheckMessage(BatchCheck::kNothingToConvert));
    }
    scene_options.after = *settings;
  }
  const std::string refused =
      RefusedOutput(PathFromUtf8(o.output), {PathFromUtf8(o.file)}, false);
  if (!refused.empty()) return Refuse(Shown(o.output) + ": " + refused);
  LoadedDrawing drawing;
  FormatError error;
  if (!drawing.Load(PathFromUtf8(o.file), &error)) return Fail(o.file, error.Describe());
  const render::Scene scene = drawing.jww() ? render::BuildScene(*drawing.jww(), scene_options)
                                            : render::BuildScene(*drawing.jws(), scene_options);
  render::SvgOptions svg;
  svg.width_px = o.width;
  svg.title = PathToUtf8(PathFromUtf8(o.file).filename());
  if (!render::WriteSvgFile(PathFromUtf8(o.output), scene, svg, &error)) return Fail(o.output, error.Describe());
  std::string line = "rendered " + Shown(o.file) + " -> " + Shown(o.output) + " (" +
                     std::to_string(scene.items.size()) + " items, " + o.view + " view";
  if (scene.changes) {
    line += ", after: " + std::to_string(scene.changes->colors) + " colours, " +
            std::to_string(scene.changes->styles) + " line types changed";
  }
  line += NotDrawn(scene.stats) + Framed(scene) + ")";
  PrintLine(EscapeControls(line));
  return 0;
}

}  // namespace

void AddRenderCommand(CLI::App& app, int& exit_code) {
  auto options = std::make_shared<RenderOptions>();
  CLI::App* cmd = app.add_subcommand("render", "Draw a drawing or figure as an SVG picture");
  cmd->add_option("file", options->file, "A JWW drawing or JWS figure")
      ->required()
      ->transform(OneFile());
  cmd->add_option("-o,--output", options->output, "The SVG file to write")->required();
  cmd->add_option("--view", options->view,
                  "screen (everything, the sheet's edge) or print (the sheet without auxiliary entities)")
      ->check(CLI::IsMember({"screen", "print"}));
  cmd->add_flag("--after", options->after,
                "Draw the drawing after the conversion, marking what it changed");
  cmd->add_flag("--temporary-points", options->temporary_points, "Also draw temporary points");
  cmd->add_flag("--colour", options->colour,
                "Print view in the drawing's colours (black by default; not --color, which converts)");
  cmd->add_option("--width", options->width, "Picture width in pixels")
      ->check(CLI::Range(16, 100000));
  AddConversionOptions(cmd, options->conversion);
  cmd->callback([options, &exit_code] { exit_code = RunRender(*options); });
}

}  // namespace varnelko::cli
