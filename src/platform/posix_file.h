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

PathState LookAt(int folder, const std::filesystem::path& name);

}  // namespace varnelko
