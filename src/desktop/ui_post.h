#pragma once
// Work done on a thread of its own reaches a window on the window's
// user-interface thread: the window gives the layer a way to run a function
// there later, between its events (Qt queues it to an object, Win32 posts a
// message). The layer's objects guard what they post, so that a function
// whose object has gone meanwhile does nothing.
#include <functional>
#include <memory>

namespace varnelko {

// Runs the function later on the window's user-interface thread. It may be
// called from any thread; the functions run in the order they were posted.
using PostToUi = std::function<void(std::function<void()>)>;

// Owned by an object living on the user-interface thread: functions guarded
// by it do nothing once the object (and with it the lifeline) is gone.
class UiLifeline {
 public:
  // May be called on any thread while the owner exists.
  std::function<void()> Guard(std::function<void()> f) const {
    return [alive = std::weak_ptr<const char>(alive_), f = std::move(f)] {
      if (alive.lock()) f();
    };
  }

 private:
  std::shared_ptr<const char> alive_ = std::make_shared<const char>(0);
};

}  // namespace varnelko
