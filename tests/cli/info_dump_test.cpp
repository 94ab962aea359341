// Runs the built varnelko-cli on samples, hand-made drawings and damaged
// files, and checks what it prints and how it exits.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

#include "document/cp932.h"
#include "formats/jww/jww_file.h"
#include "platform/path_text.h"
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

size_t Count(const std::string& s, const std::string& what) {
  size_t n = 0;
  for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
  return n;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1) {
    lines.push_back(text.substr(start, nl - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// The random documents the tests know; samples/ holds drawings for people.
fs::path SamplesFolder() { return fs::path(VARNELKO_SOURCE_DIR) / "tests" / "data" / "random"; }

TEntHeader Header(uint16_t layer) {
  TEntHeader h;
  h.group = 3;
  h.pen_style = 1;
  h.pen_color = 2;
  h.pen_width = 1;
  h.layer = layer;
  h.layer_group = 1;
  return h;
}

TEntSen Line(double x1, double y1, double x2, double y2) {
  TEntSen line;
  line.header = Header(4);
  line.start_x = x1, line.start_y = y1, line.end_x = x2, line.end_y = y2;
  return line;
}

TEntMoji Text(std::string_view utf8) {
  TEntMoji text;
  text.header = Header(5);
  text.start_x = 1, text.start_y = 2, text.end_x = 31, text.end_y = 2;
  text.text_type = 2;
  text.size_x = 3.5, text.size_y = 3.5, text.spacing = 0.25;
  text.font = Utf8ToCp932("ＭＳ ゴシック");
  text.text = Utf8ToCp932(utf8);
  return text;
}

// A drawing with one entity of each kind and one block definition, whose
// values every writer keeps as they are.
std::unique_ptr<JwwDocument> TinyDrawing() {
  test::BuildOptions options;
  options.version = 600;
  options.entities = 0;
  options.block_defs = 0;
  auto doc = std::make_unique<JwwDocument>(test::BuildJwwDocument(options));
  doc->header.memo = Utf8ToCp932("メモ");
  EntityStore& s = doc->store;
  s.Add(Line(0.1, -2, 1e300, 5e-324));
  TEntEnko arc;
  arc.header = Header(6);
  arc.center_x = 10, arc.center_y = 20, arc.radius = 5, arc.start_angle = 0.5;
  arc.arc_angle = 3.25, arc.tilt_angle = 0, arc.flatness = 1, arc.full_circle = 0;
  s.Add(arc);
  TEntTen point;
  point.header = Header(7);
  point.x = 4, point.y = 5;
  s.Add(point);
  s.Add(Text("図面"));
  TEntSunpo dim;
  dim.header = Header(8);
  dim.line = Line(0, 0, 10, 0);
  dim.text = Text("10");
  dim.sxf_mode = -2;
  dim.aux_lines = {Line(0, 0, 0, 1), Line(10, 0, 10, 1)};
  for (TEntTen& p : dim.points) p.header = Header(8);
  s.Add(dim);
  TEntSolid solid;
  solid.header = Header(9);
  solid.corners = {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
  s.Add(solid);
  TEntBlock insert;
  insert.header = Header(10);
  insert.base_x = 7, insert.base_y = 8, insert.scale_x = 1, insert.scale_y = 2;
  insert.angle = 0.75;
  insert.block_number = 1;
  s.Add(insert);
  TEntBlockDef def;
  def.header = Header(11);
  def.number = 1;
  def.referenced = 1;
  def.timestamp = 5;
  def.name = Utf8ToCp932("部品");
  def.members.Add(Line(1, 1, 2, 2));
  s.block_defs.push_back(def);
  return doc;
}

fs::path WriteDrawing(const TempDir& dir, const std::string& name, JwwDocument& doc) {
  const fs::path path = dir / name;
  FormatError error;
  EXPECT_TRUE(WriteJwwFile(path, doc.header.version, doc, &error)) << error.Describe();
  return path;
}

TEST(CliInfo, ListsEveryBundledSample) {
  std::vector<std::string> args = {"info"};
  for (const auto& entry : fs::directory_iterator(SamplesFolder())) {
    args.push_back(entry.path().string());
  }
  ASSERT_GE(args.size(), 4u);
  const test::CliResult run = RunCli(args);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(Lines(run.out).size(), args.size() - 1);
  EXPECT_NE(run.out.find("平面図.jww: jww version 700, "), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("memo: 平面図 縮尺1/100"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("部品.jws: jws version 600, "), std::string::npos) << run.out;
}

TEST(CliInfo, ReportsEachBadFileAndStillListsTheOthers) {
  TempDir dir;
  auto doc = TinyDrawing();
  const fs::path good = WriteDrawing(dir, "good.jww", *doc);
  const std::string bytes = ReadFile(good);
  const fs::path cut = dir.Write("cut.jww", bytes.substr(0, bytes.size() / 2));
  const fs::path text = dir.Write("notes.jww", "just some text, no drawing at all");
  const fs::path also_good = dir.Write("copy.jww", bytes);

  const test::CliResult run = RunCli({"info", good.string(), cut.string(), text.string(),
                             (dir / "missing.jww").string(), dir.path().string(),
                             also_good.string()});
  EXPECT_EQ(run.status, 1);
  const auto out = Lines(run.out);
  ASSERT_EQ(out.size(), 2u) << run.out;
  EXPECT_EQ(out[0], good.string() +
                        ": jww version 600, 7 entities, 1 block definition, memo: メモ");
  EXPECT_EQ(out[1].substr(0, also_good.string().size()), also_good.string());
  const auto err = Lines(run.err);
  ASSERT_EQ(err.size(), 4u) << run.err;
  EXPECT_NE(err[0].find(cut.string() + ": truncated"), std::string::npos) << err[0];
  EXPECT_NE(err[1].find(text.string() + ": not a JWW drawing"), std::string::npos) << err[1];
  EXPECT_NE(err[2].find("missing.jww: cannot open"), std::string::npos) << err[2];
  EXPECT_NE(err[3].find(dir.path().string() + ": is a folder"), std::string::npos) << err[3];
  // Only a failure at a place in the bytes names an offset.
  EXPECT_NE(err[0].find(" at offset "), std::string::npos) << err[0];
  for (size_t i : {1, 2, 3}) EXPECT_EQ(err[i].find(" at offset"), std::string::npos) << err[i];
}

// A file too large for the memory there is (here a sparse 8 GB one under
// a 100 MB limit) fails alone, naming itself; the next file is still shown.
TEST(CliInfo, AFileTooLargeForMemoryFailsAlone) {
  if (test::kOnWindows) GTEST_SKIP() << "the memory limit is a shell's ulimit";
  TempDir dir;
  auto doc = TinyDrawing();
  const fs::path good = WriteDrawing(dir, "good.jww", *doc);
  const fs::path huge = dir.Write("huge.jww", "JwwData.");
  fs::resize_file(huge, uintmax_t{8} << 30);
  for (const char* command : {"info", "dump"}) {
    std::vector<std::string> args = {command, huge.string()};
    if (command == std::string("info")) args.push_back(good.string());
    const test::CliResult run = RunCli(args, "ulimit -v 102400; ");
    EXPECT_EQ(run.status, 1) << command;
    EXPECT_EQ(run.err, "varnelko-cli " + std::string(command) + ": " + huge.string() +
                           ": cannot load: std::bad_alloc\n");
    if (args.size() == 3) EXPECT_EQ(Lines(run.out).size(), 1u) << run.out;
  }
}

TEST(CliInfo, ControlCharactersInNamesAreEscaped) {
  if (test::kOnWindows) GTEST_SKIP() << "Windows names hold no control characters";
  TempDir dir;
  auto doc = TinyDrawing();
  const fs::path good = WriteDrawing(dir, "two\nlines.jww", *doc);
  const test::CliResult run =
      RunCli({"info", good.string(), (dir / "gone\r\x1b[2K.jww").string()});
  EXPECT_EQ(run.status, 1);
  ASSERT_EQ(Lines(run.out).size(), 1u) << run.out;
  EXPECT_NE(run.out.find("two\\x0alines.jww: jww version"), std::string::npos) << run.out;
  ASSERT_EQ(Lines(run.err).size(), 1u) << run.err;
  EXPECT_NE(run.err.find("gone\\x0d\\x1b[2K.jww: "), std::string::npos) << run.err;
}

TEST(CliInfo, TheSignatureDecidesTheFormat) {
  TempDir dir;
  auto doc = TinyDrawing();
  const std::string drawing = ReadFile(WriteDrawing(dir, "a.jww", *doc));
  const std::string figure = ReadFile(SamplesFolder() / u8"部品.jws");
  const fs::path renamed_drawing = dir.Write("drawing.jws", drawing);
  const fs::path renamed_figure = dir.Write("figure.dat", figure);
  const fs::path fake_figure = dir.Write("fake.jws", "JwwDat");
  const test::CliResult run =
      RunCli({"info", renamed_drawing.string(), renamed_figure.string(), fake_figure.string()});
  EXPECT_EQ(run.status, 1);
  const auto out = Lines(run.out);
  ASSERT_EQ(out.size(), 2u) << run.out;
  EXPECT_EQ(out[0].substr(0, renamed_drawing.string().size() + 19),
            renamed_drawing.string() + ": jww version 600, ");
  EXPECT_EQ(out[1].substr(0, renamed_figure.string().size() + 19),
            renamed_figure.string() + ": jws version 600, ");
  EXPECT_NE(run.err.find(fake_figure.string() + ": "), std::string::npos) << run.err;
}

TEST(CliInfo, BackupsShowTheMemoAsTheFileListDoes) {
  TempDir dir;
  auto doc = TinyDrawing();
  doc->header.memo = "\x83\x81\r\n\x83\x82";  // the list drops control bytes
  const std::string bytes = ReadFile(WriteDrawing(dir, "a.jww", *doc));
  const fs::path bak = dir.Write("a.BAK", bytes);
  const fs::path bk1 = dir.Write("a.bk1", bytes);
  const fs::path junk = dir.Write("b.BAK", "neither kind of drawing");
  const test::CliResult run = RunCli({"info", bak.string(), bk1.string(), junk.string()});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, bak.string() + ": backup, memo: メモ\n" + bk1.string() +
                         ": backup, memo: メモ\n" + junk.string() + ": backup, memo: \n");
}

TEST(CliDump, PrintsTheWholeDrawingInTheFixedSchema) {
  TempDir dir;
  auto doc = TinyDrawing();
  doc->header.paper_size = 3;
  doc->layer_groups[2].state = 0;
  doc->layer_groups[2].scale = 50;
  doc->layer_groups[2].name = Utf8ToCp932("設備");
  doc->layers[2 * 16 + 5].name = Utf8ToCp932("配管");
  doc->layers[2 * 16 + 5].state = 1;
  doc->color_ex[8].color = 0xFFFFFF;
  doc->color_ex[8].name = "white";
  doc->line_type_ex[2].name = "dashed";
  doc->text_types[9].color = 7;
  test::CliResult run = RunCli({"dump", WriteDrawing(dir, "tiny.jww", *doc).string()});
  ASSERT_EQ(run.status, 0) << run.err;
  // The drawing's header: every setting and table, each table on a line.
  const size_t header_at = run.out.find("  \"header\":{\n");
  const size_t header_end = run.out.find("\n  },\n", header_at);
  ASSERT_NE(header_end, std::string::npos) << run.out.substr(0, 400);
  const std::string header = run.out.substr(header_at, header_end + 5 - header_at);
  for (const char* part : {
           R"("paper_size":3,)",
           R"({"name":"設備","state":0,"write_layer":)",
           R"("scale":50,"protection":)",
           R"({"name":"配管","state":1,"protection":)",
           R"({"color":16777215,"width":)",
           R"("name":"white","printer_color":)",
           R"("name":"dashed","segment_count":)",
           R"(,"color":7}])",
           R"("text_settings":{"size":[)",
           R"("jumps":[{"zoom":)",
           R"("pen_colors":[{"screen_color":)",
       }) {
    EXPECT_NE(header.find(part), std::string::npos) << part;
  }
  EXPECT_EQ(Count(header, "\n      {\"name\":"), 16u);   // the layer groups
  EXPECT_EQ(Count(header, "\"protection\""), 16u * 17);   // groups and their layers
  EXPECT_EQ(Count(header, "\n      {\"color\":"), 257u);  // extended colours
  EXPECT_EQ(Count(header, "\n      {\"values\":"), 33u);  // extended line types
  run.out.erase(header_at, header.size() + 1);
  const std::string h = R"("header":{"group":3,"pen_style":1,"pen_color":2,"pen_width":1,)";
  const auto hdr = [&](int layer) {
    return h + R"("layer":)" + std::to_string(layer) + R"(,"layer_group":1,"flags":0})";
  };
  const auto line = [&](const std::string& ends) {
    return R"({"kind":"line",)" + hdr(4) + "," + ends + "}";
  };
  const auto text = [&](const std::string& s) {
    return R"({"kind":"text",)" + hdr(5) +
           R"(,"start":[1,2],"end":[31,2],"text_type":2,"size":[3.5,3.5],"spacing":0.25,)"
           R"("angle":0,"font":"ＭＳ ゴシック","text":")" + s + R"("})";
  };
  const auto point = [&] {
    return R"({"kind":"point",)" + hdr(8) +
           R"(,"pos":[0,0],"temporary":0,"code":0,"angle":0,"scale":0})";
  };
  const std::string expected =
      "{\n"
      R"(  "format":"jww",)" "\n"
      R"(  "signature":"JwwData.",)" "\n"
      R"(  "version":600,)" "\n"
      R"(  "memo":"メモ",)" "\n"
      R"(  "entities":[)" "\n    " +
      line(R"("start":[0.1,-2],"end":[1e+300,5e-324])") + ",\n    " +
      R"({"kind":"arc",)" + hdr(6) +
      R"(,"center":[10,20],"radius":5,"start_angle":0.5,"arc_angle":3.25,"tilt_angle":0,)"
      R"("flatness":1,"full_circle":0},)" "\n    " +
      R"({"kind":"point",)" + hdr(7) +
      R"(,"pos":[4,5],"temporary":0,"code":0,"angle":0,"scale":0},)" "\n    " +
      text("図面") + ",\n    " +
      R"({"kind":"dimension",)" + hdr(8) + R"(,"line":)" +
      line(R"("start":[0,0],"end":[10,0])") + R"(,"text":)" + text("10") +
      R"(,"sxf_mode":-2,"aux_lines":[)" + line(R"("start":[0,0],"end":[0,1])") + "," +
      line(R"("start":[10,0],"end":[10,1])") + R"(],"points":[)" + point() + "," + point() +
      "," + point() + "," + point() + "]},\n    " +
      R"({"kind":"solid",)" + hdr(9) + R"(,"corners":[[0,0],[1,0],[1,1],[0,1]],"color":0},)" +
      "\n    " + R"({"kind":"block",)" + hdr(10) +
      R"(,"base":[7,8],"scale":[1,2],"angle":0.75,"block_number":1})" "\n  ],\n" +
      R"(  "blocks":[)" "\n    {\n      " + hdr(11) + ",\n" +
      R"(      "number":1,)" "\n" R"(      "referenced":1,)" "\n" +
      R"(      "timestamp":5,)" "\n" R"(      "name":"部品",)" "\n" +
      R"(      "members":[)" "\n        " + line(R"("start":[1,1],"end":[2,2])") +
      "\n      ]\n    }\n  ],\n" R"(  "images":[])" "\n}\n";
  EXPECT_EQ(run.out, expected);
}

TEST(CliDump, HexStringsShowRawBytes) {
  TempDir dir;
  auto doc = TinyDrawing();
  doc->header.memo = "A\xFF";
  const test::CliResult run = RunCli({"dump", "--hex-strings", WriteDrawing(dir, "t.jww", *doc).string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find(R"("signature":"4a7777446174612e")"), std::string::npos);
  EXPECT_NE(run.out.find(R"("memo":"41ff")"), std::string::npos);
  EXPECT_NE(run.out.find(R"("name":"95949569")"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(R"("text":"907d96ca")"), std::string::npos);  // 図面
  EXPECT_NE(run.out.find(R"("font":"826c827220835383568362834e")"), std::string::npos);
}

TEST(CliDump, EscapesControlBytesAndReplacesUndecodableOnes) {
  TempDir dir;
  auto doc = TinyDrawing();
  doc->header.memo = "a\"b\\c\r\n\t\x01\x1F\xFFz";  // memos keep their control bytes
  const test::CliResult run = RunCli({"dump", WriteDrawing(dir, "t.jww", *doc).string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find(R"("memo":"a\"b\\c\r\n\t\u0001\u001f)" "\xEF\xBF\xBD" R"(z")"),
            std::string::npos)
      << run.out.substr(0, 200);
}

TEST(CliDump, NonFiniteDoublesAreStringsAndFiniteOnesRoundTrip) {
  TempDir dir;
  auto doc = TinyDrawing();
  const double inf = std::numeric_limits<double>::infinity();
  doc->store.lines[0] = Line(std::nan(""), inf, -inf, 0.1 + 0.2);
  doc->store.arcs[0].radius = -0.0;
  doc->store.arcs[0].start_angle = 1.0 / 3;
  const test::CliResult run = RunCli({"dump", WriteDrawing(dir, "t.jww", *doc).string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find(R"("start":["nan","inf"],"end":["-inf",0.30000000000000004])"),
            std::string::npos);
  EXPECT_NE(run.out.find(R"("radius":-0,"start_angle":0.3333333333333333,)"),
            std::string::npos);
  EXPECT_EQ(std::strtod("0.3333333333333333", nullptr), 1.0 / 3);
}

TEST(CliDump, FiguresAndFailures) {
  const test::CliResult figure = RunCli({"dump", PathToUtf8(SamplesFolder() / u8"部品.jws")});
  ASSERT_EQ(figure.status, 0) << figure.err;
  const std::string start =
      "{\n  \"format\":\"jws\",\n  \"signature\":\"JwsData\",\n  \"version\":600,\n";
  EXPECT_EQ(figure.out.substr(0, start.size()), start);
  EXPECT_NE(figure.out.find("\n  \"memo\":\"\",\n"), std::string::npos);
  EXPECT_NE(figure.out.find("\n  \"header\":{\n    \"leading\":["), std::string::npos);
  EXPECT_NE(figure.out.find("\n    \"group_scales\":["), std::string::npos);
  EXPECT_NE(figure.out.find("\n  \"images\":[]\n}\n"), std::string::npos);

  TempDir dir;
  const std::string bytes = ReadFile(SamplesFolder() / u8"平面図.jww");
  const fs::path cut = dir.Write("cut.jww", bytes.substr(0, 100));
  const test::CliResult failed = RunCli({"dump", cut.string()});
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(failed.out, "");
  EXPECT_NE(failed.err.find(cut.string() + ": truncated"), std::string::npos) << failed.err;

  const test::CliResult legacy = RunCli({"dump", dir.Write("old.jwc", "x").string()});
  EXPECT_EQ(legacy.status, 1);
  EXPECT_EQ(legacy.out, "");
}

TEST(CliDump, ControlCharactersInNamesAreEscaped) {
  TempDir dir;
  for (const char* name : {"gone\n\x1b[2K.jww", "old\nmemo.jwk"}) {
    const test::CliResult run = RunCli({"dump", (dir / name).string()});
    EXPECT_EQ(run.status, 1);
    ASSERT_EQ(Lines(run.err).size(), 1u) << run.err;
    EXPECT_NE(run.err.find(R"(\x0a)"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\x1b'), std::string::npos) << run.err;
  }
}

// Bound images stay in memory: neither command writes anything to the temp
// folder.
TEST(CliDump, PutsNothingIntoTheTempFolder) {
  TempDir tmp;
  const std::string drawing = PathToUtf8(SamplesFolder() / u8"平面図.jww");
  test::CliResult dump, info;
  {
    test::TempFolderOverride temp(tmp.path());
    dump = RunCli({"dump", drawing});
    info = RunCli({"info", drawing});
  }
  EXPECT_EQ(dump.status, 0) << dump.err;
  EXPECT_NE(dump.out.find(R"("images":[)" "\n" R"(    {"name":"image1.bmp","size":)"),
            std::string::npos);
  EXPECT_EQ(info.status, 0) << info.err;
  EXPECT_TRUE(fs::is_empty(tmp.path()));
}

// Images are written to disk only on request, each under its name inside
// the folder given; a name that would land anywhere else is refused.
TEST(CliDump, WritesImagesOnlyWhereAsked) {
  TempDir dir;
  auto doc = TinyDrawing();
  doc->header.version = 700;
  const std::string hyou = "\x95\x5C.bmp";  // "表.bmp": its 0x5C is part of the character
  const std::vector<std::pair<std::string, std::string>> images = {
      {"a.bmp", "AAAA"}, {hyou, "HYOU"}, {"..", "BAD2"}, {"../escape.bmp", "BAD1"},
      {"sub/b.bmp", "BAD3"}, {"c:d.bmp", "BAD4"}};
  for (const auto& [name, data] : images) {
    doc->images.list.push_back({name, static_cast<int32_t>(data.size()), 0, data});
    TEntMoji ref = Text("");
    ref.text = "^@BM%temp%" + name + ",10,10";
    doc->store.Add(ref);
  }
  const fs::path drawing = WriteDrawing(dir, "img.jww", *doc);
  fs::create_directory(dir / "out");
  fs::create_directory(dir / "out" / "sub");
  const test::CliResult run =
      RunCli({"dump", "--images", (dir / "out").string(), drawing.string()});
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_NE(run.out.find(R"({"name":"a.bmp","size":4})"), std::string::npos) << run.out;
  EXPECT_EQ(ReadFile(dir / "out" / "a.bmp"), "AAAA");
  EXPECT_EQ(ReadFile(dir / "out" / PathFromCp932Name(hyou)), "HYOU");  // "表.bmp" on Windows
  EXPECT_EQ(Lines(run.err).size(), 4u) << run.err;
  EXPECT_NE(run.err.find(R"(image "../escape.bmp": not a plain file name, not written)"),
            std::string::npos)
      << run.err;
  EXPECT_FALSE(fs::exists(dir / "escape.bmp"));
  EXPECT_TRUE(fs::is_empty(dir / "out" / "sub"));
  size_t files = 0;
  for (const auto& e : fs::directory_iterator(dir / "out")) files += e.is_regular_file();
  EXPECT_EQ(files, 2u);

  // Without the option nothing is written.
  const test::CliResult plain = RunCli({"dump", drawing.string()});
  EXPECT_EQ(plain.status, 0) << plain.err;
}

TEST(CliDump, RealDrawingsShowReadableJapanese) {
  const fs::path real = test::RealDrawingsFolder();
  if (real.empty()) GTEST_SKIP() << "no real drawings beside the project";
  size_t dumped = 0;
  bool saw_japanese = false;
  for (const char* kind : {"jww", "jws"}) {
    for (const auto& entry : fs::directory_iterator(real / kind)) {
      const test::CliResult run = RunCli({"dump", entry.path().string()});
      ASSERT_EQ(run.status, 0) << entry.path() << ": " << run.err;
      EXPECT_EQ(run.out.find("\xEF\xBF\xBD"), std::string::npos) << entry.path();
      saw_japanese = saw_japanese || run.out.find("ＭＳ ゴシック") != std::string::npos;
      ++dumped;
    }
  }
  EXPECT_GT(dumped, 0u);
  EXPECT_TRUE(saw_japanese);
}

}  // namespace
}  // namespace varnelko
