#include "win32/ui_font.h"

#include <initializer_list>

namespace varnelko::win32 {

namespace {

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool HasFace(const wchar_t* face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &wanted, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

// The first face of `faces` the system has; the last one otherwise, which
// the font mapper then stands in for.
const wchar_t* FirstFace(std::initializer_list<const wchar_t*> faces) {
  for (const wchar_t* face : faces) {
    if (HasFace(face)) return face;
  }
  return *(faces.end() - 1);
}

HFONT MakeFont(const wchar_t* face, int points, bool bold) {
  HDC screen = GetDC(nullptr);
  const int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  return CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, face);
}

}  // namespace

HFONT CreateUiFont(int points, bool bold) {
  return MakeFont(FirstFace({L"Yu Gothic UI", L"Meiryo UI", L"MS UI Gothic"}), points, bold);
}

HFONT CreateListFont(int points) {
  // A fixed pitch keeps the size column's blanks as wide as its digits.
  return MakeFont(FirstFace({L"MS Gothic", L"ＭＳ ゴシック", L"Yu Gothic UI", L"MS UI Gothic"}),
                  points, false);
}

void SetFontOnChildren(HWND parent, HFONT font) {
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM font) -> BOOL {
        SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(font));
}

}  // namespace varnelko::win32
