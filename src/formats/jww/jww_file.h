#pragma once
// Loading, probing and writing JWW drawing files.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "document/jww_document.h"
#include "formats/format_error.h"

namespace varnelko {

// Loads the whole file into `doc` (freed first), bound images' bytes
// included. False, with `error` set, when the file cannot be read, is
// truncated, has a version below 220 or an unrecognised class.
bool ReadJwwFile(const std::filesystem::path& path, JwwDocument& doc,
                 FormatError* error = nullptr);

// Loads a drawing from bytes held in memory, as ReadJwwFile does with the
// bytes of a file (error offsets are offsets into `bytes`).
bool ReadJwwBytes(std::string_view bytes, JwwDocument& doc, FormatError* error = nullptr);

// True when the file's first eight bytes are "JwwData.". When the file
// cannot be opened or read at all, `unreadable` (if given) says why.
bool IsJwwFile(const std::filesystem::path& path, FormatError* unreadable = nullptr);

// Clears `doc` and reads the header through the version block; the memo is
// then in doc.header.memo.
bool ReadJwwMemo(const std::filesystem::path& path, JwwDocument& doc);

// Writes `doc` at `version`, atomically. The document is not changed, except
// the used flags of its bound images. On failure a file already at `path`
// stays as it was and no temporary file is left.
bool WriteJwwFile(const std::filesystem::path& path, int32_t version, JwwDocument& doc,
                  FormatError* error = nullptr);

// The bytes WriteJwwFile would write, built in memory.
bool BuildJwwBytes(int32_t version, JwwDocument& doc, std::string& out,
                   FormatError* error = nullptr);

}  // namespace varnelko
