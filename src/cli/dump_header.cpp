#include "cli/dump_header.h"

#include <array>

#include "document/cp932.h"

namespace varnelko::cli {
namespace {

class HeaderDumper {
 public:
  HeaderDumper(const JwwDocument& doc, bool hex_strings, JsonWriter& json)
      : doc_(doc), hex_(hex_strings), json_(json) {}

  void Dump() {
    const THeader& h = doc_.header;
    json_.BeginObject(true);
    json_.IntField("paper_size", h.paper_size);
    json_.IntField("write_layer_group", h.write_layer_group);
    LayerGroups();
    Settings(h);
    Views(h);
    Tables();
    json_.EndObject();
  }

 private:
  void Text(std::string_view name, std::string_view raw) {
    json_.StringField(name, DumpText(raw, hex_));
  }

  // One line per group, its sixteen layers inline.
  void LayerGroups() {
    json_.Key("layer_groups");
    json_.BeginArray(true);
    for (size_t g = 0; g < doc_.layer_groups.size(); ++g) {
      const TLayerGroup& group = doc_.layer_groups[g];
      json_.BeginObject();
      Text("name", group.name);
      json_.IntField("state", group.state);
      json_.IntField("write_layer", group.write_layer);
      json_.DoubleField("scale", group.scale);
      json_.IntField("protection", group.protection);
      json_.Key("layers");
      json_.BeginArray();
      for (size_t l = 0; l < 16; ++l) {
        const TLayer& layer = doc_.layers[g * 16 + l];
        json_.BeginObject();
        Text("name", layer.name);
        json_.IntField("state", layer.state);
        json_.IntField("protection", layer.protection);
        json_.EndObject();
      }
      json_.EndArray();
      json_.EndObject();
    }
    json_.EndArray();
  }

  void Settings(const THeader& h) {
    json_.Key("reserved"), json_.Ints(h.reserved);
    json_.Key("dimension_settings"), json_.Ints(h.dim_settings);
    json_.IntField("reserved2", h.reserved2);
    json_.IntField("max_draw_width", h.max_draw_width);
    json_.PointField("printer_origin", h.printer_origin_x, h.printer_origin_y);
    json_.DoubleField("printer_scale", h.printer_scale);
    json_.IntField("printer_settings", h.printer_settings);
    json_.IntField("grid_mode", h.grid_mode);
    json_.DoubleField("grid_min_spacing", h.grid_min_spacing);
    json_.PointField("grid_spacing", h.grid_spacing_x, h.grid_spacing_y);
    json_.PointField("grid_base", h.grid_base_x, h.grid_base_y);
    json_.Key("sun_shadow");
    json_.Doubles(std::array{h.sun_level, h.latitude, h.wall_shadow_level, h.sky_level, h.sky_radius});
    json_.IntField("sun_time_range", h.time_range);
    json_.IntField("unit_25d", h.unit_25d);
    json_.Key("parallel_spacings"), json_.Doubles(h.parallel_spacings);
    json_.DoubleField("parallel_end_margin", h.parallel_end_margin);
    json_.Key("version_settings"), json_.Ints(h.version_settings);
    json_.Key("packed"), json_.Ints(std::array{h.packed_units, h.packed_rest});
    json_.Key("group2_ints"), json_.Ints(h.group2_ints);
    json_.Key("group2_doubles"), json_.Doubles(h.group2_doubles);
    json_.Key("group3"), json_.Doubles(h.group3);
    json_.Key("group4"), json_.Ints(h.group4);
    const TTextSettings& t = h.text_settings;
    json_.Key("text_settings");
    json_.BeginObject();
    json_.PointField("size", t.width, t.height);
    json_.DoubleField("spacing", t.spacing);
    json_.IntField("color", t.color);
    json_.IntField("type", t.type);
    json_.DoubleField("tidy_line_spacing", t.tidy_line_spacing);
    json_.DoubleField("tidy_char_count", t.tidy_char_count);
    json_.IntField("offsets_on", t.offsets_on);
    json_.Key("h_offsets"), json_.Doubles(t.h_offsets);
    json_.Key("v_offsets"), json_.Doubles(t.v_offsets);
    json_.EndObject();
  }

