#include "win32/preview/preview_pane.h"

#include <commctrl.h>

#include <algorithm>

#include "desktop/preview_loader.h"
#include "desktop/shell_texts.h"
#include "platform/wide_text.h"
#include "win32/preview/gdiplus_painter.h"
#include "win32/preview/preview_canvas.h"
#include "win32/preview/window_post.h"

namespace varnelko::win32 {

namespace {

constexpr wchar_t kClassName[] = L"VarnelkoPreviewPane";
enum ChildId : int { kAfterId = 1, kPrintId, kFitId, kCanvasId, kCountsId };

HWND MakeChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id) {
  return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 1, 1, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

// Width and height of `text` in the font `window` has.
SIZE TextSize(HWND window, const std::wstring& text) {
  SIZE size{};
  const HDC dc = GetDC(window);
  const auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0));
  const HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return size;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

bool Checked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace

PreviewPane::PreviewPane() : canvas_(std::make_unique<PreviewCanvas>()) {}

PreviewPane::~PreviewPane() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool PreviewPane::Create(HWND parent, int id) {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
  }();
  if (!registered || !StartGdiplus()) return false;
  CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                  0, 0, 1, 1, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                  GetModuleHandleW(nullptr), this);
  return hwnd_ != nullptr && canvas_->hwnd() != nullptr;
}

LRESULT CALLBACK PreviewPane::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<PreviewPane*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<PreviewPane*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->loader_.reset();  // waits for a file being read
    self->post_.reset();
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  return self->Handle(msg, wp, lp);
}

