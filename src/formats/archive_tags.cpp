#include "formats/archive_tags.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "formats/entity_archive.h"

namespace varnelko {
namespace {

constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint32_t kLongClassBit = 0x80000000u;
constexpr uint16_t kLongCountTag = 0xFFFF;

// Class names by normalisation type: kind codes 1..7, the block definition
// class is type 8.
constexpr std::array<std::string_view, 9> kClassNames = {
    "",          "CDataSen",    "CDataEnko",  "CDataTen",   "CDataMoji",
    "CDataSunpou", "CDataSolid", "CDataBlock", "CDataList",
};

}  // namespace

uint64_t ArchiveLayout::MinBytes(int32_t kind) const {
  const uint64_t h = header_bytes;
  const uint64_t line = h + 32, point = h + 20, text = h + 70;
  switch (kind) {
    case kKindLine: return 2 + line;
    case kKindArc: return 2 + h + 60;
    case kKindPoint: return 2 + point;
    case kKindText: return 2 + text;
    case kKindDimension:
      return 2 + h + line + text + (has_dimension_extras ? 2 + 2 * line + 4 * point : 0);
    case kKindSolid: return 2 + h + 64;
    default: return 2 + h + 44;
  }
}

bool ArchiveTagReader::ReadCount(uint64_t min_bytes_each, const char* what, uint32_t& count) {
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

bool ArchiveTagReader::ReadTag(bool block_def, int32_t& kind) {
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
    in_.FailAt(tag_offset, std::string("tag ") + hex + " is no class tag");
    return false;
  }
  if (Resolve(number, block_def, kind)) return true;
  in_.FailAt(tag_offset, "class reference " + std::to_string(number) +
                             (block_def ? " names no block definition class"
                                        : " names no known class"));
  return false;
}

bool ArchiveTagReader::ReadNewClass(size_t tag_offset, bool block_def, int32_t& kind) {
  in_.U16();  // schema number: the writer's version, not interpreted
  uint16_t length = in_.U16();
  if (!in_.ok()) return false;
  if (length > max_class_name_) {
    in_.FailAt(tag_offset, "class name of " + std::to_string(length) +
                               " bytes is longer than the " +
                               std::to_string(max_class_name_) + " the reader holds");
    return false;
  }
  std::string_view name = in_.View(length);
  if (!in_.ok()) return false;
  int64_t number = next_number_++;
  if (block_def) {
    if (name == kClassNames[kNormBlockDef]) {
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
  in_.FailAt(tag_offset, "unknown class name " + QuoteBytes(name) +
                             (block_def ? " for a block definition" : ""));
  return false;
}

bool ArchiveTagReader::Resolve(int64_t number, bool block_def, int32_t& kind) const {
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

void ArchiveTagWriter::Tag(ByteWriter& out, int norm_type) {
  int32_t& index = class_index_[norm_type];
  if (index != 0) {
    WriteClassRef(out, index);
    return;
  }
  std::string_view name = kClassNames[norm_type];
  out.U16(kNewClassTag);
  out.U16(static_cast<uint16_t>(version_));  // schema: the version's low 16 bits
  out.U16(static_cast<uint16_t>(name.size()));
  out.Bytes(name);
  index = counter_++;
}

bool ArchiveTagWriter::WritesSlowly(int norm_type, std::string_view bytes) {
  ByteWriter written;
  Tag(written, norm_type);
  return written.data() == bytes;
}

}  // namespace varnelko
