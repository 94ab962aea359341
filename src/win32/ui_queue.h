#pragma once
// Work on other threads hands functions to the window's thread through this
// queue. One message wakes the window however many functions wait: a
// thread's queue takes at most 10,000 posted messages, and a listing of
// 20,000 memos would lose the rest (and its end) one message each.
#include <windows.h>

#include <functional>
#include <mutex>
#include <vector>

#include "desktop/ui_post.h"

namespace varnelko::win32 {

class UiQueue {
 public:
  // `message` is posted to `window` when the queue stops being empty.
  UiQueue(HWND window, UINT message) : window_(window), message_(message) {}

  // For the desktop layer's threads.
  PostToUi Poster();
  // On the window's thread, when `message` arrives: runs what waits.
  void RunPending();

 private:
  void Post(std::function<void()> f);

  HWND window_;
  UINT message_;
  std::mutex mutex_;
  std::vector<std::function<void()>> waiting_;  // guarded by mutex_
};

}  // namespace varnelko::win32
