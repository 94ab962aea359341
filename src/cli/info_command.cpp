// `info FILE...`: one line per file with its format, version, entity and
// block definition counts and memo; failures go to stderr, one line each.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/load_drawing.h"
#include "cli/report_text.h"
#include "document/cp932.h"
#include "document/text_helpers.h"
#include "formats/memo_for_file.h"

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
  if (!CanOpenFile(name, &error)) return false;
  line = name + ": " + MemoOnlyFormat(name) + ", memo: " + Cp932ToUtf8(MemoForFile(name));
  return true;
}

bool DescribeFile(const std::string& name, std::string& line, FormatError& error) {
  if (IsMemoOnlyFile(name)) return DescribeMemoOnly(name, line, error);
  LoadedDrawing drawing;
  if (!drawing.Load(name, &error)) return false;
  line = DrawingLine(name, drawing);
  return true;
}

int RunInfo(const std::vector<std::string>& files) {
  int status = 0;
  for (const std::string& name : files) {
    std::string line;
    FormatError error;
    if (DescribeFile(name, line, error)) {
      std::printf("%s\n", EscapeControls(line).c_str());
    } else {
      std::fflush(stdout);
      std::fprintf(stderr, "varnelko-cli info: %s: %s\n", EscapeControls(name).c_str(),
                   EscapeControls(error.Describe()).c_str());
      status = 1;
    }
  }
  std::fflush(stdout);
  return status;
}

}  // namespace

void AddInfoCommand(CLI::App& app, int& exit_code) {
  auto* command = app.add_subcommand("info", "Show format, version, counts and memo of drawings");
  auto files = std::make_shared<std::vector<std::string>>();
  command->add_option("files", *files, "JWW, JWS, JWC, JWK or backup files")->required();
  command->callback([files, &exit_code] { exit_code = RunInfo(*files); });
}

}  // namespace varnelko::cli
