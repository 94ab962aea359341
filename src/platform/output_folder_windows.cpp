#include <windows.h>

#include "platform/file_io.h"
#include "platform/output_folder.h"
#include "platform/path_text.h"
#include "platform/windows_error.h"
#include "platform/windows_file.h"

namespace varnelko {
namespace fs = std::filesystem;

namespace {

// The folder opened for its identity only. Without FILE_SHARE_DELETE, no
// one can move or delete the folder while the handle is held.
HANDLE OpenFolderHandle(const fs::path& folder) {
  return CreateFileW(LongPathForm(folder).c_str(), FILE_READ_ATTRIBUTES,
                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace

OutputFolder::~OutputFolder() {
  if (is_open()) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool OutputFolder::Open(const fs::path& folder, std::string& why) {
  const fs::path opened = folder.empty() ? fs::path(".") : folder;
  HANDLE handle = OpenFolderHandle(opened);
  if (handle == INVALID_HANDLE_VALUE) {
    open_error_ = LastWindowsError();
    why = open_error_.message();
    return false;
  }
  const PathState identity = IdentityOf(handle);
  if (!identity.leads_to_directory) {
    CloseHandle(handle);
    open_error_ = WindowsError(ERROR_DIRECTORY);
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
  if (now == INVALID_HANDLE_VALUE) return LastWindowsError();
  const PathState identity = IdentityOf(now);
  CloseHandle(now);
  if (identity.device == identity_.device && identity.file == identity_.file) return {};
  return WindowsError(ERROR_PATH_NOT_FOUND);
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

// Windows files always have a name: a hidden temporary file it is.
UnnamedFile::~UnnamedFile() = default;

std::error_code OutputFolder::WriteUnnamed(std::span<const std::string_view>, const SourceCopy*,
                                           UnnamedFile&) const {
  return std::make_error_code(std::errc::operation_not_supported);
}

std::error_code OutputFolder::Name(UnnamedFile&, const fs::path&) const {
  return std::make_error_code(std::errc::operation_not_supported);
}

// A temporary file, created hidden, is shown again as it takes its name.
std::error_code OutputFolder::Rename(const fs::path& from, const fs::path& to) const {
  if (std::error_code moved = Moved()) return moved;
  const fs::path source = LongPathForm(path_ / from);
  if (IsTemporaryFileName(PathToUtf8(from))) {
    const DWORD attributes = GetFileAttributesW(source.c_str());
    const DWORD shown = attributes & ~FILE_ATTRIBUTE_HIDDEN;
    if (attributes != INVALID_FILE_ATTRIBUTES && shown != attributes &&
        !SetFileAttributesW(source.c_str(), shown ? shown : FILE_ATTRIBUTE_NORMAL)) {
      return LastWindowsError();
    }
  }
  if (MoveFileExW(source.c_str(), LongPathForm(path_ / to).c_str(), MOVEFILE_REPLACE_EXISTING)) {
    return {};
  }
  return LastWindowsError();
}

std::error_code OutputFolder::Remove(const fs::path& name) const {
  if (std::error_code moved = Moved()) return moved;
  return DeleteFileW(LongPathForm(path_ / name).c_str()) ? std::error_code() : LastWindowsError();
}

}  // namespace varnelko
