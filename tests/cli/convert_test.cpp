#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>

#include "formats/jws/jws_file.h"
#include "formats/jww/jww_file.h"
#include "platform/path_text.h"
#include "support/document_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "support/test_platform.h"

namespace varnelko {
namespace {

namespace fs = std::filesystem;
using test::CliResult;
using test::ReadFile;
using test::TempDir;

CliResult RunConvert(const TempDir&, std::vector<std::string> args) {
  args.insert(args.begin(), "convert");
  return test::RunCli(args);
}

// A source folder: two drawings, a figure, a damaged drawing, a file with a
// drawing's extension but not its signature, and a file of another type.
struct Sources {
  TempDir dir;
  fs::path src = dir / "src";
  fs::path out = dir / "out";
  Sources() {
    fs::create_directories(src);
    fs::create_directories(out);
    for (auto [name, version] : {std::pair{"b.jww", 700}, std::pair{"a.JWW", 351}}) {
      auto doc = std::make_unique<JwwDocument>(
          test::BuildJwwDocument({.version = version, .entities = 80}));
      EXPECT_TRUE(WriteJwwFile(src / name, version, *doc));
      FreeJwwDocument(*doc);
    }
    JwsDocument fig = test::BuildJwsDocument({.version = 420, .entities = 40});
    EXPECT_TRUE(WriteJwsFile(src / "c.jws", 420, fig));
    std::string whole = ReadFile(src / "b.jww");
    dir.Write("src/d.jww", whole.substr(0, whole.size() * 2 / 3));
    dir.Write("src/e.jww", "not a drawing at all");
    dir.Write("src/f.txt", "notes");
  }
  std::map<std::string, std::string> Snapshot(const fs::path& folder) const {
    std::map<std::string, std::string> m;
    for (const auto& e : fs::directory_iterator(folder)) m[e.path().filename().string()] = ReadFile(e.path());
    return m;
  }
};

size_t CountLines(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

// Japanese names go through the arguments, the report and the backup
// unchanged; on Windows they pass through UTF-16 and the console's UTF-8.
TEST(ConvertCommand, JapaneseNamesSurviveArgumentsReportAndBackup) {
  TempDir dir;
  const fs::path source = dir.path() / u8"平面図.jww", out = dir.path() / u8"出力";
  fs::copy_file(fs::path(VARNELKO_SOURCE_DIR) / "tests" / "data" / "random" / u8"平面図.jww", source);
  fs::create_directory(out);
  const std::vector<std::string> args = {"-o", PathToUtf8(out), "--color", PathToUtf8(source)};
  CliResult first = RunConvert(dir, args);
  ASSERT_EQ(first.status, 0) << first.out << first.err;
  EXPECT_NE(first.out.find(PathToUtf8(out / u8"平面図.jww") + " ("), std::string::npos)
      << first.out;
  CliResult second = RunConvert(dir, args);
  ASSERT_EQ(second.status, 0) << second.out << second.err;
  EXPECT_EQ(ReadFile(out / u8"平面図.BAK"), ReadFile(out / u8"平面図.jww"));
}

TEST(ConvertCommand, ReportsEveryDrawingAndFailsWhenOneFailed) {
  Sources s;
  auto before = s.Snapshot(s.src);
  CliResult run = RunConvert(s.dir, {"-o", s.out.string(), "--group", "all", "--layer", "all",
                                  "--color", "--linetype", "--jobs", "2", s.src.string()});
  EXPECT_EQ(run.status, 1) << run.out << run.err;
  // Sorted by name; f.txt is not a drawing name and is not taken from the folder.
  EXPECT_EQ(CountLines(run.out), 6u) << run.out;
  EXPECT_NE(run.out.find("converted  " + (s.src / "a.JWW").string()), std::string::npos);
  EXPECT_LT(run.out.find("a.JWW"), run.out.find("b.jww"));
  EXPECT_NE(run.out.find("failed     " + (s.src / "d.jww").string() + ": load failed: "),
            std::string::npos);
  EXPECT_NE(run.out.find("skipped    " + (s.src / "e.jww").string() + " (not a JWW/JWS drawing)"),
            std::string::npos);
  EXPECT_NE(run.out.find("3 converted, 1 skipped, 1 failed"), std::string::npos);
  EXPECT_EQ(run.out.find("f.txt"), std::string::npos);
  EXPECT_TRUE(s.Snapshot(s.src) == before) << "sources must never change";
  EXPECT_FALSE(fs::exists(s.out / "d.jww"));
  EXPECT_FALSE(fs::exists(s.out / "e.jww"));

  auto doc = std::make_unique<JwwDocument>();
  ASSERT_TRUE(ReadJwwFile(s.out / "b.jww", *doc));
  for (const TEntSen& e : doc->store.lines) {
    EXPECT_EQ(e.header.pen_color, 9);
    EXPECT_EQ(e.header.pen_style, 9);
  }
  FreeJwwDocument(*doc);
  JwsDocument fig;
  ASSERT_TRUE(ReadJwsFile(s.out / "c.jws", fig));
  for (const TEntTen& p : fig.store.points) EXPECT_EQ(p.header.pen_color, 9);
}

TEST(ConvertCommand, SettingsFileFirstThenExplicitOptions) {
  Sources s;
  s.dir.Write("mine.set", "[JWW]\nC1=16\nC2=16\nC3=1\nC4=1\n");
  CliResult run = RunConvert(s.dir, {"-o", s.out.string(), "--settings", (s.dir / "mine.set").string(),
                                  "--no-color", "--layer", "A", (s.src / "a.JWW").string(),
                                  (s.src / "c.jws").string()});
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_NE(run.out.find("(0 colours, "), std::string::npos) << run.out;
  JwsDocument before, after;
  ASSERT_TRUE(ReadJwsFile(s.src / "c.jws", before));
  ASSERT_TRUE(ReadJwsFile(s.out / "c.jws", after));
  for (size_t i = 0; i < after.store.lines.size(); ++i) {
    const TEntHeader& b = before.store.lines[i].header;
    const TEntHeader& a = after.store.lines[i].header;
    EXPECT_EQ(a.pen_color, b.pen_color);
    EXPECT_EQ(a.pen_style, b.layer == 10 && b.pen_style != 0 ? 9 : b.pen_style);
  }
  // Of a switch and its --no- form, the one given last wins.
  for (bool on : {false, true}) {
    std::vector<std::string> flags = {"--color", "--no-color"};
    if (on) std::swap(flags[0], flags[1]);
    run = RunConvert(s.dir, {"-o", s.out.string(), "--settings", (s.dir / "mine.set").string(),
                             flags[0], flags[1], (s.src / "a.JWW").string()});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_EQ(run.out.find("(0 colours, ") == std::string::npos, on) << run.out;
  }
}

TEST(ConvertCommand, ParallelOutputEqualsSerialOutput) {
  Sources s;
  fs::create_directory(s.dir / "out2");
  const std::vector<std::string> common = {"--group", "3", "--layer", "all", "--color",
                                           "--block-color", "--dim-color", s.src.string()};
  std::vector<std::string> serial = {"-o", s.out.string(), "--jobs", "1"};
  std::vector<std::string> parallel = {"-o", (s.dir / "out2").string(), "--jobs", "3"};
  serial.insert(serial.end(), common.begin(), common.end());
  parallel.insert(parallel.end(), common.begin(), common.end());
  CliResult one = RunConvert(s.dir, serial);
  CliResult three = RunConvert(s.dir, parallel);
  EXPECT_EQ(one.status, three.status);
  EXPECT_TRUE(s.Snapshot(s.out) == s.Snapshot(s.dir / "out2"));
  std::string a = one.out, b = three.out;
  for (std::string* t : {&a, &b}) {
    // Only the output folder differs between the two reports.
    const std::string out2 = (fs::path("out2") / "").string(), out = (fs::path("out") / "").string();
    for (size_t p; (p = t->find(out2)) != std::string::npos;) t->replace(p, out2.size(), out);
  }
  EXPECT_EQ(a, b);
}

TEST(ConvertCommand, RefusalsExitTwoAndChangeNothing) {
  Sources s;
  s.dir.Write("out/b.jww", "older output");
  auto out_before = s.Snapshot(s.out);
  auto src_before = s.Snapshot(s.src);
  const bool linked = test::MakeFolderLink(s.src, s.dir / "link");
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  std::vector<Case> cases = {
      {{"-o", "", "--color", s.src.string()}, "保存先フォルダを指定して下さい。"},
      {{"-o", (s.dir / "none").string(), "--color", s.src.string()}, ""},
      {{"-o", (s.src / "..").string() + "/src", "--color", (s.src / "b.jww").string()},
       "保存先フォルダとファイルのフォルダが同じになっています。"},
      {{"-o", s.out.string(), s.src.string()}, "変換を行わない設定になっています。確認して下さい。"},
      {{"-o", s.out.string(), "--settings", (s.dir / "none.set").string(), s.src.string()}, ""},
      {{"-o", s.out.string(), "--color", "--layer", "G", s.src.string()}, ""},
      {{"-o", s.out.string(), "--color", (s.src / "missing.jww").string()}, ""},
  };
  if (linked) {  // where no link can be made, only this case is left out
    cases.push_back({{"-o", (s.dir / "link").string(), "--color", s.src.string()},
                     "保存先フォルダとファイルのフォルダが同じになっています。"});
  }
  for (const Case& c : cases) {
    CliResult run = RunConvert(s.dir, c.args);
    EXPECT_EQ(run.status, 2) << c.args[1] << "\n" << run.out << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
  EXPECT_TRUE(s.Snapshot(s.out) == out_before);
  EXPECT_TRUE(s.Snapshot(s.src) == src_before);
}

TEST(ConvertCommand, OnlySkippedFilesIsSuccess) {
  Sources s;
  CliResult run = RunConvert(s.dir, {"-o", s.out.string(), "--color", (s.src / "e.jww").string(),
                                  (s.src / "f.txt").string()});
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_NE(run.out.find("0 converted, 2 skipped, 0 failed"), std::string::npos) << run.out;
  EXPECT_EQ(run.err, "");  // no progress bar when stderr is not a terminal
}

// A disk that fills up during the run: every write fails with the system's
// reason, and every earlier output stays where it was, not moved to ".BAK".
TEST(ConvertCommand, AFullDiskKeepsEveryOldOutput) {
  if (test::kOnWindows) GTEST_SKIP() << "the full disk is a shell's file size limit";
  Sources s;
  for (const char* name : {"a.JWW", "b.jww", "c.jws"}) s.dir.Write("out/" + std::string(name), "old");
  const auto before = s.Snapshot(s.out);
  // Files beyond 512 bytes fail with "File too large", as on a full disk.
  CliResult run = test::RunCli({"convert", "-o", s.out.string(), "--color", (s.src / "a.JWW").string(),
                                (s.src / "b.jww").string(), (s.src / "c.jws").string()},
                               "trap '' XFSZ; ulimit -f 1; ");
  EXPECT_EQ(run.status, 1) << run.out << run.err;
  EXPECT_NE(run.out.find("0 converted, 0 skipped, 3 failed"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("b.jww: write failed: cannot write: File too large"), std::string::npos)
      << run.out;
  EXPECT_TRUE(s.Snapshot(s.out) == before);
}

TEST(ConvertCommand, DryRunReportsAsARealRunAndWritesNothing) {
  Sources s;
  s.dir.Write("out/b.jww", "older output");
  const auto before = s.Snapshot(s.out);
  std::vector<std::string> args = {"-o", s.out.string(), "--color", "--jobs", "2", s.src.string()};
  args.push_back("--dry-run");
  CliResult dry = RunConvert(s.dir, args);
  EXPECT_TRUE(s.Snapshot(s.out) == before);
  args.pop_back();
  CliResult real = RunConvert(s.dir, args);
  EXPECT_EQ(dry.status, real.status);
  EXPECT_EQ(dry.out, real.out.substr(0, real.out.size() - 1) + " (dry run: nothing written)\n");
  EXPECT_EQ(ReadFile(s.out / "b.BAK"), "older output");
}

TEST(ConvertCommand, AFifoFailsAtOnce) {
  if (test::kOnWindows) GTEST_SKIP() << "Windows file systems hold no FIFOs";
  Sources s;
  ASSERT_EQ(std::system(("mkfifo '" + (s.dir / "p.jww").string() + "'").c_str()), 0);
  CliResult run = RunConvert(s.dir, {"-o", s.out.string(), "--color", (s.dir / "p.jww").string(),
                                     (s.src / "c.jws").string()});
  EXPECT_EQ(run.status, 1) << run.out << run.err;
  EXPECT_NE(run.out.find("p.jww: load failed: not a regular file (a FIFO)"), std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("1 converted, 0 skipped, 1 failed"), std::string::npos) << run.out;
  for (const char* command : {"info", "dump"}) {
    CliResult r = test::RunCli({command, (s.dir / "p.jww").string()});
    EXPECT_EQ(r.status, 1) << command;
    EXPECT_NE(r.err.find("not a regular file (a FIFO)"), std::string::npos) << r.err;
  }
  CliResult rewrite = test::RunCli({"rewrite", (s.dir / "p.jww").string(), (s.out / "r.jww").string()});
  EXPECT_NE(rewrite.status, 0);
  EXPECT_FALSE(fs::exists(s.out / "r.jww"));
}

}  // namespace
}  // namespace varnelko
