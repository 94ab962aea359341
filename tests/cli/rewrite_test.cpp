// varnelko-cli rewrite: drawings and figures written again at their own
// version come back byte for byte; failures say which file and why, and
// leave no output.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "formats/jws/jws_file.h"
#include "formats/jww/jww_file.h"
#include "support/document_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace varnelko {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::RunCli;
using test::TempDir;

fs::path WriteBuiltDrawing(const TempDir& dir, const char* name, int32_t version, size_t images) {
  test::BuildOptions options;
  options.version = version;
  options.entities = 120;
  options.images = images;
  JwwDocument doc = test::BuildJwwDocument(options);
  EXPECT_TRUE(WriteJwwFile(dir / name, version, doc));
  FreeJwwDocument(doc);
  return dir / name;
}

// One line on stderr that names the file.
void ExpectOneLineAbout(const std::string& err, const fs::path& file) {
  EXPECT_NE(err.find(file.string()), std::string::npos) << err;
  ASSERT_FALSE(err.empty());
  EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
}

TEST(RewriteCommand, DrawingsComeBackByteForByte) {
  TempDir dir;
  for (auto [version, images] : {std::pair{700, 2}, std::pair{600, 0}, std::pair{351, 0},
                                 std::pair{230, 0}}) {
    SCOPED_TRACE(version);
    fs::path in = WriteBuiltDrawing(dir, "in.jww", version, images);
    test::CliResult run = RunCli({"rewrite", in.string(), (dir / "out.jww").string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(ReadFile(dir / "out.jww") == ReadFile(in));
  }
}

TEST(RewriteCommand, WritesForAnotherVersion) {
  TempDir dir;
  fs::path in = WriteBuiltDrawing(dir, "in.jww", 700, 1);
  fs::path old = dir / "old.jww";
  test::CliResult run = RunCli({"rewrite", in.string(), old.string(), "--version", "420"});
  ASSERT_EQ(run.status, 0) << run.err;
  JwwDocument doc;
  FormatError error;
  ASSERT_TRUE(ReadJwwFile(old, doc, &error)) << error.Describe();
  EXPECT_EQ(doc.header.version, 420);
  EXPECT_TRUE(doc.images.list.empty());
  FreeJwwDocument(doc);
  // The older drawing is stable under its own version.
  run = RunCli({"rewrite", old.string(), (dir / "again.jww").string()});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(ReadFile(dir / "again.jww") == ReadFile(old));
}

TEST(RewriteCommand, FiguresTakeTheFigureRoad) {
  TempDir dir;
  test::BuildOptions options;
  options.version = 600;
  JwsDocument fig = test::BuildJwsDocument(options);
  ASSERT_TRUE(WriteJwsFile(dir / "in.jws", 600, fig));
  test::CliResult run = RunCli({"rewrite", (dir / "in.jws").string(), (dir / "out.jws").string()});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(ReadFile(dir / "out.jws") == ReadFile(dir / "in.jws"));

  run = RunCli({"rewrite", (dir / "in.jws").string(), (dir / "v300.jws").string(), "--version",
                "300"});
  EXPECT_EQ(run.status, 0) << run.err;
  JwsDocument back;
  ASSERT_TRUE(ReadJwsFile(dir / "v300.jws", back));
  EXPECT_EQ(back.version, 351);  // figures have no version 300 layout
}

TEST(RewriteCommand, FailuresSayWhichFileAndLeaveNoOutput) {
  TempDir dir;
  fs::path out = dir / "out.jww";
  // A file that is not there.
  test::CliResult run = RunCli({"rewrite", (dir / "missing.jww").string(), out.string()});
  EXPECT_EQ(run.status, 1);
  ExpectOneLineAbout(run.err, dir / "missing.jww");
  EXPECT_FALSE(fs::exists(out));
  // A drawing cut short: the message carries the offset.
  fs::path whole = WriteBuiltDrawing(dir, "whole.jww", 600, 0);
  std::string bytes = ReadFile(whole);
  fs::path cut = dir.Write("cut.jww", bytes.substr(0, bytes.size() / 2));
  run = RunCli({"rewrite", cut.string(), out.string()});
  EXPECT_EQ(run.status, 1);
  ExpectOneLineAbout(run.err, cut);
  EXPECT_NE(run.err.find("offset"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(out));
  // An output folder that does not exist.
  fs::path nowhere = dir / "no-such-folder" / "out.jww";
  run = RunCli({"rewrite", whole.string(), nowhere.string()});
  EXPECT_EQ(run.status, 1);
  ExpectOneLineAbout(run.err, nowhere);
  EXPECT_FALSE(fs::exists(nowhere));
  // A version the reader refuses is refused before anything is written.
  run = RunCli({"rewrite", whole.string(), out.string(), "--version", "219"});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("220, 223, 225, 230, 300, 351, 420, 600, 700"), std::string::npos)
      << run.err;
  EXPECT_FALSE(fs::exists(out));
}

// Writing for an older Jw_cad says what the older version has no room for;
// at the file's own version nothing is said.
TEST(RewriteCommand, AnOlderVersionSaysWhatItLeavesOut) {
  struct Row {
    int32_t from;
    size_t images;
    const char* to;
    std::vector<std::string> said;
  };
  const Row rows[] = {
      {700, 2, "700", {}},
      {700, 2, "600", {"2 bound images"}},
      {600, 0, "300", {"pen widths", "extended colours"}},
      {351, 0, "230", {"sky settings", "pen widths"}},
      {600, 0, "420", {}},
  };
  TempDir dir;
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.from) + " -> " + row.to);
    const fs::path in = WriteBuiltDrawing(dir, "in.jww", row.from, row.images);
    const test::CliResult run =
        RunCli({"rewrite", in.string(), (dir / "out.jww").string(), "--version", row.to});
    EXPECT_EQ(run.status, 0) << run.err;
    if (row.said.empty()) EXPECT_EQ(run.err, "");
    for (const std::string& what : row.said) {
      EXPECT_NE(run.err.find(what), std::string::npos) << run.err;
    }
  }
}

