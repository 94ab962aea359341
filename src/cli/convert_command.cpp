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
#include "cli/conversion_options.h"
#include "conversion/batch.h"
#include "conversion/conversion_settings.h"
#include "formats/file_extension.h"

namespace varnelko::cli {
namespace fs = std::filesystem;

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitRefused = 2;

struct ConvertOptions {
  std::string output;
  std::vector<std::string> paths;
  std::shared_ptr<ConversionOptions> conversion = std::make_shared<ConversionOptions>();
  int jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  bool dry_run = false;
};

int Refuse(const std::string& message) {
  std::cerr << message << "\n";
  return kExitRefused;
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
  std::optional<ConversionSettings> settings = ResolveConversionSettings(*o.conversion, why);
  if (!settings) return Refuse(why);
  BatchRequest request;
  std::vector<fs::path> folders;
  if (!CollectSources(o.paths, request.sources, folders, why)) return Refuse(why);
  BatchCheck check = CheckBatchPreconditions(o.output, folders, *settings);
  if (check != BatchCheck::kOk) return Refuse(BatchCheckMessage(check));

  request.output_folder = o.output;
  request.settings = *settings;
  request.jobs = std::max(1, o.jobs);
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
  AddConversionOptions(cmd, options->conversion);
  cmd->add_option("-j,--jobs", options->jobs, "Files converted in parallel")
      ->check(CLI::PositiveNumber);
  cmd->add_flag("--dry-run", options->dry_run,
                "Do everything but write: the same report, no file created or changed");
  cmd->callback([options, &exit_code] { exit_code = RunConvert(*options); });
}

}  // namespace varnelko::cli
