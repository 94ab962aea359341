#include "platform/path_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "support/temp_dir.h"
#include "support/test_platform.h"

namespace varnelko {
namespace {
namespace fs = std::filesystem;

// The fault this guards against: on Windows a std::string path is read in
// the ANSI code page, so a Japanese name named another file, or none.
TEST(PathText, JapaneseNamesSurviveTheTripThroughTheFileSystem) {
  test::TempDir dir;
  const std::string name = "平面図 (コピー).jww";
  EXPECT_EQ(PathFromUtf8(name), fs::path(u8"平面図 (コピー).jww"));
  const fs::path path = dir.path() / PathFromUtf8(name);
  std::ofstream(path) << "x";
  ASSERT_TRUE(fs::exists(path));
  std::vector<std::string> listed;
  for (const auto& entry : fs::directory_iterator(dir.path())) {
    listed.push_back(PathToUtf8(entry.path().filename()));
  }
  EXPECT_EQ(listed, std::vector<std::string>{name});
  const std::string separator(1, static_cast<char>(fs::path::preferred_separator));
  EXPECT_EQ(PathToUtf8(path), PathToUtf8(dir.path()) + separator + name);
}

// Reports show one kind of separator: the system's, whatever was typed.
TEST(PathText, SeparatorsAreTheSystemsOwn) {
  struct Row {
    const char* given;
    const char* on_linux;
    const char* on_windows;
  };
  const Row rows[] = {
      {"rel/a.jww", "rel/a.jww", "rel\\a.jww"},
      {"/out/", "/out/", "\\out\\"},
      {"図面/out/", "図面/out/", "図面\\out\\"},
      {"Z:/tmp\\x.jws", "Z:/tmp\\x.jws", "Z:\\tmp\\x.jws"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(PathToUtf8(PathFromUtf8(row.given)),
              test::kOnWindows ? row.on_windows : row.on_linux);
  }
}

// Windows takes a path past MAX_PATH only in its "\\?\" form, which the
// system no longer tidies: it must come absolute, resolved and with
// backslashes. A shorter path is handed over as it was.
TEST(LongPathForm, IsGivenOnlyToPathsTooLongForThePlainForm) {
  const std::string long_part(300, 'p');
  struct Row {
    std::string given;
    std::string on_windows;  // Linux takes every path as it is
  };
  const Row rows[] = {
      {"C:\\a\\b.jww", "C:\\a\\b.jww"},
      {"C:/" + long_part + "/x/../y.jww", "\\\\?\\C:\\" + long_part + "\\y.jww"},
      {"\\\\server\\share\\" + long_part, "\\\\?\\UNC\\server\\share\\" + long_part},
      {"\\\\?\\C:\\" + long_part + "\\..", "\\\\?\\C:\\" + long_part + "\\.."},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(PathToUtf8(LongPathForm(PathFromUtf8(row.given))),
              test::kOnWindows ? row.on_windows : PathToUtf8(PathFromUtf8(row.given)))
        << row.given;
  }
}

TEST(PathText, RawCodePage932PartsAreShownDecoded) {
  if (!test::kNamesCanBeRawBytes) GTEST_SKIP() << "file names here are always Unicode";
  // A folder with a UTF-8 name holding a file unpacked with its code page
  // 932 name ("表紙": its second byte is 0x5C, which is no separator here).
  const std::string raw = "/図面/\x95\x5C\x8E\x86.jww";
  EXPECT_EQ(PathToUtf8(fs::path(raw)), "/図面/表紙.jww");
  // Such a name given on the command line still names its file.
  EXPECT_EQ(PathFromUtf8(raw), fs::path(raw));
}

}  // namespace
}  // namespace varnelko
