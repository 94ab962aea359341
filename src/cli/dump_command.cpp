// `dump [--hex-strings] [--images DIR] FILE`: the whole loaded drawing as
// JSON, in a fixed schema that other tools compare against; on request the
// bound images are written as files into DIR.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "cli/commands.h"
#include "cli/dump_header.h"
#include "cli/file_arguments.h"
#include "cli/json_writer.h"
#include "cli/report_text.h"
#include "document/cp932.h"
#include "document/text_helpers.h"
#include "formats/loaded_drawing.h"
#include "platform/console.h"
#include "platform/output_folder.h"
#include "platform/path_text.h"

namespace varnelko::cli {
namespace {

// Large drawings are written out in pieces of about this size.
constexpr size_t kFlushBytes = 1 << 20;

class DrawingDumper {
 public:
  DrawingDumper(bool hex_strings) : json_(buffer_), hex_strings_(hex_strings) {}

  void Dump(const LoadedDrawing& drawing);

 private:
  void TextField(std::string_view name, std::string_view raw);
  void Header(const TEntHeader& h);
  void Entities(const EntityList& list);
  void Entity(const EntityList& list, const TEntRef& ref);
  void Line(const TEntSen& e);
  void Arc(const TEntEnko& e);
  void Point(const TEntTen& e);
  void TextEntity(const TEntMoji& e);
  void Dimension(const TEntSunpo& e);
  void Solid(const TEntSolid& e);
  void Block(const TEntBlock& e);
  void BlockDef(const TEntBlockDef& def);
  void Images(const BoundImages& images);
  void Begin(const char* kind, const TEntHeader& header);
  void FlushIfLarge();

