#pragma once
// Why a load or a write failed: what went wrong and at which byte offset,
// so that a person gets a message they can act on.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace varnelko {

struct FormatError {
  // For failures that are not about a place in the bytes (a file that cannot
  // be opened or renamed).
  static constexpr uint64_t kNoOffset = UINT64_MAX;

  std::string what;             // e.g. "truncated: 8 bytes needed, 3 left"
  uint64_t offset = kNoOffset;  // byte offset in the file (or in the output being built)

  std::string Describe() const {
    return offset == kNoOffset ? what : what + " at offset " + std::to_string(offset);
  }
};

// Stores an error into an optional out-parameter.
inline void SetError(FormatError* error, std::string what,
                     uint64_t offset = FormatError::kNoOffset) {
  if (error) *error = FormatError{std::move(what), offset};
}

// Bytes from a file, quoted for a message: printable ASCII stays, anything
// else becomes \xNN, so that a hostile name cannot put control sequences
// on a terminal.
inline std::string QuoteBytes(std::string_view bytes) {
  std::string out = "\"";
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    }
  }
  return out + "\"";
}

}  // namespace varnelko
