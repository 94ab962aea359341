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
#include <fstream>
#include <vector>

#include "desktop/file_rows.h"
#include "platform/path_text.h"
#include "platform/wide_text.h"
#include "win32/control_ids.h"
#include "win32/failure_list_dialog.h"
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

// Answers the convert question itself, and takes the failure list's picture
// instead of waiting for the user.
class PictureFeedback : public SystemFeedback {
 public:
  MainWindow* window = nullptr;
  std::filesystem::path failure_picture;
  bool saved = false;

  bool AskYesNo(const std::string&) override { return true; }
  void ReportBox(const std::string& text, const std::vector<FailureRow>& rows) override {
    FailureListDialog dialog(owner(), text, rows);
    dialog.Open();
    Settle(*window);
    saved = SaveWindowPng(dialog.hwnd(), failure_picture.wstring());
  }
};

void SelectAll(HWND list) { ListView_SetItemState(list, -1, LVIS_SELECTED, LVIS_SELECTED); }

// Files a run cannot convert: a drawing cut short, one that is no drawing
// at all and a text file, beside one that converts.
void MakeFailingFolder(const std::filesystem::path& folder, const std::filesystem::path& drawing) {
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  std::filesystem::create_directories(folder, ignored);
  std::filesystem::copy_file(drawing, folder / L"A-101_1F平面図.jww", ignored);
  std::ifstream in(drawing, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::ofstream(folder / L"A-102_2F平面図.jww", std::ios::binary) << bytes.substr(0, bytes.size() / 3);
  std::ofstream(folder / L"A-103_配置図.jww", std::ios::binary) << "JwwData.";
  std::ofstream(folder / L"打合せメモ.txt") << "2F 平面図は来週";
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
  // What the controls painted reaches the screen a moment later.
  GdiFlush();
  for (int i = 0; i < 5; ++i) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(40);
  }
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

  PictureFeedback prompts;
  MainWindow window(instance, {scratch / L"", scratch / L"varnelko.ini"}, prompts);
  if (!window.Create(SW_SHOW)) return 1;
  prompts.SetOwner(window.hwnd());
  prompts.window = &window;
  const std::filesystem::path out(out_folder);
  prompts.failure_picture = out / L"failure-list.png";
  SetWindowPos(window.hwnd(), nullptr, 0, 0, 1060, 760, SWP_NOZORDER);
  window.state().pane_width = 200;
  window.state().preview_height = 520;
  SendMessageW(window.hwnd(), WM_SIZE, 0, 0);
  Settle(window);
  bool ok = SaveWindowPng(window.hwnd(), (out / L"main-window-start.png").wstring());

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
  // Converting layer 2 (the furniture of the house plan) to the auxiliary
  // colour and line type: every row, for the counts beside the status text,
  // then the biggest drawing first (the arrow down), previewed before and
  // after.
  ConversionSettings& settings = window.state().settings;
  settings.C(2) = 2;
  settings.C(3) = 1;
  settings.C(4) = 1;
  SelectAll(list);
  window.Convert();
  Settle(window);
  window.ListFiles(window.state().listed_folder);
  Settle(window);
  window.SortByColumn(kSizeColumn);
  window.SortByColumn(kSizeColumn);
  window.preview().SetSettings(settings);
  Settle(window);

  ok = SaveWindowPng(window.hwnd(), (out / L"main-window.png").wstring()) && ok;
  window.SetPreviewSwitches(true, true);
  Settle(window);
  ok = SaveWindowPng(window.hwnd(), (out / L"main-window-after.png").wstring()) && ok;
  SettingsDialog& dialog = window.settings_dialog();
  dialog.Open(settings);
  Settle(window);
  ok = SaveWindowPng(dialog.hwnd(), (out / L"settings-dialog.png").wstring()) && ok;
  dialog.Close();

  // A run with failures, and its list.
  const std::filesystem::path failing = scratch / L"不具合" / L"";
  MakeFailingFolder(failing, window.state().listed_folder / L"平面図.jww");
  window.ListFiles(failing);
  Settle(window);
  SelectAll(list);
  window.Convert();
  Settle(window);
  return ok && prompts.saved ? 0 : 1;
}

}  // namespace varnelko::win32
