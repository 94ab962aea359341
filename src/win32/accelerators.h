#pragma once
// The window's keys as Windows accelerators: the desktop layer names each
// command's key ("Ctrl+O", "F5", "Ctrl+Return"); here they become entries of
// the accelerator table the message loop translates, and the texts menus
// show after a tab.
#include <windows.h>

#include <optional>
#include <string>

#include "desktop/shortcuts.h"

namespace varnelko::win32 {

// `key` as an accelerator that sends the command `id`; nothing for a key
// text it cannot read.
std::optional<ACCEL> AcceleratorOf(const char* key, WORD id);

// The keys of the commands that menus and the convert button run. Opening
// a row (Enter on the list) and stopping a run (Escape) are bound where the
// list and the message loop see their keys. The caller destroys the table.
HACCEL CreateCommandAccelerators();

// `label` with the key of `command` after a tab, as Windows menus show it.
std::wstring MenuItemText(const wchar_t* label, Command command);

}  // namespace varnelko::win32