  void Views(const THeader& h) {
    json_.Key("view");
    json_.Doubles(std::array{h.view_zoom, h.view_x, h.view_y});
    json_.Key("range");
    json_.Doubles(std::array{h.range_zoom, h.range_x, h.range_y});
    json_.Key("jumps");
    json_.BeginArray();
    for (const TJumpEntry& j : h.jumps) {
      json_.BeginObject();
      json_.DoubleField("zoom", j.zoom);
      json_.PointField("base", j.x, j.y);
      json_.IntField("layer_group", j.layer_group);
      json_.EndObject();
    }
    json_.EndArray();
    json_.Key("spare_jumps");
    json_.BeginArray();
    for (const TSpareJump& j : h.spare_jumps) {
      json_.BeginArray();
      json_.Double(j.a), json_.Double(j.b), json_.Double(j.c), json_.Int(j.d);
      json_.EndArray();
    }
    json_.EndArray();
  }

  void Tables() {
    json_.Key("pen_colors");
    json_.BeginArray();
    for (const TPenColorEntry& p : doc_.pen_colors) {
      json_.BeginObject();
      json_.IntField("screen_color", p.screen_color);
      json_.IntField("screen_width", p.screen_width);
      json_.IntField("printer_color", p.printer_color);
      json_.IntField("printer_width", p.printer_width);
      json_.DoubleField("printer_point_radius", p.printer_point_radius);
      json_.EndObject();
    }
    json_.EndArray();
    IntRows("line_types", doc_.line_types);
    IntRows("random_lines", doc_.random_lines);
    IntRows("double_line_types", doc_.double_line_types);
    json_.Key("colors_ex");
    json_.BeginArray(true);
    for (const TColorExNo& c : doc_.color_ex) {
      json_.BeginObject();
      json_.IntField("color", c.color);
      json_.IntField("width", c.width);
      Text("name", c.name);
      json_.IntField("printer_color", c.printer_color);
      json_.IntField("printer_width", c.printer_width);
      json_.DoubleField("printer_point_radius", c.printer_point_radius);
      json_.EndObject();
    }
    json_.EndArray();
    json_.Key("line_types_ex");
    json_.BeginArray(true);
    for (const TLineTypeExNo& t : doc_.line_type_ex) {
      json_.BeginObject();
      json_.Key("values"), json_.Ints(t.values);
      Text("name", t.name);
      json_.IntField("segment_count", t.segment_count);
      json_.Key("pitches"), json_.Doubles(t.pitches);
      json_.EndObject();
    }
    json_.EndArray();
    json_.Key("text_types");
    json_.BeginArray();
    for (const TTextTypeEntry& t : doc_.text_types) {
      json_.BeginObject();
      json_.PointField("size", t.width, t.height);
      json_.DoubleField("spacing", t.spacing);
      json_.IntField("color", t.color);
      json_.EndObject();
    }
    json_.EndArray();
  }

  template <typename Table>
  void IntRows(std::string_view name, const Table& table) {
    json_.Key(name);
    json_.BeginArray();
    for (const auto& row : table) json_.Ints(row.values);
    json_.EndArray();
  }

  const JwwDocument& doc_;
  bool hex_;
  JsonWriter& json_;
};

}  // namespace

std::string DumpText(std::string_view cp932, bool hex_strings) {
  return hex_strings ? HexBytes(cp932) : Cp932ToUtf8(cp932);
}

void DumpJwwHeader(const JwwDocument& doc, bool hex_strings, JsonWriter& json) {
  HeaderDumper(doc, hex_strings, json).Dump();
}

void DumpJwsHeader(const JwsDocument& doc, JsonWriter& json) {
  json.BeginObject(true);
  json.Key("leading"), json.Doubles(std::array{doc.leading1, doc.leading2});
  json.Key("group_scales"), json.Doubles(doc.group_scales);
  json.Key("header_ints"), json.Ints(doc.header_ints);
  json.Key("header_doubles"), json.Doubles(doc.header_doubles);
  json.EndObject();
}

}  // namespace varnelko::cli
