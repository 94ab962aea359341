// Reading into a reused buffer and writing many pieces through the platform
// module.
#include "platform/file_io.h"

#include <gtest/gtest.h>

#include "platform/folder_entry.h"
#include "support/temp_dir.h"

namespace varnelko {
namespace {

namespace fs = std::filesystem;

std::string Pattern(size_t n, char seed) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>(seed + i * 7 + (i >> 9));
  return s;
}

TEST(ReadWholeFileInto, ReusesItsBufferForFilesLargerAndSmaller) {
  test::TempDir dir;
  FileBuffer buffer;
  PathState state;
  for (size_t size : {size_t{300000}, size_t{10}, size_t{0}, size_t{700001}, size_t{5}}) {
    const std::string bytes = Pattern(size, static_cast<char>(size));
    const fs::path path = dir.Write("f" + std::to_string(size), bytes);
    ASSERT_TRUE(ReadWholeFileInto(path, buffer, state));
    EXPECT_EQ(buffer.view(), bytes) << size;
    EXPECT_TRUE(state.exists);
    EXPECT_TRUE(SameFile(state, LookAtPath(path)));
  }
  FormatError error;
  EXPECT_FALSE(ReadWholeFileInto(dir / "missing", buffer, state, &error));
  EXPECT_NE(error.what.find("cannot open"), std::string::npos);
  EXPECT_TRUE(buffer.view().empty());
  EXPECT_FALSE(ReadWholeFileInto(dir.path(), buffer, state, &error));
  EXPECT_EQ(error.what, "is a folder, not a file");
}

// Hidden while it is written (a leading dot on Linux, the hidden attribute
// on Windows); the finished file under its own name is not.
TEST(WriteTemporarySibling, IsHiddenUntilItTakesItsName) {
  test::TempDir dir;
  fs::path tmp;
  const std::string_view bytes = "bytes";
  ASSERT_TRUE(WriteTemporarySibling(dir / "out.jww", std::span(&bytes, 1), tmp));
  EXPECT_TRUE(ExamineEntry(fs::directory_entry(tmp)).hidden);
  ASSERT_TRUE(WriteFileAtomically(dir / "out.jww", bytes));
  EXPECT_FALSE(ExamineEntry(fs::directory_entry(dir / "out.jww")).hidden);
}

TEST(WriteTemporarySibling, WritesManyAndLargePiecesInOrder) {
  // Pieces around and far above the 256 KB handed to the system per call,
  // empty ones, and more pieces than one call takes.
  test::TempDir dir;
  std::vector<std::string> storage = {Pattern(262144, 1), "", Pattern(1, 2),
                                      Pattern(900000, 3), ""};
  for (int i = 0; i < 150; ++i) storage.push_back(Pattern(static_cast<size_t>(i * 37), 4));
  storage.push_back(Pattern(262143, 5));
  std::vector<std::string_view> pieces(storage.begin(), storage.end());
  std::string expected;
  for (const std::string& s : storage) expected += s;
  fs::path tmp;
  ASSERT_TRUE(WriteTemporarySibling(dir / "out.jww", pieces, tmp));
  EXPECT_EQ(test::ReadFile(tmp), expected);
}

TEST(WriteTemporarySibling, CopiesUnchangedStretchesFromTheFileAsItWasRead) {
  // A source read and patched in memory at a few places, written as a head
  // and spans of it with bytes left out: the output must be the bytes in
  // memory, whether the system copied the unchanged stretches, could not
  // hold the file, or found it changed since it was read.
  constexpr size_t M = kMinSystemCopy;
  enum class Source { kHeld, kNotHeld, kRewritten };
  for (Source how : {Source::kHeld, Source::kNotHeld, Source::kRewritten}) {
    test::TempDir dir;
    const fs::path path = dir.Write("in.jww", Pattern(8 * M + 100, 'a'));
    FileBuffer buffer;
    PathState state;
    HeldFile held;
    ASSERT_TRUE(ReadWholeFileInto(path, buffer, state, nullptr, {},
                                  how == Source::kNotHeld ? nullptr : &held));
    std::span<char> bytes = buffer.bytes();
    for (size_t at : {size_t{10}, 3 * M, 3 * M + 50}) bytes[at] = '!';
    const std::vector<std::pair<size_t, size_t>> unchanged = {{11, 3 * M - 11},
                                                              {3 * M + 51, 5 * M + 49}};
    if (how == Source::kRewritten) dir.Write("in.jww", Pattern(8 * M + 100, 'b'));
    const std::string_view view = buffer.view();
    const std::vector<std::string_view> pieces = {"head", view.substr(0, 2 * M),
                                                  view.substr(2 * M + 4, 4 * M),
                                                  view.substr(6 * M + 4)};
    std::string expected;
    for (std::string_view piece : pieces) expected += piece;
    const SourceCopy source{&held, view, unchanged};
    fs::path tmp;
    ASSERT_TRUE(WriteTemporarySibling(dir / "out.jww", pieces, tmp, nullptr, &source));
    EXPECT_TRUE(test::ReadFile(tmp) == expected) << static_cast<int>(how);
  }
}

TEST(LookAtPath, TellsFoldersFilesAndLinksApart) {
  test::TempDir dir;
  const fs::path file = dir.Write("a", "x");
  EXPECT_FALSE(LookAtPath(dir / "none").exists);
  EXPECT_TRUE(LookAtPath(dir.path()).is_directory);
  const PathState a = LookAtPath(file);
  EXPECT_TRUE(a.exists);
  EXPECT_FALSE(a.is_directory);
  std::error_code ec;
  fs::create_hard_link(file, dir / "hard", ec);
  if (!ec) { EXPECT_TRUE(SameFile(a, LookAtPath(dir / "hard"))); }
  fs::create_symlink(file, dir / "soft", ec);
  if (!ec) { EXPECT_TRUE(SameFile(a, LookAtPath(dir / "soft"))); }
  EXPECT_FALSE(SameFile(a, LookAtPath(dir.path())));
}

}  // namespace
}  // namespace varnelko
