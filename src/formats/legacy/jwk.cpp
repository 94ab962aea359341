#include "formats/legacy/jwk.h"

#include "formats/legacy/legacy_header.h"

namespace varnelko {

void ClearJwkHeader(JwkHeader& header) { header = JwkHeader{}; }

void FreeJwkHeader(JwkHeader& header) { ClearJwkHeader(header); }

bool ReadJwkHeader(const std::filesystem::path& path, JwkHeader& header) {
  ClearJwkHeader(header);
  return ReadLegacyLines(path, header.lines, header.signature, header.memo1, header.memo2);
}

}  // namespace varnelko
