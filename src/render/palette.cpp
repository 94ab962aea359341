#include "render/palette.h"

#include <cstdlib>

namespace varnelko::render {
namespace {

// Pen colours 0..9 on a white ground; 0 and unknown colours draw black.
constexpr std::array<uint32_t, 10> kScreenColors = {
    0x000000,  // 0
    0x00A0C8,  // 1 water blue
    0x000000,  // 2 black
    0x00A000,  // 3 green
    0xC8A000,  // 4 yellow, darkened to show on white
    0xD000D0,  // 5 magenta
    0x0000FF,  // 6 blue
    0x006E6E,  // 7 dark cyan
    0xE00000,  // 8 red
    kAuxRgb,   // 9 auxiliary
};
constexpr std::array<float, 10> kScreenWidths = {1, 1, 1.4f, 1, 1, 1, 1, 1.2f, 1, kAuxWidthPx};

// The SXF colours 1..16 of the extended colour table that a new drawing
// carries (black, red, green, blue, yellow, magenta, cyan, white, deep pink,
// brown, orange, light green, light blue, lavender, light grey, dark grey);
// figures, which carry no table, draw with it so that a figure looks as
// the drawing it came from. Colours 17..32 are light grey there, the rest
// black.
constexpr std::array<uint32_t, 17> kSxfColors = {
    0x000000, 0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
    0xC00080, 0xC08040, 0xFF8000, 0x80C080, 0x0080FF, 0x8040FF, 0xC0C0C0, 0x808080};
constexpr uint32_t kUserSxfRgb = 0xC0C0C0;
constexpr int kLastUserSxf = 32;

// Line types 1..9, SXF line types follow their nearest one.
constexpr std::array<DashPattern, kDashPatterns> kDashes = {{
    {{}, 0},                      // 0 solid
    {{}, 0},                      // 1 solid
    {{9, 4}, 2},                  // 2 dotted 1
    {{3, 3}, 2},                  // 3 dotted 2
    {{6, 5}, 2},                  // 4 dotted 3
    {{16, 3, 2, 3}, 4},           // 5 chain 1
    {{26, 4, 3, 4}, 4},           // 6 chain 2
    {{16, 3, 2, 3, 2, 3}, 6},     // 7 double chain 1
    {{26, 4, 3, 4, 3, 4}, 6},     // 8 double chain 2
    {{4, 3}, 2},                  // 9 auxiliary
}};

// SXF line types 1..16 (styles 31..46) to the table above.
constexpr std::array<uint8_t, 17> kSxfDashes = {1, 1, 2, 4, 5, 7, 7, 3, 6, 8, 5, 5, 7, 7, 7, 7, 1};

uint8_t DashOfStyle(uint8_t style) {
  if (style <= 9) return style;
  if (style >= 16 && style <= 19) return static_cast<uint8_t>(style - 14);  // double-length 2..5
  if (style >= 31 && style <= 46) return kSxfDashes[style - 30];
  return 1;  // random lines and unknown styles draw solid
}

uint32_t ColorOf(uint16_t color, const std::array<TColorExNo, 257>* ex) {
  if (color < kScreenColors.size()) return kScreenColors[color];
  if (color > 100 && color <= 356) {
    const int n = color - 100;
    if (ex) return RgbOfColorRef((*ex)[n].color);
    if (n < static_cast<int>(kSxfColors.size())) return kSxfColors[n];
    return n <= kLastUserSxf ? kUserSxfRgb : 0x000000;
  }
  return 0x000000;
}

}  // namespace

const DashPattern& Dash(uint8_t index) { return kDashes[index < kDashPatterns ? index : 0]; }

uint32_t Contrasting(uint32_t rgb, uint32_t ground) {
  bool near = true;
  for (int shift : {0, 8, 16}) {
    const int a = static_cast<int>((rgb >> shift) & 0xFF), b = static_cast<int>((ground >> shift) & 0xFF);
    near = near && std::abs(a - b) < kNearGround;
  }
  if (!near) return rgb;
  const int luma = 299 * ((ground >> 16) & 0xFF) + 587 * ((ground >> 8) & 0xFF) + 114 * (ground & 0xFF);
  return luma >= 128 * 1000 ? 0x000000 : 0xFFFFFF;
}

uint32_t RgbOfColorRef(int32_t colorref) {
  const uint32_t c = static_cast<uint32_t>(colorref);
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

PenLook LookOf(uint16_t pen_color, uint8_t pen_style, const std::array<TColorExNo, 257>* color_ex) {
  PenLook look;
  if (pen_color == 9 || pen_style == 9) {
    look.rgb = kAuxRgb;
    look.width_px = kAuxWidthPx;
    look.dash = kAuxDash;
    look.aux = true;
    return look;
  }
  look.rgb = ColorOf(pen_color, color_ex);
  look.width_px = pen_color < kScreenWidths.size() ? kScreenWidths[pen_color] : 1.0f;
  look.dash = DashOfStyle(pen_style);
  return look;
}

}  // namespace varnelko::render
