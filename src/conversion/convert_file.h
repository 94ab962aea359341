#pragma once
// Converting one file: load, apply the rules, build the converted bytes,
// then write them under the same name into the output folder, keeping an
// existing output as ".BAK". The source is never written.
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "conversion/conversion_settings.h"
#include "conversion/layer_rules.h"
#include "formats/format_error.h"
#include "platform/native_file.h"
#include "platform/output_folder.h"

namespace varnelko {

// kNotDrawing: the file does not begin with its format's signature; it is
// skipped without a message.
enum class ConvertStatus { kConverted, kLoadFailed, kWriteFailed, kNotDrawing };

struct ConvertResult {
  ConvertStatus status = ConvertStatus::kConverted;
  ConversionCounts counts;
  std::string error;  // why it failed, in English, with the byte offset
  bool backed_up = false;  // an earlier output was kept under the backup name
  // Bytes after the drawing's end: no part of the drawing, so the output,
  // which the writers build, does not keep them; the report says so.
  uint64_t trailing_bytes = 0;
};

// Receives the progress text, UTF-8, e.g. "ファイル「a」→「b」変換中です。".
using ProgressFn = std::function<void(const std::string& utf8_text)>;

// kDryRun does everything but write: the same result and counts, and the
// same refusals that can be foreseen, with no output, backup or temporary file.
enum class OutputMode { kWrite, kDryRun };

// kFast patches a file that is already in the form the writer gives it
// where it lies and writes it as spans of itself; any other file, and every
// file with kFull, is loaded, converted and written whole. The outputs are
// the same either way.
enum class ConvertPath { kFast, kFull };

// Where one file's output goes: a name in the held output folder, and the
// name an output already there is kept under (BackupPathOf the name, unless
// the run gave it another so as not to replace a backup it made itself).
struct OutputTarget {
  const OutputFolder& folder;
  std::filesystem::path name;
  std::filesystem::path backup;
  std::filesystem::path path() const { return folder / name; }
};

// Reads the source once, checks its signature on the bytes read (a file of
// another format is kNotDrawing), converts and writes.
ConvertResult ConvertJwwFile(const std::filesystem::path& source, const OutputTarget& output,
                             const ConversionSettings& settings, const ProgressFn& progress = {},
                             OutputMode mode = OutputMode::kWrite,
                             ConvertPath path = ConvertPath::kFast);
ConvertResult ConvertJwsFile(const std::filesystem::path& source, const OutputTarget& output,
                             const ConversionSettings& settings, const ProgressFn& progress = {},
                             OutputMode mode = OutputMode::kWrite,
                             ConvertPath path = ConvertPath::kFast);
// The same into the folder of `output`, with the usual backup name.
ConvertResult ConvertJwwFile(const std::filesystem::path& source,
                             const std::filesystem::path& output,
                             const ConversionSettings& settings, const ProgressFn& progress = {},
                             OutputMode mode = OutputMode::kWrite,
                             ConvertPath path = ConvertPath::kFast);
ConvertResult ConvertJwsFile(const std::filesystem::path& source,
                             const std::filesystem::path& output,
                             const ConversionSettings& settings, const ProgressFn& progress = {},
                             OutputMode mode = OutputMode::kWrite,
                             ConvertPath path = ConvertPath::kFast);

// The output path with its extension replaced by ".BAK" (appended when none).
std::filesystem::path BackupPathOf(const std::filesystem::path& output);

// Puts new content under the target's name without ever losing the old one:
// 1. the pieces go, in order, into a temporary file in the output folder;
// 2. only then an existing output is renamed to the backup name (an older
//    file of that name is replaced; a folder of that name is never touched);
// 3. the temporary file is renamed onto the output name.
// When any step fails, `error` says why with the operating system's reason,
// the old output is where it was and no temporary file is left.
// `backed_up` tells whether an old output was kept under the backup name.
// `state` is the one look at the output name already taken.
// With `source`, long unchanged stretches are copied from the source file
// by the system.
bool WriteOutputKeepingBackup(const OutputTarget& target, const PathState& state,
                              std::span<const std::string_view> pieces, FormatError* error,
                              bool* backed_up = nullptr, const SourceCopy* source = nullptr);
// The same into the folder of `output`, with the usual backup name.
bool WriteOutputKeepingBackup(const std::filesystem::path& output,
                              std::span<const std::string_view> pieces, FormatError* error);
bool WriteOutputKeepingBackup(const std::filesystem::path& output, std::string_view bytes,
                              FormatError* error);

// The refusals WriteOutputKeepingBackup makes before writing anything: a
// folder, a device or a FIFO under the output name, or a folder under the
// backup name while an output exists. A dry run reports them as a real run
// would.
bool CheckOutputReplaceable(const OutputTarget& target, const PathState& state,
                            FormatError* error);

}  // namespace varnelko
