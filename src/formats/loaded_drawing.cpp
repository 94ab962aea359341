#include "formats/loaded_drawing.h"

#include <exception>

#include "formats/file_extension.h"
#include "platform/file_io.h"
#include "formats/jws/jws_file.h"
#include "formats/jww/jww_file.h"

namespace varnelko {
namespace {

bool IsBackupExtension(const std::string& ext) {
  return ext == ".BAK" || ext.starts_with(".BK");
}

constexpr std::string_view kJwwSignature = "JwwData.";
constexpr std::string_view kJwsSignature = "JwsData";

const std::string kNoText;
const BoundImages kNoImages;

}  // namespace

LoadedDrawing::~LoadedDrawing() {
  if (jww_) FreeJwwDocument(*jww_);
}

bool LoadedDrawing::Load(const std::filesystem::path& path, FormatError* error) {
  try {
    return LoadUnguarded(path, error);
  } catch (const std::exception& e) {
    // This file fails; `info` goes on with the next one.
    SetError(error, std::string("cannot load: ") + e.what());
    return false;
  }
}

bool LoadedDrawing::LoadUnguarded(const std::filesystem::path& path, FormatError* error) {
  std::string start;
  if (!CanOpenFile(path, error)) return false;
  if (!ReadFilePrefix(path, kJwwSignature.size(), start, error)) return false;
  // The signature decides; a figure's extension without a figure's signature
  // still goes to the figure loader, which says what is wrong.
  const bool jww = start.starts_with(kJwwSignature);
  if (!jww && (start.starts_with(kJwsSignature) || UpperCaseExtension(path) == ".JWS")) {
    jws_ = std::make_unique<JwsDocument>();
    return ReadJwsFile(path, *jws_, error);
  }
  // The JWW loader reads any bytes as a drawing; without the signature its
  // complaint would be about some field far into the file.
  if (!jww) {
    SetError(error, "not a JWW drawing or JWS figure (no \"JwwData.\" or \"JwsData\" signature)");
    return false;
  }
  jww_ = std::make_unique<JwwDocument>();
  return ReadJwwFile(path, *jww_, error);
}

const std::string& LoadedDrawing::signature() const {
  return jws_ ? jws_->signature : jww_->header.signature;
}

int32_t LoadedDrawing::version() const { return jws_ ? jws_->version : jww_->header.version; }

const std::string& LoadedDrawing::memo() const { return jws_ ? kNoText : jww_->header.memo; }

const EntityStore& LoadedDrawing::store() const { return jws_ ? jws_->store : jww_->store; }

const BoundImages& LoadedDrawing::images() const { return jws_ ? kNoImages : jww_->images; }

// The reader refuses a folder ("is a folder, not a file") as any other
// path that is no regular file.
bool CanOpenFile(const std::filesystem::path& path, FormatError* error) {
  std::string first_byte;
  return ReadFilePrefix(path, 1, first_byte, error);
}

bool IsMemoOnlyFile(const std::filesystem::path& path) {
  const std::string ext = UpperCaseExtension(path);
  return ext == ".JWC" || ext == ".JWK" || IsBackupExtension(ext);
}

std::string MemoOnlyFormat(const std::filesystem::path& path) {
  const std::string ext = UpperCaseExtension(path);
  if (ext == ".JWC") return "jwc";
  if (ext == ".JWK") return "jwk";
  return "backup";
}

}  // namespace varnelko
