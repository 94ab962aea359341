// Program entry of the Windows desktop program: common controls, COM for
// the shell's dialogs, GDI+ for the preview and the pictures, then the main
// window and its message loop until it closes.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include "platform/console.h"
#include "platform/wide_text.h"
#include "version.h"
#include "win32/app_locations.h"
#include "win32/main_window.h"
#include "win32/message_loop.h"
#include "win32/screenshot.h"
#include "win32/system_feedback.h"

namespace {

// A window program has no console of its own: the version goes where its
// output was sent, else to the console it was started from, else into a
// message box.
int ShowVersion() {
  const std::string text = varnelko::VersionText();
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out == nullptr || out == INVALID_HANDLE_VALUE) {
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) {
      MessageBoxW(nullptr, varnelko::WideFromUtf8(text).c_str(), L"Varnelko", MB_OK);
      return 0;
    }
    SetStdHandle(STD_OUTPUT_HANDLE, CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                OPEN_EXISTING, 0, nullptr));
  }
  varnelko::platform::WriteText(varnelko::platform::Stream::kOut, text + "\n");
  return 0;
}

int RunProgram(HINSTANCE instance, int show_command) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv && argc == 2 && lstrcmpW(argv[1], L"--version") == 0) {
    LocalFree(argv);
    return ShowVersion();
  }
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