LRESULT PreviewPane::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      CreateChildren();
      return 0;
    case WindowPost::kRunPosted:
      post_->RunPosted();
      return 0;
    case WM_SIZE:
      Layout();
      return 0;
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wp);
      for (HWND child : {after_, print_, fit_, canvas_->hwnd(), counts_}) {
        SendMessageW(child, WM_SETFONT, wp, FALSE);
      }
      Layout();
      if (LOWORD(lp)) InvalidateRect(hwnd_, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_COMMAND:
      if (HIWORD(wp) != BN_CLICKED) break;
      if (LOWORD(wp) == kAfterId || LOWORD(wp) == kPrintId) Reload(true);
      if (LOWORD(wp) == kFitId) canvas_->Fit();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void PreviewPane::CreateChildren() {
  post_ = std::make_unique<WindowPost>(hwnd_);
  loader_ = std::make_unique<PreviewLoader>(post_->Poster(),
                                            [this](const PreviewResult& r) { Show(r); });
  after_ = MakeChild(hwnd_, WC_BUTTONW, L"変換後", BS_AUTOCHECKBOX | WS_TABSTOP, kAfterId);
  print_ = MakeChild(hwnd_, WC_BUTTONW, L"印刷イメージ", BS_AUTOCHECKBOX | WS_TABSTOP, kPrintId);
  fit_ = MakeChild(hwnd_, WC_BUTTONW, L"全体表示", BS_PUSHBUTTON | WS_TABSTOP, kFitId);
  canvas_->Create(hwnd_, kCanvasId);
  counts_ = MakeChild(hwnd_, WC_STATICW, L"", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, kCountsId);
}

// The switches and the fit button in a row at the top, the counts line at
// the bottom, the picture between them; sized by the font and the DPI.
void PreviewPane::Layout() {
  if (!hwnd_ || !counts_) return;
  RECT client{};
  GetClientRect(hwnd_, &client);
  const UINT dpi = GetDpiForWindow(hwnd_);
  auto px = [dpi](int at96) { return MulDiv(at96, static_cast<int>(dpi), 96); };
  const int text_height = TextSize(after_, L"変").cy;
  const int row = text_height + px(10), gap = px(2);
  const int check = GetSystemMetricsForDpi(SM_CXMENUCHECK, dpi) + px(8);
  int x = 0;
  for (HWND box : {after_, print_}) {
    const int width = TextSize(box, WindowText(box)).cx + check;
    MoveWindow(box, x, gap, width, row, TRUE);
    x += width + px(8);
  }
  const int fit_width = TextSize(fit_, WindowText(fit_)).cx + px(16);
  MoveWindow(fit_, std::max(x, static_cast<int>(client.right) - fit_width), gap, fit_width, row,
             TRUE);
  const int counts_height = text_height + px(4);
  const int canvas_top = gap + row + gap;
  const int canvas_height = std::max(1, static_cast<int>(client.bottom) - canvas_top - counts_height - gap);
  MoveWindow(canvas_->hwnd(), 0, canvas_top, client.right, canvas_height, TRUE);
  MoveWindow(counts_, 0, canvas_top + canvas_height + gap, client.right, counts_height, TRUE);
}

void PreviewPane::SetBounds(const RECT& bounds) {
  MoveWindow(hwnd_, bounds.left, bounds.top, bounds.right - bounds.left,
             bounds.bottom - bounds.top, TRUE);
}

void PreviewPane::SetShown(bool shown) {
  if (shown == shown_) return;
  shown_ = shown;
  ShowWindow(hwnd_, shown ? SW_SHOW : SW_HIDE);
  if (shown) {
    Reload(false);
    return;
  }
  // A hidden pane keeps no drawing in memory; it reads the file again when shown.
  loader_->Clear();
  shown_file_.clear();
  canvas_->SetMessage({});
}

void PreviewPane::ShowFile(const std::filesystem::path& file, const ConversionSettings& settings) {
  if (file == file_ && settings == settings_) return;
  const bool same_file = file == file_;
  file_ = file;
  settings_ = settings;
  Reload(same_file);
}

void PreviewPane::SetSettings(const ConversionSettings& settings) {
  if (settings == settings_) return;
  settings_ = settings;
  Reload(true);
}

void PreviewPane::Clear() {
  file_.clear();
  Reload(false);
}

void PreviewPane::SetSwitches(bool after, bool print) {
  if (after == this->after() && print == this->print()) return;
  SendMessageW(after_, BM_SETCHECK, after ? BST_CHECKED : BST_UNCHECKED, 0);
  SendMessageW(print_, BM_SETCHECK, print ? BST_CHECKED : BST_UNCHECKED, 0);
  Reload(true);
}

bool PreviewPane::after() const { return Checked(after_); }
bool PreviewPane::print() const { return Checked(print_); }
bool PreviewPane::Pending() const {
  return (loader_ && loader_->Pending()) || canvas_->PicturePending();
}
std::wstring PreviewPane::counts_text() const { return WindowText(counts_); }
std::wstring PreviewPane::message() const { return canvas_->message(); }

void PreviewPane::SetCounts(const std::string& utf8) {
  SetWindowTextW(counts_, WideFromUtf8(utf8).c_str());
}

void PreviewPane::Reload(bool same_file) {
  if (!shown_ || !loader_) return;  // a hidden pane reads nothing
  if (file_.empty()) {
    loader_->Clear();
    shown_file_.clear();
    canvas_->SetMessage({});
    SetCounts({});
    return;
  }
  // Another view of the drawing on the canvas keeps its picture until the
  // new one comes; another file must not pass for this one meanwhile.
  if (!same_file || shown_file_ != file_) {
    shown_file_.clear();
    canvas_->SetMessage(texts::kLoading);
  }
  SetCounts(texts::kLoading);
  loader_->Request({file_, after(), print(), /*colour=*/false, settings_});
}

void PreviewPane::Show(const PreviewResult& result) {
  if (!result.error.empty()) {
    shown_file_.clear();
    canvas_->SetMessage(CannotShowText(result.file, result.error));
    SetCounts({});
    return;
  }
  canvas_->SetDrawing(result.drawing, shown_file_ == result.file);
  shown_file_ = result.file;
  SetCounts(result.changes ? ChangeCountsText(result.changes->colors, result.changes->styles)
                           : std::string(texts::kConvertsNothing));
}

}  // namespace varnelko::win32
