#include "conversion/convert_file.h"

#include <memory>
#include <string_view>
#include <system_error>
#include <vector>

#include "conversion/scan_patch.h"
#include "document/cp932.h"
#include "formats/jws/jws_file.h"
#include "formats/jww/jww_file.h"
#include "platform/file_io.h"
#include "platform/path_text.h"

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
bool OutputIsSource(const PathState& source_state, const PathState& output_state) {
  return SameFile(source_state, output_state);
}

const FormatError kOutputIsSource{"the output file is the source file itself",
                                  FormatError::kNoOffset};

// What differs between the two formats.
struct JwwFormat {
  using Doc = JwwDocument;
  static constexpr std::string_view kSignature = "JwwData.";
  static bool Scan(std::span<char> bytes, const ConversionSettings& s, PatchedFile& out,
                   std::string& why) {
    return ScanPatchJww(bytes, s, out, why);
  }
  static bool Load(std::string_view bytes, Doc& doc, FormatError* e) {
    return ReadJwwBytes(bytes, doc, e);
  }
  static EntityStore& Store(Doc& doc) { return doc.store; }
  static int32_t Version(const Doc& doc) { return doc.header.version; }
  static uint64_t Trailing(const Doc& doc) { return doc.trailing_bytes; }
  static bool Build(int32_t v, Doc& doc, std::string& out, FormatError* e) {
    return BuildJwwBytes(v, doc, out, e);
  }
};

struct JwsFormat {
  using Doc = JwsDocument;
  static constexpr std::string_view kSignature = "JwsData";
  static bool Scan(std::span<char> bytes, const ConversionSettings& s, PatchedFile& out,
                   std::string& why) {
    return ScanPatchJws(bytes, s, out, why);
  }
  static bool Load(std::string_view bytes, Doc& doc, FormatError* e) {
    return ReadJwsBytes(bytes, doc, e);
  }
  static EntityStore& Store(Doc& doc) { return doc.store; }
  static int32_t Version(const Doc& doc) { return doc.version; }
  static uint64_t Trailing(const Doc& doc) { return doc.trailing_bytes; }
  static bool Build(int32_t v, Doc& doc, std::string& out, FormatError* e) {
    return BuildJwsBytes(v, doc, out, e);
  }
};

// Each worker thread reads file after file into the same memory.
FileBuffer& ThreadFileBuffer() {
  thread_local FileBuffer buffer;
  return buffer;
}

// Writes the converted pieces, or in a dry run checks that they could be.
bool Put(const OutputTarget& output, const PathState& state,
         std::span<const std::string_view> pieces, OutputMode mode, ConvertResult& result,
         FormatError* error, const SourceCopy* source = nullptr) {
  if (mode == OutputMode::kWrite) {
    return WriteOutputKeepingBackup(output, state, pieces, error, &result.backed_up, source);
  }
  result.backed_up = state.exists;
  return CheckOutputReplaceable(output, state, error);
}

// The fast path: false when the file is not in the writer's form. The
// stretches the scan left unchanged may be copied from `held`, the source
// file `bytes` were read from.
template <typename Format>
bool ConvertByPatching(std::span<char> bytes, const HeldFile& held, const OutputTarget& output,
                       const PathState& state, const ConversionSettings& settings,
                       OutputMode mode, ConvertResult& result) {
  PatchedFile patched;
  std::string why;
  if (!Format::Scan(bytes, settings, patched, why)) return false;
  std::vector<std::string_view> pieces;
  pieces.reserve(patched.pieces.size() + 1);
  pieces.push_back(patched.head);
  pieces.insert(pieces.end(), patched.pieces.begin(), patched.pieces.end());
  const SourceCopy source{&held, std::string_view(bytes.data(), bytes.size()), patched.unchanged};
  FormatError error;
  if (!Put(output, state, pieces, mode, result, &error, &source)) {
    result = Failed(ConvertStatus::kWriteFailed, error);
  } else {
    result.counts = patched.counts;
    result.trailing_bytes = patched.trailing_bytes;
  }
  return true;
}

