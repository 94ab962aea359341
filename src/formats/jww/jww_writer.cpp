// Writing a JWW drawing: header block, object archive and, from version 700,
// the bound images that a text still refers to, from the bytes the document
// holds. The whole file is built in memory and handed to the file system in
// one go.
#include <algorithm>
#include <string>
#include <string_view>

#include "document/text_helpers.h"
#include "formats/cstring.h"
#include "formats/entity_archive.h"
#include "formats/jww/bound_image_refs.h"
#include "platform/file_io.h"
#include "formats/jww/jww_file.h"
#include "formats/jww/jww_header.h"

namespace varnelko {
namespace {

// Sets the used flag of every image that a top-level text or a member text
// of a block definition still refers to.
void MarkReferencedImages(JwwDocument& doc) {
  std::vector<std::string_view> names;
  names.reserve(doc.images.list.size());
  for (const TBindImageType& entry : doc.images.list) names.push_back(entry.name);
  BoundImageRefs refs(names);
  for (const TEntMoji& t : doc.store.texts) refs.See(t.text);
  for (const TEntBlockDef& def : doc.store.block_defs) {
    for (const TEntMoji& t : def.members.texts) refs.See(t.text);
  }
  // An entry that carries no image is not written, even when referred to.
  for (size_t i = 0; i < doc.images.list.size(); ++i) {
    TBindImageType& entry = doc.images.list[i];
    entry.used = refs.used()[i] && CarriesImage(entry);
  }
}

bool WriteBoundImages(ByteWriter& out, JwwDocument& doc, FormatError* error) {
  MarkReferencedImages(doc);
  int32_t count = 0;
  for (const TBindImageType& entry : doc.images.list) count += entry.used;
  out.I32(count);
  for (const TBindImageType& entry : doc.images.list) {
    if (!entry.used) continue;
    if (!WriteCString(out, entry.name, error)) {
      if (error) error->what = "bound image name: " + error->what;
      return false;
    }
    if (entry.data.size() > 0x7FFFFFFF) {
      SetError(error, "bound image " + QuoteBytes(entry.name) + " is too large", out.size());
      return false;
    }
    out.I32(static_cast<int32_t>(entry.data.size()));
    out.Bytes(entry.data);
  }
  return true;
}

// The header block takes under 16 kB besides its memo and names.
size_t EstimateHeaderSize(const JwwDocument& doc) {
  size_t n = 16 * 1024 + doc.header.memo.size();
  for (const TLayer& layer : doc.layers) n += layer.name.size();
  for (const TLayerGroup& group : doc.layer_groups) n += group.name.size();
  for (const TColorExNo& color : doc.color_ex) n += color.name.size();
  for (const TLineTypeExNo& type : doc.line_type_ex) n += type.name.size();
  return n;
}

}  // namespace

bool BuildJwwBytes(int32_t version, JwwDocument& doc, std::string& out, FormatError* error) {
  ByteWriter w;
  size_t images = 0;
  if (version >= 700) {
    for (const TBindImageType& entry : doc.images.list) {
      images += 8 + entry.name.size() + entry.data.size();
    }
  }
  w.Reserve(EstimateHeaderSize(doc) + EstimateArchiveSize(doc.store) + images);
  if (!WriteJwwHeader(w, version, doc, error)) return false;
  if (!WriteEntityArchive(w, version, doc.store, ArchiveWriteOptions{}, error)) return false;
  if (version >= 700 && !WriteBoundImages(w, doc, error)) return false;
  out = w.Take();
  return true;
}

bool WriteJwwFile(const std::filesystem::path& path, int32_t version, JwwDocument& doc,
                  FormatError* error) {
  // A failed write leaves whatever was under the name as it was: it may be
  // the drawing that was loaded.
  std::string bytes;
  return BuildJwwBytes(version, doc, bytes, error) && WriteFileAtomically(path, bytes, error);
}

}  // namespace varnelko
