#include "win32/preview/preview_canvas.h"

#include <windowsx.h>

#include <chrono>
#include <cmath>

#include "desktop/latest_job_runner.h"
#include "desktop/preview_drawing.h"
#include "desktop/shell_texts.h"
#include "platform/wide_text.h"
#include "win32/preview/dib_picture.h"
#include "win32/preview/gdiplus_painter.h"
#include "win32/preview/window_post.h"

namespace varnelko::win32 {

namespace {

constexpr wchar_t kClassName[] = L"VarnelkoPreviewCanvas";
constexpr double kWheelStep = 1.0015;  // zoom per eighth of a degree of wheel turn
// Drawings with more vertices than this are painted on the thread: a
// repaint of them takes longer than a frame.
constexpr int64_t kWorkPaintedHere = 300'000;
constexpr UINT_PTR kRestTimer = 1;
constexpr UINT kRestMs = 120;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr int kMessageMargin = 8;

double MsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

COLORREF ToColorref(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// Paints `drawing` through `view` into all of `target`.
void PaintDrawing(const PreviewDrawing& drawing, const ViewTransform& view, DibPicture& target) {
  Gdiplus::Graphics graphics(target.dc());
  GdiplusPainter painter(graphics);
  drawing.Paint(painter, view, {0, 0, double(target.width()), double(target.height())});
}

}  // namespace

PreviewCanvas::PreviewCanvas() = default;

PreviewCanvas::~PreviewCanvas() {
  runner_.reset();  // waits for a picture being painted
  if (hwnd_) DestroyWindow(hwnd_);
}

bool PreviewCanvas::Create(HWND parent, int id) {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;  // a double click fits the drawing
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_HAND);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
  }();
  if (!registered || !StartGdiplus()) return false;
  CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 1, 1, parent,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                  this);
  return hwnd_ != nullptr;
}

LRESULT CALLBACK PreviewCanvas::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<PreviewCanvas*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    self->post_ = std::make_unique<WindowPost>(hwnd);
    self->runner_ = std::make_unique<LatestJobRunner>(self->post_->Poster());
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<PreviewCanvas*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->runner_.reset();
    self->post_.reset();
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  return self->Handle(msg, wp, lp);
}

