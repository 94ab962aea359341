#pragma once
// Text on the Windows clipboard.
#include <windows.h>

#include <string>

namespace varnelko::win32 {

// Puts `utf8` on the clipboard as Unicode text, its line ends as CR LF as
// Windows programs expect them; false when the clipboard is held elsewhere.
bool PutTextOnClipboard(HWND owner, const std::string& utf8);

}  // namespace varnelko::win32
