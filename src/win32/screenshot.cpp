#include "win32/screenshot.h"

#include <windows.h>

#include <commctrl.h>
// GDI+ needs min and max, which NOMINMAX hides.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <filesystem>
#include <vector>

#include "platform/path_text.h"
#include "platform/wide_text.h"
#include "win32/control_ids.h"
#include "win32/main_window.h"
#include "win32/message_loop.h"
#include "win32/preview/preview_pane.h"
#include "win32/settings_dialog.h"
#include "win32/system_feedback.h"

namespace varnelko::win32 {

namespace {

bool PngEncoder(CLSID& clsid) {
  UINT count = 0, bytes = 0;
  Gdiplus::GetImageEncodersSize(&count, &bytes);
  std::vector<char> buffer(bytes);
  auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  Gdiplus::GetImageEncoders(count, bytes, encoders);
  for (UINT i = 0; i < count; ++i) {
    if (lstrcmpW(encoders[i].MimeType, L"image/png") == 0) {
      clsid = encoders[i].Clsid;
      return true;
    }
  }
  return false;
}

// Lets the window and its workers settle, then paints everything.
void Settle(MainWindow& window) {
  PumpUntil(window, [&] { return !window.Working() && !window.preview().Pending(); });
  for (int i = 0; i < 10; ++i) {
    PumpPending(window);
    Sleep(20);
  }
}

}  // namespace

bool SaveWindowPng(HWND window, const std::wstring& path) {
  // The client area and the menu bar: without a window manager (Xvfb) the
  // frame and title bar stay unpainted.
  RECT r;
  GetClientRect(window, &r);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  MENUBARINFO menu{};
  menu.cbSize = sizeof(menu);
  if (GetMenu(window) && GetMenuBarInfo(window, OBJID_MENU, 0, &menu)) r.top = menu.rcBar.top;
  const int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  // The screen's copy: Wine's PrintWindow paints no child controls.
  SetForegroundWindow(window);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  CLSID png;
  bool saved = false;
  if (PngEncoder(png)) {
    Gdiplus::Bitmap image(bitmap, nullptr);
    saved = image.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
  }
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return saved;
}

int RunScreenshots(HINSTANCE instance, const std::wstring& folder, const std::wstring& out_folder) {
  // A private ini file: the pictures show the design values, and no user's
  // settings are touched.
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::filesystem::path scratch = std::filesystem::path(temp) / L"varnelko-screenshot";
  std::error_code ignored;
  std::filesystem::create_directories(scratch / L"out", ignored);
  std::filesystem::remove(scratch / L"varnelko.ini", ignored);

  SystemFeedback prompts;
  MainWindow window(instance, {scratch / L"", scratch / L"varnelko.ini"}, prompts);
  if (!window.Create(SW_SHOW)) return 1;
  prompts.SetOwner(window.hwnd());
  SetWindowPos(window.hwnd(), nullptr, 0, 0, 1060, 760, SWP_NOZORDER);
  window.state().pane_width = 200;
  window.state().preview_height = 520;
  SendMessageW(window.hwnd(), WM_SIZE, 0, 0);

  const std::filesystem::path source = std::filesystem::absolute(folder);
  window.SetSearchFolder(source);
  window.SearchFolders();
  HWND tree = window.Control(kTreeView1);
  TreeView_SelectItem(tree, TreeView_GetRoot(tree));
  window.ListFiles(window.state().search_folder);
  Settle(window);
  HWND list = window.Control(kStringGrid1);
  ListView_SetColumnWidth(list, 0, 170);
  ListView_SetColumnWidth(list, 3, 240);
  ListView_SetColumnWidth(list, 4, 150);
  window.SetOutputFolder(scratch / L"out" / L"");
  // The first row's drawing before and after converting layer 2 (the
  // furniture of the house plan) to the auxiliary colour and line type.
  ConversionSettings& settings = window.state().settings;
  settings.C(2) = 2;
  settings.C(3) = 1;
  settings.C(4) = 1;
  window.preview().SetSettings(settings);
  Settle(window);

  const std::filesystem::path out(out_folder);
  bool ok = SaveWindowPng(window.hwnd(), (out / L"main-window.png").wstring());
  window.SetPreviewSwitches(true, true);
  Settle(window);
  ok = SaveWindowPng(window.hwnd(), (out / L"main-window-after.png").wstring()) && ok;
  SettingsDialog& dialog = window.settings_dialog();
  dialog.Open(settings);
  Settle(window);
  ok = SaveWindowPng(dialog.hwnd(), (out / L"settings-dialog.png").wstring()) && ok;
  dialog.Close();
  return ok ? 0 : 1;
}

}  // namespace varnelko::win32
