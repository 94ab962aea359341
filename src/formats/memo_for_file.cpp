#include "formats/memo_for_file.h"

#include <memory>

#include "document/text_helpers.h"
#include "formats/file_extension.h"
#include "formats/jww/jww_file.h"
#include "formats/legacy/jwc.h"
#include "formats/legacy/jwk.h"

namespace varnelko {

namespace {

template <typename Header>
std::string JoinedMemo(const Header& header) {
  return header.memo1 + " " + header.memo2;
}

std::string JwcMemo(const std::filesystem::path& path) {
  JwcHeader header;
  return ReadJwcHeader(path, header) ? JoinedMemo(header) : std::string();
}

std::string JwkMemo(const std::filesystem::path& path) {
  JwkHeader header;
  return ReadJwkHeader(path, header) ? JoinedMemo(header) : std::string();
}

std::string JwwMemo(const std::filesystem::path& path) {
  auto doc = std::make_unique<JwwDocument>();  // large tables: keep off the stack
  std::string memo = ReadJwwMemo(path, *doc) ? doc->header.memo : std::string();
  FreeJwwDocument(*doc);
  return memo;
}

bool IsBackupExtension(const std::string& ext) {
  return ext == ".BAK" || ext.compare(0, 3, ".BK") == 0;
}

std::string RawMemo(const std::filesystem::path& path) {
  const std::string ext = UpperCaseExtension(path);
  if (ext == ".JWC") return JwcMemo(path);
  if (ext == ".JWK") return JwkMemo(path);
  if (ext == ".JWW" || ext == ".JW$") return JwwMemo(path);
  if (IsBackupExtension(ext)) {
    // A backup may hold either an older JWC drawing or a JWW drawing.
    if (IsJwcFile(path)) return JwcMemo(path);
    if (IsJwwFile(path)) return JwwMemo(path);
  }
  return {};
}

}  // namespace

std::string MemoForFile(const std::filesystem::path& path) {
  return StripControlChars(RawMemo(path));
}

}  // namespace varnelko
