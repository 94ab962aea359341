#include "conversion/scan_patch.h"

#include <cstring>
#include <memory>

#include "document/bound_images.h"
#include "document/text_helpers.h"
#include "formats/archive_tags.h"
#include "formats/cstring.h"
#include "formats/entity_archive.h"
#include "formats/jws/jws_header.h"
#include "formats/jws/jws_layout.h"
#include "formats/jww/bound_image_refs.h"
#include "formats/jww/jww_header.h"

namespace varnelko {
namespace {

constexpr int32_t kBoundImagesVersion = 700;

// Fixed parts of the bodies after their entity header.
constexpr size_t kLineBytes = 32;
constexpr size_t kArcBytes = 60;
constexpr size_t kPointBytes = 20;
constexpr size_t kPointExtraBytes = 20;
constexpr size_t kTextBytes = 68;  // before the font name and the text
constexpr size_t kSxfModeBytes = 2;
constexpr size_t kSolidBytes = 64;
constexpr size_t kSolidColorBytes = 4;
constexpr size_t kBlockBytes = 44;
constexpr size_t kBlockDefFieldBytes = 8;  // block number, referenced flag

bool Refuse(std::string& why, std::string reason) {
  why = std::move(reason);
  return false;
}

// Walks the entity list and the block definition list, checking each piece
// against what the writer would write and noting the changes.
class ArchivePatcher {
 public:
  ArchivePatcher(std::span<char> bytes, ByteReader& in, int32_t version,
                 size_t max_class_name, const LayerRules& rules, bool figure)
      : bytes_(bytes), in_(in), version_(version), layout_(version), rules_(rules),
        figure_(figure), tags_(in, max_class_name), writer_tags_(version) {}

  bool Walk() {
    span_start_ = unchanged_from_ = in_.offset();
    if (!List(false)) return false;
    uint32_t count = 0;
    if (!Count(layout_.MinBlockDefBytes(), "block definition list", count)) return false;
    for (uint32_t i = 0; i < count; ++i) {
      if (!BlockDef(i)) return false;
    }
    EndSpan(in_.offset(), 0);
    return true;
  }

  // The pieces of the input to write, as (offset, length).
  const std::vector<std::pair<size_t, size_t>>& spans() const { return spans_; }
  // The long stretches left as they were, the rest of the input included
  // (the bound images are copied as they stand).
  std::vector<std::pair<size_t, size_t>> Unchanged() {
    Changed(bytes_.size(), 0);
    return std::move(unchanged_);
  }
  const std::vector<std::string_view>& image_texts() const { return image_texts_; }
  const ConversionCounts& counts() const { return counts_; }
  const std::string& why() const { return why_; }

 private:
  bool Fallback(std::string why) {
    why_ = std::move(why);
    return false;
  }
  bool Unreadable() {
    return Fallback("unreadable: " + (in_.ok() ? std::string("?") : in_.error().Describe()));
  }

  std::string_view Input(size_t offset, size_t length) const {
    return std::string_view(bytes_.data() + offset, length);
  }

  // Writes `length` new bytes over the input at `offset`; the stretch
  // before them is noted as unchanged.
  void Patch(size_t offset, const void* patched, size_t length) {
    std::memcpy(bytes_.data() + offset, patched, length);
    Changed(offset, length);
  }

  void Changed(size_t offset, size_t length) {
    if (offset - unchanged_from_ >= kMinSystemCopy) {
      unchanged_.emplace_back(unchanged_from_, offset - unchanged_from_);
    }
    unchanged_from_ = offset + length;
  }

  // Ends the current span before `offset` and starts the next one after
  // `dropped` bytes that the output leaves out.
  void EndSpan(size_t offset, size_t dropped) {
    if (offset > span_start_) spans_.emplace_back(span_start_, offset - span_start_);
    span_start_ = offset + dropped;
  }

