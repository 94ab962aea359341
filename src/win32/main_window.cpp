// The main window's life: creation, layout, the splitter, message dispatch,
// start-up and shutdown.
#include "win32/main_window.h"

#include <windows.h>

#include <commctrl.h>

#include <ole2.h>
#include <shellapi.h>

#include <algorithm>

#include "desktop/file_rows.h"
#include "desktop/shell_texts.h"
#include "platform/path_text.h"
#include "platform/wide_text.h"
#include "win32/accelerators.h"
#include "win32/control_ids.h"
#include "win32/drop_target.h"
#include "win32/preview/preview_pane.h"
#include "win32/settings_dialog.h"
#include "win32/ui_font.h"

namespace varnelko::win32 {

namespace {

constexpr wchar_t kClassName[] = L"VarnelkoMainWindow";
constexpr int kSplitter = 3;  // width of the bar between tree and list
constexpr int kFieldsHeight = 64;  // the two rows of fields above the list
constexpr int kConvertWidth = 72;
constexpr int kMinPane = 40;

const wchar_t* const kFileTypes[] = {L"全てのファイル(*.*)", L"*.JW?", L"*.JWW", L"*.JWS"};

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id,
           DWORD ex_style = 0) {
  return CreateWindowExW(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

// A click on the search-folder field runs the search-folder command.
LRESULT CALLBACK Edit1Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                           DWORD_PTR) {
  if (message == WM_LBUTTONUP) {
    PostMessageW(GetParent(hwnd), WM_COMMAND, kMenuSearchFolder, 0);
  }
  return DefSubclassProc(hwnd, message, wparam, lparam);
}

bool RegisterMainClass(HINSTANCE instance) {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.lpfnWndProc = DefWindowProcW;
  cls.hInstance = instance;
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  cls.lpszClassName = kClassName;
  return RegisterClassExW(&cls) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, const AppLocations& locations, UserFeedback& feedback)
    : instance_(instance),
      feedback_(feedback),
      commands_(state_, feedback, [this](const std::string& text) { ShowStatus(text); }) {
  state_.program_folder = locations.program_folder;
  state_.ini_path = locations.ini_path;
}

MainWindow::~MainWindow() {
  StopListing();
  if (rows_thread_.joinable()) rows_thread_.join();
  runner_.reset();  // stops a run still going and waits for it
  if (hwnd_) DestroyWindow(hwnd_);
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
  if (drop_target_) drop_target_->Release();
  if (ole_) OleUninitialize();
  preview_.reset();
  for (HFONT font : {font_, big_font_, list_font_}) {
    if (font) DeleteObject(font);
  }
}

void MainWindow::SetOutputFolder(const std::filesystem::path& folder) {
  state_.output_folder = folder;
  setting_output_text_ = true;
  SetWindowTextW(Control(kEdit2), folder.c_str());
  setting_output_text_ = false;
}

void MainWindow::SetPreviewSwitches(bool after, bool print) { preview_->SetSwitches(after, print); }

IDropTarget* MainWindow::drop_target() const { return drop_target_; }

void MainWindow::ShowPreview(bool shown) {
  preview_shown_ = shown;
  CheckMenuItem(menu_, kMenuPreview, shown ? MF_CHECKED : MF_UNCHECKED);
  preview_->SetShown(shown);
  ShowWindow(preview_->hwnd(), shown ? SW_SHOW : SW_HIDE);
  Layout();
  if (shown) UpdatePreview();
}

bool MainWindow::Create(int show_command) {
  if (!RegisterMainClass(instance_)) return false;
  const AppIniValues& d = layout_;
  hwnd_ = CreateWindowExW(0, kClassName, WideFromUtf8(texts::kCaption).c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                          d.main_left, d.main_top, d.main_width, d.main_height, nullptr, nullptr,
                          instance_, nullptr);
  if (!hwnd_) return false;
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc));
  ui_queue_ = std::make_unique<UiQueue>(hwnd_, kRunQueued);
  runner_ = std::make_unique<BatchRunner>(ui_queue_->Poster());
  accelerators_ = CreateCommandAccelerators();
  RegisterDropTarget();
  BuildControls();
  BuildMenu();
  dialog_ = std::make_unique<SettingsDialog>(instance_, hwnd_);
  preview_ = std::make_unique<PreviewPane>();
  preview_->Create(hwnd_, kPreviewPane);
  SendMessageW(preview_->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  FormShow();
  ShowWindow(hwnd_, show_command);
  UpdateWindow(hwnd_);
  return true;
}

void MainWindow::BuildControls() {
  font_ = CreateUiFont();
  HWND edit1 = Child(hwnd_, L"EDIT", L"", ES_READONLY | ES_AUTOHSCROLL, kEdit1, WS_EX_CLIENTEDGE);
  SetWindowSubclass(edit1, Edit1Proc, 1, 0);
  Child(hwnd_, WC_TREEVIEWW, L"",
        TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS | TVS_SHOWSELALWAYS | WS_TABSTOP,
        kTreeView1, WS_EX_CLIENTEDGE);
  Child(hwnd_, L"STATIC", L"ファイルの種類", SS_LEFT | SS_CENTERIMAGE, kLabel1);
  HWND combo = Child(hwnd_, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                     kComboBox1);
  for (const wchar_t* type : kFileTypes) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(type));
  }
  Child(hwnd_, L"BUTTON", L"JWW/JWS設定", BS_PUSHBUTTON | WS_TABSTOP, kButton1);
  Child(hwnd_, L"STATIC", L"保存先フォルダ", SS_LEFT | SS_CENTERIMAGE, kLabel2);
  // A typed or pasted output folder counts too; converting checks it.
  Child(hwnd_, L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, kEdit2, WS_EX_CLIENTEDGE);
  Child(hwnd_, L"BUTTON", L"参照", BS_PUSHBUTTON | WS_TABSTOP, kButton3);
  Child(hwnd_, L"BUTTON", L"変換", BS_PUSHBUTTON | WS_TABSTOP, kButton4);
  HWND list = Child(hwnd_, WC_LISTVIEWW, L"",
                    LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | WS_TABSTOP | WS_CLIPCHILDREN,
                    kStringGrid1, WS_EX_CLIENTEDGE);
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  for (int c = 0; c < kFileColumns; ++c) {
    const std::wstring header = WideFromUtf8(FileColumnHeaders()[c]);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = c == kSizeColumn ? LVCFMT_RIGHT : LVCFMT_LEFT;
    column.cx = layout_.column_widths[c];
    column.pszText = const_cast<wchar_t*>(header.c_str());
    ListView_InsertColumn(list, c, &column);
  }
  // The hint over the empty list, and the tips of cut-off cells.
  Child(list, L"STATIC", WideFromUtf8(texts::kStartHint).c_str(), SS_CENTER | SS_NOPREFIX,
        kStartHint);
  SetWindowSubclass(list, ListProc, 1, reinterpret_cast<DWORD_PTR>(this));
  cell_tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                               nullptr, instance_, nullptr);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd_;
  tool.uId = reinterpret_cast<UINT_PTR>(list);
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  SendMessageW(cell_tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(cell_tips_, TTM_SETMAXTIPWIDTH, 0, 600);
  BuildStatusBar();

  SetFontOnChildren(hwnd_, font_);
  big_font_ = CreateUiFont(13, true);
  list_font_ = CreateListFont();
  SendMessageW(Control(kButton4), WM_SETFONT, reinterpret_cast<WPARAM>(big_font_), FALSE);
  SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(list_font_), FALSE);
  SendMessageW(cell_tips_, WM_SETFONT, reinterpret_cast<WPARAM>(list_font_), FALSE);
}