TEST(RewriteCommand, ControlCharactersInNamesAreEscaped) {
  TempDir dir;
  const fs::path whole = WriteBuiltDrawing(dir, "whole.jww", 600, 0);
  for (auto [in, out] : {std::pair{dir / "gone\n\x1b[2K.jww", dir / "out.jww"},
                         std::pair{whole, dir / "no\nfolder" / "out.jww"}}) {
    const test::CliResult run = RunCli({"rewrite", in.string(), out.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.find('\x1b'), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;  // one line
  }
}

// Offset of the first reserved word in a JWW file: signature, version, memo,
// paper size, write layer group and the sixteen layer group blocks.
size_t ReservedWordsOffset(const std::string& file) {
  size_t memo_length = static_cast<uint8_t>(file[12]);
  size_t memo_field = 1 + memo_length;
  if (memo_length == 0xFF) {
    memo_field = 3 + static_cast<uint8_t>(file[13]) + 256 * static_cast<uint8_t>(file[14]);
  }
  return 12 + memo_field + 8 + 16 * 148;
}

TEST(RewriteCommand, RealDrawingsComeBackButForTheReservedWords) {
  fs::path root = test::RealDrawingsFolder();
  if (root.empty() || !fs::is_directory(root / "jww")) {
    GTEST_SKIP() << "no real drawings beside the project";
  }
  TempDir dir;
  int checked = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(root / "jww")) {
    const fs::path& in = entry.path();
    SCOPED_TRACE(in.string());
    fs::path out = dir / "out.jww";
    test::CliResult run = RunCli({"rewrite", in.string(), out.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    std::string original = ReadFile(in), written = ReadFile(out);
    ASSERT_EQ(written.size(), original.size());
    // The writer zeroes the fourteen reserved words and the one after the
    // dimension settings; Jw_cad leaves values in both.
    size_t reserved = ReservedWordsOffset(original);
    std::ostringstream other;
    for (size_t i = 0; i < original.size(); ++i) {
      bool zeroed = (i >= reserved && i < reserved + 56) || (i >= reserved + 76 && i < reserved + 80);
      if (zeroed) {
        EXPECT_EQ(written[i], '\0') << "offset " << i;
      } else if (original[i] != written[i]) {
        other << " " << i << ":" << int(static_cast<uint8_t>(original[i])) << "->"
              << int(static_cast<uint8_t>(written[i]));
      }
    }
    EXPECT_TRUE(other.str().empty()) << "bytes that differ (offset:was->now):" << other.str();
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

}  // namespace
}  // namespace varnelko