  bool Count(uint64_t min_bytes_each, const char* what, uint32_t& count) {
    size_t at = in_.offset();
    if (!tags_.ReadCount(min_bytes_each, what, count)) return Unreadable();
    scratch_.Clear();
    WriteCount(scratch_, static_cast<int32_t>(count));
    if (scratch_.data() != Input(at, in_.offset() - at)) {
      return Fallback(std::string(what) + " count at " + std::to_string(at) +
                      " is not in the writer's form");
    }
    return true;
  }

  bool Tag(bool block_def, int32_t& kind) {
    size_t at = in_.offset();
    if (!tags_.ReadTag(block_def, kind)) return Unreadable();
    if (!writer_tags_.Writes(block_def ? kNormBlockDef : kind, Input(at, in_.offset() - at))) {
      return Fallback("class tag at " + std::to_string(at) + " is not the one the writer gives");
    }
    return true;
  }

  // Reads a header into `raw` (which decides what the file holds after it)
  // and gives in `stored` the header as the conversion leaves it (which
  // decides what the writer writes after it); the normalised header is
  // written over the file's bytes.
  bool Header(HeaderPlace place, int norm_type, TEntHeader& raw, TEntHeader& stored) {
    size_t at = in_.offset();
    // Worked on in locals and stored once: a header written field by field
    // and read back whole stalls the processor on every entity.
    TEntHeader read, converted;
    ReadEntHeader(in_, layout_, read);
    if (!in_.ok()) return Unreadable();
    converted = read;
    rules_.Apply(place, member_, converted, counts_);
    raw = read;
    stored = converted;
    const TEntHeader written = NormalizeEntHeader(version_, norm_type, converted);
    // The same fields are the same bytes: the file holds the header already.
    if (written == read) return true;
    uint8_t patched[kMaxEntHeaderBytes];
    Patch(at, patched, PutEntHeader(patched, version_, written));
    return true;
  }

  bool String(std::string_view& text) {
    size_t at = in_.offset();
    bool writer_form = false;
    text = ViewCString(in_, writer_form);
    if (!in_.ok()) return Unreadable();
    if (!writer_form) return Fallback("string length at " + std::to_string(at) + " not in the writer's form");
    if (TextNeedsCleaning(text)) return Fallback("string at " + std::to_string(at) + " needs cleaning");
    return true;
  }

  bool List(bool member) {
    member_ = member;
    uint32_t count = 0;
    if (!Count(layout_.MinBytes(kKindPoint), "entity list", count)) return false;
    for (uint32_t i = 0; i < count; ++i) {
      int32_t kind = 0;
      if (!Tag(false, kind) || !Entity(kind)) return false;
      tags_.CountObject();
      writer_tags_.CountObject();
    }
    return true;
  }

  bool Entity(int32_t kind) {
    bool done = false;
    switch (kind) {
      case kKindLine: done = Line(HeaderPlace::kLine); break;
      case kKindArc: done = Plain(HeaderPlace::kArc, kKindArc, kArcBytes); break;
      case kKindPoint: done = Point(HeaderPlace::kPoint); break;
      case kKindText: done = Text(HeaderPlace::kText, true); break;
      case kKindDimension: done = Dimension(); break;
      case kKindSolid: done = Solid(); break;
      case kKindBlock: done = Plain(HeaderPlace::kBlock, kKindBlock, kBlockBytes); break;
      default: return Fallback("unknown kind");
    }
    if (done && !in_.ok()) return Unreadable();
    return done;
  }

  // A header and a body of fixed size.
  bool Plain(HeaderPlace place, int norm_type, size_t body_bytes) {
    TEntHeader raw, stored;
    if (!Header(place, norm_type, raw, stored)) return false;
    in_.Skip(body_bytes);
    return true;
  }

  bool Line(HeaderPlace place) { return Plain(place, kKindLine, kLineBytes); }

  bool Point(HeaderPlace place) {
    TEntHeader raw, stored;
    if (!Header(place, kKindPoint, raw, stored)) return false;
    in_.Skip(kPointBytes);
    const bool in_file = raw.pen_style == kPointExtrasPenStyle;
    if (in_file != (stored.pen_style == kPointExtrasPenStyle)) {
      return Fallback("a point's extra fields would change");
    }
    if (in_file) in_.Skip(kPointExtraBytes);
    return true;
  }

