#include "formats/entity_archive.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "formats/archive_tags.h"
#include "formats/cstring.h"

namespace varnelko {
namespace {

class ArchiveReader {
 public:
  ArchiveReader(ByteReader& in, int32_t version, size_t max_class_name)
      : in_(in), layout_(version), tags_(in, max_class_name) {}

  bool ReadAll(EntityStore& store) {
    return ReadList(store) && ReadBlockDefs(store);
  }

 private:
  bool ReadList(EntityList& list) {
    uint32_t count = 0;
    if (!tags_.ReadCount(layout_.MinBytes(kKindPoint), "entity list", count)) return false;
    list.order.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
      int32_t kind = 0;
      if (!tags_.ReadTag(false, kind)) return false;
      ReadEntity(kind, list, i, count);
      tags_.CountObject();
      if (!in_.ok()) return false;
    }
    return true;
  }

  bool ReadBlockDefs(EntityStore& store) {
    uint32_t count = 0;
    if (!tags_.ReadCount(layout_.MinBlockDefBytes(), "block definition list", count)) {
      return false;
    }
    for (uint32_t i = 0; i < count; ++i) {
      int32_t kind = 0;
      if (!tags_.ReadTag(true, kind)) return false;
      TEntBlockDef& def = store.block_defs.emplace_back();
      ReadHeader(def.header);
      def.number = in_.I32();
      def.referenced = in_.I32();
      def.timestamp = in_.I32();
      if (def.timestamp < 0) in_.Skip(kStampExtraBytes);
      def.timestamp = BlockDefStamp(def.timestamp, i);
      def.name = ReadCString(in_);
      if (!in_.ok()) return false;
      tags_.CountObject();  // the definition's own number, before its members'
      if (!ReadList(def.members)) return false;
    }
    return true;
  }

  void ReadHeader(TEntHeader& h) { ReadEntHeader(in_, layout_, h); }

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
    expected = std::min(expected + expected / 8, in_.remaining() / layout_.MinBytes(kind));
    array.reserve(array.size() + std::max<uint64_t>(expected, array.size() / 2 + 1));
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
    if (layout_.has_dimension_extras) {
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
  const ArchiveLayout layout_;
  ArchiveTagReader tags_;
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
