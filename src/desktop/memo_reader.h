#pragma once
// Reads the memos of a listed folder's files on a thread of its own, in the
// order of the rows, so that the rows are shown at once and the window stays
// usable while the memo column fills in.
#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "desktop/ui_post.h"

namespace varnelko {

class MemoReader {
 public:
  struct Callbacks {
    // On the user-interface thread, for index 0, 1, 2, ... in turn; UTF-8.
    std::function<void(int index, const std::string& memo)> on_memo;
    // After the last memo.
    std::function<void()> on_finished;
  };

  // Starts reading at once; `files` are in row order.
  MemoReader(std::vector<std::filesystem::path> files, PostToUi post, Callbacks callbacks);
  // Stops reading and waits for the thread; memos not yet handed over are dropped.
  ~MemoReader();
  MemoReader(const MemoReader&) = delete;
  MemoReader& operator=(const MemoReader&) = delete;

  // No memo is handed over after this, even one already read.
  void Stop();
  // False once every memo has been handed over, or after Stop.
  bool Pending() const { return !finished_ && !stopped_; }

 private:
  void Run();

  std::vector<std::filesystem::path> files_;
  PostToUi post_;
  Callbacks callbacks_;
  std::atomic<bool> stop_{false};  // tells the thread to stop
  bool stopped_ = false;           // owner side: Stop was called
  bool finished_ = false;          // owner side: the last memo was handed over
  UiLifeline lifeline_;
  std::thread thread_;
};

}  // namespace varnelko
