#include <fstream>
#include <string>
#include <system_error>

#include "formats/byte_reader.h"
#include "formats/cstring.h"
#include "formats/entity_archive.h"
#include "formats/file_io.h"
#include "formats/jww/jww_file.h"
#include "formats/jww/jww_header.h"

namespace varnelko {
namespace {

constexpr int32_t kBoundImagesVersion = 700;

// Writes one image's bytes to its scratch file with a single write. The
// stream opens through the path, so a Japanese name works on Windows too.
bool WriteScratchFile(const std::filesystem::path& path, std::string_view bytes) {
  bool written = false;
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    written = file && file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) &&
              file.flush();
  }
  if (written) return true;
  std::error_code ec;
  std::filesystem::remove(path, ec);
  return false;
}

bool ExtractImage(ByteReader& in, size_t entry_offset, const TBindImageType& entry,
                  BoundImages& images) {
  // An entry without a name carries no data, whatever its size says.
  if (entry.name.empty()) return true;
  if (!IsPlainImageName(entry.name)) {
    // Nothing is ever written outside the scratch folder.
    in.FailAt(entry_offset,
              "bound image name " + QuoteBytes(entry.name) + " is not a plain file name");
    return false;
  }
  if (entry.size == 0) return true;
  // A negative size carries no data but still leaves an empty file.
  size_t size = entry.size > 0 ? static_cast<size_t>(entry.size) : 0;
  if (size > in.remaining()) {
    in.Fail("truncated: bound image " + QuoteBytes(entry.name) + " needs " +
            std::to_string(size) + " bytes, " + std::to_string(in.remaining()) + " left");
    return false;
  }
  size_t data_offset = in.offset();
  if (!EnsureScratchFolder(images)) {
    in.Fail("cannot create a scratch folder for bound images");
    return false;
  }
  if (!WriteScratchFile(ScratchPathOf(images, entry.name), in.View(size))) {
    in.FailAt(data_offset, "cannot write bound image " + QuoteBytes(entry.name) + " to " +
                               images.scratch_folder.string());
    return false;
  }
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
    size_t entry_offset = in.offset();
    TBindImageType entry;
    entry.name = ReadCString(in);
    entry.size = in.I32();
    if (!in.ok()) return false;
    // Listed before it is written, so that a failed load deletes its file.
    images.list.push_back(entry);
    if (!ExtractImage(in, entry_offset, images.list.back(), images)) return false;
  }
  return in.ok();
}

bool Finish(ByteReader& in, JwwDocument& doc, FormatError* error) {
  if (in.ok()) return true;
  SetError(error, in.error().what, in.error().offset);
  // A failed load leaves no extracted images behind.
  ReleaseScratchFolder(doc.images);
  return false;
}

}  // namespace

bool ReadJwwBytes(std::string_view bytes, JwwDocument& doc, FormatError* error) {
  FreeJwwDocument(doc);
  ByteReader in(bytes);
  ReadJwwHeader(in, doc);
  if (in.ok()) ReadEntityArchive(in, doc.header.version, kJwwMaxClassName, doc.store);
  if (in.ok() && doc.header.version >= kBoundImagesVersion) ReadBoundImages(in, doc.images);
  return Finish(in, doc, error);
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
