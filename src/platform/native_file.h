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
struct PathState {
  bool exists = false;
  bool is_directory = false;
  // A regular file, or a link that leads to one: what a write may replace.
  bool leads_to_regular = false;
  uint64_t device = 0;
  uint64_t file = 0;
};

// One look (lstat) at `path`.
PathState LookAtPath(const std::filesystem::path& path);

// Whether two names that both exist lead to the same file.
bool SameFile(const std::filesystem::path& a, const PathState& a_state,
              const std::filesystem::path& b, const PathState& b_state);

// As ReadRegularFile for the whole file, into `buffer` with plain reads;
// `state` receives the opened file's identity. A file that does not begin
// with `signature` is read no further than that many bytes, so that a file
// of another kind never costs its size in memory.
bool ReadRegularFileInto(const std::filesystem::path& path, FileBuffer& buffer, PathState& state,
                         std::string& why, std::string_view signature = {});

// Creates `path`, which must not exist yet, and writes the pieces in order.
// On failure the file, if it was created, is removed again and the
// operating system's error is returned (file_exists when the name is taken).
// The bytes go to the system at most 256 KB per call: one write of many
// megabytes measured far slower here than the same bytes in pieces.
std::error_code WriteNewFile(const std::filesystem::path& path,
                             std::span<const std::string_view> pieces);

}  // namespace varnelko
