// What convert and the other subcommands do with wrong usage, with sources
// that collide on one output name, and with hostile names in a folder.
#include <gtest/gtest.h>

#include <cstdlib>

#include "conversion/drawing_files.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace varnelko {
namespace {

namespace fs = std::filesystem;
using test::CliResult;
using test::ReadFile;
using test::RunCli;
using test::TempDir;

struct Folders {
  TempDir dir;
  fs::path src = dir / "src";
  fs::path out = dir / "out";
  Folders() {
    fs::create_directories(src);
    fs::create_directories(out);
    test::WriteJwwSample(src / "b.jww", {.version = 600, .entities = 20, .seed = 1});
  }
};

size_t CountLines(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

TEST(CliUsage, EveryUsageErrorExitsTwoWithAMessage) {
  Folders f;
  const std::string out = f.out.string(), src = f.src.string(), b = (f.src / "b.jww").string();
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{}, "subcommand"},
      {{"bogus"}, ""},
      {{"info"}, "required"},
      {{"info", "--bogus", b}, "bogus"},
      {{"dump"}, "required"},
      {{"dump", "--bogus", b}, "bogus"},
      {{"rewrite", b}, "required"},
      {{"rewrite", b, out + "/x.jww", "--version", "new"}, "new"},
      {{"convert", "-o", out, "--color"}, "required"},
      {{"convert", "-o", out, "--color", "--jobs", "0", src}, "--jobs: must be at least 1"},
      {{"convert", "-o", out, "--color", "--jobs", "-3", src}, "must be at least 1"},
      {{"convert", "-o", out, "--color", "--jobs", "1.5", src}, "--jobs: must be a whole number"},
      {{"convert", "-o", out, "--color=abc", src}, "--color: expects on/off"},
      {{"convert", "-o", out, "--color", "--block-color=1x", src}, "1x"},
      {{"convert", "-o", b, "--color", src}, "the output " + b + " is not a folder"},
  };
  for (const Case& c : cases) {
    CliResult run = RunCli(c.args);
    std::string shown;
    for (const std::string& a : c.args) shown += a + " ";
    EXPECT_EQ(run.status, 2) << shown << "\n" << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << shown << "\n" << run.err;
    EXPECT_EQ(run.out, "") << shown;
  }
  EXPECT_TRUE(fs::is_empty(f.out));
  EXPECT_EQ(RunCli({"convert", "--help"}).status, 0);
  // More workers than an int holds is only a large number: capped like any other.
  EXPECT_EQ(RunCli({"convert", "-o", out, "--color", "--jobs", "99999999999", src}).status, 0);
}

TEST(CliUsage, SwitchWordsAndNumbers) {
  Folders f;
  const std::string b = (f.src / "b.jww").string();
  for (auto [word, on] : {std::pair{"on", true}, std::pair{"YES", true}, std::pair{"true", true},
                          std::pair{"2", true}, std::pair{"off", false}, std::pair{"no", false},
                          std::pair{"False", false}, std::pair{"0", false}}) {
    CliResult run = RunCli({"convert", "-o", f.out.string(), "--group", "all", "--layer", "all",
                            "--linetype", std::string("--color=") + word, b});
    ASSERT_EQ(run.status, 0) << word << "\n" << run.err;
    EXPECT_EQ(run.out.find("(0 colours,") == std::string::npos, on) << word << "\n" << run.out;
  }
}

