#pragma once
// Why a load or a write failed: what went wrong and at which byte offset,
// so that a person gets a message they can act on.
#include <cstdint>
#include <string>

namespace varnelko {

struct FormatError {
  std::string what;     // e.g. "truncated: 8 bytes needed, 3 left"
  uint64_t offset = 0;  // byte offset in the file (or in the output being built)

  std::string Describe() const { return what + " at offset " + std::to_string(offset); }
};

// Stores an error into an optional out-parameter.
inline void SetError(FormatError* error, std::string what, uint64_t offset) {
  if (error) *error = FormatError{std::move(what), offset};
}

}  // namespace varnelko