// The full path: load, convert, build the bytes, and only when all of that
// worked, write them.
template <typename Format>
ConvertResult ConvertWhole(std::string_view bytes, const OutputTarget& output, const PathState& state,
                           const ConversionSettings& settings, OutputMode mode) {
  auto doc = std::make_unique<typename Format::Doc>();  // large tables: keep off the stack
  FormatError error;
  if (!Format::Load(bytes, *doc, &error)) return Failed(ConvertStatus::kLoadFailed, error);
  ConvertResult result;
  const int32_t version = Format::Version(*doc);
  result.counts = ApplyLayerConversion(Format::Store(*doc), version, settings);
  result.trailing_bytes = Format::Trailing(*doc);
  std::string built;
  if (!Format::Build(version, *doc, built, &error)) {
    return Failed(ConvertStatus::kWriteFailed, error);
  }
  std::string_view piece = built;
  if (!Put(output, state, std::span(&piece, 1), mode, result, &error)) {
    return Failed(ConvertStatus::kWriteFailed, error);
  }
  return result;
}

template <typename Format>
ConvertResult ConvertFile(const fs::path& source, const OutputTarget& output,
                          const ConversionSettings& settings, const ProgressFn& progress,
                          OutputMode mode, ConvertPath path) {
  FileBuffer& buffer = ThreadFileBuffer();
  PathState source_state;
  FormatError error;
  // A file of another kind is read no further than its signature.
  HeldFile held;
  if (!ReadWholeFileInto(source, buffer, source_state, &error, Format::kSignature, &held)) {
    return Failed(ConvertStatus::kLoadFailed, error);
  }
  if (!buffer.view().starts_with(Format::kSignature)) {
    ConvertResult skipped;
    skipped.status = ConvertStatus::kNotDrawing;
    return skipped;
  }
  ReportProgress(progress, source, output.path());
  const PathState output_state = output.folder.Look(output.name);  // the one look at the output
  if (OutputIsSource(source_state, output_state)) {
    return Failed(ConvertStatus::kWriteFailed, kOutputIsSource);
  }
  if (path == ConvertPath::kFast) {
    ConvertResult result;
    if (ConvertByPatching<Format>(buffer.bytes(), held, output, output_state, settings, mode,
                                  result)) {
      return result;
    }
    // The scan may have patched part of the bytes: the full path reads afresh.
    if (!ReadWholeFileInto(source, buffer, source_state, &error)) return Failed(ConvertStatus::kLoadFailed, error);
  }
  return ConvertWhole<Format>(buffer.view(), output, output_state, settings, mode);
}

}  // namespace

ConvertResult ConvertJwwFile(const fs::path& source, const OutputTarget& output,
                             const ConversionSettings& settings, const ProgressFn& progress,
                             OutputMode mode, ConvertPath path) {
  return ConvertFile<JwwFormat>(source, output, settings, progress, mode, path);
}

ConvertResult ConvertJwsFile(const fs::path& source, const OutputTarget& output,
                             const ConversionSettings& settings, const ProgressFn& progress,
                             OutputMode mode, ConvertPath path) {
  return ConvertFile<JwsFormat>(source, output, settings, progress, mode, path);
}

ConvertResult ConvertJwwFile(const fs::path& source, const fs::path& output,
                             const ConversionSettings& settings, const ProgressFn& progress,
                             OutputMode mode, ConvertPath path) {
  OutputFolder folder;
  std::string why;  // a folder that cannot be opened fails the write, with the reason
  folder.Open(output.parent_path(), why);
  return ConvertJwwFile(source, {folder, output.filename(), BackupPathOf(output.filename())},
                        settings, progress, mode, path);
}

ConvertResult ConvertJwsFile(const fs::path& source, const fs::path& output,
                             const ConversionSettings& settings, const ProgressFn& progress,
                             OutputMode mode, ConvertPath path) {
  OutputFolder folder;
  std::string why;
  folder.Open(output.parent_path(), why);
  return ConvertJwsFile(source, {folder, output.filename(), BackupPathOf(output.filename())},
                        settings, progress, mode, path);
}

fs::path BackupPathOf(const fs::path& output) {
  // The extension runs from the last "." of the file name; a.jww and a.jws
  // therefore share a.BAK. The name is cut in the system's own form, so a
  // Japanese name stays Japanese on Windows too.
  fs::path::string_type name = output.filename().native();
  const size_t dot = name.rfind('.');
  if (dot != fs::path::string_type::npos) name.resize(dot);
  fs::path backup = output.parent_path() / name;
  backup += ".BAK";
  return backup;
}

