#pragma once
// Whole-file reads and atomic whole-file writes.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "formats/format_error.h"

namespace varnelko {

// Reads the whole file into `out`. False when it cannot be opened or read.
bool ReadWholeFile(const std::filesystem::path& path, std::string& out,
                   FormatError* error = nullptr);

// Reads at most `max_bytes` from the start of the file.
bool ReadFilePrefix(const std::filesystem::path& path, size_t max_bytes, std::string& out,
                    FormatError* error = nullptr);

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
