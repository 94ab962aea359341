#include "formats/native_file.h"

#include <algorithm>
#include <cerrno>

#if defined(_WIN32)
#include <fstream>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace varnelko {
namespace fs = std::filesystem;

namespace {

std::string Reason(int error_number) { return std::generic_category().message(error_number); }

// What a path that is not a regular file is, for the message.
std::string NotRegular(fs::file_type type) {
  switch (type) {
    case fs::file_type::directory: return "is a folder, not a file";
    case fs::file_type::fifo: return "not a regular file (a FIFO)";
    case fs::file_type::socket: return "not a regular file (a socket)";
    case fs::file_type::block:
    case fs::file_type::character: return "not a regular file (a device)";
    default: return "not a regular file";
  }
}

}  // namespace

#if defined(_WIN32)

bool ReadRegularFile(const fs::path& path, size_t max_bytes, std::string& out, std::string& why) {
  out.clear();
  std::error_code ec;
  fs::file_status status = fs::status(path, ec);
  if (ec) {
    why = "cannot open: " + ec.message();
    return false;
  }
  if (status.type() != fs::file_type::regular) {
    why = NotRegular(status.type());
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    why = "cannot open: " + Reason(errno);
    return false;
  }
  char chunk[1 << 16];
  while (out.size() < max_bytes) {
    in.read(chunk, static_cast<std::streamsize>(std::min(sizeof chunk, max_bytes - out.size())));
    out.append(chunk, static_cast<size_t>(in.gcount()));
    if (in.eof()) break;
    if (!in) {
      why = "cannot read: " + Reason(errno);
      return false;
    }
  }
  return true;
}

std::error_code WriteNewFile(const fs::path& path, std::span<const std::string_view> pieces) {
  std::error_code ec;
  if (fs::exists(fs::symlink_status(path, ec))) return std::make_error_code(std::errc::file_exists);
  bool written = false;
  {
    std::ofstream out(path, std::ios::binary);
    if (!out) return std::error_code(errno, std::generic_category());
    for (std::string_view piece : pieces) out.write(piece.data(), piece.size());
    out.flush();
    written = static_cast<bool>(out);
  }
  if (written) return {};
  std::error_code why(errno, std::generic_category());
  fs::remove(path, ec);
  return why;
}

#else

bool ReadRegularFile(const fs::path& path, size_t max_bytes, std::string& out, std::string& why) {
  out.clear();
  // Looked at before opening, so that no device is ever opened; checked
  // again on the open descriptor, in case the name was replaced meanwhile.
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    why = "cannot open: " + Reason(errno);
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    std::error_code ec;
    why = NotRegular(fs::status(path, ec).type());
    return false;
  }
  // Non-blocking, so that a FIFO slipped in after the check cannot hang the open.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    why = "cannot open: " + Reason(errno);
    return false;
  }
  bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  if (!ok) why = "not a regular file";
  if (ok) out.reserve(static_cast<size_t>(std::min<uintmax_t>(info.st_size, max_bytes)));
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

std::error_code WriteNewFile(const fs::path& path, std::span<const std::string_view> pieces) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return {errno, std::generic_category()};
  int error = 0;
  for (std::string_view piece : pieces) {
    while (!piece.empty() && error == 0) {
      ssize_t n = ::write(fd, piece.data(), piece.size());
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) error = n < 0 ? errno : EIO;
      else piece.remove_prefix(static_cast<size_t>(n));
    }
  }
  // A full disk may only show at close on some file systems.
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0) return {};
  ::unlink(path.c_str());
  return {error, std::generic_category()};
}

#endif

}  // namespace varnelko
