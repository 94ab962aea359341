// What `rewrite`, `render` and `dump --images` do with an output that must
// not be replaced: the drawing read, another drawing, a folder, a FIFO, a
// link to a device, a file already there, a write cut short, a version no
// writer knows. Whatever is under the output name stays as it was.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

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

// What is under a name, without following a final link.
std::string Fingerprint(const fs::path& p) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(p, ec);
  switch (status.type()) {
    case fs::file_type::not_found: return "nothing";
    case fs::file_type::symlink: return "link to " + fs::read_symlink(p, ec).string();
    case fs::file_type::regular: {
      const std::string bytes = ReadFile(p);
      return "file of " + std::to_string(bytes.size()) + " bytes, hash " +
             std::to_string(std::hash<std::string>{}(bytes));
    }
    case fs::file_type::fifo: return "fifo";
    case fs::file_type::directory: {
      std::set<std::string> names;
      for (const auto& e : fs::directory_iterator(p)) names.insert(e.path().filename().string());
      std::string text = "folder";
      for (const std::string& name : names) text += " " + name + "=" + Fingerprint(p / name);
      return text;
    }
    default: return "other";
  }
}

// A drawing with two images, a figure, and a second drawing.
struct Files {
  TempDir dir;
  fs::path drawing = dir / "plan.jww";
  fs::path figure = dir / "part.jws";
  fs::path other = dir / "other.jww";
  Files() {
    auto doc = std::make_unique<JwwDocument>(
        test::BuildJwwDocument({.version = 700, .entities = 300, .images = 2}));
    EXPECT_TRUE(WriteJwwFile(drawing, 700, *doc));
    EXPECT_TRUE(WriteJwwFile(other, 600, *doc));
    FreeJwwDocument(*doc);
    EXPECT_TRUE(WriteJwsFile(figure, 600, test::BuildJwsDocument({.version = 600})));
  }
};

struct HostileOutput {
  const char* what;
  // Puts the hostile thing at the output name (in `f.dir`) and returns that
  // name; empty when this system cannot make it.
  std::function<fs::path(const Files& f)> make;
  // The command, "IN" and "OUT" standing for the input and the output.
  std::vector<std::string> args;
  int status;
  std::string shell_setup = "";
};

fs::path MakeFifo(const fs::path& p) {
#if defined(_WIN32)
  (void)p;
  return {};
#else
  return ::mkfifo(p.c_str(), 0600) == 0 ? p : fs::path();
#endif
}

const HostileOutput kHostileOutputs[] = {
    {"rewrite onto the drawing it reads", [](const Files& f) { return f.drawing; },
     {"rewrite", "IN", "OUT"}, 2},
    {"render onto the drawing it reads", [](const Files& f) { return f.drawing; },
     {"render", "IN", "-o", "OUT"}, 2},
    {"render onto another drawing", [](const Files& f) { return f.other; },
     {"render", "IN", "-o", "OUT"}, 2},
    {"render onto a figure", [](const Files& f) { return f.figure; },
     {"render", "IN", "-o", "OUT"}, 2},
    {"render onto a folder",
     [](const Files& f) {
       fs::create_directories(f.dir / "pic.svg" / "inside");
       return f.dir / "pic.svg";
     },
     {"render", "IN", "-o", "OUT"}, 2},
    {"rewrite onto a folder",
     [](const Files& f) {
       fs::create_directories(f.dir / "copy.jww");
       return f.dir / "copy.jww";
     },
     {"rewrite", "IN", "OUT"}, 2},
    {"render onto a FIFO", [](const Files& f) { return MakeFifo(f.dir / "pipe.svg"); },
     {"render", "IN", "-o", "OUT"}, 2},
    {"rewrite onto a FIFO", [](const Files& f) { return MakeFifo(f.dir / "pipe.jww"); },
     {"rewrite", "IN", "OUT"}, 2},
    {"render onto a link to a device",
     [](const Files& f) {
       const fs::path link = f.dir / "null.svg";
       return !test::kOnWindows && test::MakeFileLink("/dev/null", link) ? link : fs::path();
     },
     {"render", "IN", "-o", "OUT"}, 2},
    {"rewrite at a drawing version no writer knows",
     [](const Files& f) { return f.dir / "v8000.jww"; },
     {"rewrite", "IN", "OUT", "--version", "8000"}, 2},
    {"rewrite at the largest version",
     [](const Files& f) { return f.dir / "vmax.jww"; },
     {"rewrite", "IN", "OUT", "--version", "2147483647"}, 2},
    {"rewrite below the oldest version", [](const Files& f) { return f.dir / "v219.jww"; },
     {"rewrite", "IN", "OUT", "--version", "219"}, 2},
    {"rewrite a figure at a version no writer knows",
     [](const Files& f) { return f.dir / "v219.jws"; },
     {"rewrite", "FIGURE", "OUT", "--version", "219"}, 2},
    {"dump an image onto a file already there",
     [](const Files& f) {
       fs::create_directory(f.dir / "images");
       return f.dir.Write("images/image1.bmp", "mine");
     },
     {"dump", "--images", "OUT_FOLDER", "IN"}, 1},
    // The write fails part-way (a full disk): an older output stays byte for byte.
    {"rewrite cut short by the file size limit",
     [](const Files& f) {
       return test::kOnWindows ? fs::path() : f.dir.Write("older.jww", "older output");
     },
     {"rewrite", "IN", "OUT"}, 1, "trap '' XFSZ; ulimit -f 4;"},
};

TEST(HostileOutputs, AreLeftAsTheyWere) {
  for (const HostileOutput& row : kHostileOutputs) {
    SCOPED_TRACE(row.what);
    Files f;
    const fs::path target = row.make(f);
    if (target.empty()) continue;  // not on this system
    const std::string before = Fingerprint(target);
    std::vector<std::string> args;
    for (const std::string& arg : row.args) {
      args.push_back(arg == "IN"       ? f.drawing.string()
                     : arg == "FIGURE" ? f.figure.string()
                     : arg == "OUT"    ? target.string()
                     : arg == "OUT_FOLDER" ? target.parent_path().string()
                                           : arg);
    }
    const test::CliResult run = RunCli(args, row.shell_setup);
    EXPECT_EQ(run.status, row.status) << run.err;
    EXPECT_FALSE(run.err.empty());
    EXPECT_EQ(Fingerprint(target), before);
    for (const auto& e : fs::directory_iterator(f.dir.path())) {
      EXPECT_EQ(e.path().filename().string().rfind(".~vk", 0), std::string::npos)
          << "a temporary file stayed";
    }
  }
}

}  // namespace
}  // namespace varnelko
