// `dump [--hex-strings] FILE`: the whole loaded drawing as JSON, in a fixed
// schema that other tools compare against.
#include <cstdio>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/load_drawing.h"
#include "document/cp932.h"

namespace varnelko::cli {
namespace {

// Large drawings are written out in pieces of about this size.
constexpr size_t kFlushBytes = 1 << 20;

class DrawingDumper {
 public:
  DrawingDumper(bool hex_strings) : json_(buffer_), hex_strings_(hex_strings) {}

  void Dump(const LoadedDrawing& drawing);

 private:
  void Text(std::string_view raw);
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
  std::fwrite(buffer_.data(), 1, buffer_.size(), stdout);
  buffer_.clear();
}

void DrawingDumper::Text(std::string_view raw) {
  json_.String(hex_strings_ ? HexBytes(raw) : Cp932ToUtf8(raw));
}

void DrawingDumper::Header(const TEntHeader& h) {
  json_.BeginObject();
  json_.Key("group");
  json_.Int(h.group);
  json_.Key("pen_style");
  json_.Int(h.pen_style);
  json_.Key("pen_color");
  json_.Int(h.pen_color);
  json_.Key("pen_width");
  json_.Int(h.pen_width);
  json_.Key("layer");
  json_.Int(h.layer);
  json_.Key("layer_group");
  json_.Int(h.layer_group);
  json_.Key("flags");
  json_.Int(h.flags);
  json_.EndObject();
}

void DrawingDumper::Begin(const char* kind, const TEntHeader& header) {
  json_.BeginObject();
  json_.Key("kind");
  json_.String(kind);
  json_.Key("header");
  Header(header);
}

void DrawingDumper::Line(const TEntSen& e) {
  Begin("line", e.header);
  json_.Key("start");
  json_.Point(e.start_x, e.start_y);
  json_.Key("end");
  json_.Point(e.end_x, e.end_y);
  json_.EndObject();
}

void DrawingDumper::Arc(const TEntEnko& e) {
  Begin("arc", e.header);
  json_.Key("center");
  json_.Point(e.center_x, e.center_y);
  json_.Key("radius");
  json_.Double(e.radius);
  json_.Key("start_angle");
  json_.Double(e.start_angle);
  json_.Key("arc_angle");
  json_.Double(e.arc_angle);
  json_.Key("tilt_angle");
  json_.Double(e.tilt_angle);
  json_.Key("flatness");
  json_.Double(e.flatness);
  json_.Key("full_circle");
  json_.Int(e.full_circle);
  json_.EndObject();
}

void DrawingDumper::Point(const TEntTen& e) {
  Begin("point", e.header);
  json_.Key("pos");
  json_.Point(e.x, e.y);
  json_.Key("temporary");
  json_.Int(e.temporary);
  json_.Key("code");
  json_.Int(e.code);
  json_.Key("angle");
  json_.Double(e.angle);
  json_.Key("scale");
  json_.Double(e.scale);
  json_.EndObject();
}

void DrawingDumper::TextEntity(const TEntMoji& e) {
  Begin("text", e.header);
  json_.Key("start");
  json_.Point(e.start_x, e.start_y);
  json_.Key("end");
  json_.Point(e.end_x, e.end_y);
  json_.Key("text_type");
  json_.Int(e.text_type);
  json_.Key("size");
  json_.Point(e.size_x, e.size_y);
  json_.Key("spacing");
  json_.Double(e.spacing);
  json_.Key("angle");
  json_.Double(e.angle);
  json_.Key("font");
  Text(e.font);
  json_.Key("text");
  Text(e.text);
  json_.EndObject();
}

void DrawingDumper::Dimension(const TEntSunpo& e) {
  Begin("dimension", e.header);
  json_.Key("line");
  Line(e.line);
  json_.Key("text");
  TextEntity(e.text);
  json_.Key("sxf_mode");
  json_.Int(e.sxf_mode);
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
  json_.Key("color");
  json_.Int(e.color);
  json_.EndObject();
}

void DrawingDumper::Block(const TEntBlock& e) {
  Begin("block", e.header);
  json_.Key("base");
  json_.Point(e.base_x, e.base_y);
  json_.Key("scale");
  json_.Point(e.scale_x, e.scale_y);
  json_.Key("angle");
  json_.Double(e.angle);
  json_.Key("block_number");
  json_.Int(e.block_number);
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
  json_.Key("number");
  json_.Int(def.number);
  json_.Key("referenced");
  json_.Int(def.referenced);
  json_.Key("timestamp");
  json_.Int(def.timestamp);
  json_.Key("name");
  Text(def.name);
  json_.Key("members");
  Entities(def.members);
  json_.EndObject();
}

void DrawingDumper::Images(const BoundImages& images) {
  json_.BeginArray(true);
  for (const TBindImageType& image : images.list) {
    json_.BeginObject();
    json_.Key("name");
    Text(image.name);
    json_.Key("size");
    json_.Int(image.size);
    json_.EndObject();
  }
  json_.EndArray();
}

void DrawingDumper::Dump(const LoadedDrawing& drawing) {
  json_.BeginObject(true);
  json_.Key("format");
  json_.String(drawing.format());
  json_.Key("signature");
  Text(drawing.signature());
  json_.Key("version");
  json_.Int(drawing.version());
  json_.Key("memo");
  Text(drawing.memo());
  json_.Key("entities");
  Entities(drawing.store());
  json_.Key("blocks");
  json_.BeginArray(true);
  for (const TEntBlockDef& def : drawing.store().block_defs) BlockDef(def);
  json_.EndArray();
  json_.Key("images");
  Images(drawing.images());
  json_.EndObject();
  std::fwrite(buffer_.data(), 1, buffer_.size(), stdout);
  buffer_.clear();
  std::fflush(stdout);
}

struct DumpOptions {
  std::string file;
  bool hex_strings = false;
};

int RunDump(const DumpOptions& options) {
  if (IsMemoOnlyFile(options.file)) {
    std::fprintf(stderr, "varnelko-cli dump: %s: only JWW drawings and JWS figures can be dumped\n",
                 options.file.c_str());
    return 1;
  }
  LoadedDrawing drawing;
  FormatError error;
  if (!drawing.Load(options.file, &error)) {
    std::fprintf(stderr, "varnelko-cli dump: %s: %s\n", options.file.c_str(),
                 error.Describe().c_str());
    return 1;
  }
  DrawingDumper(options.hex_strings).Dump(drawing);
  return 0;
}

}  // namespace

void AddDumpCommand(CLI::App& app, int& exit_code) {
  auto* command = app.add_subcommand("dump", "Print a whole drawing as JSON");
  auto options = std::make_shared<DumpOptions>();
  command->add_flag("--hex-strings", options->hex_strings,
                    "Print every string as the hexadecimal of its raw bytes");
  command->add_option("file", options->file, "JWW drawing or JWS figure")->required();
  command->callback([options, &exit_code] { exit_code = RunDump(*options); });
}

}  // namespace varnelko::cli
