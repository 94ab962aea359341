#pragma once
// The message loop of the window program, and the waiting that the tests
// and the screenshots do while the window's workers finish.
#include <functional>

#include "win32/main_window.h"

namespace varnelko::win32 {

// Runs until the main window closes; Escape goes to the window first.
int RunMessageLoop(MainWindow& window);

// Handles messages until `done` answers true or `timeout_ms` pass; false on timeout.
bool PumpUntil(MainWindow& window, const std::function<bool()>& done, int timeout_ms = 20000);

// Handles the messages waiting now.
void PumpPending(MainWindow& window);

}  // namespace varnelko::win32
