#pragma once
// How pen colours and line types look: one named screen palette for pen
// colours 1..9, the SXF standard colours, the drawing's own extended colours,
// and one table of dash patterns.
#include <array>
#include <cstdint>

#include "document/jww_document.h"

namespace varnelko::render {

// The screen palette's name, for captions and the SVG.
constexpr const char* kPaletteName = "jw-white";

constexpr uint32_t kGroundRgb = 0xFFFFFF;      // screen and paper
constexpr uint32_t kPaperFrameRgb = 0x8C8C8C;  // the sheet's edge on screen
constexpr float kPaperFrameWidthPx = 0.8f;
constexpr uint32_t kLockedRgb = 0xA8A8A8;      // entities on locked layers, on screen
constexpr uint32_t kAuxRgb = 0xF08CB4;   // pale pink, as auxiliary lines show while drawing
constexpr float kAuxWidthPx = 0.6f;
constexpr uint8_t kAuxDash = 9;          // DashPattern of auxiliary entities
constexpr uint32_t kChangeRgb = 0xFF7A00;  // "after" marks
constexpr float kChangeWidthPx = 4.0f;

// Lengths in output pixels, dash then gap, repeated; count 0 is solid.
struct DashPattern {
  std::array<float, 6> lengths{};
  uint8_t count = 0;
};
constexpr int kDashPatterns = 10;
const DashPattern& Dash(uint8_t index);

struct PenLook {
  uint32_t rgb = 0;
  float width_px = 1;
  uint8_t dash = 0;
  bool aux = false;
};

// The look of a pen colour and line type. Colours 101..356 are SXF colours
// (100 + number): the drawing's extended colour table when it has one
// (`color_ex`, JWW from version 420), else the table a new drawing carries.
PenLook LookOf(uint16_t pen_color, uint8_t pen_style, const std::array<TColorExNo, 257>* color_ex);

// A colour that would vanish on `ground` (every channel within kNearGround
// of it) as the contrasting one: black on a light ground, white on a dark
// one. Drafters draw "white" lines for a dark screen; on paper they are black.
constexpr int kNearGround = 0x30;
uint32_t Contrasting(uint32_t rgb, uint32_t ground = kGroundRgb);

// A Windows colour value (0x00BBGGRR), as the drawing stores solid and
// extended colours, as 0xRRGGBB.
uint32_t RgbOfColorRef(int32_t colorref);

}  // namespace varnelko::render
