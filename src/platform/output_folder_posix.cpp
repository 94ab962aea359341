#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/output_folder.h"
#include "platform/posix_file.h"

namespace varnelko {
namespace fs = std::filesystem;

namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

}  // namespace

OutputFolder::~OutputFolder() {
  if (is_open()) ::close(static_cast<int>(handle_));
}

bool OutputFolder::Open(const fs::path& folder, std::string& why) {
  const fs::path opened = folder.empty() ? fs::path(".") : folder;
  const int fd = ::open(opened.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    open_error_ = LastError();
    why = open_error_.message();
    return false;
  }
  if (is_open()) ::close(static_cast<int>(handle_));
  handle_ = fd;
  path_ = folder;
  identity_ = LookAt(fd, ".");
  return true;
}

PathState OutputFolder::Identity() const { return identity_; }

PathState OutputFolder::Look(const fs::path& name) const {
  return is_open() ? LookAt(static_cast<int>(handle_), name) : PathState{};
}

std::error_code OutputFolder::CreateNew(const fs::path& name,
                                        std::span<const std::string_view> pieces,
                                        const SourceCopy* source) const {
  return is_open() ? WriteNewFileAt(static_cast<int>(handle_), name, pieces, source) : open_error_;
}

UnnamedFile::~UnnamedFile() {
  if (fd_ >= 0) ::close(fd_);
}

std::error_code OutputFolder::WriteUnnamed(std::span<const std::string_view> pieces,
                                           const SourceCopy* source, UnnamedFile& file) const {
  if (!is_open()) return std::make_error_code(std::errc::operation_not_supported);
  return WriteUnnamedFileAt(static_cast<int>(handle_), pieces, source, file.fd_);
}

std::error_code OutputFolder::Name(UnnamedFile& file, const fs::path& name) const {
  if (!is_open()) return open_error_;
  return NameUnnamedFileAt(file.fd_, static_cast<int>(handle_), name);
}

std::error_code OutputFolder::Rename(const fs::path& from, const fs::path& to) const {
  if (!is_open()) return open_error_;
  const int fd = static_cast<int>(handle_);
  return ::renameat(fd, from.c_str(), fd, to.c_str()) == 0 ? std::error_code() : LastError();
}

std::error_code OutputFolder::Remove(const fs::path& name) const {
  if (!is_open()) return open_error_;
  return ::unlinkat(static_cast<int>(handle_), name.c_str(), 0) == 0 ? std::error_code()
                                                                       : LastError();
}

std::error_code OutputFolder::Moved() const { return {}; }

}  // namespace varnelko
