#pragma once
// Runs jobs on a thread of its own where only the newest one counts: a job
// not yet started is dropped when a newer one is posted, and a job's result
// reaches the owner only when no newer job was posted meanwhile. The preview
// reads drawings and paints big pictures this way, so that moving through
// the list or zooming never waits for work that is no longer wanted.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "desktop/ui_post.h"

namespace varnelko {

class LatestJobRunner {
 public:
  // What a job hands back: run on the owner's thread if still wanted.
  using Delivery = std::function<void()>;
  // A job runs on the thread; it may ask `superseded` to give up early, and
  // then return an empty delivery.
  using Job = std::function<Delivery(const std::function<bool()>& superseded)>;

  // Deliveries reach the owner through `post`.
  explicit LatestJobRunner(PostToUi post);
  ~LatestJobRunner();  // waits for the running job
  LatestJobRunner(const LatestJobRunner&) = delete;
  LatestJobRunner& operator=(const LatestJobRunner&) = delete;

  void Post(Job job);
  // Drops the waiting job and the result of the running one.
  void Cancel();
  // A job was posted whose result has not yet been delivered.
  bool Pending() const { return latest_ != delivered_; }

 private:
  void Run();

  PostToUi post_;
  std::mutex mutex_;
  std::condition_variable wake_;
  Job waiting_;                          // guarded by mutex_
  uint64_t waiting_id_ = 0;              // guarded by mutex_: the newest id posted
  bool quit_ = false;                    // guarded by mutex_
  uint64_t latest_ = 0, delivered_ = 0;  // owner's thread
  UiLifeline lifeline_;
  std::thread thread_;
};

}  // namespace varnelko
