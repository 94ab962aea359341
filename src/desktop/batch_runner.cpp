#include "desktop/batch_runner.h"

namespace varnelko {

BatchRunner::BatchRunner(PostToUi post) : post_(std::move(post)) {}

BatchRunner::~BatchRunner() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

void BatchRunner::Start(BatchRequest request, Callbacks callbacks) {
  if (thread_.joinable()) thread_.join();  // the last run has handed everything over
  callbacks_ = std::move(callbacks);
  stop_ = false;
  running_ = true;
  request.stop = &stop_;
  thread_ = std::thread([this, request = std::move(request)] {
    BatchCallbacks batch;
    batch.on_progress = [this](size_t, const std::string& text) {
      post_(lifeline_.Guard([this, text] {
        if (callbacks_.on_progress) callbacks_.on_progress(text);
      }));
    };
    batch.on_done = [this](size_t index, const FileOutcome&) {
      post_(lifeline_.Guard([this, index] {
        if (callbacks_.on_done) callbacks_.on_done(index + 1);
      }));
    };
    auto outcomes = std::make_shared<std::vector<FileOutcome>>(RunBatch(request, batch));
    post_(lifeline_.Guard([this, outcomes] {
      running_ = false;
      if (auto finished = callbacks_.on_finished) finished(*outcomes);
    }));
  });
}

}  // namespace varnelko