  // `entity_text`: a text of a list, which may name a bound image (a
  // dimension's text never does).
  bool Text(HeaderPlace place, bool entity_text) {
    TEntHeader raw, stored;
    if (!Header(place, kKindText, raw, stored)) return false;
    in_.Skip(kTextBytes);
    std::string_view font, text;
    if (!String(font) || !String(text)) return false;
    if (entity_text && text.starts_with(kImageMarker)) {
      // A figure shortens the marker; a drawing keeps the images it names.
      if (figure_) return Fallback("image marker to shorten");
      image_texts_.push_back(text);
    }
    return true;
  }

  bool Dimension() {
    TEntHeader raw, stored;
    if (!Header(HeaderPlace::kDimension, kKindDimension, raw, stored)) return false;
    if (!Line(HeaderPlace::kDimensionLine) || !Text(HeaderPlace::kDimensionText, false)) {
      return false;
    }
    if (!layout_.has_dimension_extras) return true;
    in_.Skip(kSxfModeBytes);
    for (int i = 0; i < 2; ++i) {
      if (!Line(HeaderPlace::kDimensionLine)) return false;
    }
    for (int i = 0; i < 4; ++i) {
      if (!Point(HeaderPlace::kDimensionPoint)) return false;
    }
    return true;
  }

  // A solid carries its own colour only while its pen colour is 10: a
  // conversion to 9 drops the field.
  bool Solid() {
    TEntHeader raw, stored;
    if (!Header(HeaderPlace::kSolid, kKindSolid, raw, stored)) return false;
    in_.Skip(kSolidBytes);
    const bool in_file = raw.pen_color == kSolidColorPenColor;
    const bool written = stored.pen_color == kSolidColorPenColor;
    if (written && !in_file) return Fallback("a solid would gain its colour field");
    if (in_file) {
      size_t at = in_.offset();
      in_.Skip(kSolidColorBytes);
      if (!written) EndSpan(at, kSolidColorBytes);
    }
    return true;
  }

  bool BlockDef(uint32_t position) {
    int32_t kind = 0;
    if (!Tag(true, kind)) return false;
    member_ = false;
    TEntHeader raw, stored;
    if (!Header(HeaderPlace::kBlockDef, kNormBlockDef, raw, stored)) return false;
    in_.Skip(kBlockDefFieldBytes);
    size_t stamp_at = in_.offset();
    int32_t stamp = in_.I32();
    if (!in_.ok()) return Unreadable();
    if (stamp < 0) {
      // Written back as the definition's place, without the extra bytes.
      int32_t written = BlockDefStamp(stamp, position);
      Patch(stamp_at, &written, sizeof written);
      EndSpan(in_.offset(), kStampExtraBytes);
      in_.Skip(kStampExtraBytes);
    }
    std::string_view name;
    if (!String(name)) return false;
    tags_.CountObject();  // the definition's own number, before its members'
    writer_tags_.CountObject();
    return List(true);
  }

