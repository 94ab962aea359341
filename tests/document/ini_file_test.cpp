#include "document/ini_file.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/temp_dir.h"

namespace varnelko {
namespace {

using test::ReadFile;
using test::TempDir;

std::string Read(const std::filesystem::path& ini, std::string_view section, std::string_view key,
                 int size = 512, bool* found = nullptr) {
  std::string out = "stale";
  const bool ok = IniReadStr(section, key, out, size, ini);
  if (found) *found = ok;
  return out;
}

TEST(IniReadStr, CutsValuesAndMatchesNamesWithoutCase) {
  TempDir dir;
  const auto ini = dir.Write("a.ini",
                             "[Form]\r\nF1_X=190\r\n[Set]\r\n"
                             "FLD1=abcdefghijklmnopqrstuvwxyz0123\r\n");
  EXPECT_EQ(Read(ini, "Set", "FLD1", 22), "abcdefghijklmnopqrstu");
  EXPECT_EQ(Read(ini, "set", "fld1", 512), "abcdefghijklmnopqrstuvwxyz0123");
  EXPECT_EQ(Read(ini, "FORM", "f1_x"), "190");
  bool found = true;
  EXPECT_EQ(Read(ini, "Set", "FLD1", 1, &found), "");
  EXPECT_FALSE(found);
  EXPECT_EQ(Read(ini, "Set", "FLD1", 0, &found), "");
  EXPECT_FALSE(found);
}

TEST(IniReadStr, MissingOrEmptyReadsAsNotFound) {
  TempDir dir;
  const auto ini = dir.Write("a.ini",
                             "[JWW]\nC1=\nC2=   \nBare\n; C3=5\n[Other]\nC4=4\n[JWW]\nC5=5\n");
  bool found = true;
  for (std::string_view key : {"C1", "C2", "Bare", "C3", "C4", "Missing"}) {
    EXPECT_EQ(Read(ini, "JWW", key, 22, &found), "") << key;
    EXPECT_FALSE(found) << key;
  }
  // Only the first section of a name counts.
  EXPECT_EQ(Read(ini, "JWW", "C5", 22, &found), "");
  EXPECT_EQ(Read(ini, "Nowhere", "C1", 22, &found), "");
  EXPECT_FALSE(found);
  EXPECT_EQ(Read(dir / "missing.ini", "JWW", "C1", 22, &found), "");
  EXPECT_FALSE(found);
}

TEST(IniReadStr, TrimsBlanksAndQuotesAndAcceptsBothLineEndings) {
  TempDir dir;
  const auto ini = dir.Write("a.ini",
                             "\xEF\xBB\xBF  [ Set ]  \r\n  FLD1 =  C:\\a b\\  \r\n"
                             "Q=\"quoted \"\nS='x'\nHalf=\"open\nUtf=平面図");
  EXPECT_EQ(Read(ini, "Set", "FLD1"), "C:\\a b\\");
  EXPECT_EQ(Read(ini, "Set", "Q"), "quoted ");
  EXPECT_EQ(Read(ini, "Set", "S"), "x");
  EXPECT_EQ(Read(ini, "Set", "Half"), "\"open");
  EXPECT_EQ(Read(ini, "Set", "Utf"), "平面図");
  // Cutting never splits a character: 4 bytes allow one 3-byte character.
  EXPECT_EQ(Read(ini, "Set", "Utf", 5), "平");
}

TEST(IniReadStr, ValueThatIsNoUtf8IsCutAtTheSizeNotLost) {
  // A hand-edited file in code page 932: half-width katakana bytes 0xB1 look
  // like UTF-8 continuation bytes, yet the value must not vanish when cut.
  TempDir dir;
  const std::string kana(30, '\xB1');
  const auto ini = dir.Write("a.ini", "[Set]\r\nFLD1=" + kana + "\r\nMix=ab" + kana + "\r\n");
  bool found = false;
  EXPECT_EQ(Read(ini, "Set", "FLD1", 22, &found), kana.substr(0, 21));
  EXPECT_TRUE(found);
  EXPECT_EQ(Read(ini, "Set", "Mix", 22), "ab" + kana.substr(0, 19));
}

TEST(IniWriteStr, CreatesFileSectionAndKey) {
  TempDir dir;
  const auto ini = dir / "new.ini";
  ASSERT_TRUE(IniWriteStr("Form", "F1_X", "190", ini));
  ASSERT_TRUE(IniWriteStr("Form", "F1_Y", "109", ini));
  ASSERT_TRUE(IniWriteStr("Set", "FLD2", "", ini));
  EXPECT_EQ(ReadFile(ini), "[Form]\nF1_X=190\nF1_Y=109\n\n[Set]\nFLD2=\n");
  bool found = true;
  EXPECT_EQ(Read(ini, "Set", "FLD2", 512, &found), "");
  EXPECT_FALSE(found);
  EXPECT_EQ(Read(ini, "Form", "F1_Y"), "109");
}

TEST(IniWriteStr, ReplacesInPlaceAndLeavesEverythingElseUntouched) {
  TempDir dir;
  const std::string before =
      "; settings\r\n[jww]\r\nc1 = 0   \r\nC2=7\r\n\r\n; about Set\r\n[Set]\r\nFTYP=2";
  const auto ini = dir.Write("a.ini", before);
  ASSERT_TRUE(IniWriteStr("JWW", "C1", "-3", ini));
  EXPECT_EQ(ReadFile(ini),
            "; settings\r\n[jww]\r\nc1 = -3\r\nC2=7\r\n\r\n; about Set\r\n[Set]\r\nFTYP=2");
  ASSERT_TRUE(IniWriteStr("JWW", "C3", "1", ini));
  EXPECT_EQ(ReadFile(ini),
            "; settings\r\n[jww]\r\nc1 = -3\r\nC2=7\r\nC3=1\r\n\r\n; about Set\r\n[Set]\r\nFTYP=2");
  ASSERT_TRUE(IniWriteStr("Set", "FLD1", "/home/u/", ini));  // last line had no line break
  ASSERT_TRUE(IniWriteStr("Comp", "F1P1", "160", ini));
  EXPECT_EQ(ReadFile(ini),
            "; settings\r\n[jww]\r\nc1 = -3\r\nC2=7\r\nC3=1\r\n\r\n; about Set\r\n[Set]\r\n"
            "FTYP=2\r\nFLD1=/home/u/\r\n\r\n[Comp]\r\nF1P1=160\r\n");
  EXPECT_EQ(Read(ini, "JWW", "C1"), "-3");
}

TEST(IniWriteStr, WrittenValuesReadBackWhateverTheFileHeld) {
  const std::string_view contents[] = {
      "",
      "\xEF\xBB\xBF",
      "\n\n",
      "no section=here",
      "[JWW]",
      "[jww]\r\nC1",
      "[JWW]\nC2=1\n[JWW]\nC1=9\n",
      "[Other]\nC1=5\n[JWW]\r\n; C1=old\r\n",
      "[JWW\nC1=broken header\n",
      "[JWW]\rC1=1\r",
  };
  for (std::string_view before : contents) {
    TempDir dir;
    const auto ini = dir.Write("a.ini", before);
    ASSERT_TRUE(IniWriteStr("JWW", "C1", "42", ini)) << before;
    ASSERT_TRUE(IniWriteStr("Set", "FLD1", "/a b/", ini)) << before;
    EXPECT_EQ(Read(ini, "jww", "c1"), "42") << before << " became " << ReadFile(ini);
    EXPECT_EQ(Read(ini, "SET", "fld1"), "/a b/") << before << " became " << ReadFile(ini);
    // Every line that did not hold the key is still there.
    const std::string after = ReadFile(ini);
    for (size_t from = 0, to; from < before.size(); from = to + 1) {
      to = std::min(before.find('\n', from), before.size());
      const std::string_view line = before.substr(from, to - from);
      if (line.find("C1") == std::string_view::npos) {
        EXPECT_NE(after.find(line), std::string::npos) << line << " lost from " << after;
      }
    }
  }
}

TEST(IniWriteStr, BareKeyGainsValueAndEmptyValueKeepsKey) {
  TempDir dir;
  const auto ini = dir.Write("a.ini", "[JWW]\nC1\nC2=5\n");
  ASSERT_TRUE(IniWriteStr("JWW", "C1", "4", ini));
  ASSERT_TRUE(IniWriteStr("JWW", "C2", "", ini));
  EXPECT_EQ(ReadFile(ini), "[JWW]\nC1=4\nC2=\n");
}

TEST(IniWriteStr, RefusesWhatWouldChangeTheFileStructure) {
  TempDir dir;
  const auto ini = dir.Write("a.ini", "[JWW]\nC1=1\n");
  EXPECT_FALSE(IniWriteStr("JWW", "C1", "2\n[Evil]\nX=1", ini));
  EXPECT_FALSE(IniWriteStr("JWW", "C=1", "2", ini));
  EXPECT_FALSE(IniWriteStr("J]W", "C1", "2", ini));
  EXPECT_FALSE(IniWriteStr("", "C1", "2", ini));
  EXPECT_FALSE(IniWriteStr("JWW", " ", "2", ini));
  EXPECT_EQ(ReadFile(ini), "[JWW]\nC1=1\n");
}

TEST(IniWriteStr, UnwritableFileFailsAndKeepsOldContent) {
  TempDir dir;
  EXPECT_FALSE(IniWriteStr("JWW", "C1", "1", dir / "no_such_folder" / "a.ini"));
  // A folder in the file's place cannot be replaced by a file.
  std::filesystem::create_directory(dir / "taken.ini");
  EXPECT_FALSE(IniWriteStr("JWW", "C1", "1", dir / "taken.ini"));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "taken.ini"));
}

}  // namespace
}  // namespace varnelko
