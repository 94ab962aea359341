#pragma once
// Helpers for drawings made by hand in code, as a drafter lays them out:
// coordinates in millimetres on paper, texts as long as their characters,
// a sheet frame with a title block.
#include <numbers>
#include <string>

#include "document/jww_document.h"

namespace varnelko::test {

constexpr double kPi = std::numbers::pi;

TEntHeader Pen(uint16_t layer, uint16_t color, uint8_t style = 1, uint16_t group = 0);
TEntSen Line(const TEntHeader& h, double x1, double y1, double x2, double y2);
TEntEnko Arc(const TEntHeader& h, double cx, double cy, double r, double start = 0,
             double sweep = 2 * kPi, double flatness = 1, double tilt = 0);
// A text of `size` millimetres whose end point lies where its characters
// end; `units_per_mm` > 1 when the caller places it in real millimetres
// that ToPaper later divides.
TEntMoji Text(const TEntHeader& h, const char* utf8, double x, double y, double size,
              double units_per_mm = 1);
void Rect(EntityList& l, const TEntHeader& h, double x1, double y1, double x2, double y2);
// A dimension from (x1, y1) to (x2, y2), its line `offset` to the left of
// that direction, its text the real length (the paper length times `scale`).
TEntSunpo Dimension(const TEntHeader& h, double x1, double y1, double x2, double y2, double offset,
                    double scale, double units_per_mm = 1);

// Every coordinate of the top level and of every block definition moved by
// `shift`, then divided by `units_per_mm`; sizes of texts stay as they are.
void ToPaper(EntityStore& store, double shift_x, double shift_y, double units_per_mm);

// A new drawing: every group at `scale`, every layer editable, group 0's
// layer 0 the one being written, on paper `paper_code`.
JwwDocument NewDrawing(int32_t version, const char* memo, double scale, int32_t paper_code);

// The sheet's border 10 mm inside its edge, and a title block in its lower
// right corner with the title, the scale and the drawing number, on layer
// `layer` of group `group`. The sheet is `width` by `height`, centred.
void SheetFrame(EntityList& l, double width, double height, uint16_t group, uint16_t layer,
                const char* title, const char* scale, const char* number);

}  // namespace varnelko::test
