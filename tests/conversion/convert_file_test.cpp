#include "conversion/convert_file.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/file_io.h"

#include "conversion/drawing_files.h"
#include "support/temp_dir.h"
#include "support/test_platform.h"

namespace varnelko {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;

ConversionSettings AllLayersColorAndStyle() {
  return test::SettingsOf({16, 16, 1, 1, 1, 1, 1, 1});
}

TEST(BackupPathOf, ReplacesTheLastExtension) {
  EXPECT_EQ(BackupPathOf("/o/a.jww"), fs::path("/o/a.BAK"));
  EXPECT_EQ(BackupPathOf("/o/a.jws"), fs::path("/o/a.BAK"));
  EXPECT_EQ(BackupPathOf("/o/a.b.JWW"), fs::path("/o/a.b.BAK"));
  EXPECT_EQ(BackupPathOf("/o/noext"), fs::path("/o/noext.BAK"));
  EXPECT_EQ(BackupPathOf("/o.d/noext"), fs::path("/o.d/noext.BAK"));
  // Cut in the system's own form: on Windows a narrow string would have
  // turned "平面図" into mojibake.
  EXPECT_EQ(BackupPathOf(fs::path(u8"/o/平面図.jww")), fs::path(u8"/o/平面図.BAK"));
}

TEST(ConvertFile, ConvertsAndReportsProgressAndCounts) {
  TempDir dir;
  fs::create_directory(dir / "out");
  test::WriteJwwSample(dir / "a.jww", {.version = 600, .entities = 60});
  const std::string source_bytes = ReadFile(dir / "a.jww");
  std::string progress;
  ConvertResult r = ConvertJwwFile(dir / "a.jww", dir / "out" / "a.jww", AllLayersColorAndStyle(),
                                   [&](const std::string& t) { progress += t; });
  ASSERT_EQ(r.status, ConvertStatus::kConverted) << r.error;
  EXPECT_EQ(progress, "ファイル「" + (dir / "a.jww").string() + "」→「" +
                          (dir / "out" / "a.jww").string() + "」変換中です。");
  EXPECT_GT(r.counts.colors, 0);
  EXPECT_GT(r.counts.styles, 0);
  EXPECT_EQ(ReadFile(dir / "a.jww"), source_bytes);  // the source never changes

  auto back = std::make_unique<JwwDocument>();
  ASSERT_TRUE(ReadJwwFile(dir / "out" / "a.jww", *back));
  for (const TEntSen& e : back->store.lines) {
    EXPECT_EQ(e.header.pen_color, 9);
    EXPECT_EQ(e.header.pen_style, 9);
  }
  EXPECT_EQ(back->header.version, 600);
  FreeJwwDocument(*back);

  // Nothing left to change the second time.
  ConvertResult again = ConvertJwwFile(dir / "out" / "a.jww", dir / "a2.jww",
                                       AllLayersColorAndStyle());
  EXPECT_EQ(again.counts, (ConversionCounts{0, 0}));
}

TEST(ConvertFile, ProgressTextIsUtf8ForCodePage932FileNames) {
  if (!test::kNamesCanBeRawBytes) GTEST_SKIP() << "file names here are always Unicode";
  TempDir dir;
  fs::create_directory(dir / "out");
  const std::string name = "\x95\x5C\x8E\x86.jws";  // "表紙.jws" as unpacked from Windows
  test::WriteJwsSample(dir / name, {.version = 600});
  std::string progress;
  ConvertResult r = ConvertJwsFile(dir / name, dir / "out" / name, AllLayersColorAndStyle(),
                                   [&](const std::string& t) { progress = t; });
  ASSERT_EQ(r.status, ConvertStatus::kConverted) << r.error;
  EXPECT_TRUE(fs::exists(dir / "out" / name));
  EXPECT_NE(progress.find("表紙.jws」→「"), std::string::npos) << progress;
  EXPECT_NE(progress.find("/out/表紙.jws」変換中です。"), std::string::npos) << progress;
}

TEST(ConvertFile, ExistingOutputBecomesTheBackup) {
  TempDir dir;
  fs::create_directory(dir / "out");
  test::WriteJwsSample(dir / "a.jws", {.version = 420});
  dir.Write("out/a.jws", "previous output");
  dir.Write("out/a.BAK", "older backup");
  ASSERT_EQ(ConvertJwsFile(dir / "a.jws", dir / "out" / "a.jws", AllLayersColorAndStyle()).status,
            ConvertStatus::kConverted);
  EXPECT_EQ(ReadFile(dir / "out" / "a.BAK"), "previous output");
  EXPECT_TRUE(IsJwsFile(dir / "out" / "a.jws"));
}

TEST(ConvertFile, DrawingAndFigureOfOneNameShareTheBackup) {
  TempDir dir;
  fs::create_directory(dir / "out");
  test::WriteJwwSample(dir / "a.jww", {.version = 700});
  test::WriteJwsSample(dir / "a.jws", {.version = 700});
  dir.Write("out/a.jww", "old drawing");
  dir.Write("out/a.jws", "old figure");
  ConvertJwwFile(dir / "a.jww", dir / "out" / "a.jww", AllLayersColorAndStyle());
  ConvertJwsFile(dir / "a.jws", dir / "out" / "a.jws", AllLayersColorAndStyle());
  EXPECT_EQ(ReadFile(dir / "out" / "a.BAK"), "old figure");
  EXPECT_TRUE(IsJwwFile(dir / "out" / "a.jww"));
  EXPECT_TRUE(IsJwsFile(dir / "out" / "a.jws"));
}

TEST(ConvertFile, LoadFailureTouchesNothingAndSaysWhy) {
  TempDir dir;
  fs::create_directory(dir / "out");
  test::WriteJwwSample(dir / "full.jww", {.version = 600, .entities = 50});
  std::string bytes = ReadFile(dir / "full.jww");
  auto cut = dir.Write("a.jww", bytes.substr(0, bytes.size() - 100));
  dir.Write("out/a.jww", "previous output");
  ConvertResult r = ConvertJwwFile(cut, dir / "out" / "a.jww", AllLayersColorAndStyle());
  EXPECT_EQ(r.status, ConvertStatus::kLoadFailed);
  EXPECT_NE(r.error.find("at offset"), std::string::npos) << r.error;
  EXPECT_EQ(ReadFile(dir / "out" / "a.jww"), "previous output");
  EXPECT_FALSE(fs::exists(dir / "out" / "a.BAK"));

  auto fig = dir.Write("b.jws", "JwsData and too short");
  EXPECT_EQ(ConvertJwsFile(fig, dir / "out" / "b.jws", AllLayersColorAndStyle()).status,
            ConvertStatus::kLoadFailed);
  EXPECT_FALSE(fs::exists(dir / "out" / "b.jws"));
}

TEST(ConvertFile, WriteFailureLeavesNoOutput) {
  TempDir dir;
  test::WriteJwsSample(dir / "a.jws", {.version = 600});
  ConvertResult r =
      ConvertJwsFile(dir / "a.jws", dir / "missing" / "a.jws", AllLayersColorAndStyle());
  EXPECT_EQ(r.status, ConvertStatus::kWriteFailed);
  EXPECT_FALSE(r.error.empty());
  EXPECT_FALSE(fs::exists(dir / "missing"));
}

TEST(ConvertFile, AFolderUnderTheOutputNameIsNeitherBackedUpNorRemoved) {
  for (bool empty : {true, false}) {
    TempDir dir;
    test::WriteJwsSample(dir / "a.jws", {.version = 600});
    fs::create_directories(dir / "out" / "a.jws");
    if (!empty) dir.Write("out/a.jws/keep.txt", "mine");
    ConvertResult r = ConvertJwsFile(dir / "a.jws", dir / "out" / "a.jws", AllLayersColorAndStyle());
    EXPECT_EQ(r.status, ConvertStatus::kWriteFailed);
    EXPECT_TRUE(fs::is_directory(dir / "out" / "a.jws")) << empty;
    EXPECT_FALSE(fs::exists(dir / "out" / "a.BAK")) << empty;
  }
}

// Every name in a folder, to see that nothing else (a temporary file, a
// backup) was left there.
std::set<std::string> NamesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
  return names;
}

