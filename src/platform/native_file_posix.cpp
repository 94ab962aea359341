#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/file_buffer_access.h"
#include "platform/native_file.h"
#include "platform/posix_file.h"

namespace varnelko {
namespace fs = std::filesystem;

namespace {

std::string Reason(int error_number) { return std::generic_category().message(error_number); }

}  // namespace

namespace {

// Opens a regular file for reading; -1 with `why` otherwise. Looked at
// before opening, so that no device is ever opened; checked again on the
// open descriptor (`info`), in case the name was replaced meanwhile.
int OpenRegularFile(const fs::path& path, struct stat& info, std::string& why) {
  if (::stat(path.c_str(), &info) != 0) {
    why = "cannot open: " + Reason(errno);
    return -1;
  }
  if (!S_ISREG(info.st_mode)) {
    std::error_code ec;
    why = NotRegular(fs::status(path, ec).type());
    return -1;
  }
  // Non-blocking, so that a FIFO slipped in after the check cannot hang the open.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    why = "cannot open: " + Reason(errno);
    return -1;
  }
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) return fd;
  why = "not a regular file";
  ::close(fd);
  return -1;
}

}  // namespace

bool ReadRegularFile(const fs::path& path, size_t max_bytes, std::string& out, std::string& why) {
  out.clear();
  struct stat info {};
  int fd = OpenRegularFile(path, info, why);
  if (fd < 0) return false;
  bool ok = true;
  out.reserve(static_cast<size_t>(std::min<uintmax_t>(info.st_size, max_bytes)));
  char chunk[1 << 16];
  while (ok && out.size() < max_bytes) {
    ssize_t n = ::read(fd, chunk, std::min(sizeof chunk, max_bytes - out.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      why = "cannot read: " + Reason(errno);
      ok = false;
    }
    if (n <= 0) break;
    out.append(chunk, static_cast<size_t>(n));
  }
  ::close(fd);
  return ok;
}

PathState LookAtPath(const fs::path& path) { return LookAt(AT_FDCWD, path); }

PathState LookAt(int folder, const fs::path& name) {
  struct stat info {};
  if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
    PathState nothing;
    nothing.error = {errno, std::generic_category()};
    return nothing;
  }
  const bool is_folder = S_ISDIR(info.st_mode);
  PathState state{true, is_folder, S_ISREG(info.st_mode), static_cast<uint64_t>(info.st_dev),
                  static_cast<uint64_t>(info.st_ino), is_folder, {}};
  // A link is identified by what it leads to (a second look, for links only).
  if (!S_ISLNK(info.st_mode)) return state;
  if (::fstatat(folder, name.c_str(), &info, 0) != 0) {
    state.error = {errno, std::generic_category()};
    return state;
  }
  state.leads_to_regular = S_ISREG(info.st_mode);
  state.leads_to_directory = S_ISDIR(info.st_mode);
  state.device = static_cast<uint64_t>(info.st_dev);
  state.file = static_cast<uint64_t>(info.st_ino);
  return state;
}

namespace {

int64_t Nanoseconds(const struct timespec& t) {
  return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

}  // namespace

// Fills a HeldFile with an open file and what it was when read.
struct HeldFileAccess {
  static void Hold(HeldFile& held, int fd, const struct stat& info) {
    held.Close();
    held.fd_ = fd;
    held.size_ = static_cast<uint64_t>(info.st_size);
    held.modified_ns_ = Nanoseconds(info.st_mtim);
    held.changed_ns_ = Nanoseconds(info.st_ctim);
  }
};

bool HeldFile::ChangedSinceRead() const {
  struct stat info {};
  return fd_ < 0 || ::fstat(fd_, &info) != 0 || static_cast<uint64_t>(info.st_size) != size_ ||
         Nanoseconds(info.st_mtim) != modified_ns_ || Nanoseconds(info.st_ctim) != changed_ns_;
}

void HeldFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

size_t CopyFileSpan(int in_fd, uint64_t offset, size_t length, int out_fd) {
  auto from = static_cast<off_t>(offset);
  size_t copied = 0;
  while (copied < length) {
    ssize_t n = ::copy_file_range(in_fd, &from, out_fd, nullptr, length - copied, 0);
    if (n < 0 && errno == EINTR) continue;
    // Not allowed here (other file systems, an old system), a failure, or
    // the file ended early: the caller writes the rest itself.
    if (n <= 0) break;
    copied += static_cast<size_t>(n);
  }
  return copied;
}

// Reads the file's first bytes; true when they are `signature`. Otherwise
// they are all the buffer receives.
bool BeginsWith(int fd, FileBuffer& buffer, std::string_view signature, bool& ok,
                std::string& why) {
  if (signature.empty()) return true;
  char* head = FileBufferAccess::Room(buffer, signature.size());
  ssize_t n;
  do n = ::pread(fd, head, signature.size(), 0);
  while (n < 0 && errno == EINTR);
  if (n < 0) {
    why = "cannot read: " + Reason(errno);
    ok = false;
    return false;
  }
  FileBufferAccess::SetSize(buffer, static_cast<size_t>(n));
  return buffer.view() == signature;
}

bool ReadRegularFileInto(const fs::path& path, FileBuffer& buffer, PathState& state,
                         std::string& why, std::string_view signature, HeldFile* keep) {
  FileBufferAccess::SetSize(buffer, 0);
  struct stat info {};
  int fd = OpenRegularFile(path, info, why);
  if (fd < 0) return false;
  bool ok = true;
  state = {true, false, true, static_cast<uint64_t>(info.st_dev),
           static_cast<uint64_t>(info.st_ino), false, {}};
  if (!BeginsWith(fd, buffer, signature, ok, why)) {
    ::close(fd);
    if (!ok) FileBufferAccess::SetSize(buffer, 0);
    return ok;
  }
  // One byte more than the size, so that a file that grew meanwhile shows.
  size_t size = 0, room = static_cast<size_t>(info.st_size) + 1;
  char* data = FileBufferAccess::Room(buffer, room);
  room = FileBufferAccess::Capacity(buffer);
  while (ok) {
    if (size == room) {
      // The file grew: start again into more room.
      room *= 2;
      data = FileBufferAccess::Room(buffer, room);
      size = 0;
      if (::lseek(fd, 0, SEEK_SET) != 0) {
        why = "cannot read: " + Reason(errno);
        ok = false;
        break;
      }
    }
    const size_t asked = room - size;
    ssize_t n = ::read(fd, data + size, asked);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      why = "cannot read: " + Reason(errno);
      ok = false;
    }
    if (n <= 0) break;
    size += static_cast<size_t>(n);
    // A regular file gives less than asked only at its end: no read for
    // the end-of-file answer.
    if (static_cast<size_t>(n) < asked) break;
  }
  if (ok && keep) {
    HeldFileAccess::Hold(*keep, fd, info);
  } else {
    ::close(fd);
  }
  FileBufferAccess::SetSize(buffer, ok ? size : 0);
  return ok;
}

