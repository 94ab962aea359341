// `render` and `info --layers` from the command line: what they write and
// print, and how they exit.
#include <gtest/gtest.h>

#include <memory>

#include "formats/jws/jws_file.h"
#include "formats/jww/jww_file.h"
#include "support/document_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace varnelko {
namespace {

namespace fs = std::filesystem;
using test::CliResult;
using test::ReadFile;
using test::RunCli;
using test::TempDir;

size_t Count(const std::string& s, const std::string& what) {
  size_t n = 0;
  for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
  return n;
}

struct Drawings {
  TempDir dir;
  fs::path jww = dir / "plan.jww";
  fs::path jws = dir / "part.jws";
  Drawings() {
    auto doc = std::make_unique<JwwDocument>(
        test::BuildJwwDocument({.version = 700, .entities = 120, .block_defs = 3}));
    EXPECT_TRUE(WriteJwwFile(jww, 700, *doc));
    FreeJwwDocument(*doc);
    EXPECT_TRUE(WriteJwsFile(jws, 600, test::BuildJwsDocument({.version = 600, .entities = 60})));
  }
};

TEST(RenderCommand, WritesAStandaloneSvgForDrawingsAndFigures) {
  Drawings d;
  for (const fs::path& src : {d.jww, d.jws}) {
    const fs::path out = d.dir / (src.stem().string() + ".svg");
    CliResult run = RunCli({"render", src.string(), "-o", out.string(), "--width", "640"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("rendered "), std::string::npos);
    const std::string svg = ReadFile(out);
    EXPECT_NE(svg.find("width=\"640\""), std::string::npos);
    EXPECT_NE(svg.find("</svg>"), std::string::npos);
    EXPECT_EQ(svg.find("after-marks"), std::string::npos);
  }
}

TEST(RenderCommand, PrintAfterAConversionMarksWhatItChanged) {
  Drawings d;
  const fs::path before = d.dir / "before.svg", after = d.dir / "after.svg";
  CliResult run = RunCli({"render", d.jww.string(), "-o", before.string(), "--view", "print"});
  ASSERT_EQ(run.status, 0) << run.err;
  run = RunCli({"render", d.jww.string(), "-o", after.string(), "--view", "print", "--after",
                "--group", "all", "--layer", "all", "--color", "--linetype"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("colours"), std::string::npos);
  const std::string a = ReadFile(after), b = ReadFile(before);
  const size_t marks = a.find("<g id=\"after-marks\"");
  ASSERT_NE(marks, std::string::npos);
  // Converted lines no longer print; the marks show where they were.
  EXPECT_LT(Count(a.substr(0, marks), "<polyline "), Count(b, "<polyline "));
  EXPECT_GT(Count(a.substr(marks), "<polyline "), 0u);
  // The same numbers as convert reports.
  TempDir out;
  CliResult convert = RunCli({"convert", "-o", out.path().string(), "--group", "all", "--layer",
                              "all", "--color", "--linetype", d.jww.string()});
  ASSERT_EQ(convert.status, 0) << convert.err;
  const size_t at = convert.out.find(" (");
  const std::string numbers = convert.out.substr(at + 2, convert.out.find(" changed", at) - at - 2);
  EXPECT_NE(run.out.find(numbers), std::string::npos) << numbers << " / " << run.out;
}

TEST(RenderCommand, RefusalsAndFailuresExitAsTheOtherCommands) {
  Drawings d;
  const std::string out = (d.dir / "x.svg").string();
  // Nothing to convert: neither colour nor line type.
  CliResult run = RunCli({"render", d.jww.string(), "-o", out, "--after", "--group", "1"});
  EXPECT_EQ(run.status, 2);
  EXPECT_FALSE(run.err.empty());
  EXPECT_EQ(RunCli({"render", d.jww.string(), "-o", out, "--view", "paper"}).status, 2);
  EXPECT_EQ(RunCli({"render", d.jww.string()}).status, 2);
  EXPECT_EQ(RunCli({"render", d.jww.string(), "-o", out, "--layer", "G", "--color"}).status, 2);
  // A file that does not load, and an output that cannot be written.
  run = RunCli({"render", d.dir.Write("bad.jww", "JwwData.broken").string(), "-o", out});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("bad.jww"), std::string::npos);
  EXPECT_EQ(RunCli({"render", d.jww.string(), "-o", (d.dir / "no/such/x.svg").string()}).status, 1);
  EXPECT_FALSE(fs::exists(out));
}

TEST(InfoLayers, ListsLayersAndWhatAConversionWouldChange) {
  Drawings d;
  CliResult run = RunCli({"info", "--layers", d.jww.string(), d.jws.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("  [0-"), std::string::npos);
  EXPECT_EQ(run.out.find("would change"), std::string::npos);
  run = RunCli({"info", "--layers", "--group", "all", "--layer", "all", "--color", d.jww.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("; would change "), std::string::npos);
  EXPECT_NE(run.out.find("  conversion would change "), std::string::npos);
  EXPECT_EQ(RunCli({"info", "--layers", "--group", "x", d.jww.string()}).status, 2);
}

}  // namespace
}  // namespace varnelko
