#include "win32/settings_dialog.h"

#include <windows.h>

#include <commctrl.h>

#include "win32/modal_loop.h"
#include "win32/object_window_proc.h"
#include "win32/ui_font.h"

namespace varnelko::win32 {

namespace {

constexpr wchar_t kClassName[] = L"VarnelkoSettingsDialog";
constexpr int kClientWidth = 562, kClientHeight = 225;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

const wchar_t* const kLayerItems[] = {L"0", L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8",
                                      L"9", L"A", L"B", L"C", L"D", L"E", L"F", L"全て"};

struct Placed {
  const wchar_t* cls;
  const wchar_t* text;
  DWORD style;
  int id;
  int x, y, w, h;
};

// Items 2 to 5 of the dialog come in tab order.
const Placed kControls[] = {
    {L"STATIC", L"ある特定のレイヤ内の要素を、補助線色／補助線種に変換します。", SS_LEFT, -1, 12,
     10, 540, 18},
    {L"STATIC", L"変換対象レイヤグループ：", SS_RIGHT | SS_CENTERIMAGE, -1, 12, 38, 160, 22},
    {WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kGroupCombo, 176, 38, 70, 300},
    {L"STATIC", L"変換対象レイヤ：", SS_RIGHT | SS_CENTERIMAGE, -1, 12, 66, 160, 22},
    {WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kLayerCombo, 176, 66, 70, 300},
    {L"STATIC", L"※特殊な変換ですので注意して使用して下さい。", SS_LEFT, kWarning, 262, 40, 290,
     18},
    {L"STATIC", L"※補助線種変換は、線・円弧のみ変換処理されます。", SS_LEFT, -1, 262, 64, 290, 18},
    {L"BUTTON", L"補助線色に変換", BS_AUTOCHECKBOX | WS_TABSTOP, kCheckBox1, 16, 98, 250, 20},
    {L"BUTTON", L"", BS_GROUPBOX, -1, 16, 118, 262, 60},
    {L"BUTTON", L"寸法図形の線色番号を変更する", BS_AUTOCHECKBOX | WS_TABSTOP, kCheckBox1 + 2, 28,
     132, 244, 20},
    {L"BUTTON", L"ブロック図形の線色番号を変更する", BS_AUTOCHECKBOX | WS_TABSTOP, kCheckBox1 + 3,
     28, 152, 244, 20},
    {L"BUTTON", L"補助線種に変換", BS_AUTOCHECKBOX | WS_TABSTOP, kCheckBox1 + 1, 288, 98, 250, 20},
    {L"BUTTON", L"", BS_GROUPBOX, -1, 288, 118, 262, 60},
    {L"BUTTON", L"寸法図形の線種番号を変更する", BS_AUTOCHECKBOX | WS_TABSTOP, kCheckBox1 + 4, 300,
     132, 244, 20},
    {L"BUTTON", L"ブロック図形の線種番号を変更する", BS_AUTOCHECKBOX | WS_TABSTOP, kCheckBox1 + 5,
     300, 152, 244, 20},
    {L"BUTTON", L"ＯＫ (&Y)", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, 330, 188, 106, 28},
    {L"BUTTON", L"キャンセル (&N)", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, 444, 188, 106, 28},
};

// A combo box shows slot values 0..16 as their item; others as none.
int ItemOf(int32_t value) { return value >= 0 && value <= 16 ? value : -1; }

}  // namespace

SettingsDialog::SettingsDialog(HINSTANCE instance, HWND owner) : owner_(owner) {
  RegisterObjectClass<SettingsDialog>(instance, kClassName);
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  hwnd_ = CreateWindowExW(kExStyle, kClassName, L"JWW/JWS設定", kStyle, 192, 107,
                          frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                          instance, this);
  BuildControls();
}

SettingsDialog::~SettingsDialog() {
  if (hwnd_) DestroyWindow(hwnd_);
  if (font_) DeleteObject(font_);
}

void SettingsDialog::BuildControls() {
  font_ = CreateUiFont();
  for (const Placed& c : kControls) {
    HWND control = CreateWindowExW(0, c.cls, c.text, WS_CHILD | WS_VISIBLE | c.style, c.x, c.y, c.w,
                                   c.h, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                   nullptr, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  }
  for (int id : {kGroupCombo, kLayerCombo}) {
    for (const wchar_t* item : kLayerItems) {
      SendMessageW(Control(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
  }
}

void SettingsDialog::FormShow(const ConversionSettings& settings) {
  SendMessageW(Control(kGroupCombo), CB_SETCURSEL, ItemOf(settings.C(1)), 0);
  SendMessageW(Control(kLayerCombo), CB_SETCURSEL, ItemOf(settings.C(2)), 0);
  for (int n = 3; n <= 8; ++n) {
    SendMessageW(Control(kCheckBox1 + n - 3), BM_SETCHECK,
                 settings.C(n) != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void SettingsDialog::Store(ConversionSettings& settings) const {
  settings.C(1) = static_cast<int32_t>(SendMessageW(Control(kGroupCombo), CB_GETCURSEL, 0, 0));
  settings.C(2) = static_cast<int32_t>(SendMessageW(Control(kLayerCombo), CB_GETCURSEL, 0, 0));
  for (int n = 3; n <= 8; ++n) {
    settings.C(n) = SendMessageW(Control(kCheckBox1 + n - 3), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
}

void SettingsDialog::Open(const ConversionSettings& settings) {
  FormShow(settings);
  accepted_ = false;
  open_ = true;
  ShowWindow(hwnd_, SW_SHOW);
  SetFocus(Control(kGroupCombo));
}

void SettingsDialog::Close() {
  open_ = false;
  ShowWindow(hwnd_, SW_HIDE);
}

bool SettingsDialog::ShowModal(ConversionSettings& settings) {
  Open(settings);
  RunModal(hwnd_, owner_, open_);
  Close();
  if (accepted_) Store(settings);
  return accepted_;
}

void SettingsDialog::SetPosition(int left, int top) {
  SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SettingsDialog::GetPosition(int& left, int& top) const {
  RECT r;
  GetWindowRect(hwnd_, &r);
  left = r.left;
  top = r.top;
}

LRESULT SettingsDialog::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
        accepted_ = LOWORD(wparam) == IDOK;
        open_ = false;
        return 0;
      }
      break;
    case WM_CLOSE:  // the close box cancels
      open_ = false;
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      // Labels, frames and boxes on the dialog's face; the warning in red.
      auto dc = reinterpret_cast<HDC>(wparam);
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lparam)) == kWarning) SetTextColor(dc, RGB(255, 0, 0));
      return OnDialogFace(dc);
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

}  // namespace varnelko::win32
