#include "conversion/conversion_settings.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "support/test_platform.h"

namespace varnelko {
namespace {

using test::ReadFile;
using test::TempDir;

TEST(SettingsFile, OnlyPresentNonEmptyKeysReplaceSlots) {
  TempDir dir;
  auto path = dir.Write("only_c3.set", "[JWW]\nC3=1\nC5=\n");
  ConversionSettings s;
  s.values = {4, 5, 0, 1, 2, 0, 1, 1};
  ASSERT_TRUE(LoadSettingsFile(path, s));
  EXPECT_EQ(s.values, (std::array<int32_t, 8>{4, 5, 1, 1, 2, 0, 1, 1}));
}

TEST(SettingsFile, OddValuesAreKeptAsStored) {
  TempDir dir;
  auto path = dir.Write("odd.set", "[Form]\nF1_X=3\n[JWW]\nC1=20\nC2=-1\nC3=2\nC4=abc\n");
  ConversionSettings s;
  s.values = {1, 1, 1, 1, 1, 1, 1, 1};
  ASSERT_TRUE(LoadSettingsFile(path, s));
  EXPECT_EQ(s.values, (std::array<int32_t, 8>{20, -1, 2, 0, 1, 1, 1, 1}));
}

TEST(SettingsFile, MissingFileIsReportedAndChangesNothing) {
  TempDir dir;
  ConversionSettings s;
  s.C(3) = 1;
  std::string why;
  EXPECT_FALSE(LoadSettingsFile(dir / "none.set", s, &why));
  EXPECT_EQ(why, "cannot open: " + test::MissingFileText());
  EXPECT_EQ(s.C(3), 1);
}

// A file that is there but cannot be read is no file without keys: the
// run would otherwise convert another layer than the file names.
TEST(SettingsFile, UnreadableFileIsReportedWithTheReason) {
  TempDir dir;
  ConversionSettings s;
  std::string why;
  EXPECT_FALSE(LoadSettingsFile(dir.path(), s, &why));
  EXPECT_EQ(why, "is a folder, not a file");
  // A regular file whose reading fails (here the process's own memory at
  // address 0; elsewhere a bad disk sector).
  const std::filesystem::path unreadable = "/proc/self/mem";
  if (test::kOnWindows || !std::filesystem::exists(unreadable)) {
    GTEST_SKIP() << "no " << unreadable;
  }
  EXPECT_FALSE(LoadSettingsFile(unreadable, s, &why));
  EXPECT_EQ(why, "cannot read: Input/output error");
  EXPECT_EQ(s, ConversionSettings{});
}

TEST(SettingsFile, SaveReplacesTheEightKeysAndKeepsTheRest) {
  TempDir dir;
  auto path = dir.Write("mine.set", "[Set]\nFLD1=/x/\n[JWW]\nC1=7\nC9=keep\n");
  ConversionSettings s;
  s.values = {16, -1, 1, 0, 1, 0, 1, 0};
  ASSERT_TRUE(SaveSettingsFile(path, s));
  std::string text = ReadFile(path);
  EXPECT_NE(text.find("FLD1=/x/"), std::string::npos);
  EXPECT_NE(text.find("C9=keep"), std::string::npos);
  EXPECT_EQ(text.find("C1=7"), std::string::npos);
  ConversionSettings back;
  ASSERT_TRUE(LoadSettingsFile(path, back));
  EXPECT_EQ(back, s);
}

TEST(SettingsFile, SaveCreatesANewFile) {
  TempDir dir;
  ConversionSettings s;
  s.values = {0, 3, 1, 1, 0, 0, 0, 0};
  ASSERT_TRUE(SaveSettingsFile(dir / "new.set", s));
  ConversionSettings back;
  back.values = {9, 9, 9, 9, 9, 9, 9, 9};
  ASSERT_TRUE(LoadSettingsFile(dir / "new.set", back));
  EXPECT_EQ(back, s);
}

}  // namespace
}  // namespace varnelko
