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
#include "formats/file_io.h"
#include "formats/jww/jww_file.h"
#include "formats/jww/jww_header.h"

namespace varnelko {
namespace {

constexpr std::string_view kImageMarker = "^@BM%temp%";

// Upper-cases ASCII letters and leaves double-byte characters whole, as the
// Japanese locale does.
std::string UpperCp932(std::string_view s) {
  std::string out(s);
  for (size_t i = 0; i < out.size(); ++i) {
    uint8_t b = static_cast<uint8_t>(out[i]);
    if (IsLeadByte(b)) {
      ++i;
    } else if (b >= 'a' && b <= 'z') {
      out[i] = static_cast<char>(b - 'a' + 'A');
    }
  }
  return out;
}

// Marks the first image whose upper-cased name begins with the reference in
// `text` ("^@BM%temp%" + name + "," + placement), if it holds one.
void MarkReferencedImage(std::string_view text, const std::vector<std::string>& upper_names,
                         BoundImages& images) {
  if (text.size() < kImageMarker.size() + 1 || !text.starts_with(kImageMarker)) return;
  size_t comma = text.find(',', kImageMarker.size());
  if (comma == std::string_view::npos) return;
  std::string reference =
      UpperCp932(text.substr(kImageMarker.size(), comma - kImageMarker.size()));
  for (size_t i = 0; i < upper_names.size(); ++i) {
    if (upper_names[i].starts_with(reference)) {
      images.list[i].used = 1;
      return;
    }
  }
}

void MarkReferencedImages(JwwDocument& doc) {
  std::vector<std::string> upper_names;
  upper_names.reserve(doc.images.list.size());
  for (TBindImageType& entry : doc.images.list) {
    entry.used = 0;
    upper_names.push_back(UpperCp932(entry.name));
  }
  if (upper_names.empty()) return;
  for (const TEntMoji& t : doc.store.texts) MarkReferencedImage(t.text, upper_names, doc.images);
  for (const TEntBlockDef& def : doc.store.block_defs) {
    for (const TEntMoji& t : def.members.texts) {
      MarkReferencedImage(t.text, upper_names, doc.images);
    }
  }
  // An entry that carries no image is not written, even when referred to.
  for (TBindImageType& entry : doc.images.list) {
    if (!CarriesImage(entry)) entry.used = 0;
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
  std::string bytes;
  if (BuildJwwBytes(version, doc, bytes, error) && WriteFileAtomically(path, bytes, error)) {
    return true;
  }
  RemoveFailedOutput(path);
  return false;
}

}  // namespace varnelko
