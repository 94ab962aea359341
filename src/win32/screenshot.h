#pragma once
// `varnelko.exe --screenshot DIR OUT`: the main window listing DIR with its
// first row previewed, the same after the conversion as printed, and the
// settings dialog, saved as PNG pictures into OUT for the documentation.
#include <windows.h>

#include <string>

namespace varnelko::win32 {

int RunScreenshots(HINSTANCE instance, const std::wstring& folder, const std::wstring& out_folder);

// The window as it is on the screen, frame included, into a PNG file.
bool SaveWindowPng(HWND window, const std::wstring& path);

}  // namespace varnelko::win32
