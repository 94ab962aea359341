// The status bar: the status text, the last run's counts beside it, and
// while a conversion runs its progress and "中止".
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "desktop/shell_texts.h"
#include "platform/wide_text.h"
#include "win32/control_ids.h"
#include "win32/main_window.h"

namespace varnelko::win32 {

namespace {

constexpr int kProgressWidth = 150, kStopWidth = 64;

// The progress and the button are the status bar's children; the button's
// clicks go on to the main window.
LRESULT CALLBACK StatusBarProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                               DWORD_PTR) {
  if (message == WM_COMMAND) return SendMessageW(GetParent(hwnd), message, wparam, lparam);
  return DefSubclassProc(hwnd, message, wparam, lparam);
}

std::string PartText(HWND status, int part) {
  const auto length = LOWORD(SendMessageW(status, SB_GETTEXTLENGTHW, part, 0));
  std::wstring text(length + 1, L'\0');
  SendMessageW(status, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
  text.resize(length);
  return Utf8FromWide(text);
}

int TextWidth(HWND window, const std::wstring& text) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return size.cx;
}

}  // namespace

void MainWindow::BuildStatusBar() {
  HWND status = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0,
                                0, 0, 0, hwnd_, reinterpret_cast<HMENU>(kStatusBar1), instance_,
                                nullptr);
  SetWindowSubclass(status, StatusBarProc, 1, 0);
  CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | PBS_SMOOTH, 0, 0, 0, 0, status,
                  reinterpret_cast<HMENU>(kProgressBar1), instance_, nullptr);
  CreateWindowExW(0, L"BUTTON", WideFromUtf8(texts::kStopRun).c_str(), WS_CHILD | BS_PUSHBUTTON, 0,
                  0, 0, 0, status, reinterpret_cast<HMENU>(kStopRun), instance_, nullptr);
}

void MainWindow::LayoutStatusBar() {
  HWND status = Control(kStatusBar1);
  RECT client;
  GetClientRect(status, &client);
  const bool running = (GetWindowLongW(GetDlgItem(status, kStopRun), GWL_STYLE) & WS_VISIBLE) != 0;
  const int run = running ? kProgressWidth + kStopWidth + 12 : 0;
  const int counts = counts_.empty() ? 0 : TextWidth(status, WideFromUtf8(counts_)) + 16;
  int rights[] = {std::max(0, static_cast<int>(client.right) - run - counts),
                  std::max(0, static_cast<int>(client.right) - run), -1};
  SendMessageW(status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(rights));
  RECT part;
  SendMessageW(status, SB_GETRECT, 2, reinterpret_cast<LPARAM>(&part));
  const int height = part.bottom - part.top - 2;
  MoveWindow(GetDlgItem(status, kProgressBar1), part.left + 2, part.top + 1, kProgressWidth, height,
             TRUE);
  MoveWindow(GetDlgItem(status, kStopRun), part.left + kProgressWidth + 6, part.top + 1, kStopWidth,
             height, TRUE);
}

void MainWindow::ShowStatus(const std::string& text) {
  SendMessageW(Control(kStatusBar1), SB_SETTEXTW, 0,
               reinterpret_cast<LPARAM>(WideFromUtf8(text).c_str()));
  UpdateWindow(Control(kStatusBar1));
}

std::string MainWindow::StatusText() const { return PartText(GetDlgItem(hwnd_, kStatusBar1), 0); }

void MainWindow::SetCounts(const std::string& text) {
  counts_ = text;
  LayoutStatusBar();
  SendMessageW(Control(kStatusBar1), SB_SETTEXTW, 1,
               reinterpret_cast<LPARAM>(WideFromUtf8(text).c_str()));
}

std::string MainWindow::CountsText() const { return PartText(GetDlgItem(hwnd_, kStatusBar1), 1); }

void MainWindow::ShowRunControls(bool shown) {
  HWND status = Control(kStatusBar1);
  HWND progress = GetDlgItem(status, kProgressBar1);
  SendMessageW(progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(run_total_));
  SendMessageW(progress, PBM_SETPOS, 0, 0);
  ShowWindow(progress, shown ? SW_SHOW : SW_HIDE);
  ShowWindow(GetDlgItem(status, kStopRun), shown ? SW_SHOW : SW_HIDE);
  LayoutStatusBar();
}

}  // namespace varnelko::win32
