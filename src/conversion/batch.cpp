#include "conversion/batch.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <string_view>
#include <exception>
#include <map>
#include <set>
#include <new>
#include <mutex>
#include <system_error>
#include <thread>

#include "formats/file_extension.h"
#include "formats/jws/jws_file.h"
#include "formats/jww/jww_file.h"
#include "platform/file_io.h"
#include "platform/file_names.h"
#include "platform/output_folder.h"
#include "platform/path_text.h"

namespace varnelko {
namespace fs = std::filesystem;

std::string BatchCheckMessage(BatchCheck check) {
  switch (check) {
    case BatchCheck::kOk:
      return {};
    case BatchCheck::kOutputFolderEmpty:
      return "保存先フォルダを指定して下さい。";
    case BatchCheck::kOutputFolderMissing:
      return "保存先フォルダが見つかりません。確認して下さい。";
    case BatchCheck::kSameFolder:
      return "保存先フォルダとファイルのフォルダが同じになっています。";
    case BatchCheck::kNothingToConvert:
      return "変換を行わない設定になっています。確認して下さい。";
  }
  return {};
}

namespace {

// A folder named with trailing separators is the same folder as without;
// the Windows C library finds nothing by the first.
fs::path WithoutTrailingSeparators(fs::path folder) {
  if (folder.empty()) return ".";
  while (!folder.has_filename() && folder.has_relative_path()) folder = folder.parent_path();
  return folder;
}

}  // namespace

BatchCheck CheckBatchPreconditions(const fs::path& output_folder,
                                   const std::vector<fs::path>& source_folders,
                                   const ConversionSettings& settings) {
  if (output_folder.empty()) return BatchCheck::kOutputFolderEmpty;
  const PathState output = LookAtPath(WithoutTrailingSeparators(output_folder));
  if (!output.leads_to_directory) return BatchCheck::kOutputFolderMissing;
  // By identity, not by text: the same folder reached through another letter
  // case, another drive letter, a link or ".." would let a conversion move a
  // source to ".BAK".
  for (const fs::path& folder : source_folders) {
    if (SameFile(output, LookAtPath(WithoutTrailingSeparators(folder)))) {
      return BatchCheck::kSameFolder;
    }
  }
  if (settings.C(3) == 0 && settings.C(4) == 0) return BatchCheck::kNothingToConvert;
  return BatchCheck::kOk;
}

bool FullPathRequested() {
  const char* value = std::getenv("VARNELKO_FULL_PATH");
  return value && std::string_view(value) == "1";
}

DrawingType ProbeDrawing(const fs::path& path, std::string* why) {
  const std::string ext = UpperCaseExtension(path);
  if (ext != ".JWW" && ext != ".JWS") return DrawingType::kNone;
  FormatError unreadable;
  if (ext == ".JWW" ? IsJwwFile(path, &unreadable) : IsJwsFile(path, &unreadable)) {
    return ext == ".JWW" ? DrawingType::kJww : DrawingType::kJws;
  }
  if (unreadable.what.empty()) return DrawingType::kNone;
  // A file that cannot be read is a failure, not "no drawing".
  if (why) *why = unreadable.what;
  return DrawingType::kUnreadable;
}

namespace {

// What every file of a run shares: the request, the held output folder,
// the backup name of each file and, in a dry run, why writing would fail.
struct RunContext {
  const BatchRequest& request;
  OutputFolder folder;
  std::vector<fs::path> backups;
  FormatError dry_run_refusal;  // empty when a file could be created in the folder
};

// The output folder must not be the source's folder, checked on the folder
// held (the path given may lead elsewhere by now).
bool InHeldFolder(const fs::path& source, const OutputFolder& folder) {
  return SameFile(LookAtPath(source.has_parent_path() ? source.parent_path() : "."),
                  folder.Identity());
}

FileOutcome ConvertOne(size_t index, const RunContext& run, const ProgressFn& progress) {
  const BatchRequest& request = run.request;
  const fs::path& source = request.sources[index];
  FileOutcome outcome;
  outcome.source = source;
  outcome.output = request.output_folder / source.filename();
  // The signature is checked on the bytes the conversion reads, so that
  // each file is opened once.
  const std::string ext = UpperCaseExtension(source);
  if (ext != ".JWW" && ext != ".JWS") return outcome;  // kSkipped
  if (run.folder.is_open() && InHeldFolder(source, run.folder)) {
    outcome.kind = FileOutcomeKind::kWriteFailed;
    outcome.error = BatchCheckMessage(BatchCheck::kSameFolder);
    return outcome;
  }
  const OutputMode mode = request.dry_run ? OutputMode::kDryRun : OutputMode::kWrite;
  const ConvertPath path = request.full_path ? ConvertPath::kFull : ConvertPath::kFast;
  const OutputTarget target{run.folder, source.filename(), run.backups[index]};
  ConvertResult r;
  try {
    r = ext == ".JWW" ? ConvertJwwFile(source, target, request.settings, progress, mode, path)
                      : ConvertJwsFile(source, target, request.settings, progress, mode, path);
  } catch (const std::exception& e) {
    // Memory exhausted by a huge drawing, say: this file fails, the run goes on.
    r.status = ConvertStatus::kLoadFailed;
    r.error = std::string("cannot convert: ") + e.what();
  }
  // A dry run meets what the real one would when it writes its first file.
  if (r.status == ConvertStatus::kConverted && !run.dry_run_refusal.what.empty()) {
    r.status = ConvertStatus::kWriteFailed;
    r.error = run.dry_run_refusal.Describe();
  }
  outcome.counts = r.counts;
  outcome.error = r.error;
  outcome.trailing_bytes = r.trailing_bytes;
  if (r.backed_up) outcome.backup = request.output_folder / target.backup;
  switch (r.status) {
    case ConvertStatus::kConverted: outcome.kind = FileOutcomeKind::kConverted; break;
    case ConvertStatus::kLoadFailed: outcome.kind = FileOutcomeKind::kLoadFailed; break;
    case ConvertStatus::kWriteFailed: outcome.kind = FileOutcomeKind::kWriteFailed; break;
    case ConvertStatus::kNotDrawing: outcome.kind = FileOutcomeKind::kSkipped; break;
  }
  return outcome;
}

struct BatchPlan {
  // Sources whose output name an earlier source takes: (index, earlier index).
  std::vector<std::pair<size_t, size_t>> name_taken;
  // Per source, the name an earlier output is kept under.
  std::vector<fs::path> backups;
};

// "a.BAK" as people expect; when an earlier file of the run has that backup
// name already (a.jww and a.jws share it), the output's own name with
// ".BAK" ("a.jws.BAK"), then numbered ("a.jws.2.BAK"), so that no backup
// made in a run replaces another.
fs::path FreeBackupName(const fs::path& name, std::set<fs::path, FileNameLess>& taken) {
  fs::path candidate = BackupPathOf(name);
  for (int n = 1; !taken.insert(candidate).second; ++n) {
    candidate = name;
    if (n > 1) candidate += "." + std::to_string(n);
    candidate += ".BAK";
  }
  return candidate;
}

BatchPlan PlanBatch(const BatchRequest& request) {
  BatchPlan plan;
  plan.backups.resize(request.sources.size());
  // Output names are compared as the output folder compares them.
  std::map<fs::path, size_t, FileNameLess> first_of_name;
  std::set<fs::path, FileNameLess> backups_taken;
  for (size_t i = 0; i < request.sources.size(); ++i) {
    const fs::path name = request.sources[i].filename();
    auto [first, fresh_name] = first_of_name.try_emplace(name, i);
    if (!fresh_name) {
      plan.name_taken.emplace_back(i, first->second);
      continue;
    }
    const std::string ext = UpperCaseExtension(name);
    if (ext == ".JWW" || ext == ".JWS") plan.backups[i] = FreeBackupName(name, backups_taken);
  }
  return plan;
}

FileOutcome UnconvertedOutcome(const BatchRequest& request, size_t index, FileOutcomeKind kind) {
  FileOutcome outcome;
  outcome.source = request.sources[index];
  outcome.output = request.output_folder / outcome.source.filename();
  outcome.kind = kind;
  return outcome;
}

// One file on a worker thread. Whatever it throws (memory exhausted, say)
// fails this file only: an exception leaving a worker would end the program.
FileOutcome ConvertInWorker(const RunContext& run, size_t index, const BatchCallbacks& callbacks,
                            std::mutex& progress_mutex) {
  const BatchRequest& request = run.request;
  try {
    ProgressFn progress;
    if (callbacks.on_progress) {
      progress = [&, index](const std::string& text) {
        std::lock_guard lock(progress_mutex);
        callbacks.on_progress(index, text);
      };
    }
    return ConvertOne(index, run, progress);
  } catch (const std::exception& e) {
    FileOutcome outcome = UnconvertedOutcome(request, index, FileOutcomeKind::kLoadFailed);
    outcome.error = std::string("cannot convert: ") + e.what();
    return outcome;
  }
}

// Hands finished outcomes to on_done strictly in report order.
class InOrderReporter {
 public:
  InOrderReporter(std::vector<FileOutcome>& outcomes, const BatchCallbacks& callbacks)
      : outcomes_(outcomes), done_(outcomes.size(), false), callbacks_(callbacks) {}

