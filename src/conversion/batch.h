#pragma once
// The batch run that both the desktop program and the command line drive:
// preconditions, dispatch by extension and probe, one outcome per file.
#include <atomic>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "conversion/convert_file.h"

namespace varnelko {

enum class BatchCheck {
  kOk,
  kOutputFolderEmpty,    // "保存先フォルダを指定して下さい。"
  kOutputFolderMissing,  // the output folder does not exist
  kSameFolder,           // "保存先フォルダとファイルのフォルダが同じになっています。"
  kNothingToConvert,     // "変換を行わない設定になっています。確認して下さい。"
};

// The Japanese text of a failed check (UTF-8); empty for kOk.
std::string BatchCheckMessage(BatchCheck check);

// Checks in order: output folder given, existing, not the source folder (by
// file-system identity), and C3 or C4 on.
BatchCheck CheckBatchPreconditions(const std::filesystem::path& output_folder,
                                   const std::vector<std::filesystem::path>& source_folders,
                                   const ConversionSettings& settings);

// Which converter a file goes to: by its upper-cased extension, then its
// signature. kNone: another extension, or read and no drawing signature.
// kUnreadable: a drawing's extension, but the file cannot be opened or read
// (or is no regular file); `why` then holds the reason.
enum class DrawingType { kNone, kJww, kJws, kUnreadable };
DrawingType ProbeDrawing(const std::filesystem::path& path, std::string* why = nullptr);

// kSkipped: no drawing (by extension or signature). A drawing that cannot
// be opened or read is kLoadFailed.
// kNotStarted: the run was asked to stop before this file.
enum class FileOutcomeKind { kConverted, kSkipped, kLoadFailed, kWriteFailed, kNotStarted };

struct FileOutcome {
  std::filesystem::path source;
  std::filesystem::path output;
  FileOutcomeKind kind = FileOutcomeKind::kSkipped;
  ConversionCounts counts;
  std::string error;
  // Where an earlier output was kept: BackupPathOf(output), or another name
  // when an earlier file of the run made that backup. Empty when there was
  // no earlier output.
  std::filesystem::path backup;
  uint64_t trailing_bytes = 0;  // after the drawing's end, not kept (see ConvertResult)
};

struct BatchRequest {
  std::vector<std::filesystem::path> sources;  // files, in report order
  std::filesystem::path output_folder;
  ConversionSettings settings;
  int jobs = 1;  // files converted in parallel; the outcome is the same as with 1
  // Every file takes the full path (load, convert, write) instead of being
  // patched in place where it can; the outputs are the same either way.
  bool full_path = false;
  // When it becomes true no further file is started; the files in progress end.
  const std::atomic<bool>* stop = nullptr;
  // Everything but writing: the same outcomes, no output or backup touched;
  // only an empty temporary file is created in the output folder and
  // removed again, to meet what writing would meet there.
  bool dry_run = false;
};

// True when the environment asks for the full path (VARNELKO_FULL_PATH=1).
bool FullPathRequested();

// Never more workers than this, whatever `jobs` asks for.
constexpr int kMaxJobs = 64;

struct BatchCallbacks {
  // When a file starts, with its index into `sources` and the progress text.
  // Called from worker threads, one call at a time.
  std::function<void(size_t index, const std::string& utf8_text)> on_progress;
  // When a file is done, in report order (index 0, 1, 2, ...), one call at a time.
  std::function<void(size_t index, const FileOutcome& outcome)> on_done;
  // When a file is done, in the order files end, one call at a time; before
  // its on_done, which may wait for a file that takes longer.
  std::function<void(size_t index, const FileOutcome& outcome)> on_finished;
};

// The sources without the repeats of a file given earlier, also when the
// repeat is spelt differently (another path, a link to the same folder).
std::vector<std::filesystem::path> WithoutRepeatedFiles(
    const std::vector<std::filesystem::path>& sources);

// Converts every source (preconditions are the caller's). Returns one
// outcome per source, in order. A source whose output name an earlier
// source already takes fails without being read: the first one's output
// stays. The output folder is opened once and every file goes into the
// folder opened, whatever its path leads to later; a source in that very
// folder fails. No backup replaces one made earlier in the run (see
// FileOutcome::backup). Fewer workers than `jobs` run when threads cannot
// be started.
std::vector<FileOutcome> RunBatch(const BatchRequest& request,
                                  const BatchCallbacks& callbacks = {});

}  // namespace varnelko
