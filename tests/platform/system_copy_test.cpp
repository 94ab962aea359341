// Which parts of an output are copied from the source file by the system.
#include "platform/system_copy.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace varnelko {
namespace {

constexpr size_t M = kMinSystemCopy;

struct SplitCase {
  const char* what;
  std::vector<std::pair<size_t, size_t>> pieces;     // (offset, length) in the source
  std::vector<std::pair<size_t, size_t>> unchanged;  // as the scan lists them
  // The parts expected: (offset, length, from the source).
  std::vector<std::tuple<size_t, size_t, bool>> parts;
};

TEST(SplitForSystemCopy, CopiesOnlyLongUnchangedStretchesOfTheSource) {
  const std::string source(10 * M, 's');
  const std::string other = "head";
  const SplitCase cases[] = {
      {"nothing unchanged", {{0, 10 * M}}, {}, {{0, 10 * M, false}}},
      {"all unchanged", {{0, 10 * M}}, {{0, 10 * M}}, {{0, 10 * M, true}}},
      {"a stretch inside a piece",
       {{0, 10 * M}},
       {{2 * M, 3 * M}},
       {{0, 2 * M, false}, {2 * M, 3 * M, true}, {5 * M, 5 * M, false}}},
      {"a stretch over two pieces, each holding enough of it",
       {{0, 3 * M}, {3 * M, 7 * M}},
       {{M, 4 * M}},
       {{0, M, false}, {M, 2 * M, true}, {3 * M, 2 * M, true}, {5 * M, 5 * M, false}}},
      {"a piece cutting a stretch too short to copy",
       {{0, 2 * M + 10}, {2 * M + 10, M}},
       {{2 * M, 2 * M}},
       {{0, 2 * M + 10, false}, {2 * M + 10, M, true}}},
      {"bytes left out between pieces",
       {{0, 2 * M}, {2 * M + 8, 3 * M}},
       {{0, 6 * M}},
       {{0, 2 * M, true}, {2 * M + 8, 3 * M, true}}},
      {"several stretches in one piece, ending at its end",
       {{M, 9 * M}},
       {{0, 2 * M}, {3 * M, M - 1}, {5 * M, 5 * M}},
       {{M, M, true}, {2 * M, 3 * M, false}, {5 * M, 5 * M, true}}},
      {"empty pieces", {{0, 0}, {4 * M, 0}}, {{0, 10 * M}}, {}},
  };
  for (const SplitCase& c : cases) {
    std::vector<std::string_view> pieces = {other};
    for (auto [offset, length] : c.pieces) pieces.push_back(std::string_view(source).substr(offset, length));
    const SourceCopy copy{nullptr, source, c.unchanged};
    std::vector<OutputPart> parts = SplitForSystemCopy(pieces, copy);
    ASSERT_FALSE(parts.empty()) << c.what;
    // The bytes that are no part of the source come first, from memory.
    EXPECT_EQ(parts[0].bytes.data(), other.data()) << c.what;
    EXPECT_FALSE(parts[0].from_source) << c.what;
    ASSERT_EQ(parts.size(), c.parts.size() + 1) << c.what;
    for (size_t i = 0; i < c.parts.size(); ++i) {
      auto [offset, length, from_source] = c.parts[i];
      EXPECT_EQ(static_cast<size_t>(parts[i + 1].bytes.data() - source.data()), offset)
          << c.what << " part " << i;
      EXPECT_EQ(parts[i + 1].bytes.size(), length) << c.what << " part " << i;
      EXPECT_EQ(parts[i + 1].from_source, from_source) << c.what << " part " << i;
    }
  }
}

}  // namespace
}  // namespace varnelko
