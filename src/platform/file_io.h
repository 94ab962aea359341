#pragma once
// Whole-file reads and whole-file writes through a temporary file.
#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "formats/format_error.h"
#include "platform/native_file.h"

namespace varnelko {

// Reads the whole file into `out`. False when it cannot be opened or read,
// or is no regular file, with the operating system's reason in `error`.
bool ReadWholeFile(const std::filesystem::path& path, std::string& out,
                   FormatError* error = nullptr);

// As ReadWholeFile, into memory the caller reuses from file to file, with
// one open; `state` receives the file's identity. With `keep`, the file
// stays open in it for copying from (see WriteTemporarySibling).
bool ReadWholeFileInto(const std::filesystem::path& path, FileBuffer& buffer, PathState& state,
                       FormatError* error = nullptr, HeldFile* keep = nullptr);

// Reads at most `max_bytes` from the start of the file.
bool ReadFilePrefix(const std::filesystem::path& path, size_t max_bytes, std::string& out,
                    FormatError* error = nullptr);

// True when `name` is a file name of the pattern temporary files carry
// (".~vk" + 8 hexadecimal digits + ".tmp"), as left behind by a power cut.
bool IsTemporaryFileName(std::string_view name);

// Writes the pieces, in order, to a new temporary file in the folder of
// `path` under a short name of its own (so that names near the length
// limit still work). On success `temporary` names the complete file; on
// failure none is left and `error` holds the operating system's reason.
// With `source`, long unchanged stretches are copied from the source file by
// the system.
bool WriteTemporarySibling(const std::filesystem::path& path,
                           std::span<const std::string_view> pieces,
                           std::filesystem::path& temporary, FormatError* error = nullptr,
                           const SourceCopy* source = nullptr);

// Writes `bytes` to a temporary file in the target's folder and renames it
// onto `path`, so that the path only ever holds a complete file. On failure
// the temporary file is removed and a file already at `path` keeps its old
// content.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         FormatError* error = nullptr);

// After a failed drawing write: an older file under the name must not pass
// for the write's result, so it is removed. A folder of that name is left.
void RemoveFailedOutput(const std::filesystem::path& path);

}  // namespace varnelko
