#pragma once
// Older JWC drawings: only recognised and read far enough for their memo.
#include <array>
#include <filesystem>
#include <string>

namespace varnelko {

struct JwcHeader {
  std::array<std::string, 4> lines;  // 200 bytes each
  std::string signature;             // bytes 0..39
  std::string memo1, memo2;          // bytes 40..71 and 72..103
};

void ClearJwcHeader(JwcHeader& header);
void FreeJwcHeader(JwcHeader& header);
bool IsJwcFile(const std::filesystem::path& path);
bool ReadJwcHeader(const std::filesystem::path& path, JwcHeader& header);

}  // namespace varnelko
