#pragma once
// Functions from worker threads for a window's thread: queued here, run
// when the window handles kRunPosted (the window calls RunPosted). Once the
// window's WindowPost is gone, whatever a worker still posts is dropped,
// so that nothing waits in a message queue for a window that no longer is.
#include <windows.h>

#include <memory>

#include "desktop/ui_post.h"

namespace varnelko::win32 {

class WindowPost {
 public:
  // The window message that asks the window to run what is queued.
  static constexpr UINT kRunPosted = WM_APP + 0x2F0;

  explicit WindowPost(HWND window);
  ~WindowPost();
  WindowPost(const WindowPost&) = delete;
  WindowPost& operator=(const WindowPost&) = delete;

  // Queues for the window; may be called on any thread.
  PostToUi Poster() const;
  // On the window's thread: runs the queued functions in order.
  void RunPosted();

 private:
  struct Queue;
  std::shared_ptr<Queue> queue_;
};

}  // namespace varnelko::win32
