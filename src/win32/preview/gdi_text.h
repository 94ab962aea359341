#pragma once
// Drawing texts of the preview with GDI: the fixed-pitch drawing font at the
// reference size, turned, scaled and stretched by a world transform. On
// Wine this is several times quicker than GDI+'s strings, and a picture
// sets up to several hundred texts. Measuring and drawing use the same
// font, so a text stretched to its measured advance fills its length.
#include <windows.h>

#include <string_view>

#include "desktop/painter.h"

namespace varnelko::win32 {

class GdiText {
 public:
  GdiText() = default;
  ~GdiText();
  GdiText(const GdiText&) = delete;
  GdiText& operator=(const GdiText&) = delete;

  double Advance(HDC dc, std::string_view utf8);
  // As Painter::DrawText; `smooth` antialiases the glyphs.
  void Draw(HDC dc, std::string_view utf8, DevicePoint anchor, double angle, double height_px,
            double x_scale, uint32_t rgb, bool smooth);

 private:
  HFONT Font(HDC dc, bool smooth);  // made when first needed

  HFONT fonts_[2] = {nullptr, nullptr};  // aliased, smooth
  double descent_px_ = 0;                // of the reference size
};

}  // namespace varnelko::win32
