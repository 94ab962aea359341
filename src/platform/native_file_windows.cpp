#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/file_buffer_access.h"
#include "platform/file_io.h"
#include "platform/native_file.h"
#include "platform/path_text.h"
#include "platform/windows_error.h"
#include "platform/windows_file.h"

namespace varnelko {
namespace fs = std::filesystem;

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Closes the handle when it goes.
class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (ok()) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

std::string Reason() { return LastWindowsError().message(); }

// Opens a regular file for reading; the handle is invalid, with `why`,
// otherwise. A folder, a device or a pipe is refused without being read.
HANDLE OpenRegularFile(const fs::path& path, std::string& why) {
  const fs::path native = LongPathForm(path);
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  if (!GetFileAttributesExW(native.c_str(), GetFileExInfoStandard, &attributes)) {
    why = "cannot open: " + Reason();
    return INVALID_HANDLE_VALUE;
  }
  if (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    why = NotRegular(fs::file_type::directory);
    return INVALID_HANDLE_VALUE;
  }
  HANDLE h = CreateFileW(native.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    why = "cannot open: " + Reason();
    return h;
  }
  const DWORD type = GetFileType(h);
  if (type == FILE_TYPE_DISK) return h;
  why = NotRegular(type == FILE_TYPE_PIPE ? fs::file_type::fifo : fs::file_type::character);
  CloseHandle(h);
  return INVALID_HANDLE_VALUE;
}

// Reads up to `size` bytes; false with `why` when the system refuses (a
// range another program locked, a failing disk).
bool ReadSome(HANDLE h, char* data, size_t size, size_t& got, std::string& why) {
  const DWORD asked = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
  DWORD n = 0;
  if (!ReadFile(h, data, asked, &n, nullptr)) {
    why = "cannot read: " + Reason();
    return false;
  }
  got = n;
  return true;
}


}  // namespace

PathState IdentityOf(HANDLE h) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(h, &info)) return {};
  const bool folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  PathState state{true, folder, false, info.dwVolumeSerialNumber,
                  (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
                  folder, {}};
  state.leads_to_regular = !state.leads_to_directory && GetFileType(h) == FILE_TYPE_DISK;
  return state;
}

PathState LookAtPath(const fs::path& path) {
  const fs::path native = LongPathForm(path);
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  if (!GetFileAttributesExW(native.c_str(), GetFileExInfoStandard, &attributes)) {
    // A name Windows cannot hold (a wildcard that matched nothing) names nothing.
    const DWORD error = GetLastError();
    PathState nothing;
    nothing.error = WindowsError(error == ERROR_INVALID_NAME ? ERROR_FILE_NOT_FOUND : error);
    return nothing;
  }
  // What the name leads to, through a link or junction; asking for no
  // access opens also a file another program holds exclusively.
  const Handle h(CreateFileW(native.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  PathState state = h.ok() ? IdentityOf(h.get()) : PathState{};
  if (!h.ok()) state.error = LastWindowsError();
  state.exists = true;
  state.is_directory = (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return state;
}

bool HeldFile::ChangedSinceRead() const { return true; }
void HeldFile::Close() {}

// Windows keeps no file open after reading it: every output is written.
size_t CopyFileSpan(int, uint64_t, size_t, int) { return 0; }

bool ReadRegularFile(const fs::path& path, size_t max_bytes, std::string& out, std::string& why) {
  out.clear();
  const Handle h(OpenRegularFile(path, why));
  if (!h.ok()) return false;
  char chunk[1 << 16];
  while (out.size() < max_bytes) {
    size_t got = 0;
    if (!ReadSome(h.get(), chunk, std::min(sizeof chunk, max_bytes - out.size()), got, why)) {
      return false;
    }
    if (got == 0) break;
    out.append(chunk, got);
  }
  return true;
}

bool ReadRegularFileInto(const fs::path& path, FileBuffer& buffer, PathState& state,
                         std::string& why, std::string_view signature, HeldFile*) {
  FileBufferAccess::SetSize(buffer, 0);
  const Handle h(OpenRegularFile(path, why));
  if (!h.ok()) return false;
  state = IdentityOf(h.get());
  // A file of another kind is read no further than its signature.
  size_t size = 0;
  if (!signature.empty()) {
    char* head = FileBufferAccess::Room(buffer, signature.size());
    while (size < signature.size()) {
      size_t got = 0;
      if (!ReadSome(h.get(), head + size, signature.size() - size, got, why)) return false;
      if (got == 0) break;
      size += got;
    }
    FileBufferAccess::SetSize(buffer, size);
    if (buffer.view() != signature) return true;
  }
  LARGE_INTEGER length{};
  GetFileSizeEx(h.get(), &length);
  // One byte more than the size, so that a file that grew meanwhile shows;
  // then it is read again from the start into more room.
  size_t room = static_cast<size_t>(length.QuadPart) + 1;
  for (;;) {
    char* data = FileBufferAccess::Room(buffer, room);
    room = FileBufferAccess::Capacity(buffer);
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(h.get(), start, nullptr, FILE_BEGIN)) {
      why = "cannot read: " + Reason();
      return false;
    }
    size = 0;
    size_t got = 0;
    do {
      if (!ReadSome(h.get(), data + size, room - size, got, why)) return false;
      size += got;
    } while (got > 0 && size < room);
    if (size < room) break;
    room *= 2;
  }
  FileBufferAccess::SetSize(buffer, size);
  return true;
}

std::error_code WriteNewFile(const fs::path& path, std::span<const std::string_view> pieces,
                             const SourceCopy*) {
  const fs::path native = LongPathForm(path);
  // A temporary file is hidden, as its leading dot hides it on Linux; the
  // output folder shows it again when it takes its final name.
  const DWORD attributes = IsTemporaryFileName(PathToUtf8(path.filename()))
                               ? FILE_ATTRIBUTE_HIDDEN
                               : FILE_ATTRIBUTE_NORMAL;
  HANDLE h = CreateFileW(native.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return LastWindowsError();
  constexpr size_t kWriteChunk = 256 * 1024;
  std::error_code error;
  for (std::string_view piece : pieces) {
    while (!piece.empty() && !error) {
      const DWORD n = static_cast<DWORD>(std::min(piece.size(), kWriteChunk));
      DWORD written = 0;
      if (!WriteFile(h, piece.data(), n, &written, nullptr)) {
        error = LastWindowsError();
      } else if (written == 0) {
        error = WindowsError(ERROR_WRITE_FAULT);
      }
      piece.remove_prefix(written);
    }
  }
  if (!CloseHandle(h) && !error) error = LastWindowsError();
  if (error) DeleteFileW(native.c_str());
  return error;
}

}  // namespace varnelko