  const std::span<char> bytes_;
  ByteReader& in_;
  const int32_t version_;
  const ArchiveLayout layout_;
  const LayerRules& rules_;
  const bool figure_;
  ArchiveTagReader tags_;
  ArchiveTagWriter writer_tags_;
  ByteWriter scratch_;
  bool member_ = false;
  size_t span_start_ = 0;
  std::vector<std::pair<size_t, size_t>> spans_;
  size_t unchanged_from_ = 0;
  std::vector<std::pair<size_t, size_t>> unchanged_;
  std::vector<std::string_view> image_texts_;
  ConversionCounts counts_;
  std::string why_;
};

// After the walk succeeded: lists the output pieces.
void Finish(std::span<char> bytes, ArchivePatcher& patcher, PatchedFile& out) {
  out.pieces.clear();
  out.pieces.reserve(patcher.spans().size() + 1);
  for (auto [offset, length] : patcher.spans()) {
    out.pieces.push_back(std::string_view(bytes.data() + offset, length));
  }
  out.counts = patcher.counts();
  out.unchanged = patcher.Unchanged();
}

// The bound image section is copied as it stands when the writer would
// write every entry back unchanged: each named, with data, and still
// referred to by a text. Returns the section's
// length, or false with `why`.
bool CheckBoundImages(ByteReader& in, const std::vector<std::string_view>& texts, size_t& length,
                      std::string& why) {
  size_t start = in.offset();
  int32_t count = in.I32();
  if (!in.ok()) return Refuse(why, "unreadable image count");
  if (count < 0) return Refuse(why, "negative image count");
  std::vector<std::string_view> names;
  for (int32_t i = 0; i < count; ++i) {
    bool writer_form = false;
    std::string_view name = ViewCString(in, writer_form);
    int32_t size = in.I32();
    if (!in.ok()) return Refuse(why, "unreadable image entry");
    if (!writer_form) return Refuse(why, "image name length not in the writer's form");
    // An entry the writer drops, or (of negative size) writes with size 0.
    if (!CarriesImage(TBindImageType{std::string(name), size, 0, {}}) || size < 0) {
      return Refuse(why, "empty image entry");
    }
    if (static_cast<size_t>(size) > in.remaining()) return Refuse(why, "truncated image");
    in.Skip(static_cast<size_t>(size));
    names.push_back(name);
  }
  BoundImageRefs refs(names);
  for (std::string_view text : texts) refs.See(text);
  for (uint8_t used : refs.used()) {
    if (!used) return Refuse(why, "an image no text refers to (or a duplicate)");
  }
  length = in.offset() - start;
  return true;
}

}  // namespace

size_t PatchedFile::size() const {
  size_t n = head.size();
  for (std::string_view piece : pieces) n += piece.size();
  return n;
}

bool ScanPatchJww(std::span<char> bytes, const ConversionSettings& settings, PatchedFile& out,
                  std::string& why) {
  const std::string_view input(bytes.data(), bytes.size());
  ByteReader in(input);
  auto header = std::make_unique<JwwDocument>();
  ReadJwwHeader(in, *header);
  if (!in.ok()) return Refuse(why, "unreadable header: " + in.error().Describe());
  const int32_t version = header->header.version;
  ByteWriter head;
  FormatError error;
  if (!WriteJwwHeader(head, version, *header, &error)) {
    return Refuse(why, "header cannot be written: " + error.Describe());
  }
  const LayerRules rules(settings);
  ArchivePatcher patcher(bytes, in, version, kJwwMaxClassName, rules, false);
  if (!patcher.Walk()) return Refuse(why, patcher.why());
  size_t images_at = in.offset(), images_length = 0;
  if (version >= kBoundImagesVersion &&
      !CheckBoundImages(in, patcher.image_texts(), images_length, why)) {
    return false;
  }
  out.head = head.Take();
  Finish(bytes, patcher, out);
  if (images_length) out.pieces.push_back(input.substr(images_at, images_length));
  out.trailing_bytes = in.remaining();
  return true;
}

bool ScanPatchJws(std::span<char> bytes, const ConversionSettings& settings, PatchedFile& out,
                  std::string& why) {
  const std::string_view input(bytes.data(), bytes.size());
  ByteReader in(input);
  JwsDocument header;
  ReadJwsHeader(in, header);
  if (!in.ok()) return Refuse(why, "unreadable header: " + in.error().Describe());
  // A renumbered version changes the schema of every class tag, and 300
  // also the entity headers.
  if (NormalizeJwsVersion(header.version) != header.version) {
    return Refuse(why, "version " + std::to_string(header.version) + " is renumbered");
  }
  ByteWriter head;
  WriteJwsHeader(head, header.version, header);
  const LayerRules rules(settings);
  ArchivePatcher patcher(bytes, in, header.version, kJwsMaxClassName, rules, true);
  if (!patcher.Walk()) return Refuse(why, patcher.why());
  out.head = head.Take();
  Finish(bytes, patcher, out);
  out.trailing_bytes = in.remaining();
  return true;
}

}  // namespace varnelko
