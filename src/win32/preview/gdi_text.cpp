#include "win32/preview/gdi_text.h"

#include <cmath>
#include <string>

#include "platform/wide_text.h"

namespace varnelko::win32 {

namespace {

// Selects `object` into `dc` until the guard ends.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selected() { SelectObject(dc_, old_); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace

GdiText::~GdiText() {
  for (HFONT font : fonts_) {
    if (font) DeleteObject(font);
  }
}

HFONT GdiText::Font(HDC dc, bool smooth) {
  HFONT& font = fonts_[smooth ? 1 : 0];
  if (font) return font;
  // The face Jw_cad sets drawings' texts in; where it is missing the font
  // mapper takes another fixed-pitch face with Japanese glyphs.
  font = CreateFontW(-static_cast<int>(kTextReferencePixels), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                     FALSE, SHIFTJIS_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                     smooth ? ANTIALIASED_QUALITY : NONANTIALIASED_QUALITY,
                     FIXED_PITCH | FF_MODERN, L"ＭＳ ゴシック");
  const Selected selected(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  descent_px_ = metrics.tmDescent;
  return font;
}

double GdiText::Advance(HDC dc, std::string_view utf8) {
  const std::wstring text = WideFromUtf8(utf8);
  const Selected font(dc, Font(dc, false));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

void GdiText::Draw(HDC dc, std::string_view utf8, DevicePoint anchor, double angle,
                   double height_px, double x_scale, uint32_t rgb, bool smooth) {
  const std::wstring text = WideFromUtf8(utf8);
  const HFONT font = Font(dc, smooth);
  const int saved = SaveDC(dc);
  SelectObject(dc, font);
  SetGraphicsMode(dc, GM_ADVANCED);  // world transforms turn and stretch glyphs
  // Reference-size glyphs scaled to the height, stretched along the base
  // line, turned clockwise on screen, placed at the anchor.
  const double s = height_px / kTextReferencePixels, sx = s * x_scale;
  const double c = std::cos(angle), n = std::sin(angle);
  const XFORM to_device{static_cast<FLOAT>(sx * c), static_cast<FLOAT>(sx * n),
                        static_cast<FLOAT>(-s * n), static_cast<FLOAT>(s * c),
                        static_cast<FLOAT>(anchor.x), static_cast<FLOAT>(anchor.y)};
  SetWorldTransform(dc, &to_device);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
  SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
  // The anchor is the bottom of the descent: the base line is above it.
  ExtTextOutW(dc, 0, -static_cast<int>(std::lround(descent_px_)), 0, nullptr, text.c_str(),
              static_cast<UINT>(text.size()), nullptr);
  RestoreDC(dc, saved);
}

}  // namespace varnelko::win32
