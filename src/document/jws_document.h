#pragma once
// One loaded JWS figure: a short header and the same entities as a drawing.
#include <array>
#include <cstdint>
#include <string>

#include "document/entity_store.h"

namespace varnelko {

struct JwsDocument {
  std::string signature;  // the file's first 7 bytes
  int32_t version = 0;
  double leading1 = 0, leading2 = 0;
  std::array<double, 16> group_scales{};
  std::array<int32_t, 6> header_ints{};
  std::array<double, 10> header_doubles{};
  EntityStore store;
  // Bytes after the figure's end: no part of it, never written back.
  uint64_t trailing_bytes = 0;
  bool operator==(const JwsDocument&) const = default;
};

void ClearJwsDocument(JwsDocument& doc);
void FreeJwsDocument(JwsDocument& doc);

}  // namespace varnelko
