// The window tests need what the program sets up before its window: common
// controls, COM for the shell's dialogs and GDI+.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR gdiplus = 0;
  Gdiplus::GdiplusStartup(&gdiplus, &input, nullptr);
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  Gdiplus::GdiplusShutdown(gdiplus);
  CoUninitialize();
  return result;
}
