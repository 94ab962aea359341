#pragma once
// Loading, probing and writing JWS figure files.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "document/jws_document.h"
#include "formats/format_error.h"

namespace varnelko {

bool ReadJwsFile(const std::filesystem::path& path, JwsDocument& doc,
                 FormatError* error = nullptr);

// Loads a figure from bytes held in memory, as ReadJwsFile does with the
// bytes of a file.
bool ReadJwsBytes(std::string_view bytes, JwsDocument& doc, FormatError* error = nullptr);

// True when the file's first seven bytes are "JwsData". When the file
// cannot be opened or read at all, `unreadable` (if given) says why.
bool IsJwsFile(const std::filesystem::path& path, FormatError* unreadable = nullptr);

// Writes `doc` at the normalised form of `version` (230 at least; 300 is
// written as 351), atomically.
bool WriteJwsFile(const std::filesystem::path& path, int32_t version, const JwsDocument& doc,
                  FormatError* error = nullptr);

bool BuildJwsBytes(int32_t version, const JwsDocument& doc, std::string& out,
                   FormatError* error = nullptr);

}  // namespace varnelko
