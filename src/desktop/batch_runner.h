#pragma once
// A conversion run on a thread of its own, so that the window stays alive
// and can stop it: Stop lets the files in progress finish and starts no
// other; those are reported as not started.
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "conversion/batch.h"
#include "desktop/ui_post.h"

namespace varnelko {

class BatchRunner {
 public:
  // All on the user-interface thread.
  struct Callbacks {
    std::function<void(const std::string& text)> on_progress;  // a file starts
    std::function<void(size_t done)> on_done;                   // files finished so far
    std::function<void(const std::vector<FileOutcome>&)> on_finished;
  };

  explicit BatchRunner(PostToUi post);
  // Stops a run still going and waits for it; nothing is handed over then.
  ~BatchRunner();
  BatchRunner(const BatchRunner&) = delete;
  BatchRunner& operator=(const BatchRunner&) = delete;

  // Starts `request` (one run at a time).
  void Start(BatchRequest request, Callbacks callbacks);
  // No further file is started; the files in progress end.
  void Stop() { stop_ = true; }
  bool Running() const { return running_; }
  // The last run was asked to stop.
  bool Stopped() const { return stop_; }

 private:
  PostToUi post_;
  Callbacks callbacks_;
  std::atomic<bool> stop_{false};
  bool running_ = false;  // user-interface thread
  UiLifeline lifeline_;
  std::thread thread_;
};

}  // namespace varnelko
