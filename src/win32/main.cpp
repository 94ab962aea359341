// Program entry of the Windows desktop program: common controls, COM for
// the shell's dialogs, GDI+ for the preview and the pictures, then the main
// window and its message loop until it closes.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include "win32/app_locations.h"
#include "win32/main_window.h"
#include "win32/message_loop.h"
#include "win32/screenshot.h"
#include "win32/system_feedback.h"

namespace {

int RunProgram(HINSTANCE instance, int show_command) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv && argc == 4 && lstrcmpW(argv[1], L"--screenshot") == 0) {
    const int result = varnelko::win32::RunScreenshots(instance, argv[2], argv[3]);
    LocalFree(argv);
    return result;
  }
  LocalFree(argv);
  varnelko::win32::SystemFeedback prompts;
  varnelko::win32::MainWindow window(instance, varnelko::win32::DefaultAppLocations(), prompts);
  if (!window.Create(show_command)) return 1;
  prompts.SetOwner(window.hwnd());
  return varnelko::win32::RunMessageLoop(window);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  INITCOMMONCONTROLSEX controls{sizeof(controls),
                                ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES |
                                    ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  Gdiplus::GdiplusStartupInput gdiplus_input;
  ULONG_PTR gdiplus = 0;
  Gdiplus::GdiplusStartup(&gdiplus, &gdiplus_input, nullptr);
  const int result = RunProgram(instance, show_command);
  Gdiplus::GdiplusShutdown(gdiplus);
  CoUninitialize();
  return result;
}
