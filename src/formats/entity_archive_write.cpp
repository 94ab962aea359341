// Writing the object archive: class tags numbered afresh for every file,
// normalised entity headers, cleaned strings.
#include <array>
#include <string>
#include <string_view>

#include "document/text_helpers.h"
#include "formats/archive_tags.h"
#include "formats/cstring.h"
#include "formats/entity_archive.h"
#include "formats/jww/bound_image_refs.h"

namespace varnelko {
namespace {

constexpr std::string_view kShortImageMarker = "^@BM";

bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }

// Extended line types (31..62) of lines and arcs as the nearest basic one,
// for versions that know only the basic ones.
int MapOldStyle(int style) {
  switch (style) {
    case 31: return 1;
    case 32: return 4;
    case 33: return 3;
    case 34: return 6;
    case 35: case 36: return 8;
    case 37: return 2;
    case 38: return 5;
    case 39: return 7;
    case 40: case 41: return 6;
    case 42: case 43: return 8;
    case 44: case 45: return 17;
    default: return InRange(style, 46, 62) ? 1 : style;
  }
}

// Extended colours (101..356) as the nearest basic one, likewise.
int MapOldColor(int color) {
  static constexpr std::array<int, 16> kFirst = {2, 8, 3, 6, 4, 5, 1, 2,
                                                 5, 8, 4, 3, 6, 5, 2, 2};
  if (InRange(color, 101, 116)) return kFirst[color - 101];
  return InRange(color, 117, 356) ? 2 : color;
}

bool StyleIsValid(int norm_type, int style) {
  switch (norm_type) {
    case 1:
    case 2:
      return InRange(style, 1, 9) || InRange(style, 11, 19) || InRange(style, 31, 62);
    case 3: return style == 1 || style == 100;
    case 4: return InRange(style, 1, 9);
    default: return true;
  }
}

bool ColorIsValid(int norm_type, int color) {
  if (norm_type >= 7) return true;
  int top_basic = norm_type == 6 ? 10 : 9;  // a solid's 10 means "explicit colour"
  return InRange(color, 1, top_basic) || InRange(color, 101, 356);
}

// Upper bound of the bytes a list takes, so that the output grows once.
size_t EstimateListSize(const EntityList& list) {
  // The count, a long tag per entry and the eight new-class records.
  size_t n = 6 + list.order.size() * 6 + 8 * 20;
  n += list.lines.size() * 48 + list.arcs.size() * 80 + list.points.size() * 56;
  n += list.dimensions.size() * 470 + list.solids.size() * 88 + list.blocks.size() * 60;
  for (const TEntMoji& t : list.texts) n += 90 + t.font.size() + t.text.size();
  for (const TEntSunpo& d : list.dimensions) n += d.text.font.size() + d.text.text.size();
  return n;
}

class ArchiveWriter {
 public:
  ArchiveWriter(ByteWriter& out, int32_t version, const ArchiveWriteOptions& options,
                FormatError* error)
      : out_(out), version_(version), options_(options), error_(error), tags_(version) {}

  bool Write(const EntityStore& store) {
    WriteCount(out_, static_cast<int32_t>(store.order.size()));
    if (!List(store, "entity list")) return false;
    WriteCount(out_, static_cast<int32_t>(store.block_defs.size()));
    for (size_t d = 0; d < store.block_defs.size(); ++d) {
      if (!BlockDef(store.block_defs[d], d)) return false;
    }
    return true;
  }

 private:
  bool BlockDef(const TEntBlockDef& def, size_t position) {
    Tag(kNormBlockDef);
    WriteEntHeader(out_, version_, kNormBlockDef, def.header);
    out_.I32(def.number);
    out_.I32(def.referenced);
    // A negative time stamp would announce eight more bytes to a reader,
    // which this writer never writes.
    out_.I32(BlockDefStamp(def.timestamp, position));
    std::string where = "block definition " + std::to_string(position + 1);
    if (!String(def.name, where + " name")) return false;
    WriteCount(out_, static_cast<int32_t>(def.members.order.size()));
    tags_.CountObject();  // the definition's own number, taken before its members
    return List(def.members, where);
  }