namespace {

// Writes all pieces with writev, at most kWriteChunk bytes per call.
int WriteMemory(int fd, std::span<const std::string_view> pieces) {
  constexpr size_t kWriteChunk = 256 * 1024;
  constexpr size_t kMaxVectors = 64;
  size_t piece = 0, offset = 0;
  iovec vectors[kMaxVectors];
  while (piece < pieces.size()) {
    // Gather up to kWriteChunk bytes from where the last call stopped.
    size_t count = 0, total = 0, p = piece, o = offset;
    while (p < pieces.size() && count < kMaxVectors && total < kWriteChunk) {
      size_t take = std::min(pieces[p].size() - o, kWriteChunk - total);
      if (take) vectors[count++] = {const_cast<char*>(pieces[p].data() + o), take};
      total += take;
      o += take;
      if (o == pieces[p].size()) ++p, o = 0;
    }
    if (total == 0) {
      piece = p, offset = o;
      continue;
    }
    ssize_t n = ::writev(fd, vectors, static_cast<int>(count));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : EIO;
    // Step over what was written (all of it, or less after a short write).
    for (size_t left = static_cast<size_t>(n); left > 0;) {
      size_t step = std::min(left, pieces[piece].size() - offset);
      left -= step;
      offset += step;
      if (offset == pieces[piece].size()) ++piece, offset = 0;
    }
  }
  return 0;
}

// Writes the pieces, having the system copy the long unchanged stretches
// from the source file while it is as it was read.
int WritePieces(int fd, std::span<const std::string_view> pieces, const SourceCopy* source) {
  if (!source || !source->file || source->unchanged.empty() ||
      source->file->ChangedSinceRead()) {
    return WriteMemory(fd, pieces);
  }
  std::vector<std::string_view> memory;
  for (const OutputPart& part : SplitForSystemCopy(pieces, *source)) {
    if (!part.from_source) {
      memory.push_back(part.bytes);
      continue;
    }
    if (int error = WriteMemory(fd, memory)) return error;
    memory.clear();
    const auto offset = static_cast<uint64_t>(part.bytes.data() - source->bytes.data());
    const size_t copied = CopyFileSpan(source->file->fd(), offset, part.bytes.size(), fd);
    if (copied < part.bytes.size()) memory.push_back(part.bytes.substr(copied));
  }
  return WriteMemory(fd, memory);
}

}  // namespace

std::error_code WriteUnnamedFileAt(int folder, std::span<const std::string_view> pieces,
                                   const SourceCopy* source, int& fd) {
  // The file is named through /proc; without it, named files it is.
  static const bool can_name = ::access("/proc/self/fd", X_OK) == 0;
  fd = can_name ? ::openat(folder, ".", O_WRONLY | O_TMPFILE | O_CLOEXEC, 0666) : -1;
  if (fd < 0) return std::make_error_code(std::errc::operation_not_supported);
  const int error = WritePieces(fd, pieces, source);
  if (error == 0) return {};
  ::close(fd);
  fd = -1;
  return {error, std::generic_category()};
}

std::error_code NameUnnamedFileAt(int& fd, int folder, const fs::path& name) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  if (::linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) != 0) {
    return {errno, std::generic_category()};
  }
  // A full disk may only show at close on some file systems: the name is
  // taken back then, as from a file that could not be written.
  const int closed = ::close(fd);
  fd = -1;
  if (closed == 0) return {};
  const std::error_code error{errno, std::generic_category()};
  ::unlinkat(folder, name.c_str(), 0);
  return error;
}

std::error_code WriteNewFile(const fs::path& path, std::span<const std::string_view> pieces,
                             const SourceCopy* source) {
  return WriteNewFileAt(AT_FDCWD, path, pieces, source);
}

std::error_code WriteNewFileAt(int folder, const fs::path& name,
                               std::span<const std::string_view> pieces, const SourceCopy* source) {
  int fd = ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return {errno, std::generic_category()};
  int error = WritePieces(fd, pieces, source);
  // A full disk may only show at close on some file systems.
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0) return {};
  ::unlinkat(folder, name.c_str(), 0);
  return {error, std::generic_category()};
}

}  // namespace varnelko
