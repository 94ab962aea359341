#pragma once
// The folder outputs go into, held from the moment it is opened to the last
// write. Every name is created, renamed and removed in the folder that was
// opened and checked, also when its path is moved away or replaced by a link
// to another folder during a run: on Linux through the open folder itself,
// on Windows by a handle that keeps the folder from being moved or deleted
// and a check of the folder's identity before every change.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/native_file.h"
#include "platform/system_copy.h"

namespace varnelko {

// A file written into an output folder that has no name yet (Linux): if the
// program stops before it is named, nothing is left behind. Dropped, with
// what was written, when this goes unnamed.
class UnnamedFile {
 public:
  UnnamedFile() = default;
  ~UnnamedFile();
  UnnamedFile(const UnnamedFile&) = delete;
  UnnamedFile& operator=(const UnnamedFile&) = delete;

 private:
  friend class OutputFolder;
  int fd_ = -1;
};

class OutputFolder {
 public:
  OutputFolder() = default;
  ~OutputFolder();
  OutputFolder(const OutputFolder&) = delete;
  OutputFolder& operator=(const OutputFolder&) = delete;

  // Opens `folder` (empty: the current folder). False with the operating
  // system's reason ("No such file or directory", "Not a directory"), which
  // every later change then fails with.
  bool Open(const std::filesystem::path& folder, std::string& why);
  bool is_open() const { return handle_ != kClosed; }

  // The path it was opened by, for messages and reports.
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

  // The opened folder's own identity.
  PathState Identity() const;

  // One look at a name in the folder, without following a final link.
  PathState Look(const std::filesystem::path& name) const;

  // Creates `name`, which must not exist yet, and writes the pieces in order;
  // on failure the new file is removed again (file_exists: the name is taken).
  // With `source`, long unchanged stretches are copied from the source file.
  std::error_code CreateNew(const std::filesystem::path& name,
                            std::span<const std::string_view> pieces,
                            const SourceCopy* source = nullptr) const;

  // Writes the pieces to a new file in the folder that has no name yet.
  // operation_not_supported where the system or the file system has no such
  // files (Windows, some network file systems), or where the folder refuses
  // one: the caller then writes a named temporary file, which also says why
  // a folder refuses. Other errors are those of the writing.
  std::error_code WriteUnnamed(std::span<const std::string_view> pieces,
                               const SourceCopy* source, UnnamedFile& file) const;

  // Gives the written file `name`, which must not exist (file_exists), and
  // closes it: a write error that shows only then takes the name back.
  std::error_code Name(UnnamedFile& file, const std::filesystem::path& name) const;

  // Renames `from` to `to` within the folder, replacing a file at `to`. On
  // Windows a temporary file (IsTemporaryFileName), which is created hidden,
  // is shown again as it takes its name.
  std::error_code Rename(const std::filesystem::path& from,
                         const std::filesystem::path& to) const;

  // Removes the file `name`.
  std::error_code Remove(const std::filesystem::path& name) const;

 private:
  // The folder moved or was replaced since it was opened (Windows only).
  std::error_code Moved() const;

  static constexpr intptr_t kClosed = -1;
  intptr_t handle_ = kClosed;  // a descriptor on Linux, a HANDLE on Windows
  std::filesystem::path path_;
  PathState identity_;
  std::error_code open_error_ = std::make_error_code(std::errc::bad_file_descriptor);
};

}  // namespace varnelko
