#include <windows.h>

#include "platform/output_folder.h"

namespace varnelko {
namespace fs = std::filesystem;

namespace {

// The folder opened for its identity only. Without FILE_SHARE_DELETE, no
// one can move or delete the folder while the handle is held.
HANDLE OpenFolderHandle(const fs::path& folder) {
  return CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// Volume serial number and file index: what identifies a folder.
PathState IdentityOf(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(handle, &info)) return {};
  return {true, true, false, info.dwVolumeSerialNumber,
          (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

// As the rest of the program words it: "No such file or directory" where
// the system's code has a portable meaning.
std::error_code LastError() {
  const std::error_code code(static_cast<int>(GetLastError()), std::system_category());
  const std::error_condition portable = code.default_error_condition();
  if (portable.category() == std::generic_category()) {
    return {portable.value(), std::generic_category()};
  }
  return code;
}

}  // namespace

OutputFolder::~OutputFolder() {
  if (is_open()) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool OutputFolder::Open(const fs::path& folder, std::string& why) {
  const fs::path opened = folder.empty() ? fs::path(".") : folder;
  HANDLE handle = OpenFolderHandle(opened);
  if (handle == INVALID_HANDLE_VALUE) {
    open_error_ = LastError();
    why = open_error_.message();
    return false;
  }
  const PathState identity = IdentityOf(handle);
  if (!identity.exists || !fs::is_directory(opened)) {
    CloseHandle(handle);
    open_error_ = std::make_error_code(std::errc::not_a_directory);
    why = open_error_.message();
    return false;
  }
  if (is_open()) CloseHandle(reinterpret_cast<HANDLE>(handle_));
  handle_ = reinterpret_cast<intptr_t>(handle);
  path_ = folder;
  identity_ = identity;
  return true;
}

PathState OutputFolder::Identity() const { return identity_; }

// The path is opened again and must still lead to the folder that is held.
std::error_code OutputFolder::Moved() const {
  if (!is_open()) return open_error_;
  HANDLE now = OpenFolderHandle(path_.empty() ? fs::path(".") : path_);
  if (now == INVALID_HANDLE_VALUE) return LastError();
  const PathState identity = IdentityOf(now);
  CloseHandle(now);
  if (identity.device == identity_.device && identity.file == identity_.file) return {};
  return std::make_error_code(std::errc::no_such_file_or_directory);
}

PathState OutputFolder::Look(const fs::path& name) const {
  return Moved() ? PathState{} : LookAtPath(path_ / name);
}

std::error_code OutputFolder::CreateNew(const fs::path& name,
                                        std::span<const std::string_view> pieces,
                                        const SourceCopy* source) const {
  if (std::error_code moved = Moved()) return moved;
  return WriteNewFile(path_ / name, pieces, source);
}

std::error_code OutputFolder::Rename(const fs::path& from, const fs::path& to) const {
  if (std::error_code moved = Moved()) return moved;
  std::error_code ec;
  fs::rename(path_ / from, path_ / to, ec);
  return ec;
}

std::error_code OutputFolder::Remove(const fs::path& name) const {
  if (std::error_code moved = Moved()) return moved;
  std::error_code ec;
  fs::remove(path_ / name, ec);
  return ec;
}

}  // namespace varnelko
