// A convert run stopped by Ctrl-C, a termination request, a closed terminal
// or a closed pipe, and one that cannot start all the workers it asked for.
#include <gtest/gtest.h>

#include <csignal>
#include <set>
#include <sstream>

#include "conversion/drawing_files.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace varnelko {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// `count` small drawings d0000.jww, d0001.jww, ... in dir/src, and dir/out.
void MakeDrawings(const TempDir& dir, size_t count) {
  fs::create_directories(dir / "src");
  fs::create_directories(dir / "out");
  const fs::path first = dir / "src" / "d0000.jww";
  test::WriteJwwSample(first, {.version = 600, .entities = 12, .block_defs = 0});
  for (size_t i = 1; i < count; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "d%04zu.jww", i);
    fs::copy_file(first, dir / "src" / name);
  }
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(ConvertInterrupted, FinishesFilesInProgressReportsAndExitsWithTheSignal) {
#if defined(_WIN32)
  GTEST_SKIP() << "no signals between programs on Windows";
#else
  TempDir dir;
  constexpr size_t kFiles = 2000;
  MakeDrawings(dir, kFiles);
  // SIGHUP: the terminal was closed; SIGPIPE: the reader of the report went
  // away (`| head`). Unhandled, both end the program in the middle of a write.
  for (auto [signal_number, status] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143},
                                       std::pair{SIGHUP, 129}, std::pair{SIGPIPE, 141}}) {
    fs::remove_all(dir / "out");
    fs::create_directory(dir / "out");
    test::InterruptedRun run = test::RunCliInterrupted(
        {"convert", "-o", (dir / "out").string(), "--color", "--jobs", "2",
         (dir / "src").string()},
        signal_number, 10);
    ASSERT_TRUE(run.signalled) << "the run ended before it could be interrupted";
    EXPECT_EQ(run.result.status, status) << run.result.err;
    std::vector<std::string> lines = Lines(run.result.out);
    ASSERT_GE(lines.size(), 11u);
    // Every line before the summary is a converted file, and its output is whole.
    std::set<std::string> reported;
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
      ASSERT_EQ(lines[i].rfind("converted  ", 0), 0u) << lines[i];
      const size_t name = lines[i].find("/src/d") + 5;
      reported.insert(lines[i].substr(name, 9));
    }
    const size_t converted = lines.size() - 1;
    EXPECT_LT(converted, kFiles);
    EXPECT_EQ(lines.back(), std::to_string(converted) + " converted, 0 skipped, 0 failed, " +
                                std::to_string(kFiles - converted) + " not started (interrupted)");
    // Nothing else is left in the output folder: no temporary file, no partial output.
    std::set<std::string> present;
    for (const auto& e : fs::directory_iterator(dir / "out")) {
      present.insert(e.path().filename().string());
      auto doc = std::make_unique<JwwDocument>();
      EXPECT_TRUE(ReadJwwFile(e.path(), *doc)) << e.path();
      FreeJwwDocument(*doc);
    }
    EXPECT_TRUE(present == reported) << present.size() << " files, " << reported.size()
                                     << " reported";
  }
#endif
}

// A second Ctrl-C ends the program at once, but not before the files that
// are done and wait for an earlier, larger one are reported.
TEST(ConvertInterrupted, ASecondCtrlCStillReportsWhatIsDone) {
#if defined(_WIN32)
  GTEST_SKIP() << "no signals between programs on Windows";
#else
  TempDir dir;
  MakeDrawings(dir, 40);
  test::WriteJwwSample(dir / "src" / "d0000.jww", {.version = 600, .entities = 1500000});
  const fs::path out = dir / "out";
  const test::InterruptedRun run = test::RunCliInterruptedWhen(
      {"convert", "-o", out.string(), "--color", "--jobs", "2", "--full",
       (dir / "src").string()},
      SIGINT,
      [&](const std::string&) {
        return fs::exists(out / "d0002.jww") && !fs::exists(out / "d0000.jww");
      },
      2);
  if (fs::exists(out / "d0000.jww")) GTEST_SKIP() << "the large file ended first";
  ASSERT_TRUE(run.signalled);
  for (const auto& e : fs::directory_iterator(out)) {
    const std::string name = e.path().filename().string();
    if (name.starts_with(".~vk")) continue;  // a write the second Ctrl-C cut short
    EXPECT_NE(run.result.out.find("/src/" + name + " -> "), std::string::npos)
        << name << " is converted but not reported:\n" << run.result.out;
  }
#endif
}

TEST(ConvertJobs, ThreadsThatCannotStartMeanFewerWorkers) {
  TempDir dir;
  MakeDrawings(dir, 100);
  // Far more workers than the files, and too little address space for the
  // stacks of the 64 threads that are allowed at most.
  for (const char* jobs : {"3000", "64"}) {
    fs::remove_all(dir / "out");
    fs::create_directory(dir / "out");
    test::CliResult run = test::RunCli({"convert", "-o", (dir / "out").string(), "--color",
                                        "--jobs", jobs, (dir / "src").string()},
                                       "ulimit -v 102400; ");
    EXPECT_EQ(run.status, 0) << jobs << "\n" << run.err;
    EXPECT_NE(run.out.find("100 converted, 0 skipped, 0 failed"), std::string::npos) << run.out;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "out"), fs::directory_iterator()), 100);
  }
}

}  // namespace
}  // namespace varnelko