LRESULT PreviewCanvas::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WindowPost::kRunPosted:
      post_->RunPosted();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wp);
      if (LOWORD(lp)) InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SIZE:
      if (!view_.Resized(drawing_ ? drawing_->Extent() : DeviceRect{}, Width(), Height())) {
        back_.reset();
      }
      Moved();
      return 0;
    case WM_MOUSEWHEEL: {
      POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};  // screen coordinates
      ScreenToClient(hwnd_, &at);
      ZoomAt({double(at.x), double(at.y)}, std::pow(kWheelStep, GET_WHEEL_DELTA_WPARAM(wp)));
      return 0;
    }
    case WM_LBUTTONDOWN:
      SetFocus(hwnd_);  // the wheel goes to the window with the focus
      SetCapture(hwnd_);
      dragging_ = true;
      drag_from_ = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      SetCursor(LoadCursorW(nullptr, IDC_SIZEALL));
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_) {
        const POINT to{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        Pan(to.x - drag_from_.x, to.y - drag_from_.y);
        drag_from_ = to;
      }
      return 0;
    case WM_LBUTTONUP:
      dragging_ = false;
      ReleaseCapture();
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      return 0;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      return 0;
    case WM_LBUTTONDBLCLK:
      Fit();
      return 0;
    case WM_TIMER:
      if (wp != kRestTimer) break;
      KillTimer(hwnd_, kRestTimer);
      resting_ = false;
      AskPicture();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

int PreviewCanvas::Width() const {
  RECT r{};
  GetClientRect(hwnd_, &r);
  return r.right;
}

int PreviewCanvas::Height() const {
  RECT r{};
  GetClientRect(hwnd_, &r);
  return r.bottom;
}

void PreviewCanvas::SetDrawing(std::shared_ptr<const PreviewDrawing> drawing, bool keep_view) {
  drawing_ = std::move(drawing);
  on_thread_ = drawing_->Work() > kWorkPaintedHere;
  message_.clear();
  // Another view of the same drawing keeps the last picture until its own comes.
  if (!keep_view || !on_thread_) picture_.reset();
  if (!keep_view || view_.fitted()) view_.Fit(drawing_->Extent(), Width(), Height());
  runner_->Cancel();
  KillTimer(hwnd_, kRestTimer);
  resting_ = false;
  if (on_thread_) AskPicture();
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void PreviewCanvas::SetMessage(const std::string& text) {
  drawing_.reset();
  picture_.reset();
  runner_->Cancel();
  KillTimer(hwnd_, kRestTimer);
  resting_ = false;
  message_ = WideFromUtf8(text);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

bool PreviewCanvas::PicturePending() const { return (runner_ && runner_->Pending()) || resting_; }

void PreviewCanvas::AskPicture() {
  if (!drawing_ || !on_thread_) return;
  const int width = Width(), height = Height();
  runner_->Post([this, drawing = drawing_, view = view_.transform(), width,
                 height](const std::function<bool()>&) {
    const auto start = std::chrono::steady_clock::now();
    auto picture = std::make_shared<DibPicture>(width, height);
    if (picture->valid()) PaintDrawing(*drawing, view, *picture);
    GdiFlush();  // the bits are complete before another thread shows them
    const double ms = MsSince(start);
    return LatestJobRunner::Delivery([this, picture, view, ms] {
      picture_ = picture;
      picture_view_ = view;
      last_picture_ms_ = ms;
      InvalidateRect(hwnd_, nullptr, FALSE);
    });
  });
}

void PreviewCanvas::Fit() {
  view_.Fit(drawing_ ? drawing_->Extent() : DeviceRect{}, Width(), Height());
  Moved();
}

void PreviewCanvas::Moved() {
  if (on_thread_ && drawing_) {
    SetTimer(hwnd_, kRestTimer, kRestMs, nullptr);  // starts the wait afresh
    resting_ = true;
  }
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void PreviewCanvas::ZoomAt(DevicePoint at, double factor) {
  if (!drawing_) return;
  view_.ZoomAt(drawing_->Extent(), Width(), Height(), at, factor);
  Moved();
}

void PreviewCanvas::Pan(double by_x, double by_y) {
  view_.Pan(by_x, by_y);
  Moved();
}

void PreviewCanvas::OnPaint() {
  PAINTSTRUCT ps;
  const HDC dc = BeginPaint(hwnd_, &ps);
  const int width = Width(), height = Height();
  if (!back_ || back_->width() != width || back_->height() != height) {
    back_ = std::make_unique<DibPicture>(width, height);
  }
  if (back_->valid()) {
    const auto start = std::chrono::steady_clock::now();
    PaintInto(*back_);
    last_paint_ms_ = MsSince(start);
    BitBlt(dc, 0, 0, width, height, back_->dc(), 0, 0, SRCCOPY);
  }
  EndPaint(hwnd_, &ps);
}

void PreviewCanvas::PaintInto(DibPicture& target) {
  if (drawing_ && !on_thread_) {
    PaintDrawing(*drawing_, view_.transform(), target);
  } else if (drawing_ && picture_) {
    PaintPicture(target);
  } else if (drawing_) {
    PaintMessage(target, WideFromUtf8(texts::kPainting), kWhite);
  } else {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    PaintMessage(target, message_,
                 (uint32_t{GetRValue(face)} << 16) | (uint32_t{GetGValue(face)} << 8) |
                     GetBValue(face));
  }
}

// The last picture, moved and scaled from its view to the current one.
void PreviewCanvas::PaintPicture(DibPicture& target) {
  const RECT all{0, 0, target.width(), target.height()};
  FillRect(target.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  // Views only move and scale, so the picture's corners give the place.
  const ViewTransform to_now = picture_view_.Inverted() * view_.transform();
  const DevicePoint a = to_now.Map(0, 0);
  const DevicePoint b = to_now.Map(picture_->width(), picture_->height());
  SetStretchBltMode(target.dc(), COLORONCOLOR);
  StretchBlt(target.dc(), static_cast<int>(std::lround(a.x)), static_cast<int>(std::lround(a.y)),
             static_cast<int>(std::lround(b.x - a.x)), static_cast<int>(std::lround(b.y - a.y)),
             picture_->dc(), 0, 0, picture_->width(), picture_->height(), SRCCOPY);
}

void PreviewCanvas::PaintMessage(DibPicture& target, const std::wstring& text,
                                 uint32_t background) {
  const HDC dc = target.dc();
  RECT box{0, 0, target.width(), target.height()};
  const HBRUSH brush = CreateSolidBrush(ToColorref(background));
  FillRect(dc, &box, brush);
  DeleteObject(brush);
  if (text.empty()) return;
  const HGDIOBJ old_font =
      SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  InflateRect(&box, -kMessageMargin, -kMessageMargin);
  // Centred as a block: measured first, then placed in the middle.
  RECT measured = box;
  const UINT flags = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, flags | DT_CALCRECT);
  const int text_height = measured.bottom - measured.top;
  box.top += std::max(0L, (box.bottom - box.top - text_height) / 2);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, flags);
  SelectObject(dc, old_font);
}

}  // namespace varnelko::win32
