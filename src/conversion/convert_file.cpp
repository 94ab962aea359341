#include "conversion/convert_file.h"

#include <memory>
#include <system_error>

#include "document/cp932.h"
#include "formats/file_io.h"
#include "formats/jws/jws_file.h"
#include "formats/jww/jww_file.h"

namespace varnelko {
namespace fs = std::filesystem;

namespace {

void ReportProgress(const ProgressFn& progress, const fs::path& source, const fs::path& output) {
  if (!progress) return;
  progress("ファイル「" + PathToUtf8(source) + "」→「" + PathToUtf8(output) + "」変換中です。");
}

ConvertResult Failed(ConvertStatus status, const FormatError& error) {
  ConvertResult result;
  result.status = status;
  result.error = error.Describe();
  return result;
}

// An output that names the source file itself (another letter case on a
// case-insensitive system, a link) would move the source to its backup
// name; the source must never change, so such a conversion is refused.
bool OutputIsSource(const fs::path& source, const fs::path& output) {
  std::error_code ec;
  return fs::exists(output, ec) && fs::equivalent(source, output, ec) && !ec;
}

// The steps both formats share once a drawing is loaded: back up, convert,
// write; a failed write leaves no output file.
template <typename Doc, typename WriteFn>
ConvertResult ConvertLoaded(Doc& doc, EntityStore& store, int32_t version, const fs::path& output,
                            const ConversionSettings& settings, WriteFn write) {
  BackupOutputFile(output);
  ConvertResult result;
  result.counts = ApplyLayerConversion(store, version, settings);
  FormatError error;
  if (!write(output, version, doc, &error)) {
    RemoveFailedOutput(output);
    return Failed(ConvertStatus::kWriteFailed, error);
  }
  return result;
}

const FormatError kOutputIsSource{"the output file is the source file itself", 0};

}  // namespace

ConvertResult ConvertJwwFile(const fs::path& source, const fs::path& output,
                             const ConversionSettings& settings, const ProgressFn& progress) {
  ReportProgress(progress, source, output);
  if (OutputIsSource(source, output)) return Failed(ConvertStatus::kWriteFailed, kOutputIsSource);
  auto doc = std::make_unique<JwwDocument>();  // large tables: keep off the stack
  FormatError error;
  ConvertResult result;
  if (!ReadJwwFile(source, *doc, &error)) {
    result = Failed(ConvertStatus::kLoadFailed, error);
  } else {
    result = ConvertLoaded(*doc, doc->store, doc->header.version, output, settings,
                           [](const fs::path& p, int32_t v, JwwDocument& d, FormatError* e) {
                             return WriteJwwFile(p, v, d, e);
                           });
  }
  // Also after a failed load: the scratch copies of bound images go with the
  // document, so none are left behind.
  DeleteBoundImageFiles(doc->images);
  FreeJwwDocument(*doc);
  return result;
}

ConvertResult ConvertJwsFile(const fs::path& source, const fs::path& output,
                             const ConversionSettings& settings, const ProgressFn& progress) {
  ReportProgress(progress, source, output);
  if (OutputIsSource(source, output)) return Failed(ConvertStatus::kWriteFailed, kOutputIsSource);
  auto doc = std::make_unique<JwsDocument>();
  FormatError error;
  ConvertResult result;
  if (!ReadJwsFile(source, *doc, &error)) {
    result = Failed(ConvertStatus::kLoadFailed, error);
  } else {
    result = ConvertLoaded(*doc, doc->store, doc->version, output, settings,
                           [](const fs::path& p, int32_t v, const JwsDocument& d, FormatError* e) {
                             return WriteJwsFile(p, v, d, e);
                           });
  }
  FreeJwsDocument(*doc);
  return result;
}

fs::path BackupPathOf(const fs::path& output) {
  // The extension runs from the last "." of the file name; a.jww and a.jws
  // therefore share a.BAK.
  std::string name = output.filename().string();
  size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.resize(dot);
  return output.parent_path() / (name + ".BAK");
}

void BackupOutputFile(const fs::path& output) {
  std::error_code ec;
  // Only a file is kept as a backup; a folder under the name stays where it is.
  if (!fs::is_regular_file(output, ec)) return;
  fs::path backup = BackupPathOf(output);
  fs::remove(backup, ec);          // the result is passed over
  fs::rename(output, backup, ec);  // so is this one: the write then replaces the output
}

}  // namespace varnelko
