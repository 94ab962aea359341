// varnelko-cli convert: the batch run from the command line.
#if defined(_WIN32)
#include <io.h>
#define isatty _isatty
#define STDERR_FILENO 2
#else
#include <unistd.h>
#endif
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <algorithm>
#include <array>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>

#include "cli/commands.h"
#include "conversion/batch.h"
#include "conversion/conversion_settings.h"
#include "document/text_helpers.h"
#include "formats/file_extension.h"

namespace varnelko::cli {
namespace fs = std::filesystem;

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitRefused = 2;

// The six switches C3..C8, in slot order.
constexpr std::array<const char*, 6> kSwitchNames = {
    "color", "linetype", "dim-color", "block-color", "dim-linetype", "block-linetype"};

struct ConvertOptions {
  std::string output;
  std::vector<std::string> paths;
  std::string settings_file;
  std::string group, layer;
  std::array<std::optional<int>, 6> switches;  // C3..C8 when given
  int jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  bool full_path = false;
  bool dry_run = false;
};

// "0".."15", one hexadecimal digit "0".."F", or "all" / "16" (every one).
std::optional<int32_t> ParseLayerSlot(const std::string& text) {
  if (text == "all" || text == "ALL" || text == "All") return kAllLayers;
  if (text.size() == 1) {
    char c = text[0];
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return std::nullopt;
  }
  if (text.size() == 2 && text[0] == '1' && text[1] >= '0' && text[1] <= '6') {
    return 10 + (text[1] - '0');
  }
  return std::nullopt;
}

// The value of a switch: a bare flag is on; "=N" is stored as it is.
int SwitchValue(const std::string& v) {
  if (v.empty() || v == "true") return 1;
  if (v == "false") return 0;
  return StrToIntLenient(v);
}

int Refuse(const std::string& message) {
  std::cerr << message << "\n";
  return kExitRefused;
}

// Settings from the file first, exactly as stored; explicit options win.
std::optional<ConversionSettings> ResolveSettings(const ConvertOptions& o, std::string& why) {
  ConversionSettings s;
  if (!o.settings_file.empty() && !LoadSettingsFile(o.settings_file, s)) {
    why = "cannot read the settings file " + o.settings_file;
    return std::nullopt;
  }
  for (auto [slot, text] : {std::pair{1, &o.group}, std::pair{2, &o.layer}}) {
    if (text->empty()) continue;
    std::optional<int32_t> v = ParseLayerSlot(*text);
    if (!v) {
      why = "a layer group or layer is 0-15, a hexadecimal digit 0-F or all: " + *text;
      return std::nullopt;
    }
    s.C(slot) = *v;
  }
  for (size_t i = 0; i < o.switches.size(); ++i) {
    if (o.switches[i]) s.C(static_cast<int>(i) + 3) = *o.switches[i];
  }
  return s;
}

bool IsDrawingName(const fs::path& p) {
  const std::string ext = UpperCaseExtension(p);
  return ext == ".JWW" || ext == ".JWS";
}

// Files as given; folders give their drawing files, by name, not recursing.
// Also collects the folders the sources live in, for the same-folder check.
bool CollectSources(const std::vector<std::string>& paths, std::vector<fs::path>& sources,
                    std::vector<fs::path>& folders, std::string& why) {
  for (const std::string& text : paths) {
    fs::path p(text);
    std::error_code ec;
    if (fs::is_directory(p, ec)) {
      std::vector<fs::path> found;
      for (const auto& entry : fs::directory_iterator(p, ec)) {
        if (entry.is_regular_file(ec) && IsDrawingName(entry.path())) found.push_back(entry.path());
      }
      if (ec) {
        why = "cannot list the folder " + text + ": " + ec.message();
        return false;
      }
      std::sort(found.begin(), found.end());
      sources.insert(sources.end(), found.begin(), found.end());
      folders.push_back(p);
    } else if (fs::exists(p, ec)) {
      sources.push_back(p);
      folders.push_back(p.has_parent_path() ? p.parent_path() : fs::path("."));
    } else {
      why = "no such file or folder: " + text;
      return false;
    }
  }
  return true;
}

std::string ReportLine(const FileOutcome& o) {
  const std::string src = o.source.string();
  switch (o.kind) {
    case FileOutcomeKind::kConverted:
      return "converted  " + src + " -> " + o.output.string() + " (" +
             std::to_string(o.counts.colors) + " colours, " + std::to_string(o.counts.styles) +
             " line types changed)";
    case FileOutcomeKind::kSkipped:
      return "skipped    " + src + " (not a JWW/JWS drawing)";
    case FileOutcomeKind::kLoadFailed:
      return "failed     " + src + ": load failed: " + o.error;
    case FileOutcomeKind::kWriteFailed:
      return "failed     " + src + ": write failed: " + o.error;
  }
  return {};
}

// A one-line bar on stderr, redrawn as files finish; only on a terminal.
class ProgressBar {
 public:
  explicit ProgressBar(size_t total) : total_(total), shown_(isatty(STDERR_FILENO) != 0) {}
  void Step(size_t done) {
    if (!shown_ || total_ == 0) return;
    constexpr size_t kWidth = 40;
    size_t filled = done * kWidth / total_;
    std::fprintf(stderr, "\r[%s%s] %zu/%zu", std::string(filled, '#').c_str(),
                 std::string(kWidth - filled, '.').c_str(), done, total_);
    std::fflush(stderr);
  }
  void Finish() {
    if (shown_ && total_ > 0) std::fprintf(stderr, "\r\033[K");
  }

