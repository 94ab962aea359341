#include "platform/file_io.h"

#include <atomic>
#include <cstdio>
#include <random>
#include <system_error>

#include "platform/native_file.h"

namespace varnelko {
namespace fs = std::filesystem;

namespace {

// Temporary files are ".~vk" + 8 hexadecimal digits + ".tmp": short whatever
// the output's name, hidden from plain listings, and easy to recognise.
constexpr std::string_view kTemporaryPrefix = ".~vk";
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr size_t kTemporaryDigits = 8;

fs::path TemporaryName() {
  static std::atomic<unsigned> serial{0};
  thread_local std::mt19937 random{std::random_device{}()};
  char digits[kTemporaryDigits + 1];
  std::snprintf(digits, sizeof digits, "%08x",
                static_cast<unsigned>(random() ^ (serial++ * 2654435761u)));
  return std::string(kTemporaryPrefix) + digits + std::string(kTemporarySuffix);
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

bool ReadUpTo(const fs::path& path, size_t max_bytes, std::string& out, FormatError* error) {
  std::string why;
  if (ReadRegularFile(path, max_bytes, out, why)) return true;
  SetError(error, why, out.empty() ? FormatError::kNoOffset : out.size());
  return false;
}

}  // namespace

bool ReadWholeFile(const fs::path& path, std::string& out, FormatError* error) {
  return ReadUpTo(path, static_cast<size_t>(-1), out, error);
}

bool ReadWholeFileInto(const fs::path& path, FileBuffer& buffer, PathState& state,
                       FormatError* error, std::string_view signature, HeldFile* keep) {
  std::string why;
  if (ReadRegularFileInto(path, buffer, state, why, signature, keep)) return true;
  SetError(error, why);
  return false;
}

bool ReadFilePrefix(const fs::path& path, size_t max_bytes, std::string& out,
                    FormatError* error) {
  return ReadUpTo(path, max_bytes, out, error);
}

bool IsTemporaryFileName(std::string_view name) {
  if (name.size() != kTemporaryPrefix.size() + kTemporaryDigits + kTemporarySuffix.size() ||
      !name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix)) {
    return false;
  }
  for (char c : name.substr(kTemporaryPrefix.size(), kTemporaryDigits)) {
    if (!IsHexDigit(c)) return false;
  }
  return true;
}

bool WriteTemporaryFile(const OutputFolder& folder, std::span<const std::string_view> pieces,
                        fs::path& temporary, FormatError* error, const SourceCopy* source) {
  std::error_code ec;
  // A name already taken (another process, a leftover) is never reused.
  for (int attempt = 0; attempt < 16; ++attempt) {
    temporary = TemporaryName();
    ec = folder.CreateNew(temporary, pieces, source);
    if (ec != std::errc::file_exists) break;
  }
  if (!ec) return true;
  temporary.clear();
  SetError(error, "cannot write: " + ec.message());
  return false;
}

bool WriteTemporarySibling(const fs::path& path, std::span<const std::string_view> pieces,
                           fs::path& temporary, FormatError* error, const SourceCopy* source) {
  OutputFolder folder;
  std::string why;
  if (!folder.Open(path.parent_path(), why)) {
    SetError(error, "cannot write: " + why);
    return false;
  }
  if (!WriteTemporaryFile(folder, pieces, temporary, error, source)) return false;
  temporary = folder / temporary;
  return true;
}

std::string UnreplaceableReason(const PathState& state) {
  if (!state.exists || state.leads_to_regular) return {};
  if (state.is_directory) return "a folder has that name; it is left as it is";
  return "not a regular file (a device, a FIFO or a link to one); it is left as it is";
}

bool WriteFileAtomically(const fs::path& path, std::string_view bytes, FormatError* error) {
  OutputFolder folder;
  std::string why;
  if (!folder.Open(path.parent_path(), why)) {
    SetError(error, "cannot write: " + why);
    return false;
  }
  return WriteFileAtomically(folder, path.filename(), bytes, error);
}

bool WriteFileAtomically(const OutputFolder& folder, const fs::path& name, std::string_view bytes,
                         FormatError* error) {
  const std::string unreplaceable = UnreplaceableReason(folder.Look(name));
  if (!unreplaceable.empty()) {
    SetError(error, unreplaceable);
    return false;
  }
  fs::path tmp;
  if (!WriteTemporaryFile(folder, std::span(&bytes, 1), tmp, error)) return false;
  const std::error_code ec = folder.Rename(tmp, name);
  if (!ec) return true;
  SetError(error, "cannot rename the finished file onto its name: " + ec.message());
  folder.Remove(tmp);
  return false;
}

}  // namespace varnelko
