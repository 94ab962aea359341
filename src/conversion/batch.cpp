#include "conversion/batch.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <string_view>
#include <exception>
#include <map>
#include <new>
#include <mutex>
#include <system_error>
#include <thread>

#include "formats/file_extension.h"
#include "formats/jws/jws_file.h"
#include "formats/jww/jww_file.h"
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

// A folder named with a trailing separator is the same folder as without;
// the Windows C library finds nothing by the first, so an identity test
// would answer "another folder" and let a run write into its sources.
fs::path WithoutTrailingSeparator(const fs::path& folder) {
  return folder.has_filename() || !folder.has_relative_path() ? folder : folder.parent_path();
}

}  // namespace

BatchCheck CheckBatchPreconditions(const fs::path& output_folder,
                                   const std::vector<fs::path>& source_folders,
                                   const ConversionSettings& settings) {
  if (output_folder.empty()) return BatchCheck::kOutputFolderEmpty;
  std::error_code ec;
  if (!fs::is_directory(output_folder, ec)) return BatchCheck::kOutputFolderMissing;
  // By identity, not by text: the same folder reached through another letter
  // case, a link or ".." would let a conversion move a source to ".BAK".
  for (const fs::path& folder : source_folders) {
    if (fs::equivalent(WithoutTrailingSeparator(output_folder),
                       folder.empty() ? fs::path(".") : WithoutTrailingSeparator(folder), ec) &&
        !ec) {
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

FileOutcome ConvertOne(const fs::path& source, const BatchRequest& request,
                       const ProgressFn& progress) {
  FileOutcome outcome;
  outcome.source = source;
  outcome.output = request.output_folder / source.filename();
  // The signature is checked on the bytes the conversion reads, so that
  // each file is opened once.
  const std::string ext = UpperCaseExtension(source);
  if (ext != ".JWW" && ext != ".JWS") return outcome;  // kSkipped
  const OutputMode mode = request.dry_run ? OutputMode::kDryRun : OutputMode::kWrite;
  const ConvertPath path = request.full_path ? ConvertPath::kFull : ConvertPath::kFast;
  ConvertResult r;
  try {
    r = ext == ".JWW"
            ? ConvertJwwFile(source, outcome.output, request.settings, progress, mode, path)
            : ConvertJwsFile(source, outcome.output, request.settings, progress, mode, path);
  } catch (const std::exception& e) {
    // Memory exhausted by a huge drawing, say: this file fails, the run goes on.
    r.status = ConvertStatus::kLoadFailed;
    r.error = std::string("cannot convert: ") + e.what();
  }
  outcome.counts = r.counts;
  outcome.error = r.error;
  switch (r.status) {
    case ConvertStatus::kConverted: outcome.kind = FileOutcomeKind::kConverted; break;
    case ConvertStatus::kLoadFailed: outcome.kind = FileOutcomeKind::kLoadFailed; break;
    case ConvertStatus::kWriteFailed: outcome.kind = FileOutcomeKind::kWriteFailed; break;
    case ConvertStatus::kNotDrawing: outcome.kind = FileOutcomeKind::kSkipped; break;
  }
  return outcome;
}

// Output names are compared with ASCII case folded, so that a
// case-insensitive output folder is covered too.
std::string FoldedName(const fs::path& name) {
  std::string key = PathToUtf8(name);
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

struct BatchPlan {
  // Files whose outputs share a backup name (a.jww and a.jws share a.BAK)
  // must be converted one after the other in source order, or the surviving
  // backup would depend on timing: one chain per backup name, ordered by
  // first index.
  std::vector<std::vector<size_t>> chains;
  // Sources whose output name an earlier source takes: (index, earlier index).
  std::vector<std::pair<size_t, size_t>> name_taken;
};

BatchPlan PlanBatch(const BatchRequest& request) {
  BatchPlan plan;
  std::map<std::string, size_t> first_of_name;
  std::map<std::string, size_t> chain_of_key;
  for (size_t i = 0; i < request.sources.size(); ++i) {
    const fs::path name = request.sources[i].filename();
    auto [first, fresh_name] = first_of_name.try_emplace(FoldedName(name), i);
    if (!fresh_name) {
      plan.name_taken.emplace_back(i, first->second);
      continue;
    }
    auto [it, fresh] = chain_of_key.try_emplace(FoldedName(BackupPathOf(name)), plan.chains.size());
    if (fresh) plan.chains.emplace_back();
    plan.chains[it->second].push_back(i);
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
FileOutcome ConvertInWorker(const BatchRequest& request, size_t index,
                            const BatchCallbacks& callbacks, std::mutex& progress_mutex) {
  try {
    ProgressFn progress;
    if (callbacks.on_progress) {
      progress = [&, index](const std::string& text) {
        std::lock_guard lock(progress_mutex);
        callbacks.on_progress(index, text);
      };
    }
    return ConvertOne(request.sources[index], request, progress);
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
  std::map<std::string, std::vector<fs::path>> kept_by_name;
  std::vector<fs::path> kept;
  for (const fs::path& source : sources) {
    std::vector<fs::path>& same_name = kept_by_name[FoldedName(source.filename())];
    auto is_same_file = [&](const fs::path& earlier) {
      std::error_code ec;
      return earlier == source || (fs::equivalent(earlier, source, ec) && !ec);
    };
    if (std::any_of(same_name.begin(), same_name.end(), is_same_file)) continue;
    same_name.push_back(source);
    kept.push_back(source);
  }
  return kept;
}

std::vector<FileOutcome> RunBatch(const BatchRequest& request, const BatchCallbacks& callbacks) {
  std::vector<FileOutcome> outcomes(request.sources.size());
  const BatchPlan plan = PlanBatch(request);
  InOrderReporter reporter(outcomes, callbacks);
  for (auto [index, first] : plan.name_taken) {
    FileOutcome outcome = UnconvertedOutcome(request, index, FileOutcomeKind::kWriteFailed);
    outcome.error = "not converted: " + PathToUtf8(request.sources[first]) +
                    ", given earlier in this run, has the same output name";
    reporter.Finished(index, std::move(outcome));
  }
  std::mutex progress_mutex;
  std::atomic<size_t> next_chain{0};

  auto worker = [&] {
    for (size_t c = next_chain++; c < plan.chains.size(); c = next_chain++) {
      for (size_t index : plan.chains[c]) {
        if (request.stop && request.stop->load()) {
          reporter.Finished(index, UnconvertedOutcome(request, index, FileOutcomeKind::kNotStarted));
          continue;
        }
        reporter.Finished(index, ConvertInWorker(request, index, callbacks, progress_mutex));
      }
    }
  };

  const size_t workers = std::min(
      {static_cast<size_t>(std::clamp(request.jobs, 1, kMaxJobs)), plan.chains.size()});
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
