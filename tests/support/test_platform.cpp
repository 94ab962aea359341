#include "support/test_platform.h"

#if defined(_WIN32)
#include <windows.h>
#include <winioctl.h>

#include "platform/folder_names.h"
#include "platform/windows_error.h"
#else
#include <cstdlib>
#endif

#include <cstring>
#include <system_error>
#include <vector>

#include "platform/path_text.h"

namespace varnelko::test {
namespace fs = std::filesystem;

namespace {

#if defined(_WIN32)

const wchar_t kTempVariable[] = L"TMP";

std::optional<fs::path> GetVariable() {
  wchar_t value[32768];
  const DWORD n = GetEnvironmentVariableW(kTempVariable, value, 32768);
  if (n == 0 || n >= 32768) return std::nullopt;
  return fs::path(std::wstring(value, n));
}

void SetVariable(const std::optional<fs::path>& value) {
  SetEnvironmentVariableW(kTempVariable, value ? value->c_str() : nullptr);
}

// The layout Windows expects for a mount point (junction) reparse buffer.
struct JunctionBuffer {
  DWORD tag;
  WORD data_length;
  WORD reserved;
  WORD target_offset;
  WORD target_length;
  WORD print_offset;
  WORD print_length;
  wchar_t paths[1];
};

bool MakeJunction(const fs::path& target, const fs::path& link) {
  std::error_code ec;
  const std::wstring absolute = fs::absolute(target, ec).make_preferred().native();
  if (ec || !fs::create_directory(link, ec)) return false;
  const std::wstring substitute = L"\\??\\" + absolute;
  const size_t substitute_bytes = substitute.size() * sizeof(wchar_t);
  const size_t print_bytes = absolute.size() * sizeof(wchar_t);
  std::vector<char> storage(offsetof(JunctionBuffer, paths) + substitute_bytes + print_bytes + 4);
  auto* buffer = reinterpret_cast<JunctionBuffer*>(storage.data());
  buffer->tag = IO_REPARSE_TAG_MOUNT_POINT;
  buffer->data_length = static_cast<WORD>(storage.size() - offsetof(JunctionBuffer, target_offset));
  buffer->target_offset = 0;
  buffer->target_length = static_cast<WORD>(substitute_bytes);
  buffer->print_offset = static_cast<WORD>(substitute_bytes + sizeof(wchar_t));
  buffer->print_length = static_cast<WORD>(print_bytes);
  std::memcpy(buffer->paths, substitute.c_str(), substitute_bytes + sizeof(wchar_t));
  std::memcpy(reinterpret_cast<char*>(buffer->paths) + buffer->print_offset, absolute.c_str(),
              print_bytes + sizeof(wchar_t));
  const HANDLE folder = CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  DWORD returned = 0;
  const bool made = folder != INVALID_HANDLE_VALUE &&
                    DeviceIoControl(folder, FSCTL_SET_REPARSE_POINT, buffer,
                                    static_cast<DWORD>(storage.size()), nullptr, 0, &returned,
                                    nullptr);
  if (folder != INVALID_HANDLE_VALUE) CloseHandle(folder);
  if (!made) fs::remove(link, ec);
  return made;
}

#else

const char kTempVariable[] = "TMPDIR";

std::optional<fs::path> GetVariable() {
  const char* value = std::getenv(kTempVariable);
  if (value == nullptr) return std::nullopt;
  return fs::path(value);
}

void SetVariable(const std::optional<fs::path>& value) {
  if (value) {
    setenv(kTempVariable, value->c_str(), 1);
  } else {
    unsetenv(kTempVariable);
  }
}

bool MakeJunction(const fs::path&, const fs::path&) { return false; }

#endif

}  // namespace

TempFolderOverride::TempFolderOverride(const fs::path& folder) : saved_(GetVariable()) {
  SetVariable(folder);
}

TempFolderOverride::~TempFolderOverride() { SetVariable(saved_); }

bool MakeFolderLink(const fs::path& target, const fs::path& link) {
  std::error_code ec;
  fs::create_directory_symlink(target, link, ec);
  return !ec || MakeJunction(target, link);
}

bool MakeFileLink(const fs::path& target, const fs::path& link) {
  std::error_code ec;
  fs::create_symlink(target, link, ec);
  return !ec;
}

#if defined(_WIN32)

fs::path OtherSpelling(const fs::path& folder) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  const auto unix_name = reinterpret_cast<UnixName>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
  std::error_code ec;
  const fs::path absolute = fs::absolute(folder, ec);
  if (!unix_name || ec || absolute.native().starts_with(L"Z:") ||
      absolute.native().starts_with(L"z:")) {
    return {};
  }
  char* name = unix_name(absolute.c_str());
  if (!name) return {};
  // Wine names Unix paths in UTF-8.
  fs::path other = PathFromUtf8("Z:" + std::string(name)).make_preferred();
  HeapFree(GetProcessHeap(), 0, name);
  return other;
}

std::shared_ptr<void> HoldLocked(const fs::path& file, Lock lock) {
  const DWORD share = lock == Lock::kOpenAlone ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
  const HANDLE h = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                               OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  std::shared_ptr<void> held(h, [](void* open) { CloseHandle(static_cast<HANDLE>(open)); });
  if (lock == Lock::kOpenAlone) return held;
  OVERLAPPED whole{};
  if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) return nullptr;
  // Wine keeps such locks among its own calls to lock only: where a read
  // through another handle still gets the bytes, nothing is held so.
  const HANDLE reader = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
  char byte = 0;
  DWORD read = 0;
  const bool enforced = !ReadFile(reader, &byte, 1, &read, nullptr);
  CloseHandle(reader);
  return enforced ? held : nullptr;
}

std::string MissingFileText() { return WindowsError(ERROR_FILE_NOT_FOUND).message(); }

void RemoveTree(const fs::path& folder) {
  std::vector<FolderName> names;
  std::error_code ec;
  ListFolderNames(folder, names, ec);
  for (const FolderName& entry : names) {
    const fs::path path = folder / entry.name;
    if (entry.is_folder) {
      RemoveTree(path);
    } else {
      SetFileAttributesW(LongPathForm(path).c_str(), FILE_ATTRIBUTE_NORMAL);  // read-only too
      DeleteFileW(LongPathForm(path).c_str());
    }
  }
  RemoveDirectoryW(LongPathForm(folder).c_str());
}

std::string LockedText(Lock lock) {
  return WindowsError(lock == Lock::kOpenAlone ? ERROR_SHARING_VIOLATION : ERROR_LOCK_VIOLATION)
      .message();
}

#else

fs::path OtherSpelling(const fs::path&) { return {}; }

std::shared_ptr<void> HoldLocked(const fs::path&, Lock) { return nullptr; }

std::string LockedText(Lock) { return {}; }

std::string MissingFileText() {
  return std::make_error_code(std::errc::no_such_file_or_directory).message();
}

void RemoveTree(const fs::path& folder) {
  std::error_code ec;
  fs::remove_all(folder, ec);
}

#endif

}  // namespace varnelko::test