  void Finished(size_t index, FileOutcome outcome) {
    std::lock_guard lock(mutex_);
    if (callbacks_.on_finished) callbacks_.on_finished(index, outcome);
    outcomes_[index] = std::move(outcome);
    done_[index] = true;
    while (next_ < done_.size() && done_[next_]) {
      if (callbacks_.on_done) callbacks_.on_done(next_, outcomes_[next_]);
      ++next_;
    }
  }

 private:
  std::mutex mutex_;
  std::vector<FileOutcome>& outcomes_;
  std::vector<bool> done_;
  const BatchCallbacks& callbacks_;
  size_t next_ = 0;
};

}  // namespace

std::vector<fs::path> WithoutRepeatedFiles(const std::vector<fs::path>& sources) {
  std::map<fs::path, std::vector<fs::path>, FileNameLess> kept_by_name;
  std::vector<fs::path> kept;
  for (const fs::path& source : sources) {
    std::vector<fs::path>& same_name = kept_by_name[source.filename()];
    const PathState state = LookAtPath(source);
    auto is_same_file = [&](const fs::path& earlier) {
      return earlier == source || SameFile(LookAtPath(earlier), state);
    };
    if (std::any_of(same_name.begin(), same_name.end(), is_same_file)) continue;
    same_name.push_back(source);
    kept.push_back(source);
  }
  return kept;
}

std::vector<FileOutcome> RunBatch(const BatchRequest& request, const BatchCallbacks& callbacks) {
  std::vector<FileOutcome> outcomes(request.sources.size());
  BatchPlan plan = PlanBatch(request);
  RunContext run{request, {}, std::move(plan.backups), {}};
  // Held from here to the end: every output goes into the folder opened now.
  // One that cannot be opened fails each drawing with the reason.
  std::string why;
  if (run.folder.Open(request.output_folder, why) && request.dry_run) {
    fs::path probe;
    if (WriteTemporaryFile(run.folder, {}, probe, &run.dry_run_refusal)) run.folder.Remove(probe);
  }
  InOrderReporter reporter(outcomes, callbacks);
  std::vector<bool> to_convert(request.sources.size(), true);
  for (auto [index, first] : plan.name_taken) {
    FileOutcome outcome = UnconvertedOutcome(request, index, FileOutcomeKind::kWriteFailed);
    outcome.error = "not converted: " + PathToUtf8(request.sources[first]) +
                    ", given earlier in this run, has the same output name";
    to_convert[index] = false;
    reporter.Finished(index, std::move(outcome));
  }
  std::vector<size_t> work;
  for (size_t i = 0; i < to_convert.size(); ++i) {
    if (to_convert[i]) work.push_back(i);
  }
  std::mutex progress_mutex;
  std::atomic<size_t> next{0};

  auto worker = [&] {
    for (size_t w = next++; w < work.size(); w = next++) {
      const size_t index = work[w];
      if (request.stop && request.stop->load()) {
        reporter.Finished(index, UnconvertedOutcome(request, index, FileOutcomeKind::kNotStarted));
        continue;
      }
      reporter.Finished(index, ConvertInWorker(run, index, callbacks, progress_mutex));
    }
  };

  const size_t workers =
      std::min({static_cast<size_t>(std::clamp(request.jobs, 1, kMaxJobs)), work.size()});
  // The calling thread is one of the workers.
  std::vector<std::thread> threads;
  try {
    for (size_t i = 1; i < workers; ++i) threads.emplace_back(worker);
  } catch (const std::system_error&) {
    // Out of threads or memory for their stacks: the workers started share the files.
  } catch (const std::bad_alloc&) {
    // The same, when the thread's own record could not be allocated.
  }
  worker();
  for (std::thread& t : threads) t.join();
  return outcomes;
}

}  // namespace varnelko
