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

namespace varnelko {

enum class ConvertStatus { kConverted, kLoadFailed, kWriteFailed };

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

ConvertResult ConvertJwwFile(const std::filesystem::path& source,
                             const std::filesystem::path& output,
                             const ConversionSettings& settings, const ProgressFn& progress = {},
                             OutputMode mode = OutputMode::kWrite);
ConvertResult ConvertJwsFile(const std::filesystem::path& source,
                             const std::filesystem::path& output,
                             const ConversionSettings& settings, const ProgressFn& progress = {},
                             OutputMode mode = OutputMode::kWrite);

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

// The refusals WriteOutputKeepingBackup makes before writing anything: a
// folder under the output name, or under the backup name while an output
// exists. A dry run reports them as a real run would.
bool CheckOutputReplaceable(const std::filesystem::path& output, FormatError* error);

}  // namespace varnelko
