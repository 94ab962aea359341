#include "formats/entity_archive.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "formats/cstring.h"

namespace varnelko {
namespace {

constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kLongClassTag = 0x7FFF;
constexpr uint16_t kClassTagBit = 0x8000;
constexpr uint32_t kLongClassBit = 0x80000000u;
constexpr uint16_t kLongCountTag = 0xFFFF;
constexpr int32_t kPenWidthVersion = 351;
constexpr int32_t kDimensionExtrasVersion = 420;
constexpr uint8_t kPointExtrasPenStyle = 100;
constexpr uint16_t kSolidColorPenColor = 10;
constexpr std::string_view kBlockDefClass = "CDataList";

// Kind codes 1..7 index this table; 0 stays unused.
constexpr std::array<std::string_view, 8> kClassNames = {
    "",          "CDataSen",    "CDataEnko",  "CDataTen",  "CDataMoji",
    "CDataSunpou", "CDataSolid", "CDataBlock"};

// A resolved tag: the entity kind, or 0 for a block definition.
constexpr int32_t kBlockDefKind = 0;

class ArchiveReader {
 public:
  ArchiveReader(ByteReader& in, int32_t version, size_t max_class_name)
      : in_(in),
        max_class_name_(max_class_name),
        has_pen_width_(version >= kPenWidthVersion),
        has_dimension_extras_(version >= kDimensionExtrasVersion),
        header_bytes_(has_pen_width_ ? 15 : 13) {}

  bool ReadAll(EntityStore& store) {
    return ReadList(store) && ReadBlockDefs(store);
  }

 private:
  uint64_t MinEntityBytes() const { return MinBytes(kKindPoint); }
  // Smallest block definition: tag, header, three i32, empty name, count.
  uint64_t MinBlockDefBytes() const { return 2 + header_bytes_ + 12 + 1 + 2; }

  // A list count is an i16, or 0xFFFF and an i32. False for a count the rest
  // of the bytes cannot hold, a negative one included.
  bool ReadCount(uint64_t min_bytes_each, const char* what, uint32_t& count) {
    uint16_t short_count = in_.U16();
    int64_t n = short_count;
    if (short_count == kLongCountTag) n = in_.I32();
    if (!in_.ok()) return false;
    if (n < 0) {
      in_.Fail(std::string(what) + " count " + std::to_string(n) + " is negative");
      return false;
    }
    if (!in_.CanHold(static_cast<uint64_t>(n), min_bytes_each, what)) return false;
    count = static_cast<uint32_t>(n);
    return true;
  }

  // Reads a tag and resolves it to an entity kind (1..7) or, when
  // `block_def` is set, to the block definition class. Anything else fails
  // the load: without object lengths the reader could only go on out of step.
  bool ReadTag(bool block_def, int32_t& kind) {
    size_t tag_offset = in_.offset();
    uint16_t tag = in_.U16();
    if (!in_.ok()) return false;
    if (tag == kNewClassTag) return ReadNewClass(tag_offset, block_def, kind);
    int64_t number;
    if (tag == kLongClassTag) {
      number = static_cast<uint32_t>(in_.I32()) & ~kLongClassBit;
      if (!in_.ok()) return false;
    } else if (tag & kClassTagBit) {
      number = tag - kClassTagBit;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "0x%04X", tag);
      FailAt(tag_offset, std::string("tag ") + hex + " is no class tag");
      return false;
    }
    if (Resolve(number, block_def, kind)) return true;
    FailAt(tag_offset, "class reference " + std::to_string(number) +
                           (block_def ? " names no block definition class"
                                      : " names no known class"));
    return false;
  }

  bool ReadNewClass(size_t tag_offset, bool block_def, int32_t& kind) {
    in_.U16();  // schema number: the writer's version, not interpreted
    uint16_t length = in_.U16();
    if (!in_.ok()) return false;
    if (length > max_class_name_) {
      FailAt(tag_offset, "class name of " + std::to_string(length) +
                              " bytes is longer than the " +
                              std::to_string(max_class_name_) + " the reader holds");
      return false;
    }
    std::string name = in_.Bytes(length);
    if (!in_.ok()) return false;
    int32_t number = next_number_++;
    if (block_def) {
      if (name == kBlockDefClass) {
        block_def_class_ = number;
        kind = kBlockDefKind;
        return true;
      }
    } else {
      for (int32_t k = kKindLine; k <= kKindBlock; ++k) {
        if (name == kClassNames[k]) {
          kind_class_[k] = number;  // a re-introduced name replaces the old number
          kind = k;
          return true;
        }
      }
    }
    FailAt(tag_offset, "unknown class name " + QuoteBytes(name) +
                            (block_def ? " for a block definition" : ""));
    return false;
  }

