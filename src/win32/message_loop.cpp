#include "win32/message_loop.h"

namespace varnelko::win32 {

namespace {

void Dispatch(MainWindow& window, MSG& message) {
  if (window.TakeKey(message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace

int RunMessageLoop(MainWindow& window) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) Dispatch(window, message);
  return static_cast<int>(message.wParam);
}

void PumpPending(MainWindow& window) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) Dispatch(window, message);
}

bool PumpUntil(MainWindow& window, const std::function<bool()>& done, int timeout_ms) {
  const ULONGLONG end = GetTickCount64() + timeout_ms;
  while (!done()) {
    if (GetTickCount64() > end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    PumpPending(window);
  }
  return true;
}

}  // namespace varnelko::win32
