// varnelko-cli convert: the batch run from the command line.
#include <algorithm>
#include <array>
#include <charconv>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>

#include "cli/commands.h"
#include "cli/conversion_options.h"
#include "cli/platform/interrupt.h"
#include "cli/platform/process.h"
#include "cli/report_text.h"
#include "conversion/batch.h"
#include "conversion/conversion_settings.h"
#include "formats/file_extension.h"
#include "platform/command_line.h"
#include "platform/console.h"
#include "platform/folder_names.h"
#include "platform/native_file.h"
#include "platform/path_text.h"

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
  bool full_path = false;
  bool dry_run = false;
};

// A whole number of at least 1. One too large for an int asks for as many
// workers as there may be, as any number above the cap does.
CLI::Validator AtLeastOne() {
  return CLI::Validator(
      [](std::string& v) {
        std::optional<int> n = WholeNumber(v);
        if (n) return *n >= 1 ? std::string() : "must be at least 1, not " + v;
        auto digit = [](char c) { return c >= '0' && c <= '9'; };
        if (!v.empty() && std::all_of(v.begin(), v.end(), digit)) {
          v = std::to_string(kMaxJobs);
          return std::string();
        }
        return "must be a whole number, not " + v;
      },
      "INT>=1");
}

int Refuse(const std::string& message) {
  PrintErrorLine(EscapeControls(message));
  return kExitRefused;
}

// A report line on standard output, out at once.
void Report(const std::string& line) { PrintLine(EscapeControls(line)); }

bool IsDrawingName(const fs::path& p) {
  const std::string ext = UpperCaseExtension(p);
  return ext == ".JWW" || ext == ".JWS";
}

// The drawing files of a folder, by name, not recursing: a subfolder is no
// file, whatever its name. Every other entry with a drawing's name stays in,
// also one that is no regular file (a FIFO, a device) or cannot be examined
// (a link to itself, a dangling link), so that the run reports it with the
// reason instead of passing over it or refusing the whole run.
bool ListFolder(const fs::path& folder, std::vector<fs::path>& found, std::string& why) {
  std::vector<FolderName> names;
  std::error_code ec;
  if (!ListFolderNames(folder, names, ec)) {
    why = "cannot list the folder " + PathToUtf8(folder) + ": " + ec.message();
    return false;
  }
  const size_t first = found.size();
  for (const FolderName& entry : names) {
    if (!entry.is_folder && IsDrawingName(entry.name)) found.push_back(folder / entry.name);
  }
  std::sort(found.begin() + static_cast<std::ptrdiff_t>(first), found.end());
  return true;
}

// A path that cannot be examined at all (a parent without permission, a
// path too long for the system) and has no drawing's name: whether it is a
// folder is unknown, so it fails with the reason.
struct Unexaminable {
  std::string path;
  std::string why;
};

bool IsMissing(const std::error_code& error) {
  return error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory;
}

// Nothing at all has the name: a mistyped path refuses the run.
bool Absent(const PathState& state) {
  return !state.exists && (!state.error || IsMissing(state.error));
}

// Files as given; folders, whatever their names, give their drawing files
// (a folder without any is noted on stderr). Anything else that is there,
// also what cannot be examined (no permission, a link to itself), is a file
// of the run, which reports why it cannot be read. Also collects the folders
// the sources live in, for the same-folder check.
bool CollectSources(const std::vector<std::string>& paths, std::vector<fs::path>& sources,
                    std::vector<fs::path>& folders, std::vector<Unexaminable>& unexaminable,
                    std::string& why) {
  for (const std::string& text : platform::ExpandWildcards(paths)) {
    const fs::path p = PathFromUtf8(text);
    const PathState state = LookAtPath(p);
    if (state.error && !IsMissing(state.error) && !IsDrawingName(p)) {
      unexaminable.push_back({PathToUtf8(p), state.error.message()});
    } else if (state.leads_to_directory) {
      const size_t before = sources.size();
      if (!ListFolder(p, sources, why)) return false;
      if (sources.size() == before) {
        PrintErrorLine(EscapeControls("no JWW or JWS drawing in the folder " + PathToUtf8(p)));
      }
      folders.push_back(p);
    } else if (!Absent(state)) {
      sources.push_back(p);
      folders.push_back(p.has_parent_path() ? p.parent_path() : fs::path("."));
    } else {
      why = "no such file or folder: " + text;
      return false;
    }
  }
  return true;
}

// What the numbers do not tell: a backup under another name than the usual
// ".BAK" one, and bytes after the drawing's end that the output leaves out.
std::string Notes(const FileOutcome& o) {
  std::string notes;
  if (!o.backup.empty() && o.backup.filename() != BackupPathOf(o.output.filename())) {
    notes += "; the earlier output is kept as " + PathToUtf8(o.backup.filename());
  }
  if (o.trailing_bytes > 0) {
    notes += "; " + std::to_string(o.trailing_bytes) +
             " bytes after the drawing's end are not kept";
  }
  return notes;
}

