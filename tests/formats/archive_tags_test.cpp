// The tag writer's check of tags read from a file against the ones it
// would write itself.
#include "formats/archive_tags.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "formats/byte_writer.h"
#include "formats/entity_archive.h"

namespace varnelko {
namespace {

std::string Bytes(const std::function<void(ByteWriter&)>& put) {
  ByteWriter out;
  put(out);
  return out.Take();
}

// The class number a reference names (0 for a new-class record).
int32_t ReferencedClass(const std::string& tag) {
  uint16_t first = 0;
  std::memcpy(&first, tag.data(), sizeof first);
  if (first == kLongClassTag && tag.size() == 6) {
    uint32_t number = 0;
    std::memcpy(&number, tag.data() + 2, sizeof number);
    return static_cast<int32_t>(number & 0x7FFFFFFF);
  }
  return first == 0xFFFF ? 0 : first - kClassTagBit;
}

// Tags that are not the one written: another class's reference, the long
// form of the same number, the other form's prefix, a record introducing
// the class again, and shortened bytes.
std::vector<std::string> Impostors(const std::string& written, int32_t index) {
  std::vector<std::string> wrong = {
      "",
      written.substr(0, 1),
      Bytes([&](ByteWriter& o) { WriteClassRef(o, index + 1); }),
      Bytes([&](ByteWriter& o) { o.U16(kLongClassTag), o.I32(static_cast<int32_t>(0x80000000u | index)); }),
      Bytes([&](ByteWriter& o) { o.U16(static_cast<uint16_t>(kClassTagBit + (index & 0x7FFF))); }),
      written + "x",
  };
  std::erase(wrong, written);
  return wrong;
}

TEST(ArchiveTagWriter, WritesAgreesWithTheTagsItWrites) {
  // A writer and a checker in step over objects of several classes, also
  // past the numbers that need the long form of a reference.
  const int kinds[] = {kKindLine, kKindLine, kKindArc, kKindLine, kNormBlockDef, kKindArc};
  for (int32_t skipped : {0, 0x7FF0, 0x8000}) {
    ArchiveTagWriter writer(600), checker(600);
    for (int32_t i = 0; i < skipped; ++i) writer.CountObject(), checker.CountObject();
    for (int round = 0; round < 3; ++round) {
      for (int kind : kinds) {
        ByteWriter out;
        writer.Tag(out, kind);
        const std::string written = out.Take();
        const int32_t index = ReferencedClass(written);
        for (const std::string& wrong : Impostors(written, index)) {
          ArchiveTagWriter probe = checker;
          EXPECT_FALSE(probe.Writes(kind, wrong)) << "skipped " << skipped << " kind " << kind;
        }
        EXPECT_TRUE(checker.Writes(kind, written)) << "skipped " << skipped << " kind " << kind;
        writer.CountObject(), checker.CountObject();
      }
    }
  }
}

}  // namespace
}  // namespace varnelko
