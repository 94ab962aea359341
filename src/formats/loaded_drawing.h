#pragma once
// Loads a JWW drawing or a JWS figure for the inspecting commands and views,
// choosing the loader by extension and signature.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "document/jws_document.h"
#include "document/jww_document.h"
#include "formats/format_error.h"

namespace varnelko {

// One loaded file, bound images' bytes included.
class LoadedDrawing {
 public:
  LoadedDrawing() = default;
  ~LoadedDrawing();
  LoadedDrawing(const LoadedDrawing&) = delete;
  LoadedDrawing& operator=(const LoadedDrawing&) = delete;

  // False with the reason when the file cannot be read or loaded, also when
  // loading throws (memory exhausted by a huge file, say).
  bool Load(const std::filesystem::path& path, FormatError* error);

  bool is_jws() const { return jws_ != nullptr; }
  const char* format() const { return is_jws() ? "jws" : "jww"; }
  const std::string& signature() const;
  int32_t version() const;
  // Raw code page 932 bytes; a JWS figure has none.
  const std::string& memo() const;
  const EntityStore& store() const;
  // Empty for a JWS figure.
  const BoundImages& images() const;
  // The loaded document: exactly one of them is set after a successful load.
  const JwwDocument* jww() const { return jww_.get(); }
  const JwsDocument* jws() const { return jws_.get(); }

 private:
  bool LoadUnguarded(const std::filesystem::path& path, FormatError* error);

  std::unique_ptr<JwwDocument> jww_;
  std::unique_ptr<JwsDocument> jws_;
};

// False, with a reason, when `path` names a folder or cannot be opened.
bool CanOpenFile(const std::filesystem::path& path, FormatError* error);

// Backup copies and the legacy formats are only read as far as their memo.
bool IsMemoOnlyFile(const std::filesystem::path& path);

// "jwc", "jwk" or "backup", for IsMemoOnlyFile files.
std::string MemoOnlyFormat(const std::filesystem::path& path);

}  // namespace varnelko
