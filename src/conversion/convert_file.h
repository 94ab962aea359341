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

namespace varnelko {

// kNotDrawing: the file does not begin with its format's signature; it is
// skipped without a message.
enum class ConvertStatus { kConverted, kLoadFailed, kWriteFailed, kNotDrawing };

struct ConvertResult {
  ConvertStatus status = ConvertStatus::kConverted;
  ConversionCounts counts;
  std::string error;  // why it failed, in English, with the byte offset
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

// Reads the source once, checks its signature on the bytes read (a file of
// another format is kNotDrawing), converts and writes.
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

// Puts new content under `output` without ever losing the old one:
// 1. the pieces go, in order, into a temporary file in the output folder;
// 2. only then an existing output is renamed to its ".BAK" name (an older
//    ".BAK" file is replaced; a folder of that name is never touched);
// 3. the temporary file is renamed onto `output`.
// When any step fails, `error` says why with the operating system's reason,
// the old output is where it was and no temporary file is left.
bool WriteOutputKeepingBackup(const std::filesystem::path& output,
                              std::span<const std::string_view> pieces, FormatError* error);
bool WriteOutputKeepingBackup(const std::filesystem::path& output, std::string_view bytes,
                              FormatError* error);
// The same, for an output already looked at (`state`): the output is not
// looked at again. With `source`, long unchanged stretches are copied from
// the source file by the system.
bool WriteOutputKeepingBackup(const std::filesystem::path& output, const PathState& state,
                              std::span<const std::string_view> pieces, FormatError* error,
                              const SourceCopy* source = nullptr);

// The refusals WriteOutputKeepingBackup makes before writing anything: a
// folder under the output name, or under the backup name while an output
// exists. A dry run reports them as a real run would.
bool CheckOutputReplaceable(const std::filesystem::path& output, FormatError* error);
bool CheckOutputReplaceable(const std::filesystem::path& output, const PathState& state,
                            FormatError* error);

}  // namespace varnelko
