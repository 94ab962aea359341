// Command lines as a Windows user types them, and as a careless one does:
// help and version asked in every way, wildcards in any part of a path, the
// source folder named another way, names that only the file system's case
// folding tells apart, files another program holds, "/" among "\", paths
// longer than MAX_PATH. Rows that need what only one system has are left
// out elsewhere.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "conversion/batch.h"
#include "conversion/drawing_files.h"
#include "platform/path_text.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "support/test_platform.h"
#include "version.h"

namespace varnelko {
namespace {

namespace fs = std::filesystem;
using test::CliResult;
using test::kOnWindows;
using Args = std::vector<std::string>;

std::string Text(const fs::path& p) { return PathToUtf8(p); }

// A drawing d.jww in src, an empty out, and whatever a row adds.
struct Scene {
  test::TempDir dir;
  fs::path src = dir / "src";
  fs::path out = dir / "out";
  std::shared_ptr<void> held;  // a file another program keeps open meanwhile
  Scene() {
    fs::create_directories(src);
    fs::create_directories(out);
    test::WriteJwwSample(src / "d.jww", {.version = 600, .entities = 20, .seed = 3});
  }
  ~Scene() { test::RemoveTree(dir / std::string(100, 'a')); }
  // A folder deeper than MAX_PATH, under dir.
  fs::path Deep(const char* last) const {
    return dir / std::string(100, 'a') / std::string(100, 'b') / std::string(100, 'c') / last;
  }
};

size_t CountWithExtension(const fs::path& folder, const std::string& ext) {
  size_t n = 0;
  for (const auto& entry : fs::directory_iterator(folder)) n += entry.path().extension() == ext;
  return n;
}

struct OddCommandLine {
  const char* what;
  // Makes what the row needs and gives the arguments; empty where this
  // system cannot make it.
  std::function<Args(Scene& s)> make;
  int status;
  std::string said;  // on standard output or error
  std::string not_said = "";  // nowhere in what it printed, when given
  // What must hold afterwards.
  std::function<void(const Scene& s, const CliResult& run)> check = nullptr;
  std::string program = VARNELKO_CLI;
};

const std::string kSameFolder = BatchCheckMessage(BatchCheck::kSameFolder);

// Converts d.jww while another program holds it as `lock` (where it can).
std::function<Args(Scene&)> ConvertWhileHeld(test::Lock lock) {
  return [lock](Scene& s) {
    s.held = test::HoldLocked(s.src / "d.jww", lock);
    return s.held ? Args{"convert", "-o", Text(s.out), "--color", Text(s.src / "d.jww")} : Args{};
  };
}

const OddCommandLine kOddCommandLines[] = {
    {"--version", [](Scene&) { return Args{"--version"}; }, 0, VersionText() + "\n"},
    {"/? asks for the help", [](Scene&) { return Args{"/?"}; }, 0, "Usage:"},
    {"-? after a command asks for its help", [](Scene&) { return Args{"convert", "-?"}; }, 0,
     "convert [OPTIONS]"},
#if defined(VARNELKO_WINDOW_PROGRAM)
    {"--version of the window program", [](Scene&) { return Args{"--version"}; }, 0,
     VersionText() + "\n", "", nullptr, VARNELKO_WINDOW_PROGRAM},
#endif
    {"the source folder as output, with trailing separators",
     [](Scene& s) {
       const std::string sep(1, static_cast<char>(fs::path::preferred_separator));
       return Args{"convert", "-o", Text(s.src) + sep + sep, "--color", Text(s.src / "d.jww")};
     },
     2, kSameFolder, "",
     [](const Scene& s, const CliResult&) { EXPECT_FALSE(fs::exists(s.src / "d.BAK")); }},
    {"the source folder as output, by another drive",
     [](Scene& s) {
       const fs::path other = test::OtherSpelling(s.src);
       return other.empty() ? Args{}
                            : Args{"convert", "-o", Text(other), "--color", Text(s.src / "d.jww")};
     },
     2, kSameFolder, "",
     [](const Scene& s, const CliResult&) { EXPECT_FALSE(fs::exists(s.src / "d.BAK")); }},
    {"names that differ only in full-width letter case share one output",
     [](Scene& s) {
       if (!kOnWindows) return Args{};
       // From two folders: one folder cannot hold both.
       const fs::path other = s.dir.path() / "other";
       fs::create_directory(other);
       test::WriteJwsSample(s.src / PathFromUtf8("ＡＢＣ図形.JWS"), {.version = 600});
       test::WriteJwsSample(other / PathFromUtf8("ａｂｃ図形.jws"), {.version = 600});
       return Args{"convert", "-o", Text(s.out), "--color", Text(s.src), Text(other)};
     },
     1, "has the same output name", "",
     [](const Scene& s, const CliResult&) {
       EXPECT_EQ(CountWithExtension(s.out, ".JWS") + CountWithExtension(s.out, ".jws"), 1u);
       EXPECT_EQ(CountWithExtension(s.out, ".BAK"), 0u);
     }},
    {"a wildcard in a folder part, for info",
     [](Scene& s) {
       if (!kOnWindows) return Args{};
       const fs::path folder = s.dir.path() / PathFromUtf8("図面1フォルダ");
       fs::create_directory(folder);
       test::WriteJwwSample(folder / "e.jww", {.version = 700, .entities = 5});
       return Args{"info", Text(s.dir.path()) + "\\図面?フォルダ\\*.jww"};
     },
     0, "e.jww: jww version 700"},
    {"a wildcard in a folder part, for convert",
     [](Scene& s) {
       const std::string pattern = Text(s.dir.path()) + "\\s?c\\*";
       return kOnWindows ? Args{"convert", "-o", Text(s.out), "--color", pattern} : Args{};
     },
     0, "1 converted"},
    {"a wildcard for dump",
     [](Scene& s) { return kOnWindows ? Args{"dump", Text(s.src) + "\\D*.JWW"} : Args{}; }, 0,
     "\"format\":\"jww\""},
    {"a wildcard for render",
     [](Scene& s) {
       return kOnWindows ? Args{"render", Text(s.src) + "\\?.jww", "-o", Text(s.out / "d.svg")}
                         : Args{};
     },
     0, "rendered "},
    {"a wildcard for dump that matches two files",
     [](Scene& s) {
       if (!kOnWindows) return Args{};
       test::WriteJwwSample(s.src / "e.jww", {.version = 700, .entities = 5});
       return Args{"dump", Text(s.src) + "\\*.jww"};
     },
     2, "matches 2 files"},
    {"a drawing another program has open alone", ConvertWhileHeld(test::Lock::kOpenAlone), 1,
     "load failed: cannot open: " + test::LockedText(test::Lock::kOpenAlone),
     "Permission denied"},
    {"a drawing another program has locked", ConvertWhileHeld(test::Lock::kBytesLocked), 1,
     "load failed: cannot read: " + test::LockedText(test::Lock::kBytesLocked),
     "Input/output error"},
    {"paths typed with / show with the system's separators",
     [](Scene& s) {
       return kOnWindows ? Args{"convert", "-o", s.out.generic_string(), "--color",
                                (s.src / "d.jww").generic_string()}
                         : Args{};
     },
     0, "converted  ", "/",
     [](const Scene& s, const CliResult& run) {
       EXPECT_NE(run.out.find(Text(s.src / "d.jww") + " -> " + Text(s.out / "d.jww")),
                 std::string::npos)
           << run.out;
     }},
    {"a folder deeper than MAX_PATH, converted into another",
     [](Scene& s) {
       fs::create_directories(LongPathForm(s.Deep("in")));
       fs::create_directories(LongPathForm(s.Deep("out")));
       test::WriteJwwSample(s.Deep("in") / "d.jww", {.version = 600, .entities = 20});
       return Args{"convert", "-o", Text(s.Deep("out")), "--color", Text(s.Deep("in"))};
     },
     0, "1 converted, 0 skipped, 0 failed"},
    {"a wildcard in a folder deeper than MAX_PATH",
     [](Scene& s) {
       if (!kOnWindows) return Args{};
       fs::create_directories(LongPathForm(s.Deep("in")));
       test::WriteJwwSample(s.Deep("in") / "d.jww", {.version = 600, .entities = 20});
       return Args{"info", Text(s.Deep("in")) + "\\*.jww"};
     },
     0, "d.jww: jww version 600"},
};

TEST(OddCommandLines, AreTakenAsTheSystemTakesThem) {
  for (const OddCommandLine& row : kOddCommandLines) {
    SCOPED_TRACE(row.what);
    Scene scene;
    const Args args = row.make(scene);
    if (args.empty()) continue;  // not on this system
    const CliResult run = test::RunProgram(row.program, args);
    scene.held.reset();
    EXPECT_EQ(run.status, row.status) << run.out << run.err;
    EXPECT_NE((run.out + run.err).find(row.said), std::string::npos) << run.out << run.err;
    if (!row.not_said.empty()) {
      EXPECT_EQ((run.out + run.err).find(row.not_said), std::string::npos) << run.out << run.err;
    }
    if (row.check) row.check(scene, run);
  }
}

// A console shows each line as the program wrote it, Japanese included,
// whatever the console's code page.
TEST(ConsoleOutput, ShowsJapaneseAsWritten) {
  test::TempDir dir;
  test::WriteJwsSample(dir.path() / PathFromUtf8("部品図.jws"), {.version = 600});
  const std::optional<std::string> shown =
      test::RunCliInConsole({"info", "部品図.jws"}, dir.path());
  if (!shown) GTEST_SKIP() << "no console on this system";
  EXPECT_NE(shown->find("部品図.jws: jws version 600"), std::string::npos) << *shown;
}

}  // namespace
}  // namespace varnelko
