#include <string>

#include "formats/file_io.h"
#include "formats/jws/jws_file.h"
#include "formats/jws/jws_layout.h"

namespace varnelko {

bool IsJwsFile(const std::filesystem::path& path, FormatError* unreadable) {
  std::string prefix;
  if (!ReadFilePrefix(path, kJwsSignatureBytes, prefix, unreadable)) return false;
  // Exactly these seven bytes; a zero byte among them cannot match.
  return prefix == kJwsSignature;
}

}  // namespace varnelko
