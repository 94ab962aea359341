#include "win32/preview/window_post.h"

#include <mutex>
#include <utility>
#include <vector>

namespace varnelko::win32 {

struct WindowPost::Queue {
  std::mutex mutex;
  HWND window = nullptr;  // null once closed; guarded by mutex
  std::vector<std::function<void()>> functions;  // guarded by mutex
};

WindowPost::WindowPost(HWND window) : queue_(std::make_shared<Queue>()) {
  queue_->window = window;
}

WindowPost::~WindowPost() {
  std::vector<std::function<void()>> dropped;
  {
    std::lock_guard lock(queue_->mutex);
    queue_->window = nullptr;
    dropped.swap(queue_->functions);
  }
}  // `dropped` is destroyed outside the lock: it may hold big results

PostToUi WindowPost::Poster() const {
  return [queue = queue_](std::function<void()> f) {
    std::lock_guard lock(queue->mutex);
    if (!queue->window) return;
    queue->functions.push_back(std::move(f));
    // One message wakes the window for everything queued until it runs.
    if (queue->functions.size() == 1) PostMessageW(queue->window, kRunPosted, 0, 0);
  };
}

void WindowPost::RunPosted() {
  std::vector<std::function<void()>> due;
  {
    std::lock_guard lock(queue_->mutex);
    due.swap(queue_->functions);
  }
  for (auto& f : due) f();
}

}  // namespace varnelko::win32
