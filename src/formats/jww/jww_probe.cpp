#include <string>
#include <string_view>

#include "formats/byte_reader.h"
#include "formats/file_io.h"
#include "formats/jww/jww_file.h"
#include "formats/jww/jww_header.h"

namespace varnelko {
namespace {

constexpr std::string_view kJwwSignature = "JwwData.";
// Enough for the memo fields of nearly every drawing; long names need more.
constexpr size_t kMemoPrefixBytes = 64 * 1024;

}  // namespace

bool IsJwwFile(const std::filesystem::path& path, FormatError* unreadable) {
  std::string prefix;
  if (!ReadFilePrefix(path, kJwwSignature.size(), prefix, unreadable)) return false;
  return prefix == kJwwSignature;
}

bool ReadJwwMemo(const std::filesystem::path& path, JwwDocument& doc) {
  // A large drawing is not read whole to show its memo: a prefix is read,
  // and a larger one only when the header's strings run past it.
  for (size_t limit = kMemoPrefixBytes;; limit *= 4) {
    ClearJwwDocument(doc);
    std::string prefix;
    if (!ReadFilePrefix(path, limit, prefix)) return false;
    ByteReader in(prefix);
    ReadJwwMemoFields(in, doc);
    if (in.ok()) return true;
    if (prefix.size() < limit) return false;  // the whole file was there
  }
}

}  // namespace varnelko