bool CheckOutputReplaceable(const OutputTarget& target, const PathState& state,
                            FormatError* error) {
  const std::string unreplaceable = UnreplaceableReason(state);
  if (!unreplaceable.empty()) {
    SetError(error, "cannot replace the output: " + unreplaceable);
    return false;
  }
  if (state.exists && target.folder.Look(target.backup).is_directory) {
    SetError(error, "cannot keep the old output as " + PathToUtf8(target.backup) +
                        ": a folder has that name; it is left as it is");
    return false;
  }
  return true;
}

namespace {

std::string CannotKeep(const OutputTarget& target, const std::error_code& ec) {
  return "cannot keep the old output as " + PathToUtf8(target.backup) + ": " + ec.message();
}

// The written file takes the output name while it is free; an old output
// under the name is first kept under the backup name. Anything but a folder
// (a file, a link) is kept, and an older backup file is replaced in one step.
bool NameKeepingBackup(const OutputTarget& target, UnnamedFile& file, FormatError* error,
                       bool* backed_up) {
  const OutputFolder& folder = target.folder;
  std::error_code ec = folder.Name(file, target.name);
  bool had_output = false;
  if (ec == std::errc::file_exists) {
    // Another run into this folder may have kept it meanwhile: gone is fine.
    ec = folder.Rename(target.name, target.backup);
    if (ec && ec != std::errc::no_such_file_or_directory) {
      SetError(error, CannotKeep(target, ec));
      return false;
    }
    had_output = !ec;
    ec = folder.Name(file, target.name);
  }
  if (!ec) {
    if (backed_up) *backed_up = had_output;
    return true;
  }
  SetError(error, "cannot put the new file in place: " + ec.message());
  // A file that another program put under the name meanwhile stays; the old
  // output then stays under the backup name.
  if (had_output && ec != std::errc::file_exists) folder.Rename(target.backup, target.name);
  return false;
}

// The same with a named temporary file, where files cannot be unnamed.
bool RenameKeepingBackup(const OutputTarget& target, std::span<const std::string_view> pieces,
                         FormatError* error, bool* backed_up, const SourceCopy* source) {
  const OutputFolder& folder = target.folder;
  fs::path tmp;
  if (!WriteTemporaryFile(folder, pieces, tmp, error, source)) return false;
  // No output, also one that another run into this folder has just made its
  // backup, leaves nothing to keep: tried rather than looked at first.
  // Windows does not always say "no such file" for a missing output (Wine
  // answers "access denied"), so a failure is looked at once more.
  std::error_code ec = folder.Rename(target.name, target.backup);
  const bool had_output = !ec;
  if (ec && ec != std::errc::no_such_file_or_directory && folder.Look(target.name).exists) {
    SetError(error, CannotKeep(target, ec));
    folder.Remove(tmp);
    return false;
  }
  ec = folder.Rename(tmp, target.name);
  if (!ec) {
    if (backed_up) *backed_up = had_output;
    return true;
  }
  SetError(error, "cannot put the new file in place: " + ec.message());
  folder.Remove(tmp);
  if (had_output) folder.Rename(target.backup, target.name);  // the old output goes back
  return false;
}

}  // namespace

bool WriteOutputKeepingBackup(const OutputTarget& target, const PathState& state,
                              std::span<const std::string_view> pieces, FormatError* error,
                              bool* backed_up, const SourceCopy* source) {
  if (backed_up) *backed_up = false;
  if (!CheckOutputReplaceable(target, state, error)) return false;
  // An unnamed file leaves nothing behind when the program is stopped, and
  // takes one change of the folder instead of two.
  UnnamedFile unnamed;
  const std::error_code ec = target.folder.WriteUnnamed(pieces, source, unnamed);
  if (!ec) return NameKeepingBackup(target, unnamed, error, backed_up);
  if (ec != std::errc::operation_not_supported) {
    SetError(error, "cannot write: " + ec.message());
    return false;
  }
  return RenameKeepingBackup(target, pieces, error, backed_up, source);
}

bool WriteOutputKeepingBackup(const fs::path& output, std::span<const std::string_view> pieces,
                              FormatError* error) {
  OutputFolder folder;
  std::string why;
  folder.Open(output.parent_path(), why);
  const OutputTarget target{folder, output.filename(), BackupPathOf(output.filename())};
  return WriteOutputKeepingBackup(target, folder.Look(target.name), pieces, error);
}

bool WriteOutputKeepingBackup(const fs::path& output, std::string_view bytes,
                              FormatError* error) {
  return WriteOutputKeepingBackup(output, std::span(&bytes, 1), error);
}

}  // namespace varnelko
