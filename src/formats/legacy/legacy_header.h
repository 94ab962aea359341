#pragma once
// JWC drawings and JWK figures begin with text lines of 200 bytes; the first
// holds the signature area and the two memo fields.
#include <array>
#include <filesystem>
#include <string>

#include "platform/file_io.h"

namespace varnelko {

constexpr size_t kLegacyLineBytes = 200;

// Reads N lines of 200 bytes and cuts the signature (bytes 0..39) and memo
// fields (40..71, 72..103) from the first. False when the file cannot be
// read or is shorter than the lines; the outputs are then left empty.
template <size_t N>
bool ReadLegacyLines(const std::filesystem::path& path, std::array<std::string, N>& lines,
                     std::string& signature, std::string& memo1, std::string& memo2) {
  std::string bytes;
  if (!ReadFilePrefix(path, N * kLegacyLineBytes, bytes)) return false;
  if (bytes.size() < N * kLegacyLineBytes) return false;
  for (size_t i = 0; i < N; ++i) lines[i] = bytes.substr(i * kLegacyLineBytes, kLegacyLineBytes);
  signature = lines[0].substr(0, 40);
  memo1 = lines[0].substr(40, 32);
  memo2 = lines[0].substr(72, 32);
  return true;
}

}  // namespace varnelko
