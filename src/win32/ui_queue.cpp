#include "win32/ui_queue.h"

namespace varnelko::win32 {

PostToUi UiQueue::Poster() {
  return [this](std::function<void()> f) { Post(std::move(f)); };
}

void UiQueue::Post(std::function<void()> f) {
  bool wake = false;
  {
    std::lock_guard lock(mutex_);
    wake = waiting_.empty();
    waiting_.push_back(std::move(f));
  }
  if (wake) PostMessageW(window_, message_, 0, 0);
}

void UiQueue::RunPending() {
  std::vector<std::function<void()>> ready;
  {
    std::lock_guard lock(mutex_);
    ready.swap(waiting_);
  }
  for (auto& f : ready) f();
}

}  // namespace varnelko::win32
