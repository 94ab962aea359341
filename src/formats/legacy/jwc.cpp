#include "formats/legacy/jwc.h"

#include <string_view>

#include "platform/file_io.h"
#include "formats/legacy/legacy_header.h"

namespace varnelko {

namespace {

constexpr std::string_view kJwcSignature = "jw_cad(c)data.......";

}  // namespace

void ClearJwcHeader(JwcHeader& header) { header = JwcHeader{}; }

void FreeJwcHeader(JwcHeader& header) { ClearJwcHeader(header); }

bool IsJwcFile(const std::filesystem::path& path) {
  std::string prefix;
  if (!ReadFilePrefix(path, kJwcSignature.size(), prefix)) return false;
  // Taken as text up to the first zero byte, so a zero byte fails the test.
  return prefix == kJwcSignature;
}

bool ReadJwcHeader(const std::filesystem::path& path, JwcHeader& header) {
  ClearJwcHeader(header);
  // The signature is not tested: a caller chose this reader by extension.
  return ReadLegacyLines(path, header.lines, header.signature, header.memo1, header.memo2);
}

}  // namespace varnelko
