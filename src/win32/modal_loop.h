#pragma once
// The loop of a window shown as a modal dialog: its owner is disabled and
// the dialog keys (Tab, Enter, Escape) work until the dialog says it is
// done.
#include <windows.h>

namespace varnelko::win32 {

// Handles messages while `open` stays true; a quit message ends the loop
// and is posted again for the program's own loop.
void RunModal(HWND dialog, HWND owner, const bool& open);

// The answer to WM_CTLCOLORSTATIC (and WM_CTLCOLORBTN) on a dialog's face:
// labels and boxes drawn on the face's colour, not the window's white.
LRESULT OnDialogFace(HDC dc);

}  // namespace varnelko::win32
