#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/file_rows.h"
#include "desktop/folder_listing.h"
#include "desktop/shell_texts.h"
#include "desktop_fixtures.h"

namespace varnelko::test {
namespace {

TEST(FileRowsTest, LetterCaseAndTextForms) {
  struct Case {
    std::string text, upper;
  };
  const Case cases[] = {
      {"a.jww", "A.JWW"},
      {"ａｂｃ図面ｚ", "ＡＢＣ図面Ｚ"},  // full-width letters have capitals too
      {"αω ёя àþ", "ΑΩ ЁЯ ÀÞ"},
      {"ß÷ÿ", "ß÷ÿ"},  // no one-letter capital, or no letter at all
      {"\xFF\x80x", "\xFF\x80X"},  // bytes that are no UTF-8 stay as they are
  };
  for (const Case& c : cases) EXPECT_EQ(UpperCased(c.text), c.upper) << c.text;

  EXPECT_EQ(UpperExtension("plan.v2.jw$"), ".JW$");
  EXPECT_EQ(UpperExtension("noext"), "");
  EXPECT_EQ(SizeField(5, 8), "       5");
  EXPECT_EQ(SizeField(123456789, 3), "123456789");  // never cut
  EXPECT_EQ(SizeFieldWidth(64, 8), 8);
  EXPECT_EQ(SizeFieldWidth(10, 8), 3);
  EXPECT_EQ(SizeFieldWidth(64, 0), 3);
  EXPECT_EQ(DosTimeText({2024, 3, 9, 7, 5, 59}), "2024/03/09 07:05:58");
  EXPECT_EQ(AttributeLetters(true, true), "A R ");
  EXPECT_EQ(GroupedNumber(0), "0");
  EXPECT_EQ(GroupedNumber(1204), "1,204");
  EXPECT_EQ(GroupedNumber(-1234567), "-1,234,567");
  EXPECT_EQ(FileTypeMask(7), "*");
}

TEST(FileRowsTest, WildcardsMatchRegardlessOfLetterCase) {
  struct Case {
    const char* name;
    const char* mask;
    bool matches;
  };
  const Case cases[] = {
      {"a.JWW", "*.jww", true},   {"a.jww.bak", "*.jww", false}, {"A.JWS", "*.jw?", true},
      {"図面.jwk", "*.jw?", true}, {"a.jw", "*.jw?", false},      {".jww", "*.jww", true},
      {"abc", "*", true},         {"", "*", true},               {"図", "?", true},
      {"a.b.c", "*.*", true},     {"abc", "*.*", false},         {"xaxb", "*a*b", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchesWildcard(c.name, c.mask), c.matches) << c.name << " " << c.mask;
  }
}

TEST(FileRowsTest, SortIsASelectionSortOnCodePageBytes) {
  auto rows = [](std::vector<std::string> names) {
    std::vector<FileRow> out;
    for (std::string& n : names) out.push_back({n, "", "", "", "", ""});
    return out;
  };
  // Kanji by reading, as code page 932 orders them; letter case aside.
  EXPECT_EQ(FileRowOrder(rows({"b", "A", "a", "B"}), 0, false), (std::vector<size_t>{1, 2, 0, 3}));
  EXPECT_EQ(FileRowOrder(rows({"東京", "大阪", "愛知"}), 0, false),
            (std::vector<size_t>{2, 1, 0}));
  EXPECT_EQ(FileRowOrder(rows({"x", "y", "x"}), 0, true), (std::vector<size_t>{1, 0, 2}));
}

TEST(FileRowsTest, SortKeepsTheFirstOfEqualRowsAsASelectionSortDoes) {
  std::vector<FileRow> rows = {{"b", "1"}, {"a", "2"}, {"B", "3"}, {"a", "4"}};
  auto column = [&](int c) {
    std::vector<std::string> texts;
    for (const FileRow& row : rows) texts.push_back(row[c]);
    return texts;
  };
  SortFileRows(rows, 0, false);
  // Not stable, but the same every time.
  EXPECT_EQ(column(1), (std::vector<std::string>{"2", "4", "3", "1"}));
  SortFileRows(rows, 0, true);
  EXPECT_EQ(column(1), (std::vector<std::string>{"3", "1", "2", "4"}));

  // In code page 932, full-width letters come before kana, and level-one
  // kanji follow their readings: 詳 (syou) before 平 (hei) is 0x8FDA < 0x95BD.
  rows = {{"平面図.jww"}, {"詳細図.jww"}, {"あ.jww"}, {"Ａ.jww"}};
  SortFileRows(rows, 0, false);
  EXPECT_EQ(column(0), (std::vector<std::string>{"Ａ.jww", "あ.jww", "詳細図.jww", "平面図.jww"}));
}

TEST(FolderListingTest, HiddenFilesLinksAndFoldersAreLeftOutAndNamesSorted) {
  TempDir temp;
  temp.Write("b.jww", "1");
  temp.Write("A.txt", "12");
  temp.Write(".hidden.jww", "x");
  std::filesystem::create_directory(temp.path() / "sub");
  std::filesystem::create_directory(temp.path() / ".hidden");
  std::vector<std::string> files, folders;
  for (const FolderEntry& e : ListFolder(temp.path(), EntryKind::kFiles)) files.push_back(e.shown);
  for (const FolderEntry& e : ListFolder(temp.path(), EntryKind::kFolders)) folders.push_back(e.shown);
  EXPECT_EQ(files, (std::vector<std::string>{"A.txt", "b.jww"}));
  EXPECT_EQ(folders, (std::vector<std::string>{"sub"}));
  EXPECT_EQ(ListFolder(temp.path(), EntryKind::kFiles, "*.JWW").size(), 1u);
  EXPECT_TRUE(ListFolder(temp.path() / "missing", EntryKind::kFiles).empty());
  EXPECT_EQ(ListFolder(temp.path(), EntryKind::kFiles)[0].size, 2);
}

}  // namespace
}  // namespace varnelko::test