std::string ReportLine(const FileOutcome& o) {
  const std::string src = PathToUtf8(o.source);
  switch (o.kind) {
    case FileOutcomeKind::kConverted:
      return "converted  " + src + " -> " + PathToUtf8(o.output) + " (" +
             std::to_string(o.counts.colors) + " colours, " + std::to_string(o.counts.styles) +
             " line types changed" + Notes(o) + ")";
    case FileOutcomeKind::kSkipped:
      return "skipped    " + src + " (not a JWW/JWS drawing)";
    case FileOutcomeKind::kLoadFailed:
      return "failed     " + src + ": load failed: " + o.error;
    case FileOutcomeKind::kWriteFailed:
      return "failed     " + src + ": write failed: " + o.error;
    case FileOutcomeKind::kNotStarted:
      return {};  // the run was stopped first: no line, the summary counts it
  }
  return {};
}

// A one-line bar on stderr, redrawn as files finish; only on a terminal.
class ProgressBar {
 public:
  explicit ProgressBar(size_t total) : total_(total), shown_(platform::StderrIsTerminal()) {}
  void Step(size_t done) {
    if (!shown_ || total_ == 0) return;
    constexpr size_t kWidth = 40;
    const size_t filled = done * kWidth / total_;
    platform::WriteText(platform::Stream::kError,
                        "\r[" + std::string(filled, '#') + std::string(kWidth - filled, '.') +
                            "] " + std::to_string(done) + "/" + std::to_string(total_));
  }
  void Finish() {
    if (shown_ && total_ > 0) platform::WriteText(platform::Stream::kError, "\r\033[K");
  }

 private:
  size_t total_;
  bool shown_;
};

int RunConvert(const ConvertOptions& o) {
  std::string why;
  std::optional<ConversionSettings> settings = ResolveConversionSettings(*o.conversion, why);
  if (!settings) return Refuse(why);
  BatchRequest request;
  std::vector<fs::path> folders;
  std::vector<Unexaminable> unexaminable;
  if (!CollectSources(o.paths, request.sources, folders, unexaminable, why)) return Refuse(why);
  request.sources = WithoutRepeatedFiles(request.sources);
  const fs::path output = PathFromUtf8(o.output);
  const PathState output_state = LookAtPath(output);
  if (!o.output.empty() && output_state.exists && !output_state.leads_to_directory) {
    return Refuse("the output " + PathToUtf8(output) + " is not a folder");
  }
  BatchCheck check = CheckBatchPreconditions(output, folders, *settings);
  if (check != BatchCheck::kOk) return Refuse(BatchCheckMessage(check));

  request.output_folder = output;
  request.settings = *settings;
  request.jobs = o.jobs;
  request.stop = &InterruptRequested();
  WatchInterrupts();
  request.full_path = o.full_path || FullPathRequested();
  request.dry_run = o.dry_run;
  KeepFreedMemoryForReuse();
  ProgressBar bar(request.sources.size());
  std::array<size_t, 4> tally{};  // converted, skipped, failed, not started
  for (const Unexaminable& u : unexaminable) {
    Report("failed     " + u.path + ": cannot read: " + u.why);
    ++tally[2];
  }
  BatchCallbacks callbacks;
  ExpectWaitingLines(request.sources.size());
  callbacks.on_finished = [&](size_t index, const FileOutcome& outcome) {
    if (outcome.kind != FileOutcomeKind::kNotStarted) {
      LineWaits(index, EscapeControls(ReportLine(outcome)));
    }
  };
  callbacks.on_done = [&](size_t index, const FileOutcome& outcome) {
    if (outcome.kind == FileOutcomeKind::kNotStarted) {
      ++tally[3];
      return;
    }
    bar.Finish();
    Report(ReportLine(outcome));
    LinePrinted(index);
    bar.Step(index + 1);
    if (outcome.kind == FileOutcomeKind::kConverted) ++tally[0];
    else if (outcome.kind == FileOutcomeKind::kSkipped) ++tally[1];
    else ++tally[2];
  };
  RunBatch(request, callbacks);
  bar.Finish();
  std::string summary = std::to_string(tally[0]) + " converted, " + std::to_string(tally[1]) +
                        " skipped, " + std::to_string(tally[2]) + " failed";
  if (InterruptExitStatus() != 0) {
    Report(summary + ", " + std::to_string(tally[3]) + " not started (interrupted)");
    return InterruptExitStatus();
  }
  Report(o.dry_run ? summary + " (dry run: nothing written)" : summary);
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
      ->transform(AtLeastOne());
  cmd->add_flag("--full", options->full_path,
                "Load, convert and write every drawing whole, never patching it in place "
                "(also with VARNELKO_FULL_PATH=1); the outputs are the same");
  cmd->add_flag("--dry-run", options->dry_run,
                "Do everything but write: the same report, no file created or changed");
  cmd->callback([options, &exit_code] { exit_code = RunConvert(*options); });
}

}  // namespace varnelko::cli
