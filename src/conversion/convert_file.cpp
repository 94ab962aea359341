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

// The steps both formats share once a drawing is loaded: convert, build the
// bytes, and only when all of that worked, write them.
template <typename Doc, typename BuildFn>
ConvertResult ConvertLoaded(Doc& doc, EntityStore& store, int32_t version, const fs::path& output,
                            const ConversionSettings& settings, OutputMode mode, BuildFn build) {
  ConvertResult result;
  result.counts = ApplyLayerConversion(store, version, settings);
  FormatError error;
  std::string bytes;
  if (!build(version, doc, bytes, &error)) return Failed(ConvertStatus::kWriteFailed, error);
  const bool written = mode == OutputMode::kDryRun ? CheckOutputReplaceable(output, &error)
                                                   : WriteOutputKeepingBackup(output, bytes, &error);
  if (!written) return Failed(ConvertStatus::kWriteFailed, error);
  return result;
}

const FormatError kOutputIsSource{"the output file is the source file itself",
                                  FormatError::kNoOffset};

}  // namespace

ConvertResult ConvertJwwFile(const fs::path& source, const fs::path& output,
                             const ConversionSettings& settings, const ProgressFn& progress,
                             OutputMode mode) {
  ReportProgress(progress, source, output);
  if (OutputIsSource(source, output)) return Failed(ConvertStatus::kWriteFailed, kOutputIsSource);
  auto doc = std::make_unique<JwwDocument>();  // large tables: keep off the stack
  FormatError error;
  ConvertResult result;
  if (!ReadJwwFile(source, *doc, &error)) {
    result = Failed(ConvertStatus::kLoadFailed, error);
  } else {
    result = ConvertLoaded(*doc, doc->store, doc->header.version, output, settings, mode,
                           [](int32_t v, JwwDocument& d, std::string& out, FormatError* e) {
                             return BuildJwwBytes(v, d, out, e);
                           });
  }
  FreeJwwDocument(*doc);
  return result;
}

ConvertResult ConvertJwsFile(const fs::path& source, const fs::path& output,
                             const ConversionSettings& settings, const ProgressFn& progress,
                             OutputMode mode) {
  ReportProgress(progress, source, output);
  if (OutputIsSource(source, output)) return Failed(ConvertStatus::kWriteFailed, kOutputIsSource);
  auto doc = std::make_unique<JwsDocument>();
  FormatError error;
  ConvertResult result;
  if (!ReadJwsFile(source, *doc, &error)) {
    result = Failed(ConvertStatus::kLoadFailed, error);
  } else {
    result = ConvertLoaded(*doc, doc->store, doc->version, output, settings, mode,
                           [](int32_t v, const JwsDocument& d, std::string& out, FormatError* e) {
                             return BuildJwsBytes(v, d, out, e);
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

bool CheckOutputReplaceable(const fs::path& output, FormatError* error) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(output, ec);
  if (fs::is_directory(status)) {
    SetError(error, "a folder has the output's name; it is left as it is");
    return false;
  }
  const fs::path backup = BackupPathOf(output);
  if (fs::exists(status) && fs::is_directory(fs::symlink_status(backup, ec))) {
    SetError(error, "cannot keep the old output as " + backup.filename().string() +
                        ": a folder has that name; it is left as it is");
    return false;
  }
  return true;
}

bool WriteOutputKeepingBackup(const fs::path& output, std::span<const std::string_view> pieces,
                              FormatError* error) {
  if (!CheckOutputReplaceable(output, error)) return false;
  fs::path tmp;
  if (!WriteTemporarySibling(output, pieces, tmp, error)) return false;
  std::error_code ec;
  const fs::path backup = BackupPathOf(output);
  // Anything but a folder under the output name (a file, a link) is kept;
  // rename replaces an older backup file in one step and refuses a folder.
  // No output, also one that another run into this folder has just made its
  // backup, leaves nothing to keep: tried rather than looked at first.
  fs::rename(output, backup, ec);
  const bool had_output = !ec;
  if (ec && ec != std::errc::no_such_file_or_directory) {
    SetError(error, "cannot keep the old output as " + backup.filename().string() + ": " +
                        ec.message());
    fs::remove(tmp, ec);
    return false;
  }
  fs::rename(tmp, output, ec);
  if (!ec) return true;
  SetError(error, "cannot put the new file in place: " + ec.message());
  fs::remove(tmp, ec);
  if (had_output) fs::rename(backup, output, ec);  // the old output goes back under its name
  return false;
}

bool WriteOutputKeepingBackup(const fs::path& output, std::string_view bytes,
                              FormatError* error) {
  return WriteOutputKeepingBackup(output, std::span(&bytes, 1), error);
}

}  // namespace varnelko