void MainWindow::Layout() {
  RECT client;
  GetClientRect(hwnd_, &client);
  RECT status_rect;
  HWND status = Control(kStatusBar1);
  SendMessageW(status, WM_SIZE, 0, 0);
  LayoutStatusBar();
  GetWindowRect(status, &status_rect);
  const int width = client.right;
  const int height = client.bottom - (status_rect.bottom - status_rect.top);
  const int pane = std::clamp(state_.pane_width, kMinPane, std::max(kMinPane, width - kMinPane));
  const int edit_height = 23;
  MoveWindow(Control(kEdit1), 0, 0, pane, edit_height, TRUE);
  MoveWindow(Control(kTreeView1), 0, edit_height, pane, height - edit_height, TRUE);

  const int x = pane + kSplitter + 4;
  const int right = width - 4;
  const int row = 26;
  const int fields_right = right - kConvertWidth - 6;
  MoveWindow(Control(kLabel1), x, 4, 90, row, TRUE);
  MoveWindow(Control(kComboBox1), x + 92, 5, 170, 200, TRUE);
  MoveWindow(Control(kButton1), x + 268, 4, 110, row, TRUE);
  MoveWindow(Control(kLabel2), x, 8 + row, 90, row, TRUE);
  MoveWindow(Control(kEdit2), x + 92, 9 + row, std::max(20, fields_right - x - 92 - 64), row - 2,
             TRUE);
  MoveWindow(Control(kButton3), fields_right - 58, 8 + row, 58, row, TRUE);
  MoveWindow(Control(kButton4), right - kConvertWidth, 4, kConvertWidth, 2 * row + 4, TRUE);
  const int list_top = kFieldsHeight;
  const int list_height = std::max(0, height - list_top);
  const int preview = preview_shown_ ? std::clamp(state_.preview_height, 0, list_height / 4 * 3) : 0;
  const int list_bottom = list_top + list_height - (preview ? preview + kSplitter : 0);
  MoveWindow(Control(kStringGrid1), pane + kSplitter, list_top, width - pane - kSplitter,
             list_bottom - list_top, TRUE);
  LayoutStartHint();
  if (preview_) {
    const RECT bounds{pane + kSplitter, list_bottom + kSplitter, width, list_top + list_height};
    preview_->SetBounds(bounds);
  }
}

