// `info FILE...`: one line per file with its format, version, entity and
// block definition counts and memo; failures go to stderr, one line each.
// `info --layers FILE...` adds one line per layer that holds entities, and
// with conversion options what the conversion would change there.
#include <array>
#include <cstdio>
#include <optional>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/conversion_options.h"
#include "cli/report_text.h"
#include "conversion/layer_inventory.h"
#include "document/cp932.h"
#include "document/layer_state.h"
#include "document/text_helpers.h"
#include "formats/loaded_drawing.h"
#include "formats/memo_for_file.h"
#include "platform/command_line.h"
#include "platform/path_text.h"

namespace varnelko::cli {
namespace {

std::string Count(size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The memo goes last: it is free text and may hold commas. Figures have none.
std::string DrawingLine(const std::string& name, const LoadedDrawing& drawing) {
  const EntityStore& store = drawing.store();
  std::string line = name + ": " + drawing.format() + " version " +
                     std::to_string(drawing.version()) + ", " +
                     Count(store.order.size(), "entity", "entities") + ", " +
                     Count(store.block_defs.size(), "block definition", "block definitions");
  if (!drawing.is_jws()) line += ", memo: " + Cp932ToUtf8(StripControlChars(drawing.memo()));
  return line;
}

// Backups and legacy drawings show the memo exactly as the file list does.
bool DescribeMemoOnly(const std::string& name, std::string& line, FormatError& error) {
  const std::filesystem::path path = PathFromUtf8(name);
  if (!CanOpenFile(path, &error)) return false;
  line = Shown(name) + ": " + MemoOnlyFormat(path) + ", memo: " + Cp932ToUtf8(MemoForFile(path));
  return true;
}

constexpr std::array<const char*, 8> kKindNames = {
    "", "line", "arc", "point", "text", "dimension", "solid", "block insertion"};

std::string KindCounts(const std::array<int64_t, 8>& counts) {
  std::string text;
  for (int k = 1; k < 8; ++k) {
    if (counts[k] == 0) continue;
    if (!text.empty()) text += ", ";
    const std::string kind = kKindNames[k];
    text += std::to_string(counts[k]) + " " + (counts[k] == 1 ? kind : kind + "s");
  }
  return text;
}

std::string Hex(uint16_t n) {
  static const char kDigits[] = "0123456789ABCDEF";
  return n < 16 ? std::string(1, kDigits[n]) : std::to_string(n);
}

// A layer's state in words; the written layer is the one the drawing was
// being drawn on.
std::string StateWord(int32_t group_state, int32_t layer_state) {
  switch (ShowOf(group_state, layer_state)) {
    case LayerShow::kHidden: return "hidden";
    case LayerShow::kLocked: return "locked";
    case LayerShow::kShown: break;
  }
  return layer_state == 3 && group_state == 3 ? "written" : "editable";
}

std::string ScaleText(double scale) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "1:%g", scale);
  return buf;
}

// The state of a drawing's layer and the scale of its group; a figure has
// only the scale.
std::string LayerState(const LoadedDrawing& drawing, uint16_t group, uint16_t layer) {
  if (group > 15 || layer > 15) return "";
  if (const JwsDocument* jws = drawing.jws()) return " (" + ScaleText(jws->group_scales[group]) + ")";
  const JwwDocument& doc = *drawing.jww();
  return " (" + StateWord(doc.layer_groups[group].state, doc.layers[group * 16 + layer].state) +
         ", " + ScaleText(doc.layer_groups[group].scale) + ")";
}

// "  [0-3] group name / layer name (editable, 1:100): 12 lines, 1 text;
// block members: ...; would change 12 colours, 0 line types"
std::string LayerLine(const LayerInventoryEntry& e, const std::string& state, bool with_changes) {
  std::string line = "  [" + Hex(e.group) + "-" + Hex(e.layer) + "]";
  const std::string group = Cp932ToUtf8(StripControlChars(e.group_name));
  const std::string layer = Cp932ToUtf8(StripControlChars(e.layer_name));
  if (!group.empty() || !layer.empty()) line += " " + group + " / " + layer;
  line += state + ": ";
  const std::string top = KindCounts(e.counts), members = KindCounts(e.member_counts);
  line += top.empty() ? "no top-level entities" : top;
  if (!members.empty()) line += "; block members: " + members;
  if (with_changes) {
    line += "; would change " + std::to_string(e.colors_changed) + " colours, " +
            std::to_string(e.styles_changed) + " line types";
  }
  return line;
}

std::string LayersText(const LoadedDrawing& drawing, const std::optional<ConversionSettings>& s) {
  const LayerInventory inv = drawing.jww() ? BuildLayerInventory(*drawing.jww(), s)
                                           : BuildLayerInventory(*drawing.jws(), s);
  std::string text;
  for (const LayerInventoryEntry& e : inv.entries) {
    text += "\n" + LayerLine(e, LayerState(drawing, e.group, e.layer), inv.with_changes);
  }
  if (inv.with_changes) {
    text += "\n  conversion would change " + std::to_string(inv.colors_changed) + " colours, " +
            std::to_string(inv.styles_changed) + " line types";
  }
  return text;
}

struct InfoRequest {
  std::vector<std::string> files;
  bool layers = false;
  std::optional<ConversionSettings> settings;  // for the layer lines
};

bool DescribeFile(const std::string& name, const InfoRequest& r, std::string& line,
                  FormatError& error) {
  if (IsMemoOnlyFile(PathFromUtf8(name))) {
    if (!DescribeMemoOnly(name, line, error)) return false;
    line = EscapeControls(line);
    return true;
  }
  LoadedDrawing drawing;
  if (!drawing.Load(PathFromUtf8(name), &error)) return false;
  // The layer lines hold names already stripped of control characters.
  line = EscapeControls(DrawingLine(Shown(name), drawing));
  if (r.layers) line += LayersText(drawing, r.settings);
  return true;
}

int RunInfo(const InfoRequest& r) {
  int status = 0;
  for (const std::string& name : platform::ExpandWildcards(r.files)) {
    std::string line;
    FormatError error;
    if (DescribeFile(name, r, line, error)) {
      PrintLine(line);
    } else {
      PrintErrorLine("varnelko-cli info: " + EscapeControls(Shown(name)) + ": " +
                     EscapeControls(error.Describe()));
      status = 1;
    }
  }
  return status;
}

}  // namespace

void AddInfoCommand(CLI::App& app, int& exit_code) {
  auto* command = app.add_subcommand("info", "Show format, version, counts and memo of drawings");
  auto request = std::make_shared<InfoRequest>();
  auto conversion = std::make_shared<ConversionOptions>();
  command->add_option("files", request->files, "JWW, JWS, JWC, JWK or backup files")->required();
  command->add_flag("--layers", request->layers,
                    "Also list every layer holding entities, with counts by kind; with "
                    "conversion options, what the conversion would change there");
  AddConversionOptions(command, conversion);
  command->callback([request, conversion, &exit_code] {
    if (conversion->Given()) {
      std::string why;
      request->settings = ResolveConversionSettings(*conversion, why);
      if (!request->settings) {
        PrintErrorLine("varnelko-cli info: " + EscapeControls(why));
        exit_code = 2;
        return;
      }
    }
    exit_code = RunInfo(*request);
  });
}

}  // namespace varnelko::cli
