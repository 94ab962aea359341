#pragma once
// The fixed 452-byte header of a JWS figure file, before the entity archive.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace varnelko {

constexpr std::string_view kJwsSignature = "JwsData";
constexpr size_t kJwsSignatureBytes = 7;
constexpr size_t kJwsFillerBytes = 193;  // read and dropped; written as "."
constexpr uint8_t kJwsFillerByte = '.';
constexpr size_t kJwsHeaderBytes = 452;

// Figures are written at 230 at least, and a 300 figure as 351.
constexpr int32_t NormalizeJwsVersion(int32_t v) {
  if (v <= 230) v = 230;
  if (v == 300) v = 351;
  return v;
}

}  // namespace varnelko
