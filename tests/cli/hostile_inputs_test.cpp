// What `convert`, `dump` and `rewrite` do with inputs that hide something:
// a path the system cannot look at, bytes after the drawing's end, an image
// size that does not fit, a huge file that is no drawing. Nothing is passed
// over in silence, and a non-drawing never costs its size in memory.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "formats/jws/jws_file.h"
#include "formats/jww/jww_file.h"
#include "support/document_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "support/test_platform.h"

namespace varnelko {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::RunCli;
using test::TempDir;

std::string DrawingBytes(size_t images) {
  TempDir dir;
  auto doc = std::make_unique<JwwDocument>(
      test::BuildJwwDocument({.version = 700, .entities = 50, .images = images}));
  EXPECT_TRUE(WriteJwwFile(dir / "d.jww", 700, *doc));
  FreeJwwDocument(*doc);
  return ReadFile(dir / "d.jww");
}

std::string FigureBytes() {
  TempDir dir;
  EXPECT_TRUE(WriteJwsFile(dir / "f.jws", 600, test::BuildJwsDocument({.version = 600})));
  return ReadFile(dir / "f.jws");
}

// A drawing whose first image claims 0xFFFFFFF0 bytes (-16 as a signed size).
std::string ImageSizeThatDoesNotFit() {
  std::string bytes = DrawingBytes(1);
  const size_t size_at = bytes.rfind("image1.bmp") + 10;
  bytes.replace(size_at, 4, "\xF0\xFF\xFF\xFF");
  return bytes;
}

struct HostileInput {
  const char* what;
  // Makes the input in `dir` and returns the path given on the command line;
  // empty when this system cannot make it.
  std::function<std::string(const TempDir& dir)> make;
  std::vector<std::string> args;  // "IN" stands for the input, "OUT" for a fresh folder
  int status;
  std::string said;  // on standard output or error
  std::string shell_setup = "";
};

const HostileInput kHostileInputs[] = {
    {"a path longer than the system allows",
     [](const TempDir& dir) {
       std::string path = dir.path().string();
       while (path.size() < 5000) path += "/" + std::string(200, 'p');
       return test::kOnWindows ? std::string() : path;
     },
     {"convert", "-o", "OUT", "--color", "IN"}, 1, "File name too long"},
    {"a drawing with 5,000 bytes after its end",
     [](const TempDir& dir) {
       return dir.Write("tail.jww", DrawingBytes(0) + std::string(5000, 'x')).string();
     },
     {"convert", "-o", "OUT", "--color", "IN"}, 0, "5000 bytes after the drawing's end are not kept"},
    {"a figure with bytes after its end, the whole way",
     [](const TempDir& dir) { return dir.Write("tail.jws", FigureBytes() + "xyz").string(); },
     {"convert", "-o", "OUT", "--color", "--full", "IN"}, 0,
     "3 bytes after the drawing's end are not kept"},
    {"a drawing with bytes after its end, rewritten",
     [](const TempDir& dir) {
       return dir.Write("tail.jww", DrawingBytes(0) + std::string(10, 'x')).string();
     },
     {"rewrite", "IN", "OUT/copy.jww"}, 0, "10 bytes after the drawing's end"},
    {"an image size that does not fit, converted",
     [](const TempDir& dir) { return dir.Write("img.jww", ImageSizeThatDoesNotFit()).string(); },
     {"convert", "-o", "OUT", "--color", "IN"}, 1, "which does not fit at offset"},
    {"an image size that does not fit, dumped",
     [](const TempDir& dir) { return dir.Write("img.jww", ImageSizeThatDoesNotFit()).string(); },
     {"dump", "--images", "OUT", "IN"}, 1, "which does not fit at offset"},
    // Far larger than the memory the program may take: it is skipped after
    // its first bytes (a sparse file, so that it costs no disk either).
    {"3 GB of zeros named as a drawing",
     [](const TempDir& dir) {
       if (test::kOnWindows) return std::string();
       for (const char* name : {"zeros.jww", "zeros2.jww"}) {
         fs::resize_file(dir.Write(name, ""), uintmax_t{3} << 30);
       }
       return (dir / "zeros.jww").string();
     },
     {"convert", "-o", "OUT", "--color", "--jobs", "2", "IN", "IN2"}, 0, "skipped",
     "ulimit -v 1000000;"},
};

TEST(HostileInputs, AreReportedNeverPassedOver) {
  for (const HostileInput& row : kHostileInputs) {
    SCOPED_TRACE(row.what);
    TempDir dir;
    const std::string input = row.make(dir);
    if (input.empty()) continue;  // not on this system
    fs::create_directory(dir / "out");
    std::vector<std::string> args;
    for (const std::string& arg : row.args) {
      if (arg == "IN2") {
        args.push_back((dir / "zeros2.jww").string());  // converted at the same time
        continue;
      }
      std::string a = arg.starts_with("OUT") ? (dir / "out").string() + arg.substr(3) : arg;
      args.push_back(a == "IN" ? input : a);
    }
    const test::CliResult run = RunCli(args, row.shell_setup);
    EXPECT_EQ(run.status, row.status) << run.out << run.err;
    EXPECT_NE((run.out + run.err).find(row.said), std::string::npos) << run.out << run.err;
  }
}

}  // namespace
}  // namespace varnelko
