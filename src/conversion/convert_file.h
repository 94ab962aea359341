#pragma once
// Converting one file: load, keep an existing output as ".BAK", apply the
// rules, write under the same name into the output folder. The source is
// never written.
#include <filesystem>
#include <functional>
#include <string>

#include "conversion/conversion_settings.h"
#include "conversion/layer_rules.h"

namespace varnelko {

enum class ConvertStatus { kConverted, kLoadFailed, kWriteFailed };

struct ConvertResult {
  ConvertStatus status = ConvertStatus::kConverted;
  ConversionCounts counts;
  std::string error;  // why it failed, in English, with the byte offset
};

// Receives the progress text, UTF-8, e.g. "ファイル「a」→「b」変換中です。".
using ProgressFn = std::function<void(const std::string& utf8_text)>;

ConvertResult ConvertJwwFile(const std::filesystem::path& source,
                             const std::filesystem::path& output,
                             const ConversionSettings& settings, const ProgressFn& progress = {});
ConvertResult ConvertJwsFile(const std::filesystem::path& source,
                             const std::filesystem::path& output,
                             const ConversionSettings& settings, const ProgressFn& progress = {});

// The output path with its extension replaced by ".BAK" (appended when none).
std::filesystem::path BackupPathOf(const std::filesystem::path& output);

// Keeps an existing file at `output` as its ".BAK" backup.
void BackupOutputFile(const std::filesystem::path& output);

}  // namespace varnelko
