#pragma once
// Entity records as they stand in a drawing: every record begins with an
// entity header, and fields follow the order in which the file stores them.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace varnelko {

// Entity kind codes, as stored in the object order.
enum EntityKind : int32_t {
  kKindLine = 1,
  kKindArc = 2,
  kKindPoint = 3,
  kKindText = 4,
  kKindDimension = 5,
  kKindSolid = 6,
  kKindBlock = 7,
};
// The writers also normalise block definition headers, as type 8.
constexpr int kNormBlockDef = 8;

// Pen colour, layer, layer group and flags are 16-bit fields that the rules
// compare as unsigned numbers, so they are held unsigned.
struct TEntHeader {
  int32_t group = 0;
  uint8_t pen_style = 0;  // 100 marks a point with extra fields
  uint16_t pen_color = 0; // 10 marks a solid with an explicit colour
  uint16_t pen_width = 0; // absent (0) before version 351
  uint16_t layer = 0;
  uint16_t layer_group = 0;
  uint16_t flags = 0;
  bool operator==(const TEntHeader&) const = default;
};

void CopyEntHeader(const TEntHeader& from, TEntHeader& to);

struct TEntSen {
  TEntHeader header;
  double start_x = 0, start_y = 0, end_x = 0, end_y = 0;
  bool operator==(const TEntSen&) const = default;
};

struct TEntEnko {
  TEntHeader header;
  double center_x = 0, center_y = 0, radius = 0;
  double start_angle = 0, arc_angle = 0, tilt_angle = 0, flatness = 0;
  int32_t full_circle = 0;
  bool operator==(const TEntEnko&) const = default;
};

// code, angle and scale are carried only when the pen style is 100.
struct TEntTen {
  TEntHeader header;
  double x = 0, y = 0;
  int32_t temporary = 0;
  int32_t code = 0;
  double angle = 0, scale = 0;
  bool operator==(const TEntTen&) const = default;
};

// font and text are raw code page 932 bytes.
struct TEntMoji {
  TEntHeader header;
  double start_x = 0, start_y = 0, end_x = 0, end_y = 0;
  int32_t text_type = 0;
  double size_x = 0, size_y = 0, spacing = 0, angle = 0;
  std::string font;
  std::string text;
  bool operator==(const TEntMoji&) const = default;
};

// Auxiliary lines and points are carried in files from version 420 on.
struct TEntSunpo {
  TEntHeader header;
  TEntSen line;
  TEntMoji text;
  int16_t sxf_mode = 0;
  std::array<TEntSen, 2> aux_lines{};
  std::array<TEntTen, 4> points{};
  bool operator==(const TEntSunpo&) const = default;
};

struct TSolidCorner {
  double x = 0, y = 0;
  bool operator==(const TSolidCorner&) const = default;
};

// color is carried only when the pen colour is 10.
struct TEntSolid {
  TEntHeader header;
  std::array<TSolidCorner, 4> corners{};
  int32_t color = 0;
  bool operator==(const TEntSolid&) const = default;
};

struct TEntBlock {
  TEntHeader header;
  double base_x = 0, base_y = 0, scale_x = 0, scale_y = 0, angle = 0;
  int32_t block_number = 0;
  bool operator==(const TEntBlock&) const = default;
};

// One entry of an object order: kind code and 0-based index in that kind's array.
struct TEntRef {
  int32_t kind = 0;
  int32_t index = 0;
  bool operator==(const TEntRef&) const = default;
};

}  // namespace varnelko