bool MainWindow::OnSplitterMouse(UINT message, LPARAM lparam) {
  const int x = static_cast<short>(LOWORD(lparam)), y = static_cast<short>(HIWORD(lparam));
  const int pane = state_.pane_width;
  const bool on_bar = x >= pane && x < pane + kSplitter + 4;
  RECT list;
  GetWindowRect(Control(kStringGrid1), &list);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&list), 2);
  const bool on_preview_bar =
      preview_shown_ && !on_bar && x > pane && y >= list.bottom && y < list.bottom + kSplitter;
  switch (message) {
    case WM_LBUTTONDOWN:
      if (!on_bar && !on_preview_bar) return false;
      (on_bar ? dragging_splitter_ : dragging_preview_) = true;
      SetCapture(hwnd_);
      return true;
    case WM_MOUSEMOVE:
      if (dragging_splitter_) {
        state_.pane_width = std::max(kMinPane, x);
        Layout();
      } else if (dragging_preview_) {
        RECT preview;
        GetWindowRect(preview_->hwnd(), &preview);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&preview), 2);
        state_.preview_height = std::max(kMinPane, static_cast<int>(preview.bottom) - y);
        Layout();
      }
      if (on_bar || dragging_splitter_) SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
      if (on_preview_bar || dragging_preview_) SetCursor(LoadCursorW(nullptr, IDC_SIZENS));
      return true;
    case WM_LBUTTONUP:
      if (!dragging_splitter_ && !dragging_preview_) return false;
      dragging_splitter_ = dragging_preview_ = false;
      ReleaseCapture();
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK MainWindow::Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  return self->Handle(message, wparam, lparam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      Layout();
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lparam));
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      if (OnSplitterMouse(message, lparam)) return 0;
      break;
    case kRunQueued:
      ui_queue_->RunPending();
      return 0;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wparam));
      return 0;
    case WM_INITMENUPOPUP:
      if (reinterpret_cast<HMENU>(wparam) == GetSubMenu(menu_, 0)) FillRecentMenu();
      break;
    case WM_CLOSE:
      if (state_.busy) return 0;  // a running conversion ends first
      FormClose();
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      RevokeDragDrop(hwnd_);
      hwnd_ = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

void MainWindow::OnCommand(int id, int code) {
  if (id == kStopRun) {
    StopRun();
    return;
  }
  if (state_.busy && id != kMenuExit) return;
  if (id >= kMenuFileType0 && id < kMenuFileType0 + 4) {
    SelectFileType(id - kMenuFileType0);
    return;
  }
  if (id >= kMenuRecent0 && id < kMenuRecent0 + kRecentFolders) {
    const auto& folders = state_.recent.folders();
    const size_t index = static_cast<size_t>(id - kMenuRecent0);
    if (index < folders.size()) {
      SetSearchFolder(std::filesystem::path(folders[index]));
      SearchAndListRoot();
    }
    return;
  }
  switch (id) {
    case kMenuSearchFolder: MnuFileSFolderClick(); break;
    case kMenuOutputFolder:
    case kButton3: Button3Click(); break;
    case kMenuExit: MnuExitClick(); break;
    case kMenuSettings:
    case kButton1: Button1Click(); break;
    case kMenuSetSave: commands_.SaveSettingsFile(); break;
    case kMenuSetOpen:
      if (commands_.OpenSettingsFile()) preview_->SetSettings(state_.settings);
      break;
    case kMenuPreview: ShowPreview(!preview_shown_); break;
    case kMenuRefresh: Refresh(); break;
    case kEdit2:
      if (code == EN_CHANGE && !setting_output_text_) {
        wchar_t text[1024] = {};
        GetWindowTextW(Control(kEdit2), text, 1024);
        commands_.SetOutputFolderText(Utf8FromWide(text));
      }
      break;
    case kButton4: Convert(); break;
    case kComboBox1:
      if (code == CBN_SELCHANGE) ListSelectedNode();
      break;
    default: break;
  }
}