 private:
  size_t total_;
  bool shown_;
};

// Every file allocates buffers of its own size for its bytes and entities.
// Left to the defaults, each such buffer is a fresh mapping that is faulted
// in page by page and returned on free, which costs as much as the
// conversion itself; keeping freed memory for the next file halves the time.
void KeepFreedMemoryForReuse() {
#if defined(__GLIBC__)
  mallopt(M_MMAP_THRESHOLD, 256 << 20);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
}

int RunConvert(const ConvertOptions& o) {
  std::string why;
  std::optional<ConversionSettings> settings = ResolveSettings(o, why);
  if (!settings) return Refuse(why);
  BatchRequest request;
  std::vector<fs::path> folders;
  if (!CollectSources(o.paths, request.sources, folders, why)) return Refuse(why);
  BatchCheck check = CheckBatchPreconditions(o.output, folders, *settings);
  if (check != BatchCheck::kOk) return Refuse(BatchCheckMessage(check));

  request.output_folder = o.output;
  request.settings = *settings;
  request.jobs = std::max(1, o.jobs);
  request.full_path = o.full_path || FullPathRequested();
  request.dry_run = o.dry_run;
  KeepFreedMemoryForReuse();
  ProgressBar bar(request.sources.size());
  std::array<size_t, 3> tally{};  // converted, skipped, failed
  BatchCallbacks callbacks;
  callbacks.on_done = [&](size_t index, const FileOutcome& outcome) {
    bar.Finish();
    std::cout << ReportLine(outcome) << "\n" << std::flush;
    bar.Step(index + 1);
    if (outcome.kind == FileOutcomeKind::kConverted) ++tally[0];
    else if (outcome.kind == FileOutcomeKind::kSkipped) ++tally[1];
    else ++tally[2];
  };
  RunBatch(request, callbacks);
  bar.Finish();
  std::cout << tally[0] << " converted, " << tally[1] << " skipped, " << tally[2] << " failed"
            << (o.dry_run ? " (dry run: nothing written)\n" : "\n");
  return tally[2] > 0 ? kExitFailed : 0;
}

}  // namespace

void AddConvertCommand(CLI::App& app, int& exit_code) {
  auto options = std::make_shared<ConvertOptions>();
  CLI::App* cmd = app.add_subcommand(
      "convert", "Convert the entities of a layer to auxiliary colour / line type 9");
  cmd->add_option("-o,--output", options->output, "Output folder (must exist)");
  cmd->add_option("paths", options->paths, "Drawing files, or folders whose drawings are taken")
      ->required();
  cmd->add_option("--settings", options->settings_file,
                  "A .set file (or the program's ini) read first, exactly as stored");
  cmd->add_option("--group", options->group, "Target layer group: 0-15, 0-F or all (C1)");
  cmd->add_option("--layer", options->layer, "Target layer: 0-15, 0-F or all (C2)");
  for (size_t i = 0; i < kSwitchNames.size(); ++i) {
    std::string name = kSwitchNames[i];
    // --color turns C3 on, --color=N stores N as it is, --no-color turns it off.
    // A flag never takes the next word, so a path after it stays a path.
    cmd->add_flag("--" + name)
        ->description("Switch C" + std::to_string(i + 3) + " on (or =N)")
        ->each([options, i](const std::string& v) {
          options->switches[i] = SwitchValue(v);
        })
        ->trigger_on_parse();  // in command-line order, so the last of --x / --no-x wins
    cmd->add_flag_callback("--no-" + name, [options, i] { options->switches[i] = 0; },
                           "Switch C" + std::to_string(i + 3) + " off")
        ->trigger_on_parse();
  }
  cmd->add_option("-j,--jobs", options->jobs, "Files converted in parallel")
      ->check(CLI::PositiveNumber);
  cmd->add_flag("--full", options->full_path,
                "Load, convert and write every drawing whole, never patching it in place "
                "(also with VARNELKO_FULL_PATH=1); the outputs are the same");
  cmd->add_flag("--dry-run", options->dry_run,
                "Do everything but write: the same report, no file created or changed");
  cmd->callback([options, &exit_code] { exit_code = RunConvert(*options); });
}

}  // namespace varnelko::cli
