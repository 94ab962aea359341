#pragma once
// `varnelko.exe --screenshot DIR OUT`: the main window before any folder is
// listed, then listing DIR sorted by size with its first row previewed and
// the counts of a run over it, the same after the conversion as printed, the
// settings dialog, and the failure list of a run over a few broken files,
// saved as PNG pictures into OUT for the documentation.
#include <windows.h>

#include <string>

namespace varnelko::win32 {

int RunScreenshots(HINSTANCE instance, const std::wstring& folder, const std::wstring& out_folder);

// The window as it is on the screen, frame included, into a PNG file.
bool SaveWindowPng(HWND window, const std::wstring& path);

}  // namespace varnelko::win32