  bool Resolve(int64_t number, bool block_def, int32_t& kind) const {
    if (number == 0) return false;  // no class ever takes number 0
    if (block_def) {
      kind = kBlockDefKind;
      return number == block_def_class_;
    }
    for (int32_t k = kKindBlock; k >= kKindLine; --k) {
      if (kind_class_[k] == number) {
        kind = k;
        return true;
      }
    }
    return false;
  }

  void FailAt(size_t offset, std::string what) { in_.FailAt(offset, std::move(what)); }

  bool ReadList(EntityList& list) {
    uint32_t count = 0;
    if (!ReadCount(MinEntityBytes(), "entity list", count)) return false;
    list.order.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
      int32_t kind = 0;
      if (!ReadTag(false, kind)) return false;
      ReadEntity(kind, list, i, count);
      ++next_number_;
      if (!in_.ok()) return false;
    }
    return true;
  }

  bool ReadBlockDefs(EntityStore& store) {
    uint32_t count = 0;
    if (!ReadCount(MinBlockDefBytes(), "block definition list", count)) return false;
    for (uint32_t i = 0; i < count; ++i) {
      int32_t kind = 0;
      if (!ReadTag(true, kind)) return false;
      TEntBlockDef& def = store.block_defs.emplace_back();
      ReadHeader(def.header);
      def.number = in_.I32();
      def.referenced = in_.I32();
      def.timestamp = in_.I32();
      if (def.timestamp < 0) {
        // A negative stamp carries eight more bytes; the definition is then
        // stamped with its 1-based place in the list.
        in_.Skip(8);
        def.timestamp = static_cast<int32_t>(i + 1);
      }
      def.name = ReadCString(in_);
      if (!in_.ok()) return false;
      ++next_number_;  // the definition's own number, before its members'
      if (!ReadList(def.members)) return false;
    }
    return true;
  }

  void ReadHeader(TEntHeader& h) {
    h.group = in_.I32();
    h.pen_style = in_.U8();
    h.pen_color = in_.U16();
    h.pen_width = has_pen_width_ ? in_.U16() : 0;
    h.layer = in_.U16();
    h.layer_group = in_.U16();
    h.flags = in_.U16();
  }

  void ReadEntity(int32_t kind, EntityList& list, uint32_t read, uint32_t count) {
    switch (kind) {
      case kKindLine: MakeRoom(list.lines, kind, read, count); list.Add(ReadLine()); break;
      case kKindArc: MakeRoom(list.arcs, kind, read, count); list.Add(ReadArc()); break;
      case kKindPoint: MakeRoom(list.points, kind, read, count); list.Add(ReadPoint()); break;
      case kKindText: MakeRoom(list.texts, kind, read, count); list.Add(ReadText()); break;
      case kKindDimension:
        MakeRoom(list.dimensions, kind, read, count);
        list.Add(ReadDimension());
        break;
      case kKindSolid: MakeRoom(list.solids, kind, read, count); list.Add(ReadSolid()); break;
      case kKindBlock: MakeRoom(list.blocks, kind, read, count); list.Add(ReadBlock()); break;
      default: break;
    }
  }

  // When a kind's array is full, room for the rest of the list is guessed
  // from that kind's share of the objects read so far, so that a large array
  // moves about once instead of doubling a dozen times: touching fresh pages
  // is what a big load spends most of its time on. The guess never exceeds
  // what the bytes left could hold.
  template <typename T>
  void MakeRoom(std::vector<T>& array, int32_t kind, uint32_t read, uint32_t count) {
    constexpr uint32_t kSampleObjects = 256;
    if (array.size() < array.capacity() || read < kSampleObjects) return;
    uint64_t expected = uint64_t{count - read} * (array.size() + 1) / read;
    expected = std::min(expected + expected / 8, in_.remaining() / MinBytes(kind));
    array.reserve(array.size() + std::max<uint64_t>(expected, array.size() / 2 + 1));
  }

