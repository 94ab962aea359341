#include "desktop/latest_job_runner.h"

namespace varnelko {

LatestJobRunner::LatestJobRunner(PostToUi post) : post_(std::move(post)) {
  thread_ = std::thread([this] { Run(); });
}

LatestJobRunner::~LatestJobRunner() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  wake_.notify_one();
  thread_.join();
  // Deliveries posted meanwhile find the lifeline gone.
}

void LatestJobRunner::Post(Job job) {
  {
    std::lock_guard lock(mutex_);
    waiting_ = std::move(job);
    waiting_id_ = ++latest_;
  }
  wake_.notify_one();
}

void LatestJobRunner::Cancel() {
  {
    std::lock_guard lock(mutex_);
    waiting_ = nullptr;
    waiting_id_ = ++latest_;
  }
  delivered_ = latest_;
}

void LatestJobRunner::Run() {
  for (;;) {
    Job job;
    uint64_t id = 0;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return quit_ || waiting_; });
      if (quit_) return;
      job = std::move(waiting_);
      waiting_ = nullptr;
      id = waiting_id_;
    }
    auto superseded = [this, id] {
      std::lock_guard lock(mutex_);
      return quit_ || waiting_id_ != id;
    };
    Delivery delivery = job(superseded);
    if (!delivery || superseded()) continue;
    post_(lifeline_.Guard([this, id, delivery = std::move(delivery)] {
      if (id != latest_) return;
      delivered_ = id;
      delivery();
    }));
  }
}

}  // namespace varnelko
