#pragma once
// One loaded JWW drawing: the header record, the fixed setting tables, the
// entities and the bound images. The system interprets only the signature,
// the version and the memo; every other value is kept so that it can be
// written back.
#include <array>
#include <cstdint>
#include <string>

#include "document/bound_images.h"
#include "document/entity_store.h"

namespace varnelko {

struct TLayerGroup {
  int32_t state = 0;
  int32_t write_layer = 0;
  double scale = 0;
  int32_t protection = 0;
  std::string name;
  bool operator==(const TLayerGroup&) const = default;
};

struct TLayer {
  int32_t state = 0;
  int32_t protection = 0;
  std::string name;
  bool operator==(const TLayer&) const = default;
};

struct TPenColorEntry {
  int32_t screen_color = 0, screen_width = 0;
  int32_t printer_color = 0, printer_width = 0;
  double printer_point_radius = 0;
  bool operator==(const TPenColorEntry&) const = default;
};

// pattern bits, step, screen pitch, printer pitch
struct TLineTypeEntry {
  std::array<int32_t, 4> values{};
  bool operator==(const TLineTypeEntry&) const = default;
};

struct TRandomLineEntry {
  std::array<int32_t, 5> values{};
  bool operator==(const TRandomLineEntry&) const = default;
};

struct TDoubleLineTypeEntry {
  std::array<int32_t, 4> values{};
  bool operator==(const TDoubleLineTypeEntry&) const = default;
};

struct TColorExNo {
  int32_t color = 0, width = 0;
  std::string name;
  int32_t printer_color = 0, printer_width = 0;
  double printer_point_radius = 0;
  bool operator==(const TColorExNo&) const = default;
};

struct TLineTypeExNo {
  std::array<int32_t, 4> values{};  // pattern, step, screen pitch, printer pitch
  std::string name;
  int32_t segment_count = 0;
  std::array<double, 10> pitches{};
  bool operator==(const TLineTypeExNo&) const = default;
};

struct TTextTypeEntry {
  double width = 0, height = 0, spacing = 0;
  int32_t color = 0;
  bool operator==(const TTextTypeEntry&) const = default;
};

struct TJumpEntry {
  double zoom = 1.0, x = 0, y = 0;
  int32_t layer_group = -1;
  bool operator==(const TJumpEntry&) const = default;
};

// Two further records of the jump table's shape, kept as they are.
struct TSpareJump {
  double a = 0, b = 0, c = 0;
  int32_t d = 0;
  bool operator==(const TSpareJump&) const = default;
};

struct TTextSettings {
  double width = 0, height = 0, spacing = 0;
  int32_t color = 0, type = 0;
  double tidy_line_spacing = 0, tidy_char_count = 0;
  int32_t offsets_on = 0;
  std::array<double, 3> h_offsets{};  // left, centre, right
  std::array<double, 3> v_offsets{};  // bottom, centre, top
  bool operator==(const TTextSettings&) const = default;
};

// Defaults are those of a cleared document, which a field keeps when the
// file's version does not carry it.
struct THeader {
  std::string signature;  // the file's first 8 bytes
  int32_t version = 0;
  std::string memo;       // raw code page 932 bytes
  int32_t paper_size = 0;
  int32_t write_layer_group = 0;
  std::array<int32_t, 14> reserved{};
  std::array<int32_t, 5> dim_settings{};
  int32_t reserved2 = 0;
  int32_t max_draw_width = 0;
  double printer_origin_x = 0, printer_origin_y = 0;
  double printer_scale = 1.0;
  int32_t printer_settings = 0;
  int32_t grid_mode = 0;
  double grid_min_spacing = 1.0, grid_spacing_x = 1.0, grid_spacing_y = 1.0;
  double grid_base_x = 0, grid_base_y = 0;
  double sun_level = 0, latitude = 0;
  int32_t time_range = 0;
  double wall_shadow_level = 0;
  double sky_level = 0, sky_radius = 0;  // version 300 and later
  int32_t unit_25d = 0;
  double view_zoom = 1.0, view_x = 0, view_y = 0;
  double range_zoom = 1.0, range_x = 0, range_y = 0;
  std::array<TJumpEntry, 8> jumps{};
  std::array<TSpareJump, 2> spare_jumps{};
  std::array<double, 10> parallel_spacings{};
  double parallel_end_margin = 0;
  std::array<int32_t, 10> version_settings{};
  // The packed value P of the version block, kept as P mod 10 and P div 10.
  int32_t packed_units = 0, packed_rest = 0;
  std::array<int32_t, 5> group2_ints{};
  std::array<double, 5> group2_doubles{};
  std::array<double, 4> group3{};
  std::array<int32_t, 2> group4{};
  TTextSettings text_settings;
  bool operator==(const THeader&) const = default;
};

struct JwwDocument {
  THeader header;
  std::array<TLayerGroup, 16> layer_groups{};
  std::array<TLayer, 256> layers{};  // group * 16 + layer
  std::array<TPenColorEntry, 10> pen_colors{};
  std::array<TLineTypeEntry, 8> line_types{};
  std::array<TRandomLineEntry, 5> random_lines{};
  std::array<TDoubleLineTypeEntry, 4> double_line_types{};
  std::array<TColorExNo, 257> color_ex{};
  std::array<TLineTypeExNo, 33> line_type_ex{};
  std::array<TTextTypeEntry, 10> text_types{};
  EntityStore store;
  BoundImages images;
  // Bytes after the drawing's end: no part of it, never written back.
  uint64_t trailing_bytes = 0;
};

// Resets header, tables and entities to a cleared document. Bound images are
// left alone.
void ClearJwwDocument(JwwDocument& doc);

// Empties the image list, then clears the document.
void FreeJwwDocument(JwwDocument& doc);

}  // namespace varnelko
