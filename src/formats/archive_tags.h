#pragma once
// The parts of the object archive that the loader, the writer and the
// scan-and-patch conversion share: the entity layout of a version, list
// counts, class tags with their running numbers, entity headers and the
// block definition time stamp. Each rule lives here once.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "document/entities.h"
#include "formats/byte_reader.h"
#include "formats/byte_writer.h"

namespace varnelko {

constexpr int32_t kPenWidthVersion = 351;
constexpr int32_t kDimensionExtrasVersion = 420;
constexpr uint8_t kPointExtrasPenStyle = 100;
constexpr uint16_t kSolidColorPenColor = 10;
constexpr size_t kMaxEntHeaderBytes = 15;

// A class tag is a reference (kClassTagBit + the class number), or
// kLongClassTag and the number as an i32 with its top bit set for the
// numbers that do not fit.
constexpr uint16_t kLongClassTag = 0x7FFF;
constexpr uint16_t kClassTagBit = 0x8000;

// A resolved tag of the block definition list.
constexpr int32_t kBlockDefKind = 0;

// What a version changes in the entity bodies.
struct ArchiveLayout {
  explicit ArchiveLayout(int32_t version)
      : has_pen_width(version >= kPenWidthVersion),
        has_dimension_extras(version >= kDimensionExtrasVersion),
        header_bytes(has_pen_width ? 15 : 13) {}

  // The fewest bytes an object of `kind` takes in the file, its tag included.
  uint64_t MinBytes(int32_t kind) const;
  // Smallest block definition: tag, header, three i32, empty name, count.
  uint64_t MinBlockDefBytes() const { return 2 + header_bytes + 12 + 1 + 2; }

  bool has_pen_width;
  bool has_dimension_extras;
  uint64_t header_bytes;
};

// Reads E1..E7 (the pen width only when the layout has it; 0 otherwise).
// A whole header is taken at once; only a cut one is read field by field, so
// that the failure names the field where the bytes ran out.
inline void ReadEntHeader(ByteReader& in, const ArchiveLayout& layout, TEntHeader& h) {
  if (in.ok() && in.remaining() >= layout.header_bytes) {
    const char* p = in.View(layout.header_bytes).data();
    auto take = [&p](auto& field) {
      std::memcpy(&field, p, sizeof field);
      p += sizeof field;
    };
    take(h.group);
    take(h.pen_style);
    take(h.pen_color);
    if (layout.has_pen_width) {
      take(h.pen_width);
    } else {
      h.pen_width = 0;
    }
    take(h.layer);
    take(h.layer_group);
    take(h.flags);
    return;
  }
  h.group = in.I32();
  h.pen_style = in.U8();
  h.pen_color = in.U16();
  h.pen_width = layout.has_pen_width ? in.U16() : 0;
  h.layer = in.U16();
  h.layer_group = in.U16();
  h.flags = in.U16();
}

// Puts `h` as it is into `out` in the file's field order; returns the bytes
// put (13 or 15).
inline size_t PutEntHeader(uint8_t* out, int32_t version, const TEntHeader& h) {
  uint8_t* p = out;
  auto put = [&p](const auto& v) {
    std::memcpy(p, &v, sizeof v);
    p += sizeof v;
  };
  put(h.group);
  put(h.pen_style);
  put(h.pen_color);
  if (version >= kPenWidthVersion) put(h.pen_width);
  put(h.layer);
  put(h.layer_group);
  put(h.flags);
  return static_cast<size_t>(p - out);
}

// A negative time stamp carries eight more bytes in the file; the definition
// is then stamped with its 1-based place in the list, and that is what a
// writer writes back (always without the extra bytes).
constexpr int32_t kStampExtraBytes = 8;
inline int32_t BlockDefStamp(int32_t stored, size_t position) {
  return stored < 0 ? static_cast<int32_t>(position + 1) : stored;
}

// Reads list counts and class tags, keeping the running number that classes
// and objects share and the class number of each kind.
class ArchiveTagReader {
 public:
  ArchiveTagReader(ByteReader& in, size_t max_class_name)
      : in_(in), max_class_name_(max_class_name) {}

  // A list count is an i16, or 0xFFFF and an i32. False for a count the rest
  // of the bytes cannot hold, a negative one included.
  bool ReadCount(uint64_t min_bytes_each, const char* what, uint32_t& count);

  // Reads a tag and resolves it to an entity kind (1..7) or, when
  // `block_def` is set, to the block definition class. Anything else fails
  // the reader: without object lengths it could only go on out of step.
  bool ReadTag(bool block_def, int32_t& kind);

  // Every object (entity, block definition) takes one number.
  void CountObject() { ++next_number_; }

 private:
  bool ReadNewClass(size_t tag_offset, bool block_def, int32_t& kind);
  bool Resolve(int64_t number, bool block_def, int32_t& kind) const;

  ByteReader& in_;
  const size_t max_class_name_;
  int64_t next_number_ = 1;
  // The number of the class introduced under each kind's name (0: none yet).
  std::array<int64_t, 8> kind_class_{};
  int64_t block_def_class_ = 0;
};

// The class table of one write: classes are numbered afresh for every file.
class ArchiveTagWriter {
 public:
  explicit ArchiveTagWriter(int32_t version) : version_(version) {}

  // The tag ahead of a record of normalisation type 1..8: a new-class
  // record the first time, a class reference afterwards.
  void Tag(ByteWriter& out, int norm_type);
  void CountObject() { ++counter_; }

  // Whether Tag(norm_type) would write exactly `bytes`; the class counts as
  // written afterwards either way, as after Tag. A reference to a class
  // already written, nearly every tag of a file, is checked without
  // writing it.
  bool Writes(int norm_type, std::string_view bytes) {
    const int32_t index = class_index_[norm_type];
    if (index == 0 || index >= kLongClassTag) return WritesSlowly(norm_type, bytes);
    uint16_t tag = 0;
    if (bytes.size() == sizeof tag) std::memcpy(&tag, bytes.data(), sizeof tag);
    return tag == kClassTagBit + index;
  }

 private:
  bool WritesSlowly(int norm_type, std::string_view bytes);

  const int32_t version_;
  int32_t counter_ = 1;
  std::array<int32_t, 9> class_index_{};  // 0: class not written yet
};

}  // namespace varnelko
