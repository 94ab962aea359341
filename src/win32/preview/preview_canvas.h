#pragma once
// The picture of the Windows preview pane, a child window: a prepared
// drawing fitted to the window, zoomed by the mouse wheel around the
// cursor, moved by dragging, fitted again by a double click; or a message
// instead of a picture. Painted double-buffered with GDI+. A drawing too
// big to paint at every step is painted on a thread of its own: meanwhile
// its last picture follows the zoom and the move, and the sharp one
// replaces it once the mouse rests.
#include <windows.h>

#include <memory>
#include <string>

#include "desktop/view_transform.h"

namespace varnelko {
class LatestJobRunner;
class PreviewDrawing;
}  // namespace varnelko

namespace varnelko::win32 {

class DibPicture;
class WindowPost;

class PreviewCanvas {
 public:
  PreviewCanvas();
  ~PreviewCanvas();
  PreviewCanvas(const PreviewCanvas&) = delete;
  PreviewCanvas& operator=(const PreviewCanvas&) = delete;

  bool Create(HWND parent, int id);
  HWND hwnd() const { return hwnd_; }

  // Shows `drawing`; `keep_view` keeps the zoom and position (the same
  // drawing in another view), otherwise it is fitted.
  void SetDrawing(std::shared_ptr<const PreviewDrawing> drawing, bool keep_view);
  // Shows `text` (UTF-8) instead of a picture.
  void SetMessage(const std::string& text);
  void Fit();
  // Zooms by `factor` keeping the drawing point under `at` (client pixels) where it is.
  void ZoomAt(DevicePoint at, double factor);
  void Pan(double by_x, double by_y);

  const PreviewDrawing* drawing() const { return drawing_.get(); }
  // Drawing coordinates to client pixels.
  const ViewTransform& view() const { return view_.transform(); }
  const std::wstring& message() const { return message_; }
  // A sharp picture of a big drawing is still to come.
  bool PicturePending() const;
  double last_paint_ms() const { return last_paint_ms_; }      // the last WM_PAINT
  double last_picture_ms() const { return last_picture_ms_; }  // the last one on the thread

  // Paints what WM_PAINT shows into `target` (of the window's size).
  void PaintInto(DibPicture& target);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  void OnPaint();
  void PaintMessage(DibPicture& target, const std::wstring& text, uint32_t background);
  void PaintPicture(DibPicture& target);
  void AskPicture();
  void Moved();  // after the view changed
  int Width() const;
  int Height() const;

  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;  // of the message; the pane's, not owned
  std::unique_ptr<WindowPost> post_;
  std::unique_ptr<LatestJobRunner> runner_;
  std::shared_ptr<const PreviewDrawing> drawing_;
  bool on_thread_ = false;  // the drawing is painted on the thread only
  std::wstring message_;
  bool resting_ = false;                  // the rest timer runs
  std::shared_ptr<DibPicture> picture_;   // painted on the thread ...
  ViewTransform picture_view_;            // ... through this view
  std::unique_ptr<DibPicture> back_;      // the back buffer of WM_PAINT
  PreviewView view_;
  bool dragging_ = false;
  POINT drag_from_{};
  double last_paint_ms_ = 0, last_picture_ms_ = 0;
};

}  // namespace varnelko::win32
