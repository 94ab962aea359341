#include <string>

#include "formats/byte_reader.h"
#include "formats/entity_archive.h"
#include "platform/file_io.h"
#include "formats/jws/jws_file.h"
#include "formats/jws/jws_header.h"
#include "formats/jws/jws_layout.h"

namespace varnelko {

void ReadJwsHeader(ByteReader& in, JwsDocument& doc) {
  // The signature is kept as read and not compared: the probe decides
  // whether a file is a figure.
  doc.signature = in.Bytes(kJwsSignatureBytes);
  in.Skip(kJwsFillerBytes);
  doc.version = in.I32();
  doc.leading1 = in.F64();
  doc.leading2 = in.F64();
  for (double& scale : doc.group_scales) scale = in.F64();
  for (int32_t& v : doc.header_ints) v = in.I32();
  for (double& v : doc.header_doubles) v = in.F64();
}

bool ReadJwsBytes(std::string_view bytes, JwsDocument& doc, FormatError* error) {
  ClearJwsDocument(doc);
  ByteReader in(bytes);
  ReadJwsHeader(in, doc);
  // Figures carry nothing after the block definitions, whatever the version:
  // no bound images, and trailing bytes are not read.
  bool read = in.ok() && ReadEntityArchive(in, doc.version, kJwsMaxClassName, doc.store);
  if (!read || !in.ok()) {
    if (in.ok()) in.Fail("the entity archive could not be read");
    SetError(error, in.error().what, in.error().offset);
    return false;
  }
  doc.trailing_bytes = in.remaining();
  return true;
}

bool ReadJwsFile(const std::filesystem::path& path, JwsDocument& doc, FormatError* error) {
  ClearJwsDocument(doc);
  std::string bytes;
  if (!ReadWholeFile(path, bytes, error)) return false;
  return ReadJwsBytes(bytes, doc, error);
}

}  // namespace varnelko