LRESULT MainWindow::OnNotify(const NMHDR& header) {
  if (header.hwndFrom == cell_tips_ && header.code == TTN_GETDISPINFOW) {
    auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
    // Kept until the next request: the tooltip reads it after this returns.
    tip_text_ = WideFromUtf8(CellTip(tip_cell_.x, tip_cell_.y));
    info.lpszText = tip_text_.data();
    return 0;
  }
  if (header.idFrom == kTreeView1 && header.code == TVN_SELCHANGEDW) {
    const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
    if (change.action == TVC_BYMOUSE || change.action == TVC_BYKEYBOARD) TreeView1Click();
    return 0;
  }
  if (header.idFrom != kStringGrid1) return 0;
  switch (header.code) {
    case LVN_GETDISPINFOW: {
      auto& info = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header));
      const auto row = static_cast<size_t>(info.item.iItem);
      if ((info.item.mask & LVIF_TEXT) && row < rows_.size() && info.item.iSubItem < kFileColumns) {
        const std::wstring text = WideFromUtf8(rows_[row].cells[info.item.iSubItem]);
        lstrcpynW(info.item.pszText, text.c_str(), info.item.cchTextMax);
      }
      return 0;
    }
    case LVN_COLUMNCLICK:
      SortByColumn(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
      return 0;
    case NM_DBLCLK:
    case NM_RETURN:  // Enter opens the focused row as a double-click does
      StringGrid1DblClick();
      return 0;
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      if ((change.uChanged & LVIF_STATE) && ((change.uNewState ^ change.uOldState) & LVIS_FOCUSED)) {
        UpdatePreview();
      }
      return 0;
    }
    default:
      return 0;
  }
}

void MainWindow::SetBusy(bool busy) {
  // While a search or a run goes on, the commands are locked so nothing
  // starts inside it; Escape still reaches it through TakeKey.
  state_.busy = busy;
  EnableMenuItem(menu_, 0, MF_BYPOSITION | (busy ? MF_GRAYED : MF_ENABLED));
  EnableMenuItem(menu_, 1, MF_BYPOSITION | (busy ? MF_GRAYED : MF_ENABLED));
  for (int id : {kButton1, kButton3, kButton4, kComboBox1, kTreeView1, kEdit2}) {
    EnableWindow(Control(id), !busy);
  }
  DrawMenuBar(hwnd_);
}

bool MainWindow::TakeKey(const MSG& message) {
  if (!hwnd_ || (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd))) return false;
  MSG copy = message;
  if (accelerators_ && TranslateAcceleratorW(hwnd_, accelerators_, &copy)) return true;
  if (message.message != WM_KEYDOWN || message.wParam != VK_ESCAPE) return false;
  if (runner_->Running()) {
    StopRun();
    return true;
  }
  if (rows_pending_ || (memo_reader_ && memo_reader_->Pending())) {
    StopListing();
    FinishListing(texts::kListingStopped);
    return true;
  }
  return false;
}

bool MainWindow::Working() const {
  return rows_pending_ || (memo_reader_ && memo_reader_->Pending()) || runner_->Running() ||
         state_.busy;
}

void MainWindow::FormShow() {
  // The window opened at the design values; the ini file's come now.
  layout_ = commands_.StartUp();
  const AppIniValues& v = layout_;
  SetWindowPos(hwnd_, nullptr, v.main_left, v.main_top, v.main_width, v.main_height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  for (int c = 0; c < kFileColumns; ++c) {
    ListView_SetColumnWidth(Control(kStringGrid1), c, v.column_widths[c]);
  }
  SendMessageW(Control(kComboBox1), CB_SETCURSEL, v.file_type, 0);
  SetOutputFolder(state_.output_folder);
  dialog_->SetPosition(v.dialog_left, v.dialog_top);
  preview_->SetSwitches(v.preview_after != 0, v.preview_print != 0, v.preview_colour != 0);
  ShowPreview(v.preview_shown != 0);
  ClearList();
  ShowStartHint();
  Layout();
  commands_.StartUpDone();
}

void MainWindow::FormClose() {
  StopListing();
  AppIniValues& v = layout_;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  GetWindowPlacement(hwnd_, &placement);  // the normal place, also when maximised
  const RECT& r = placement.rcNormalPosition;
  v.main_left = r.left;
  v.main_top = r.top;
  v.main_width = r.right - r.left;
  v.main_height = r.bottom - r.top;
  dialog_->GetPosition(v.dialog_left, v.dialog_top);
  v.pane_width = state_.pane_width;
  for (int c = 0; c < kFileColumns; ++c) {
    v.column_widths[c] = ListView_GetColumnWidth(Control(kStringGrid1), c);
  }
  v.file_type = static_cast<int32_t>(SendMessageW(Control(kComboBox1), CB_GETCURSEL, 0, 0));
  v.preview_shown = preview_shown_;
  v.preview_height = state_.preview_height;
  v.preview_after = preview_->after();
  v.preview_print = preview_->print();
  v.preview_colour = preview_->colour();
  commands_.ShutDown(v);
}

}  // namespace varnelko::win32
