#pragma once
// The fonts of the window program: the Japanese UI face the system has
// (Yu Gothic UI, then Meiryo UI, then MS UI Gothic) and a fixed-pitch face
// for the file list.
#include <windows.h>

namespace varnelko::win32 {

// `points` at the screen's resolution; the caller deletes the font.
HFONT CreateUiFont(int points = 9, bool bold = false);
HFONT CreateListFont(int points = 9);

// Sets `font` on every child of `parent`.
void SetFontOnChildren(HWND parent, HFONT font);

}  // namespace varnelko::win32