  std::string buffer_;
  JsonWriter json_;
  bool hex_strings_;
};

void DrawingDumper::FlushIfLarge() {
  if (buffer_.size() < kFlushBytes) return;
  platform::WriteText(platform::Stream::kOut, buffer_);
  buffer_.clear();
}

void DrawingDumper::TextField(std::string_view name, std::string_view raw) {
  json_.StringField(name, DumpText(raw, hex_strings_));
}

void DrawingDumper::Header(const TEntHeader& h) {
  json_.BeginObject();
  json_.IntField("group", h.group);
  json_.IntField("pen_style", h.pen_style);
  json_.IntField("pen_color", h.pen_color);
  json_.IntField("pen_width", h.pen_width);
  json_.IntField("layer", h.layer);
  json_.IntField("layer_group", h.layer_group);
  json_.IntField("flags", h.flags);
  json_.EndObject();
}

void DrawingDumper::Begin(const char* kind, const TEntHeader& header) {
  json_.BeginObject();
  json_.StringField("kind", kind);
  json_.Key("header");
  Header(header);
}

void DrawingDumper::Line(const TEntSen& e) {
  Begin("line", e.header);
  json_.PointField("start", e.start_x, e.start_y);
  json_.PointField("end", e.end_x, e.end_y);
  json_.EndObject();
}

void DrawingDumper::Arc(const TEntEnko& e) {
  Begin("arc", e.header);
  json_.PointField("center", e.center_x, e.center_y);
  json_.DoubleField("radius", e.radius);
  json_.DoubleField("start_angle", e.start_angle);
  json_.DoubleField("arc_angle", e.arc_angle);
  json_.DoubleField("tilt_angle", e.tilt_angle);
  json_.DoubleField("flatness", e.flatness);
  json_.IntField("full_circle", e.full_circle);
  json_.EndObject();
}

void DrawingDumper::Point(const TEntTen& e) {
  Begin("point", e.header);
  json_.PointField("pos", e.x, e.y);
  json_.IntField("temporary", e.temporary);
  json_.IntField("code", e.code);
  json_.DoubleField("angle", e.angle);
  json_.DoubleField("scale", e.scale);
  json_.EndObject();
}

void DrawingDumper::TextEntity(const TEntMoji& e) {
  Begin("text", e.header);
  json_.PointField("start", e.start_x, e.start_y);
  json_.PointField("end", e.end_x, e.end_y);
  json_.IntField("text_type", e.text_type);
  json_.PointField("size", e.size_x, e.size_y);
  json_.DoubleField("spacing", e.spacing);
  json_.DoubleField("angle", e.angle);
  TextField("font", e.font);
  TextField("text", e.text);
  json_.EndObject();
}

void DrawingDumper::Dimension(const TEntSunpo& e) {
  Begin("dimension", e.header);
  json_.Key("line");
  Line(e.line);
  json_.Key("text");
  TextEntity(e.text);
  json_.IntField("sxf_mode", e.sxf_mode);
  json_.Key("aux_lines");
  json_.BeginArray();
  for (const TEntSen& line : e.aux_lines) Line(line);
  json_.EndArray();
  json_.Key("points");
  json_.BeginArray();
  for (const TEntTen& point : e.points) Point(point);
  json_.EndArray();
  json_.EndObject();
}

void DrawingDumper::Solid(const TEntSolid& e) {
  Begin("solid", e.header);
  json_.Key("corners");
  json_.BeginArray();
  for (const TSolidCorner& corner : e.corners) json_.Point(corner.x, corner.y);
  json_.EndArray();
  json_.IntField("color", e.color);
  json_.EndObject();
}

void DrawingDumper::Block(const TEntBlock& e) {
  Begin("block", e.header);
  json_.PointField("base", e.base_x, e.base_y);
  json_.PointField("scale", e.scale_x, e.scale_y);
  json_.DoubleField("angle", e.angle);
  json_.IntField("block_number", e.block_number);
  json_.EndObject();
}

void DrawingDumper::Entity(const EntityList& list, const TEntRef& ref) {
  const auto i = static_cast<size_t>(ref.index);
  switch (ref.kind) {
    case kKindLine: return Line(list.lines.at(i));
    case kKindArc: return Arc(list.arcs.at(i));
    case kKindPoint: return Point(list.points.at(i));
    case kKindText: return TextEntity(list.texts.at(i));
    case kKindDimension: return Dimension(list.dimensions.at(i));
    case kKindSolid: return Solid(list.solids.at(i));
    case kKindBlock: return Block(list.blocks.at(i));
    default: json_.String("unknown kind " + std::to_string(ref.kind));
  }
}

void DrawingDumper::Entities(const EntityList& list) {
  json_.BeginArray(true);
  for (const TEntRef& ref : list.order) {
    Entity(list, ref);
    FlushIfLarge();
  }
  json_.EndArray();
}

void DrawingDumper::BlockDef(const TEntBlockDef& def) {
  json_.BeginObject(true);
  json_.Key("header");
  Header(def.header);
  json_.IntField("number", def.number);
  json_.IntField("referenced", def.referenced);
  json_.IntField("timestamp", def.timestamp);
  TextField("name", def.name);
  json_.Key("members");
  Entities(def.members);
  json_.EndObject();
}

void DrawingDumper::Images(const BoundImages& images) {
  json_.BeginArray(true);
  for (const TBindImageType& image : images.list) {
    json_.BeginObject();
    TextField("name", image.name);
    json_.IntField("size", image.size);
    json_.EndObject();
  }
  json_.EndArray();
}

void DrawingDumper::Dump(const LoadedDrawing& drawing) {
  json_.BeginObject(true);
  json_.StringField("format", drawing.format());
  TextField("signature", drawing.signature());
  json_.IntField("version", drawing.version());
  TextField("memo", drawing.memo());
  json_.Key("header");
  if (drawing.jww()) {
    DumpJwwHeader(*drawing.jww(), hex_strings_, json_);
  } else {
    DumpJwsHeader(*drawing.jws(), json_);
  }
  json_.Key("entities");
  Entities(drawing.store());
  json_.Key("blocks");
  json_.BeginArray(true);
  for (const TEntBlockDef& def : drawing.store().block_defs) BlockDef(def);
  json_.EndArray();
  json_.Key("images");
  Images(drawing.images());
  json_.EndObject();
  platform::WriteText(platform::Stream::kOut, buffer_);
  buffer_.clear();
}

struct DumpOptions {
  std::string file;
  bool hex_strings = false;
  std::string images_folder;
};

// True when `name` (code page 932 bytes) can be a file directly inside the
// images folder: not empty, not "." or "..", no path separator, drive colon
// or zero byte. The byte 0x5C ending a double-byte character (as in "表")
// is part of that character, not a backslash.
bool IsPlainImageName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  auto separator = [](char c) { return c == '/' || c == '\\' || c == ':' || c == '\0'; };
  for (size_t i = 0; i < name.size(); ++i) {
    if (IsLeadByte(static_cast<uint8_t>(name[i])) && i + 1 < name.size()) {
      if (name[++i] != '\\' && separator(name[i])) return false;
    } else if (separator(name[i])) {
      return false;
    }
  }
  return true;
}

// Why the image cannot be written, or empty when it can be.
std::string ImageRefusal(const TBindImageType& image) {
  if (image.name.empty()) return "has no name, not written";
  if (!IsPlainImageName(image.name)) return "not a plain file name, not written";
  return {};
}

// Writes every image under its own name into `folder`, never over a file
// that is there (one from before, or an earlier image of the same name).
// An image that cannot be written is reported and the others go on.
bool WriteImages(const BoundImages& images, const std::filesystem::path& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  OutputFolder out;
  std::string why;
  if (!out.Open(folder, why)) {
    PrintErrorLine("varnelko-cli dump: " + EscapeControls(PathToUtf8(folder)) + ": " + why);
    return false;
  }
  bool ok = true;
  for (const TBindImageType& image : images.list) {
    std::string error = ImageRefusal(image);
    if (error.empty()) {
      const std::string_view data = image.data;
      ec = out.CreateNew(PathFromCp932Name(image.name), std::span(&data, 1));
      if (!ec) continue;
      error = ec == std::errc::file_exists
                  ? "a file of that name is already in the folder, not written"
                  : "cannot write: " + ec.message();
    }
    PrintErrorLine("varnelko-cli dump: image " + QuoteBytes(image.name) + ": " + error);
    ok = false;
  }
  return ok;
}

int RunDump(const DumpOptions& options) {
  const std::filesystem::path path = PathFromUtf8(options.file);
  if (IsMemoOnlyFile(path)) {
    PrintErrorLine("varnelko-cli dump: " + EscapeControls(Shown(options.file)) +
                   ": only JWW drawings and JWS figures can be dumped");
    return 1;
  }
  LoadedDrawing drawing;
  FormatError error;
  if (!drawing.Load(path, &error)) {
    PrintErrorLine("varnelko-cli dump: " + EscapeControls(Shown(options.file)) + ": " +
                   EscapeControls(error.Describe()));
    return 1;
  }
  try {
    DrawingDumper(options.hex_strings).Dump(drawing);
  } catch (const std::exception& e) {
    // Only a document that breaks its own invariants gets here; say so
    // rather than end with an uncaught exception.
    PrintErrorLine("varnelko-cli dump: " + EscapeControls(Shown(options.file)) + ": " + e.what());
    return 1;
  }
  if (!options.images_folder.empty() &&
      !WriteImages(drawing.images(), PathFromUtf8(options.images_folder))) {
    return 1;
  }
  return 0;
}

}  // namespace

void AddDumpCommand(CLI::App& app, int& exit_code) {
  auto* command = app.add_subcommand("dump", "Print a whole drawing as JSON");
  auto options = std::make_shared<DumpOptions>();
  command->add_flag("--hex-strings", options->hex_strings,
                    "Print every string as the hexadecimal of its raw bytes");
  command->add_option("--images", options->images_folder,
                      "Also write each bound image, under its own name, into this folder");
  command->add_option("file", options->file, "JWW drawing or JWS figure")
      ->required()
      ->transform(OneFile());
  command->callback([options, &exit_code] { exit_code = RunDump(*options); });
}

}  // namespace varnelko::cli
