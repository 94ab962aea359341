#include <string>
#include <utility>

#include "formats/byte_reader.h"
#include "formats/cstring.h"
#include "formats/entity_archive.h"
#include "platform/file_io.h"
#include "formats/jww/jww_file.h"
#include "formats/jww/jww_header.h"

namespace varnelko {
namespace {

constexpr int32_t kBoundImagesVersion = 700;

// Keeps the entry's bytes; an entry without a name, or of size 0, carries
// none.
bool ReadImageData(ByteReader& in, TBindImageType& entry) {
  if (entry.name.empty()) return true;
  // A negative size is no image of no bytes but a size that does not fit
  // (0xFFFFFFF0 would be read as -16).
  if (entry.size < 0) {
    in.FailAt(in.offset() - 4, "bound image " + QuoteBytes(entry.name) + " has the size " +
                                   std::to_string(static_cast<uint32_t>(entry.size)) +
                                   ", which does not fit");
    return false;
  }
  if (entry.size == 0) return true;
  const auto size = static_cast<size_t>(entry.size);
  if (size > in.remaining()) {
    in.Fail("truncated: bound image " + QuoteBytes(entry.name) + " needs " +
            std::to_string(size) + " bytes, " + std::to_string(in.remaining()) + " left");
    return false;
  }
  entry.data = in.View(size);
  return true;
}

// The image count, then per image its name, its size and its bytes.
bool ReadBoundImages(ByteReader& in, BoundImages& images) {
  ClearBoundImages(images);
  int32_t count = in.I32();
  // The smallest entry is an empty name and a size.
  if (count > 0 && !in.CanHold(static_cast<uint64_t>(count), 5, "bound image list")) {
    return false;
  }
  for (int32_t i = 0; i < count && in.ok(); ++i) {
    TBindImageType entry;
    entry.name = ReadCString(in);
    entry.size = in.I32();
    if (!in.ok() || !ReadImageData(in, entry)) return false;
    images.list.push_back(std::move(entry));
  }
  return in.ok();
}

bool Finish(ByteReader& in, FormatError* error) {
  if (in.ok()) return true;
  SetError(error, in.error().what, in.error().offset);
  return false;
}

}  // namespace

bool ReadJwwBytes(std::string_view bytes, JwwDocument& doc, FormatError* error) {
  FreeJwwDocument(doc);
  ByteReader in(bytes);
  ReadJwwHeader(in, doc);
  if (in.ok()) ReadEntityArchive(in, doc.header.version, kJwwMaxClassName, doc.store);
  if (in.ok() && doc.header.version >= kBoundImagesVersion) ReadBoundImages(in, doc.images);
  doc.trailing_bytes = in.remaining();
  return Finish(in, error);
}

bool ReadJwwFile(const std::filesystem::path& path, JwwDocument& doc, FormatError* error) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes, error)) {
    FreeJwwDocument(doc);
    return false;
  }
  return ReadJwwBytes(bytes, doc, error);
}

}  // namespace varnelko
