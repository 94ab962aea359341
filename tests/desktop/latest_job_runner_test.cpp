#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>
#include <vector>

#include "desktop/latest_job_runner.h"
#include "desktop_fixtures.h"

namespace varnelko::test {
namespace {

TEST(LatestJobRunnerTest, OnlyTheNewestJobRunsOnAndDelivers) {
  UiQueue ui;
  LatestJobRunner runner(ui.Post());
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::atomic<int> started_first{0};
  std::atomic<int> ran_second{0};
  std::vector<int> delivered;
  auto job = [&](int n) {
    return [&, n](const std::function<bool()>& superseded) {
      if (n == 1) {
        started_first = 1;
        released.wait();
        EXPECT_TRUE(superseded()) << "newer jobs were posted meanwhile";
      }
      if (n == 2) ++ran_second;
      return LatestJobRunner::Delivery([&delivered, n] { delivered.push_back(n); });
    };
  };
  runner.Post(job(1));
  ui.RunUntil([&] { return started_first != 0; });
  runner.Post(job(2));  // waits behind 1, then is replaced by 3 before it starts
  runner.Post(job(3));
  EXPECT_TRUE(runner.Pending());
  release.set_value();
  ui.RunUntil([&] { return !runner.Pending(); });
  EXPECT_EQ(delivered, std::vector<int>({3}));
  EXPECT_EQ(ran_second, 0);

  // A cancelled job's result never arrives.
  runner.Post(job(4));
  runner.Cancel();
  EXPECT_FALSE(runner.Pending());
  runner.Post(job(5));
  ui.RunUntil([&] { return !runner.Pending(); });
  EXPECT_EQ(delivered, std::vector<int>({3, 5}));
}

TEST(LatestJobRunnerTest, AResultPostedBeforeTheRunnerWentIsDropped) {
  UiQueue ui;
  bool delivered = false;
  std::atomic<int> posts{0};
  PostToUi counting = [&posts, post = ui.Post()](std::function<void()> f) {
    post(std::move(f));
    ++posts;
  };
  {
    LatestJobRunner runner(counting);
    runner.Post([&](const std::function<bool()>&) {
      return LatestJobRunner::Delivery([&] { delivered = true; });
    });
    while (posts == 0) std::this_thread::yield();
  }  // the delivery is queued already
  ui.RunPending();
  EXPECT_FALSE(delivered);
}

}  // namespace
}  // namespace varnelko::test
