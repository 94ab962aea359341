#include "formats/file_io.h"

#include <atomic>
#include <fstream>
#include <random>
#include <system_error>

namespace varnelko {
namespace fs = std::filesystem;

namespace {

bool ReadUpTo(const fs::path& path, size_t max_bytes, std::string& out, FormatError* error) {
  out.clear();
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    SetError(error, "cannot open the file");
    return false;
  }
  std::error_code ec;
  uintmax_t size = fs::file_size(path, ec);
  if (!ec) out.reserve(static_cast<size_t>(std::min<uintmax_t>(size, max_bytes)));
  char chunk[1 << 16];
  while (out.size() < max_bytes) {
    size_t want = std::min(sizeof chunk, max_bytes - out.size());
    in.read(chunk, static_cast<std::streamsize>(want));
    out.append(chunk, static_cast<size_t>(in.gcount()));
    if (in.eof()) break;
    if (!in) {
      SetError(error, "read error", out.size());
      return false;
    }
  }
  return true;
}

fs::path TemporarySibling(const fs::path& path) {
  static std::atomic<unsigned> serial{0};
  std::random_device entropy;
  fs::path tmp = path;
  tmp += ".tmp-" + std::to_string(entropy()) + "-" + std::to_string(serial++);
  return tmp;
}

}  // namespace

bool ReadWholeFile(const fs::path& path, std::string& out, FormatError* error) {
  return ReadUpTo(path, static_cast<size_t>(-1), out, error);
}

bool ReadFilePrefix(const fs::path& path, size_t max_bytes, std::string& out,
                    FormatError* error) {
  return ReadUpTo(path, max_bytes, out, error);
}

bool WriteFileAtomically(const fs::path& path, std::string_view bytes, FormatError* error) {
  std::error_code ec;
  fs::path tmp = TemporarySibling(path);
  bool written = false;
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (out) {
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      out.flush();
      written = static_cast<bool>(out);
    }
  }
  if (written) {
    fs::rename(tmp, path, ec);
    if (!ec) return true;
    SetError(error, "cannot rename the finished file onto its name: " + ec.message());
  } else {
    SetError(error, "cannot write the file (disk full, read-only or missing folder?)");
  }
  fs::remove(tmp, ec);
  return false;
}

void RemoveFailedOutput(const fs::path& path) {
  std::error_code ec;
  if (fs::is_directory(fs::symlink_status(path, ec))) return;
  fs::remove(path, ec);  // a failure here is passed over
}

}  // namespace varnelko