TEST(ConvertFile, ABackupThatCannotBeMadeFailsAndKeepsTheOldOutput) {
  for (bool empty : {true, false}) {
    TempDir dir;
    test::WriteJwsSample(dir / "a.jws", {.version = 600});
    fs::create_directories(dir / "out" / "a.BAK");
    if (!empty) dir.Write("out/a.BAK/keep.txt", "mine");
    dir.Write("out/a.jws", "previous output");
    ConvertResult r = ConvertJwsFile(dir / "a.jws", dir / "out" / "a.jws", AllLayersColorAndStyle());
    EXPECT_EQ(r.status, ConvertStatus::kWriteFailed) << empty;
    EXPECT_NE(r.error.find("a.BAK"), std::string::npos) << r.error;
    EXPECT_EQ(ReadFile(dir / "out" / "a.jws"), "previous output") << empty;
    EXPECT_TRUE(fs::is_directory(dir / "out" / "a.BAK")) << empty;
    EXPECT_EQ(NamesIn(dir / "out"), (std::set<std::string>{"a.BAK", "a.jws"})) << empty;
    if (!empty) { EXPECT_EQ(ReadFile(dir / "out" / "a.BAK" / "keep.txt"), "mine"); }
  }
}

TEST(ConvertFile, NamesNearTheLengthLimitConvert) {
  TempDir dir;
  fs::create_directory(dir / "out");
  const std::string name = std::string(246, 'n') + ".jww";  // 250 bytes
  test::WriteJwwSample(dir / name, {.version = 600, .entities = 5});
  dir.Write("out/" + name, "previous output");
  ConvertResult r = ConvertJwwFile(dir / name, dir / "out" / name, AllLayersColorAndStyle());
  ASSERT_EQ(r.status, ConvertStatus::kConverted) << r.error;
  EXPECT_TRUE(IsJwwFile(dir / "out" / name));
  EXPECT_EQ(ReadFile(dir / "out" / (std::string(246, 'n') + ".BAK")), "previous output");
}

