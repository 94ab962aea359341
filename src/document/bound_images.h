#pragma once
// Images carried inside a JWW drawing (version 700 and later). While a drawing
// is loaded, each image's bytes live in a file of its name in a scratch folder
// private to that document.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace varnelko {

struct TBindImageType {
  std::string name;   // the image's file name as stored in the drawing
  int32_t size = 0;   // its length in bytes in the file
  uint8_t used = 0;   // set by the writer when a text still refers to it
  bool operator==(const TBindImageType&) const = default;
};

struct BoundImages {
  std::vector<TBindImageType> list;
  // Empty until an image is extracted; then a private folder under the
  // system temp directory, owned by this list.
  std::filesystem::path scratch_folder;
};

// Empties the list. The scratch folder is kept.
void ClearBoundImages(BoundImages& images);

// Deletes the scratch file of every entry; a file already gone is passed over.
// The list itself is not changed.
void DeleteBoundImageFiles(const BoundImages& images);

// Creates a fresh private scratch folder for `images` unless it has one.
// Returns false when no folder could be made.
bool EnsureScratchFolder(BoundImages& images);

// Deletes the image files and removes the scratch folder if it is then empty.
void ReleaseScratchFolder(BoundImages& images);

// True when `name` (code page 932 bytes) can safely be a file in the scratch
// folder: not empty, no path separator or drive colon, not "." or "..". The
// byte 0x5C ending a double-byte character is no separator.
bool IsPlainImageName(const std::string& name);

// The scratch file of an image name.
std::filesystem::path ScratchPathOf(const BoundImages& images, const std::string& name);

}  // namespace varnelko
