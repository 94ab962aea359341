#include <string>

#include "formats/cstring.h"
#include "formats/jww/jww_header.h"

namespace varnelko {
namespace {

// Versions at which the header grows.
constexpr int32_t kLongJumpTableAbove = 230;
constexpr int32_t kSkyMapVersion = 300;
constexpr int32_t kGroup2Version = 223;
constexpr int32_t kGroup3Version = 225;
constexpr int32_t kGroup4Version = 230;
constexpr int32_t kExtendedTablesVersion = 420;

template <typename T, size_t N>
void ReadI32s(ByteReader& in, std::array<T, N>& values) {
  for (T& v : values) v = in.I32();
}

template <size_t N>
void ReadF64s(ByteReader& in, std::array<double, N>& values) {
  for (double& v : values) v = in.F64();
}

void ReadLayerStates(ByteReader& in, JwwDocument& doc) {
  for (size_t g = 0; g < doc.layer_groups.size(); ++g) {
    TLayerGroup& group = doc.layer_groups[g];
    group.state = in.I32();
    group.write_layer = in.I32();
    group.scale = in.F64();
    group.protection = in.I32();
    for (size_t l = 0; l < 16; ++l) {
      TLayer& layer = doc.layers[g * 16 + l];
      layer.state = in.I32();
      layer.protection = in.I32();
    }
  }
}

// H7 to H20: reserved words, dimension settings, printer and grid.
void ReadPrinterAndGrid(ByteReader& in, THeader& h) {
  ReadI32s(in, h.reserved);
  ReadI32s(in, h.dim_settings);
  h.reserved2 = in.I32();
  h.max_draw_width = in.I32();
  h.printer_origin_x = in.F64();
  h.printer_origin_y = in.F64();
  h.printer_scale = in.F64();
  h.printer_settings = in.I32();
  h.grid_mode = in.I32();
  h.grid_min_spacing = in.F64();
  h.grid_spacing_x = in.F64();
  h.grid_spacing_y = in.F64();
  h.grid_base_x = in.F64();
  h.grid_base_y = in.F64();
}

void ReadNames(ByteReader& in, JwwDocument& doc) {
  for (TLayer& layer : doc.layers) layer.name = ReadCString(in);
  for (TLayerGroup& group : doc.layer_groups) group.name = ReadCString(in);
}

// H23 to H35: sun shadow, sky map, 2.5D unit, view and stored range.
void ReadViewSettings(ByteReader& in, THeader& h) {
  h.sun_level = in.F64();
  h.latitude = in.F64();
  h.time_range = in.I32();
  h.wall_shadow_level = in.F64();
  if (h.version >= kSkyMapVersion) {
    h.sky_level = in.F64();
    h.sky_radius = in.F64();
  }
  h.unit_25d = in.I32();
  h.view_zoom = in.F64();
  h.view_x = in.F64();
  h.view_y = in.F64();
  h.range_zoom = in.F64();
  h.range_x = in.F64();
  h.range_y = in.F64();
}

// H36: eight jumps with layer groups and two spare records, or, up to
// version 230, four jumps without layer groups.
void ReadJumpTable(ByteReader& in, THeader& h) {
  if (h.version > kLongJumpTableAbove) {
    for (TJumpEntry& jump : h.jumps) {
      jump.zoom = in.F64();
      jump.x = in.F64();
      jump.y = in.F64();
      jump.layer_group = in.I32();
    }
    for (TSpareJump& spare : h.spare_jumps) {
      spare.a = in.F64();
      spare.b = in.F64();
      spare.c = in.F64();
      spare.d = in.I32();
    }
  } else {
    for (size_t i = 0; i < 4; ++i) {
      h.jumps[i].zoom = in.F64();
      h.jumps[i].x = in.F64();
      h.jumps[i].y = in.F64();
    }
  }
}

// H37 to H43: parallel lines, pen colours, line types.
void ReadPenTables(ByteReader& in, JwwDocument& doc) {
  ReadF64s(in, doc.header.parallel_spacings);
  doc.header.parallel_end_margin = in.F64();
  for (TPenColorEntry& pen : doc.pen_colors) {
    pen.screen_color = in.I32();
    pen.screen_width = in.I32();
  }
  for (TPenColorEntry& pen : doc.pen_colors) {
    pen.printer_color = in.I32();
    pen.printer_width = in.I32();
    pen.printer_point_radius = in.F64();
  }
  for (TLineTypeEntry& type : doc.line_types) ReadI32s(in, type.values);
  for (TRandomLineEntry& type : doc.random_lines) ReadI32s(in, type.values);
  for (TDoubleLineTypeEntry& type : doc.double_line_types) ReadI32s(in, type.values);
}

// H44 to H47: the version block, which grows with the version.
void ReadVersionBlock(ByteReader& in, THeader& h) {
  ReadI32s(in, h.version_settings);
  int32_t packed = in.I32();
  h.packed_units = packed % 10;  // C++ division truncates toward zero
  h.packed_rest = packed / 10;
  if (h.version >= kGroup2Version) {
    ReadI32s(in, h.group2_ints);
    ReadF64s(in, h.group2_doubles);
  }
  if (h.version >= kGroup3Version) ReadF64s(in, h.group3);
  if (h.version >= kGroup4Version) ReadI32s(in, h.group4);
}

// H48 to H51, from version 420.
void ReadExtendedTables(ByteReader& in, JwwDocument& doc) {
  for (TColorExNo& color : doc.color_ex) {
    color.color = in.I32();
    color.width = in.I32();
  }
  for (TColorExNo& color : doc.color_ex) {
    color.name = ReadCString(in);
    color.printer_color = in.I32();
    color.printer_width = in.I32();
    color.printer_point_radius = in.F64();
  }
  for (TLineTypeExNo& type : doc.line_type_ex) ReadI32s(in, type.values);
  for (TLineTypeExNo& type : doc.line_type_ex) {
    type.name = ReadCString(in);
    type.segment_count = in.I32();
    ReadF64s(in, type.pitches);
  }
}

// H52, H53: text types and the current text settings.
void ReadTextSettings(ByteReader& in, JwwDocument& doc) {
  for (TTextTypeEntry& type : doc.text_types) {
    type.width = in.F64();
    type.height = in.F64();
    type.spacing = in.F64();
    type.color = in.I32();
  }
  TTextSettings& t = doc.header.text_settings;
  t.width = in.F64();
  t.height = in.F64();
  t.spacing = in.F64();
  t.color = in.I32();
  t.type = in.I32();
  t.tidy_line_spacing = in.F64();
  t.tidy_char_count = in.F64();
  t.offsets_on = in.I32();
  ReadF64s(in, t.h_offsets);
  ReadF64s(in, t.v_offsets);
}

// H1 to H47. The version decides every later size, so a reader that checks
// it stops right after it.
void ReadThroughVersionBlock(ByteReader& in, JwwDocument& doc, bool check_version) {
  THeader& h = doc.header;
  h.signature = in.Bytes(8);
  size_t version_offset = in.offset();
  h.version = in.I32();
  if (!in.ok()) return;
  if (check_version && h.version < kJwwMinVersion) {
    in.FailAt(version_offset, "version " + std::to_string(h.version) + " is below " +
            std::to_string(kJwwMinVersion));
    return;
  }
  h.memo = ReadCString(in);
  h.paper_size = in.I32();
  h.write_layer_group = in.I32();
  ReadLayerStates(in, doc);
  ReadPrinterAndGrid(in, h);
  ReadNames(in, doc);
  ReadViewSettings(in, h);
  ReadJumpTable(in, h);
  ReadPenTables(in, doc);
  ReadVersionBlock(in, h);
}

}  // namespace

void ReadJwwHeader(ByteReader& in, JwwDocument& doc) {
  ReadThroughVersionBlock(in, doc, true);
  if (!in.ok()) return;
  if (doc.header.version >= kExtendedTablesVersion) ReadExtendedTables(in, doc);
  ReadTextSettings(in, doc);
}

void ReadJwwMemoFields(ByteReader& in, JwwDocument& doc) {
  // The memo column reads any file as a drawing, whatever its version.
  ReadThroughVersionBlock(in, doc, false);
}

}  // namespace varnelko