  // The entries of a list whose count is already written.
  bool List(const EntityList& list, const std::string& where) {
    for (size_t i = 0; i < list.order.size(); ++i) {
      if (!Entity(list, list.order[i])) {
        if (error_) error_->what = where + " entry " + std::to_string(i + 1) + ": " + error_->what;
        return false;
      }
      tags_.CountObject();  // the object's own number
    }
    return true;
  }

  template <typename T>
  static const T* At(const std::vector<T>& array, int32_t index) {
    return index >= 0 && static_cast<size_t>(index) < array.size() ? &array[index] : nullptr;
  }

  // Tag and body of one entry. False for a reference to a missing record or
  // a string too long for the format.
  bool Entity(const EntityList& list, const TEntRef& ref) {
    if (EntityBody(list, ref)) return true;
    if (error_ && error_->what.empty()) {
      SetError(error_, "kind " + std::to_string(ref.kind) + " index " +
                           std::to_string(ref.index) + " names no record",
               out_.size());
    }
    return false;
  }

  bool EntityBody(const EntityList& list, const TEntRef& ref) {
    switch (ref.kind) {
      case kKindLine: return Body(At(list.lines, ref.index), &ArchiveWriter::Line, 1);
      case kKindArc: return Body(At(list.arcs, ref.index), &ArchiveWriter::Arc, 2);
      case kKindPoint: return Body(At(list.points, ref.index), &ArchiveWriter::Point, 3);
      case kKindText: return Body(At(list.texts, ref.index), &ArchiveWriter::TopText, 4);
      case kKindDimension:
        return Body(At(list.dimensions, ref.index), &ArchiveWriter::Dimension, 5);
      case kKindSolid: return Body(At(list.solids, ref.index), &ArchiveWriter::Solid, 6);
      case kKindBlock: return Body(At(list.blocks, ref.index), &ArchiveWriter::Block, 7);
      default: return false;
    }
  }

  template <typename T>
  bool Body(const T* record, bool (ArchiveWriter::*write)(const T&), int norm_type) {
    if (!record) return false;
    Tag(norm_type);
    return (this->*write)(*record);
  }

  void Tag(int norm_type) { tags_.Tag(out_, norm_type); }

  bool String(std::string_view text, const std::string& what) {
    std::string storage;
    return CString(CleanedForWrite(text, storage), what);
  }

  bool CString(std::string_view text, const std::string& what) {
    if (WriteCString(out_, text, error_)) return true;
    if (error_) error_->what = what + ": " + error_->what;
    return false;
  }

  bool Line(const TEntSen& e) {
    WriteEntHeader(out_, version_, 1, e.header);
    out_.F64(e.start_x), out_.F64(e.start_y), out_.F64(e.end_x), out_.F64(e.end_y);
    return true;
  }

  bool Arc(const TEntEnko& e) {
    WriteEntHeader(out_, version_, 2, e.header);
    out_.F64(e.center_x), out_.F64(e.center_y), out_.F64(e.radius);
    out_.F64(e.start_angle), out_.F64(e.arc_angle), out_.F64(e.tilt_angle);
    out_.F64(e.flatness);
    out_.I32(e.full_circle);
    return true;
  }

  bool Point(const TEntTen& e) {
    WriteEntHeader(out_, version_, 3, e.header);
    out_.F64(e.x), out_.F64(e.y);
    out_.I32(e.temporary);
    if (e.header.pen_style == kPointExtrasPenStyle) {
      out_.I32(e.code);
      out_.F64(e.angle), out_.F64(e.scale);
    }
    return true;
  }

  // A text of the entity list or of a block definition; only these carry
  // image references, so only these get the figure format's short marker.
  bool TopText(const TEntMoji& e) { return Text(e, options_.shorten_image_marker); }

  bool Text(const TEntMoji& e, bool shorten_marker) {
    WriteEntHeader(out_, version_, 4, e.header);
    out_.F64(e.start_x), out_.F64(e.start_y), out_.F64(e.end_x), out_.F64(e.end_y);
    out_.I32(e.text_type);
    out_.F64(e.size_x), out_.F64(e.size_y), out_.F64(e.spacing), out_.F64(e.angle);
    if (!String(e.font, "font name")) return false;
    std::string storage;
    std::string_view text = CleanedForWrite(e.text, storage);
    if (shorten_marker && text.starts_with(kImageMarker)) {
      std::string shortened(kShortImageMarker);
      shortened += text.substr(kImageMarker.size());
      return CString(shortened, "text");
    }
    return CString(text, "text");
  }