TEST(ConvertFile, WriteErrorsGiveTheSystemsReason) {
  TempDir dir;
  test::WriteJwsSample(dir / "a.jws", {.version = 600});
  ConvertResult missing =
      ConvertJwsFile(dir / "a.jws", dir / "missing" / "a.jws", AllLayersColorAndStyle());
  EXPECT_NE(missing.error.find(test::MissingFileText()), std::string::npos) << missing.error;
  fs::create_directory(dir / "out");
  const std::string too_long = std::string(300, 'x') + ".jws";
  ConvertResult long_name =
      ConvertJwsFile(dir / "a.jws", dir / "out" / too_long, AllLayersColorAndStyle());
  EXPECT_EQ(long_name.status, ConvertStatus::kWriteFailed);
  // Windows words its reason otherwise (and Wine once more otherwise).
  if (!test::kOnWindows) {
    EXPECT_NE(long_name.error.find("File name too long"), std::string::npos) << long_name.error;
  }
  EXPECT_TRUE(fs::is_empty(dir / "out"));
}

TEST(WriteOutputKeepingBackup, WritesPiecesInOrderUnderAShortTemporaryName) {
  TempDir dir;
  const std::string_view pieces[] = {"one ", "", "two"};
  ASSERT_TRUE(WriteOutputKeepingBackup(dir / "a.jww", pieces, nullptr));
  EXPECT_EQ(ReadFile(dir / "a.jww"), "one two");
  ASSERT_TRUE(WriteOutputKeepingBackup(dir / "a.jww", "three", nullptr));
  EXPECT_EQ(ReadFile(dir / "a.BAK"), "one two");
  EXPECT_EQ(NamesIn(dir.path()), (std::set<std::string>{"a.BAK", "a.jww"}));

  EXPECT_TRUE(IsTemporaryFileName(".~vk0123abcd.tmp"));
  EXPECT_FALSE(IsTemporaryFileName(".~vk0123abcg.tmp"));
  EXPECT_FALSE(IsTemporaryFileName("a.jww.tmp-123-4"));
  fs::path tmp;
  const std::string_view bytes[] = {"x"};
  ASSERT_TRUE(WriteTemporarySibling(dir / std::string(250, 'n'), bytes, tmp));
  EXPECT_EQ(tmp.parent_path(), dir.path());
  EXPECT_TRUE(IsTemporaryFileName(tmp.filename().string())) << tmp;
}

