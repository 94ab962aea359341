#include <string>
#include <system_error>

#include "formats/byte_writer.h"
#include "formats/entity_archive.h"
#include "platform/file_io.h"
#include "formats/jws/jws_file.h"
#include "formats/jws/jws_header.h"
#include "formats/jws/jws_layout.h"

namespace varnelko {

void WriteJwsHeader(ByteWriter& out, int32_t version, const JwsDocument& doc) {
  // A signature shorter than seven bytes (a figure not loaded from a file)
  // is padded with zero bytes so that the layout keeps its offsets.
  std::string signature = doc.signature.substr(0, kJwsSignatureBytes);
  signature.resize(kJwsSignatureBytes, '\0');
  out.Bytes(signature);
  out.Fill(kJwsFillerByte, kJwsFillerBytes);
  out.I32(version);
  out.F64(doc.leading1);
  out.F64(doc.leading2);
  for (double scale : doc.group_scales) out.F64(scale);
  for (int32_t v : doc.header_ints) out.I32(v);
  for (double v : doc.header_doubles) out.F64(v);
}

bool BuildJwsBytes(int32_t version, const JwsDocument& doc, std::string& out,
                   FormatError* error) {
  const int32_t v = NormalizeJwsVersion(version);
  ByteWriter writer;
  writer.Reserve(kJwsHeaderBytes + EstimateArchiveSize(doc.store));
  WriteJwsHeader(writer, v, doc);
  ArchiveWriteOptions options;
  options.shorten_image_marker = true;
  if (!WriteEntityArchive(writer, v, doc.store, options, error)) return false;
  out = writer.Take();
  return true;
}

bool WriteJwsFile(const std::filesystem::path& path, int32_t version, const JwsDocument& doc,
                  FormatError* error) {
  // A failed write leaves whatever was under the name as it was: it may be
  // the drawing that was loaded.
  std::string bytes;
  return BuildJwsBytes(version, doc, bytes, error) && WriteFileAtomically(path, bytes, error);
}

}  // namespace varnelko
