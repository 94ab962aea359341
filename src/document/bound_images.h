#pragma once
// Images carried inside a JWW drawing (version 700 and later). Each image's
// bytes are held in the document from loading to writing; nothing goes to
// disk on the way. An image name is just bytes from the drawing.
#include <cstdint>
#include <string>
#include <vector>

namespace varnelko {

struct TBindImageType {
  std::string name;   // the image's file name as stored in the drawing
  int32_t size = 0;   // its length in bytes as stored in the file
  uint8_t used = 0;   // set by the writer when a text still refers to it
  std::string data;   // the image's bytes (none for an empty name or a size of 0 or less)
  bool operator==(const TBindImageType&) const = default;
};

struct BoundImages {
  std::vector<TBindImageType> list;
};

// Empties the list.
void ClearBoundImages(BoundImages& images);

// Whether a writer may write the entry: it has a name and a size other than
// 0. An entry of negative size is an image of no bytes.
bool CarriesImage(const TBindImageType& entry);

}  // namespace varnelko
