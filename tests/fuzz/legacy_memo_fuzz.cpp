// Feeds arbitrary files to the memo readers of the file list: the JWC and JWK
// header readers and MemoForFile. The first input byte picks the file's
// extension, and so the reader; the rest is the file. Whatever the bytes,
// each reader must return without crashing, fill its header either wholly or
// not at all, and give a memo free of control bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "document/text_helpers.h"
#include "formats/legacy/jwc.h"
#include "formats/legacy/jwk.h"
#include "formats/legacy/legacy_header.h"
#include "formats/memo_for_file.h"
#include "support/temp_dir.h"

namespace {

using namespace varnelko;

// Upper and lower case alike, backups of both kinds and one the list ignores.
constexpr std::string_view kExtensions[] = {".jwc", ".JWK", ".jwk", ".BAK", ".bk3",
                                            ".JWC", ".jww", ".JW$", ".Bak", ".txt"};

const test::TempDir& Scratch() {
  static const test::TempDir dir;  // removed when the fuzzer exits
  return dir;
}

// A header read succeeds exactly when the file holds all its lines; then every
// field has its full width, otherwise every field is empty.
template <typename Header>
void CheckHeader(bool ok, const Header& header, size_t file_size) {
  const size_t need = header.lines.size() * kLegacyLineBytes;
  if (ok != (file_size >= need)) std::abort();
  for (const std::string& line : header.lines) {
    if (line.size() != (ok ? kLegacyLineBytes : 0)) std::abort();
  }
  if (header.signature.size() != (ok ? 40u : 0u)) std::abort();
  if (header.memo1.size() != (ok ? 32u : 0u) || header.memo2.size() != (ok ? 32u : 0u)) {
    std::abort();
  }
}

void ReadLegacyHeaders(const std::filesystem::path& path, size_t file_size) {
  JwcHeader jwc;
  CheckHeader(ReadJwcHeader(path, jwc), jwc, file_size);
  FreeJwcHeader(jwc);
  JwkHeader jwk;
  CheckHeader(ReadJwkHeader(path, jwk), jwk, file_size);
  FreeJwkHeader(jwk);
  IsJwcFile(path);
}

// The memo is already clean: cleaning it again changes nothing. A JWC or JWK
// memo is two 32-byte fields and a blank at most.
void ReadMemo(const std::filesystem::path& path, std::string_view ext) {
  const std::string memo = MemoForFile(path);
  if (StripControlChars(memo) != memo) std::abort();
  const bool legacy = ext == ".jwc" || ext == ".JWC" || ext == ".JWK" || ext == ".jwk";
  if (legacy && memo.size() > 65) std::abort();
  if (ext == ".txt" && !memo.empty()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view ext = kExtensions[data[0] % std::size(kExtensions)];
  const std::string_view file(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::filesystem::path path = Scratch().Write("memo" + std::string(ext), file);
  ReadLegacyHeaders(path, file.size());
  ReadMemo(path, ext);
  std::error_code ec;
  std::filesystem::remove(path, ec);
  return 0;
}