TEST(ConvertSources, AFileGivenTwiceIsConvertedOnceAndANameClashFails) {
  Folders f;
  fs::create_directory(f.dir / "other");
  test::WriteJwwSample(f.dir / "other" / "b.jww", {.version = 700, .entities = 30, .seed = 5});
  fs::create_directory_symlink(f.src, f.dir / "link");
  const std::string b = (f.src / "b.jww").string();
  CliResult run = RunCli({"convert", "-o", f.out.string(), "--color", f.src.string(), b,
                          (f.dir / "link" / "b.jww").string(), (f.src / ".." / "src").string(),
                          (f.dir / "other" / "b.jww").string()});
  EXPECT_EQ(run.status, 1) << run.out << run.err;
  EXPECT_EQ(CountLines(run.out), 3u) << run.out;
  EXPECT_EQ(run.out.rfind("converted  " + b + " -> ", 0), 0u) << run.out;
  EXPECT_NE(run.out.find("failed     " + (f.dir / "other" / "b.jww").string() +
                         ": write failed: not converted: " + b + ", given earlier"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("1 converted, 0 skipped, 1 failed"), std::string::npos);
  // The first source's output stands, and nothing was pushed aside as a backup.
  EXPECT_FALSE(fs::exists(f.out / "b.BAK"));
  auto doc = std::make_unique<JwwDocument>();
  ASSERT_TRUE(ReadJwwFile(f.out / "b.jww", *doc));
  EXPECT_EQ(doc->header.version, 600);
  FreeJwwDocument(*doc);
}

TEST(ConvertSources, AnEntryThatCannotBeExaminedIsReportedAndTheRestConverts) {
  Folders f;
  fs::create_symlink("loop.jww", f.src / "loop.jww");    // a link to itself
  fs::create_symlink("missing", f.src / "dangling.jws");
  fs::create_symlink("cycle", f.src / "cycle");           // not a drawing name: not taken
  CliResult run = RunCli({"convert", "-o", f.out.string(), "--color", f.src.string()});
  // Each fails with the system's reason, as a file that cannot be opened does.
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_TRUE(fs::exists(f.out / "b.jww")) << run.out << run.err;
  EXPECT_EQ(CountLines(run.out), 4u) << run.out;
  for (const char* name : {"dangling.jws", "loop.jww"}) {
    EXPECT_NE(run.out.find("failed     " + (f.src / name).string() + ": load failed: cannot open: "),
              std::string::npos)
        << name << run.out;
  }
  EXPECT_NE(run.out.find("1 converted, 0 skipped, 2 failed"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("cycle"), std::string::npos);
}

// A folder is a folder whatever its name: given, it is searched (one with
// no drawings is noted); inside a folder, it is a subfolder and not taken.
// Every other entry with a drawing's name is reported, never passed over.
TEST(ConvertSources, FoldersAreSearchedWhateverTheNameAndOtherEntriesAreReported) {
  Folders f;
  ASSERT_EQ(std::system(("mkfifo '" + (f.src / "p.jww").string() + "'").c_str()), 0);
  fs::create_directory(f.src / "sub.jws");
  fs::create_directory(f.dir / "x.jww");
  fs::copy_file(f.src / "b.jww", f.dir / "x.jww" / "c.jww");
  fs::create_directory(f.dir / "empty.jww");
  fs::create_symlink("loop.jww", f.dir / "loop.jww");
  CliResult run = RunCli({"convert", "-o", f.out.string(), "--color", f.src.string(),
                          (f.dir / "x.jww").string(), (f.dir / "empty.jww").string(),
                          (f.dir / "loop.jww").string()});
  EXPECT_EQ(run.status, 1) << run.out << run.err;
  EXPECT_NE(run.out.find("failed     " + (f.src / "p.jww").string() +
                         ": load failed: not a regular file (a FIFO)"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("converted  " + (f.dir / "x.jww" / "c.jww").string()), std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("failed     " + (f.dir / "loop.jww").string() +
                         ": load failed: cannot open: Too many levels of symbolic links"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(run.out.find("sub.jws"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("2 converted, 0 skipped, 2 failed"), std::string::npos) << run.out;
  EXPECT_EQ(run.err, "no JWW or JWS drawing in the folder " + (f.dir / "empty.jww").string() + "\n");
}

TEST(ConvertReport, ControlCharactersInNamesAreEscaped) {
  Folders f;
  fs::copy_file(f.src / "b.jww", f.src / "two\nlines.jww");
  fs::copy_file(f.src / "b.jww", f.src / "bell\a\x1b[31m.jww");
  CliResult run = RunCli({"convert", "-o", f.out.string(), "--color", f.src.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(CountLines(run.out), 4u) << run.out;
  EXPECT_NE(run.out.find("two\\x0alines.jww -> "), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("bell\\x07\\x1b[31m.jww"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find('\x1b'), std::string::npos);
  EXPECT_TRUE(fs::exists(f.out / "two\nlines.jww"));
}

}  // namespace
}  // namespace varnelko
