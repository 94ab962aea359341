#pragma once
// The few file operations the standard library cannot do safely: opening
// only regular files (a FIFO or a device would block or misbehave) and
// creating a file that must not exist yet. Every failure carries the
// operating system's reason.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/system_copy.h"

namespace varnelko {

// Reads at most `max_bytes` from the start of a regular file into `out`.
// False with `why` ("cannot open: Permission denied", "not a regular file (a
// FIFO)", "cannot read: Input/output error") otherwise; a FIFO or device is
// refused at once, never waited on.
bool ReadRegularFile(const std::filesystem::path& path, size_t max_bytes, std::string& out,
                     std::string& why);

// Memory that one thread reads file after file into: it keeps its size, so
// that a batch allocates (and touches fresh pages) only for a file larger
// than all before it.
class FileBuffer {
 public:
  std::string_view view() const { return {data_.get(), size_}; }
  std::span<char> bytes() { return {data_.get(), size_}; }

 private:
  friend struct FileBufferAccess;
  std::unique_ptr<char[]> data_;
  size_t capacity_ = 0;
  size_t size_ = 0;
};

// What lies under a name, without following a final link. `device` and
// `file` identify it (for a link, the file it leads to) where the system
// tells them (0 otherwise).
// On Windows, `device` and `file` are the volume's serial number and the
// file's index, so that one folder reached by two drive letters, by a
// trailing separator or through a junction is still one folder.
struct PathState {
  bool exists = false;
  bool is_directory = false;
  // A regular file, or a link that leads to one: what a write may replace.
  bool leads_to_regular = false;
  uint64_t device = 0;
  uint64_t file = 0;
  bool leads_to_directory = false;  // a folder, or a link that leads to one
  // Why nothing could be looked at (no such file, no permission, a name
  // too long) when `exists` is false; for a link, why what it leads to
  // could not be (a dangling link, a loop of links).
  std::error_code error;
};

// One look (lstat) at `path`.
PathState LookAtPath(const std::filesystem::path& path);

// Whether two names that both exist lead to the same file, by identity.
bool SameFile(const PathState& a, const PathState& b);

// A file left open after it was read, so that the system can copy parts of
// it to an output (see CopyFileSpan); closed when this goes. Empty where
// files are not kept open so (Windows).
class HeldFile {
 public:
  HeldFile() = default;
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  ~HeldFile() { Close(); }

  int fd() const { return fd_; }
  // Whether the file's content may have changed since it was read (its
  // size, modification or change time moved): its bytes as read are then
  // the ones to write.
  bool ChangedSinceRead() const;
  void Close();

 private:
  friend struct HeldFileAccess;
  int fd_ = -1;
  uint64_t size_ = 0;
  int64_t modified_ns_ = 0;
  int64_t changed_ns_ = 0;
};

// As ReadRegularFile for the whole file, into `buffer` with plain reads;
// `state` receives the opened file's identity. A file that does not begin
// with `signature` is read no further than that many bytes, so that a file
// of another kind never costs its size in memory. With `keep`, the file
// stays open in it (where the system supports copying from it).
bool ReadRegularFileInto(const std::filesystem::path& path, FileBuffer& buffer, PathState& state,
                         std::string& why, std::string_view signature = {},
                         HeldFile* keep = nullptr);

// Copies `length` bytes at `offset` of the file open as `in_fd` to the
// current position of `out_fd` inside the system, without passing them
// through this program's memory. Returns how many bytes were copied: fewer
// than `length` (none on Windows, or where the file systems do not allow it)
// leaves the rest to the caller to write, and `out_fd` positioned after
// what was copied.
size_t CopyFileSpan(int in_fd, uint64_t offset, size_t length, int out_fd);

// Creates `path`, which must not exist yet, and writes the pieces in order.
// On failure the file, if it was created, is removed again and the
// operating system's error is returned (file_exists when the name is taken).
// The bytes go to the system at most 256 KB per call: one write of many
// megabytes measured far slower here than the same bytes in pieces. With
// `source`, unchanged stretches of at least kMinSystemCopy bytes are copied
// by the system from the source file instead. On Windows a temporary file
// (IsTemporaryFileName) is created hidden.
std::error_code WriteNewFile(const std::filesystem::path& path,
                             std::span<const std::string_view> pieces,
                             const SourceCopy* source = nullptr);

}  // namespace varnelko
