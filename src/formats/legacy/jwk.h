#pragma once
// Older JWK figures: only read far enough for their memo.
#include <array>
#include <filesystem>
#include <string>

namespace varnelko {

struct JwkHeader {
  std::array<std::string, 2> lines;  // 200 bytes each
  std::string signature;             // bytes 0..39
  std::string memo1, memo2;          // bytes 40..71 and 72..103
};

void ClearJwkHeader(JwkHeader& header);
void FreeJwkHeader(JwkHeader& header);
bool ReadJwkHeader(const std::filesystem::path& path, JwkHeader& header);

}  // namespace varnelko
