#include "win32/failure_list_dialog.h"

#include <commctrl.h>

#include <algorithm>

#include "desktop/shell_texts.h"
#include "platform/wide_text.h"
#include "win32/clipboard.h"
#include "win32/modal_loop.h"
#include "win32/object_window_proc.h"
#include "win32/ui_font.h"

namespace varnelko::win32 {

namespace {

constexpr wchar_t kClassName[] = L"VarnelkoFailureList";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
constexpr int kWidth = 560, kHeight = 360;        // at first
constexpr int kMinWidth = 360, kMinHeight = 240;  // when made smaller
constexpr int kMargin = 12, kIcon = 32, kButtonHeight = 28;

HWND Child(HWND parent, const wchar_t* cls, const std::wstring& text, DWORD style, int id,
           DWORD ex_style = 0) {
  return CreateWindowExW(ex_style, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

void AddColumn(HWND list, int index, const char* header) {
  const std::wstring text = WideFromUtf8(header);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.cx = 120;
  column.pszText = const_cast<wchar_t*>(text.c_str());
  ListView_InsertColumn(list, index, &column);
}

void SetCell(HWND list, int row, int column, const std::string& utf8) {
  std::wstring text = WideFromUtf8(utf8);
  if (column == 0) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = text.data();
    ListView_InsertItem(list, &item);
  } else {
    ListView_SetItemText(list, row, column, text.data());
  }
}

}  // namespace

FailureListDialog::FailureListDialog(HWND owner, const std::string& text,
                                     std::vector<FailureRow> rows)
    : owner_(owner), rows_(std::move(rows)) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterObjectClass<FailureListDialog>(instance, kClassName);
  // Centred on the owner.
  RECT over{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner_) GetWindowRect(owner_, &over);
  const int left = std::max(0, static_cast<int>(over.left + over.right - kWidth) / 2);
  const int top = std::max(0, static_cast<int>(over.top + over.bottom - kHeight) / 2);
  hwnd_ = CreateWindowExW(kExStyle, kClassName, WideFromUtf8(texts::kFailureListTitle).c_str(),
                          kStyle, left, top, kWidth, kHeight, owner_, nullptr, instance, this);
  BuildControls(text);
  Layout();
}

FailureListDialog::~FailureListDialog() {
  if (hwnd_) DestroyWindow(hwnd_);
  if (font_) DeleteObject(font_);
}

void FailureListDialog::BuildControls(const std::string& text) {
  HWND icon = Child(hwnd_, L"STATIC", L"", SS_ICON, kFailureIcon);
  SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_WARNING)), 0);
  Child(hwnd_, L"STATIC", WideFromUtf8(text), SS_LEFT | SS_NOPREFIX, kFailureSummary);
  HWND list = Child(hwnd_, WC_LISTVIEWW, L"",
                    LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_TABSTOP, kFailureTable,
                    WS_EX_CLIENTEDGE);
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
  AddColumn(list, 0, texts::kFailureName);
  AddColumn(list, 1, texts::kFailureReason);
  for (size_t r = 0; r < rows_.size(); ++r) {
    SetCell(list, static_cast<int>(r), 0, rows_[r].name);
    SetCell(list, static_cast<int>(r), 1, rows_[r].reason);
  }
  Child(hwnd_, L"BUTTON", WideFromUtf8(texts::kCopy), BS_PUSHBUTTON | WS_TABSTOP, kFailureCopy);
  Child(hwnd_, L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK);
  font_ = CreateUiFont();
  SetFontOnChildren(hwnd_, font_);
  // The names wide enough to read whole; the reasons take the rest.
  ListView_SetColumnWidth(list, 0, LVSCW_AUTOSIZE_USEHEADER);
}

void FailureListDialog::Layout() {
  RECT client;
  GetClientRect(hwnd_, &client);
  const int width = client.right, height = client.bottom;
  MoveWindow(Control(kFailureIcon), kMargin, kMargin, kIcon, kIcon, TRUE);
  // The summary as high as its lines.
  const int text_left = kMargin * 2 + kIcon, text_width = std::max(0, width - text_left - kMargin);
  wchar_t summary[1024] = {};
  GetWindowTextW(Control(kFailureSummary), summary, 1024);
  RECT text{0, 0, text_width, 0};
  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, font_);
  DrawTextW(dc, summary, -1, &text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  MoveWindow(Control(kFailureSummary), text_left, kMargin, text_width, text.bottom, TRUE);

  const int list_top = kMargin + std::max<int>(kIcon, text.bottom) + kMargin;
  const int buttons_top = height - kMargin - kButtonHeight;
  HWND list = Control(kFailureTable);
  MoveWindow(list, kMargin, list_top, std::max(0, width - 2 * kMargin),
             std::max(0, buttons_top - kMargin - list_top), TRUE);
  ListView_SetColumnWidth(list, 1, LVSCW_AUTOSIZE_USEHEADER);  // fills the rest
  MoveWindow(Control(IDOK), width - kMargin - 90, buttons_top, 90, kButtonHeight, TRUE);
  MoveWindow(Control(kFailureCopy), width - 2 * kMargin - 90 - 110, buttons_top, 110, kButtonHeight,
             TRUE);
}

void FailureListDialog::Open() {
  open_ = true;
  ShowWindow(hwnd_, SW_SHOW);
  SetFocus(Control(kFailureTable));  // Enter still means OK
}

void FailureListDialog::ShowModal() {
  Open();
  RunModal(hwnd_, owner_, open_);
  ShowWindow(hwnd_, SW_HIDE);
}

LRESULT FailureListDialog::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case kFailureCopy: PutTextOnClipboard(hwnd_, FailureListText(rows_)); return 0;
        case IDOK:
        case IDCANCEL: open_ = false; return 0;  // Enter and Escape too
        default: break;
      }
      break;
    case WM_CLOSE:
      open_ = false;
      return 0;
    case WM_SIZE:
      Layout();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lparam);
      limits->ptMinTrackSize = {kMinWidth, kMinHeight};
      return 0;
    }
    case WM_CTLCOLORSTATIC:
      return OnDialogFace(reinterpret_cast<HDC>(wparam));
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

}  // namespace varnelko::win32
