#pragma once
// The few file operations the standard library cannot do safely: opening
// only regular files (a FIFO or a device would block or misbehave) and
// creating a file that must not exist yet. Every failure carries the
// operating system's reason. The only place in the core that includes
// platform headers.
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

namespace varnelko {

// Reads at most `max_bytes` from the start of a regular file into `out`.
// False with `why` ("cannot open: Permission denied", "not a regular file (a
// FIFO)", "cannot read: Input/output error") otherwise; a FIFO or device is
// refused at once, never waited on.
bool ReadRegularFile(const std::filesystem::path& path, size_t max_bytes, std::string& out,
                     std::string& why);

// Creates `path`, which must not exist yet, and writes the pieces in order.
// On failure the file, if it was created, is removed again and the
// operating system's error is returned (file_exists when the name is taken).
std::error_code WriteNewFile(const std::filesystem::path& path,
                             std::span<const std::string_view> pieces);

}  // namespace varnelko