  bool Dimension(const TEntSunpo& e) {
    WriteEntHeader(out_, version_, 5, e.header);
    Line(e.line);
    if (!Text(e.text, false)) return false;
    if (version_ < kDimensionExtrasVersion) return true;  // older files end a dimension here
    out_.I16(e.sxf_mode);
    for (const TEntSen& aux : e.aux_lines) Line(aux);
    for (const TEntTen& p : e.points) Point(p);
    return true;
  }

  bool Solid(const TEntSolid& e) {
    WriteEntHeader(out_, version_, 6, e.header);
    for (const TSolidCorner& c : e.corners) out_.F64(c.x), out_.F64(c.y);
    if (e.header.pen_color == kSolidColorPenColor) out_.I32(e.color);
    return true;
  }

  bool Block(const TEntBlock& e) {
    WriteEntHeader(out_, version_, 7, e.header);
    out_.F64(e.base_x), out_.F64(e.base_y), out_.F64(e.scale_x), out_.F64(e.scale_y);
    out_.F64(e.angle);
    out_.I32(e.block_number);
    return true;
  }

  ByteWriter& out_;
  const int32_t version_;
  const ArchiveWriteOptions& options_;
  FormatError* error_;
  ArchiveTagWriter tags_;
};

}  // namespace

void WriteCount(ByteWriter& out, int32_t n) {
  if (CountHasShortForm(n)) {
    out.U16(static_cast<uint16_t>(n));
  } else {
    out.U16(0xFFFF);
    out.I32(n);
  }
}

void WriteClassRef(ByteWriter& out, int32_t class_index) {
  if (class_index < kLongClassTag) {
    out.U16(static_cast<uint16_t>(kClassTagBit + class_index));
  } else {
    out.U16(kLongClassTag);
    out.I32(static_cast<int32_t>(0x80000000u | static_cast<uint32_t>(class_index)));
  }
}

TEntHeader NormalizeEntHeader(int32_t version, int norm_type, TEntHeader h) {
  int style = h.pen_style;
  int color = h.pen_color;
  if (version < kDimensionExtrasVersion) {  // before the extended styles and colours
    if (norm_type <= 2) style = MapOldStyle(style);
    if (norm_type <= 6) color = MapOldColor(color);
  }
  if (!StyleIsValid(norm_type, style)) style = 1;
  if (!ColorIsValid(norm_type, color)) color = 2;
  h.pen_style = static_cast<uint8_t>(style);
  h.pen_color = static_cast<uint16_t>(color);
  if (h.layer > 15) h.layer = 0;
  if (h.layer_group > 15) h.layer_group = 0;
  if (h.pen_width > 30000) h.pen_width = 0;
  return h;
}

void WriteEntHeader(ByteWriter& out, int32_t version, int norm_type, const TEntHeader& header) {
  uint8_t bytes[kMaxEntHeaderBytes];
  size_t n = PutEntHeader(bytes, version, NormalizeEntHeader(version, norm_type, header));
  out.Bytes(std::string_view(reinterpret_cast<const char*>(bytes), n));
}

size_t EstimateArchiveSize(const EntityStore& store) {
  size_t n = EstimateListSize(store);
  for (const TEntBlockDef& def : store.block_defs) {
    n += 64 + def.name.size() + EstimateListSize(def.members);
  }
  return n;
}

bool WriteEntityArchive(ByteWriter& out, int32_t version, const EntityStore& store,
                        const ArchiveWriteOptions& options, FormatError* error) {
  out.Reserve(out.size() + EstimateArchiveSize(store));
  FormatError local;  // entry errors are built up from the innermost failure
  if (ArchiveWriter(out, version, options, &local).Write(store)) return true;
  if (error) *error = std::move(local);
  return false;
}

}  // namespace varnelko
