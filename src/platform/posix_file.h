#pragma once
// Linux only, inside the platform module: the file operations of
// native_file.h relative to an open folder (AT_FDCWD: the current folder).
#include <filesystem>
#include <span>
#include <string_view>
#include <system_error>

#include "platform/native_file.h"
#include "platform/system_copy.h"

namespace varnelko {

std::error_code WriteNewFileAt(int folder, const std::filesystem::path& name,
                               std::span<const std::string_view> pieces,
                               const SourceCopy* source = nullptr);

// Writes the pieces to a file without a name in `folder` (O_TMPFILE); -1 in
// `fd` with operation_not_supported where that cannot be done.
std::error_code WriteUnnamedFileAt(int folder, std::span<const std::string_view> pieces,
                                   const SourceCopy* source, int& fd);

// Gives the unnamed file `fd` the name `name` in `folder` and closes it (-1
// in `fd`); a failure to close takes the name back.
std::error_code NameUnnamedFileAt(int& fd, int folder, const std::filesystem::path& name);

PathState LookAt(int folder, const std::filesystem::path& name);

}  // namespace varnelko
