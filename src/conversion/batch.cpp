#include "conversion/batch.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <string_view>
#include <exception>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>

#include "formats/file_extension.h"
#include "formats/jws/jws_file.h"
#include "formats/jww/jww_file.h"

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

BatchCheck CheckBatchPreconditions(const fs::path& output_folder,
                                   const std::vector<fs::path>& source_folders,
                                   const ConversionSettings& settings) {
  if (output_folder.empty()) return BatchCheck::kOutputFolderEmpty;
  std::error_code ec;
  if (!fs::is_directory(output_folder, ec)) return BatchCheck::kOutputFolderMissing;
  // By identity, not by text: the same folder reached through another letter
  // case, a link or ".." would let a conversion move a source to ".BAK".
  for (const fs::path& folder : source_folders) {
    if (fs::equivalent(output_folder, folder.empty() ? fs::path(".") : folder, ec) && !ec) {
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

// Files whose outputs share a name or a backup name (a.jww and a.jws share
// a.BAK) must be converted one after the other in source order, or the
// surviving output and backup would depend on timing. Keys fold ASCII case
// so that a case-insensitive output folder is covered too.
std::string ChainKey(const fs::path& output_folder, const fs::path& source) {
  std::string key = BackupPathOf(output_folder / source.filename()).string();
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

// Groups source indexes into chains, ordered by their first index.
std::vector<std::vector<size_t>> BuildChains(const BatchRequest& request) {
  std::map<std::string, size_t> chain_of_key;
  std::vector<std::vector<size_t>> chains;
  for (size_t i = 0; i < request.sources.size(); ++i) {
    auto [it, fresh] = chain_of_key.try_emplace(
        ChainKey(request.output_folder, request.sources[i]), chains.size());
    if (fresh) chains.emplace_back();
    chains[it->second].push_back(i);
  }
  return chains;
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

std::vector<FileOutcome> RunBatch(const BatchRequest& request, const BatchCallbacks& callbacks) {
  std::vector<FileOutcome> outcomes(request.sources.size());
  const std::vector<std::vector<size_t>> chains = BuildChains(request);
  InOrderReporter reporter(outcomes, callbacks);
  std::mutex progress_mutex;
  std::atomic<size_t> next_chain{0};

  auto worker = [&] {
    for (size_t c = next_chain++; c < chains.size(); c = next_chain++) {
      for (size_t index : chains[c]) {
        ProgressFn progress;
        if (callbacks.on_progress) {
          progress = [&, index](const std::string& text) {
            std::lock_guard lock(progress_mutex);
            callbacks.on_progress(index, text);
          };
        }
        reporter.Finished(index, ConvertOne(request.sources[index], request, progress));
      }
    }
  };

  const size_t workers = std::min(static_cast<size_t>(std::max(request.jobs, 1)), chains.size());
  // The calling thread is one of the workers.
  std::vector<std::thread> threads;
  for (size_t i = 1; i < workers; ++i) threads.emplace_back(worker);
  worker();
  for (std::thread& t : threads) t.join();
  return outcomes;
}

}  // namespace varnelko