// The system refuses to replace an older backup (here an immutable file; in
// practice another user's file in a shared folder): the old output stays.
TEST(WriteOutputKeepingBackup, ABackupTheSystemRefusesKeepsTheOldOutput) {
  TempDir dir;
  dir.Write("a.jww", "previous output");
  const fs::path backup = dir.Write("a.BAK", "older backup");
  const std::string lock = "chattr +i '" + backup.string() + "' 2>/dev/null";
  if (std::system(lock.c_str()) != 0) GTEST_SKIP() << "no immutable files here";
  FormatError error;
  const bool written = WriteOutputKeepingBackup(dir / "a.jww", "new", &error);
  std::system(("chattr -i '" + backup.string() + "'").c_str());
  EXPECT_FALSE(written);
  EXPECT_EQ(error.what, "cannot keep the old output as a.BAK: Operation not permitted");
  EXPECT_EQ(ReadFile(dir / "a.jww"), "previous output");
  EXPECT_EQ(ReadFile(backup), "older backup");
  EXPECT_EQ(NamesIn(dir.path()), (std::set<std::string>{"a.BAK", "a.jww"}));
}

TEST(ConvertFile, RefusesToReplaceItsOwnSource) {
  TempDir dir;
  test::WriteJwsSample(dir / "a.jws", {.version = 600});
  const std::string before = ReadFile(dir / "a.jws");
  fs::create_directory(dir / "link");
  if (!test::MakeFileLink(dir / "a.jws", dir / "link" / "a.jws")) GTEST_SKIP() << "no file link here";
  ConvertResult r = ConvertJwsFile(dir / "a.jws", dir / "link" / "a.jws", AllLayersColorAndStyle());
  EXPECT_EQ(r.status, ConvertStatus::kWriteFailed);
  EXPECT_EQ(r.error, "the output file is the source file itself");  // no byte offset
  EXPECT_EQ(ReadFile(dir / "a.jws"), before);
  EXPECT_FALSE(fs::exists(dir / "a.BAK"));
  EXPECT_FALSE(fs::exists(dir / "link" / "a.BAK"));
}

// Bound images stay in memory: a conversion, successful or failed part-way
// through the images, puts nothing into the temp directory.
TEST(ConvertFile, NoImagesGoToDisk) {
  TempDir dir;
  TempDir tmp_root;
  fs::create_directory(dir / "out");
  test::WriteJwwSample(dir / "img.jww", {.version = 700, .entities = 10, .images = 3});
  std::string bytes = ReadFile(dir / "img.jww");
  auto cut = dir.Write("cut.jww", bytes.substr(0, bytes.size() - 50));

  ConvertResult ok, failed;
  {
    test::TempFolderOverride temp(tmp_root.path());
    ok = ConvertJwwFile(dir / "img.jww", dir / "out" / "img.jww", AllLayersColorAndStyle());
    failed = ConvertJwwFile(cut, dir / "out" / "cut.jww", AllLayersColorAndStyle());
  }

  EXPECT_EQ(ok.status, ConvertStatus::kConverted) << ok.error;
  EXPECT_EQ(failed.status, ConvertStatus::kLoadFailed);
  EXPECT_TRUE(fs::is_empty(tmp_root.path()));
  // The converted drawing still carries its images.
  auto back = std::make_unique<JwwDocument>();
  ASSERT_TRUE(ReadJwwFile(dir / "out" / "img.jww", *back));
  EXPECT_EQ(back->images.list.size(), 3u);
  FreeJwwDocument(*back);
}

}  // namespace
}  // namespace varnelko
