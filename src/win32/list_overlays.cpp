// What the file list shows over its rows: the hint while nothing is
// listed, and the whole text of a cut-off cell in a tooltip.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "desktop/file_rows.h"
#include "platform/wide_text.h"
#include "win32/control_ids.h"
#include "win32/main_window.h"

namespace varnelko::win32 {

namespace {

constexpr int kCellPadding = 12;  // the list's margins around a cell's text
constexpr int kHintMargin = 16;

}  // namespace

void MainWindow::ShowStartHint() {
  HWND hint = GetDlgItem(Control(kStringGrid1), kStartHint);
  ShowWindow(hint, commands_.ShowsStartHint() ? SW_SHOW : SW_HIDE);
}

void MainWindow::LayoutStartHint() {
  // Centred in the rows' area, as high as its lines.
  HWND list = Control(kStringGrid1);
  HWND hint = GetDlgItem(list, kStartHint);
  RECT client, header;
  GetClientRect(list, &client);
  GetWindowRect(ListView_GetHeader(list), &header);
  const int top = header.bottom - header.top;
  const int width = std::max(0, static_cast<int>(client.right) - 2 * kHintMargin);
  wchar_t text[256] = {};
  GetWindowTextW(hint, text, 256);
  RECT needed{0, 0, width, 0};
  HDC dc = GetDC(hint);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(hint, WM_GETFONT, 0, 0)));
  DrawTextW(dc, text, -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(hint, dc);
  const int height = needed.bottom;
  const int y = std::max(top + kHintMargin, (top + static_cast<int>(client.bottom) - height) / 2);
  MoveWindow(hint, kHintMargin, y, width, height, TRUE);
}

std::string MainWindow::CellTip(int row, int column) const {
  // The size field is never cut with "…": its digits are right-aligned and
  // only its leading blanks go.
  if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 || column >= kFileColumns ||
      column == kSizeColumn) {
    return {};
  }
  const std::string& text = rows_[row].cells[column];
  HWND list = GetDlgItem(hwnd_, kStringGrid1);
  const int needed = ListView_GetStringWidth(list, WideFromUtf8(text).c_str()) + kCellPadding;
  return needed > ListView_GetColumnWidth(list, column) ? text : std::string();
}

void MainWindow::ShowCellTip(POINT at) {
  LVHITTESTINFO hit{};
  hit.pt = at;
  ListView_SubItemHitTest(Control(kStringGrid1), &hit);
  const POINT cell{hit.iItem, hit.iSubItem};
  if (cell.x == tip_cell_.x && cell.y == tip_cell_.y) return;
  tip_cell_ = cell;
  // The tip of the last cell goes; the new cell's shows after the usual pause.
  SendMessageW(cell_tips_, TTM_ACTIVATE, FALSE, 0);
  SendMessageW(cell_tips_, TTM_ACTIVATE, TRUE, 0);
}

LRESULT CALLBACK MainWindow::ListProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam,
                                      UINT_PTR, DWORD_PTR self) {
  auto* window = reinterpret_cast<MainWindow*>(self);
  switch (message) {
    case WM_MOUSEMOVE:
      window->ShowCellTip({static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))});
      break;
    case WM_CTLCOLORSTATIC: {  // the hint, in the muted colour of a hint on the list
      auto dc = reinterpret_cast<HDC>(wparam);
      SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
      SetBkColor(dc, GetSysColor(COLOR_WINDOW));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    case WM_SIZE: {
      const LRESULT result = DefSubclassProc(list, message, wparam, lparam);
      window->LayoutStartHint();
      return result;
    }
    default:
      break;
  }
  return DefSubclassProc(list, message, wparam, lparam);
}

}  // namespace varnelko::win32