  // The fewest bytes an object of `kind` takes in the file, its tag included.
  uint64_t MinBytes(int32_t kind) const {
    const uint64_t h = header_bytes_;
    const uint64_t line = h + 32, point = h + 20, text = h + 70;
    switch (kind) {
      case kKindLine: return 2 + line;
      case kKindArc: return 2 + h + 60;
      case kKindPoint: return 2 + point;
      case kKindText: return 2 + text;
      case kKindDimension:
        return 2 + h + line + text + (has_dimension_extras_ ? 2 + 2 * line + 4 * point : 0);
      case kKindSolid: return 2 + h + 64;
      default: return 2 + h + 44;
    }
  }

  TEntSen ReadLine() {
    TEntSen e;
    ReadHeader(e.header);
    e.start_x = in_.F64();
    e.start_y = in_.F64();
    e.end_x = in_.F64();
    e.end_y = in_.F64();
    return e;
  }

  TEntEnko ReadArc() {
    TEntEnko e;
    ReadHeader(e.header);
    e.center_x = in_.F64();
    e.center_y = in_.F64();
    e.radius = in_.F64();
    e.start_angle = in_.F64();
    e.arc_angle = in_.F64();
    e.tilt_angle = in_.F64();
    e.flatness = in_.F64();
    e.full_circle = in_.I32();
    return e;
  }

  TEntTen ReadPoint() {
    TEntTen e;
    ReadHeader(e.header);
    e.x = in_.F64();
    e.y = in_.F64();
    e.temporary = in_.I32();
    if (e.header.pen_style == kPointExtrasPenStyle) {
      e.code = in_.I32();
      e.angle = in_.F64();
      e.scale = in_.F64();
    }
    return e;
  }

  TEntMoji ReadText() {
    TEntMoji e;
    ReadHeader(e.header);
    e.start_x = in_.F64();
    e.start_y = in_.F64();
    e.end_x = in_.F64();
    e.end_y = in_.F64();
    e.text_type = in_.I32();
    e.size_x = in_.F64();
    e.size_y = in_.F64();
    e.spacing = in_.F64();
    e.angle = in_.F64();
    e.font = ReadCString(in_);
    e.text = ReadCString(in_);
    return e;
  }

  TEntSunpo ReadDimension() {
    TEntSunpo e;
    ReadHeader(e.header);
    e.line = ReadLine();
    e.text = ReadText();
    if (has_dimension_extras_) {
      e.sxf_mode = in_.I16();
      for (TEntSen& aux : e.aux_lines) aux = ReadLine();
      for (TEntTen& point : e.points) point = ReadPoint();
    } else {
      // Older files carry no extras: the parts take the dimension's own
      // header, with zero coordinates, and points are drawn in style 0.
      for (TEntSen& aux : e.aux_lines) CopyEntHeader(e.header, aux.header);
      for (TEntTen& point : e.points) {
        CopyEntHeader(e.header, point.header);
        point.header.pen_style = 0;
      }
    }
    return e;
  }

  TEntSolid ReadSolid() {
    TEntSolid e;
    ReadHeader(e.header);
    for (TSolidCorner& corner : e.corners) {
      corner.x = in_.F64();
      corner.y = in_.F64();
    }
    if (e.header.pen_color == kSolidColorPenColor) e.color = in_.I32();
    return e;
  }

  TEntBlock ReadBlock() {
    TEntBlock e;
    ReadHeader(e.header);
    e.base_x = in_.F64();
    e.base_y = in_.F64();
    e.scale_x = in_.F64();
    e.scale_y = in_.F64();
    e.angle = in_.F64();
    e.block_number = in_.I32();
    return e;
  }

  ByteReader& in_;
  const size_t max_class_name_;
  const bool has_pen_width_;
  const bool has_dimension_extras_;
  const uint64_t header_bytes_;
  // One running number for classes and objects, from 1.
  int64_t next_number_ = 1;
  // The number of the class introduced under each kind's name (0: none yet).
  std::array<int64_t, 8> kind_class_{};
  int64_t block_def_class_ = 0;
};

}  // namespace

bool ReadEntityArchive(ByteReader& in, int32_t version, size_t max_class_name,
                       EntityStore& store) {
  ArchiveReader reader(in, version, max_class_name);
  try {
    return reader.ReadAll(store) && in.ok();
  } catch (const std::bad_alloc&) {
    // Counts are checked against the bytes left, so only a drawing too large
    // for this machine ends here; it fails like any other unreadable file.
    in.Fail("out of memory");
    return false;
  }
}

}  // namespace varnelko
