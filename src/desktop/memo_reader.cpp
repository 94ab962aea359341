#include "desktop/memo_reader.h"

#include "document/cp932.h"
#include "formats/memo_for_file.h"

namespace varnelko {

MemoReader::MemoReader(std::vector<std::filesystem::path> files, PostToUi post,
                       Callbacks callbacks)
    : files_(std::move(files)), post_(std::move(post)), callbacks_(std::move(callbacks)) {
  thread_ = std::thread([this] { Run(); });
}

MemoReader::~MemoReader() {
  stop_ = true;
  thread_.join();
  // Memos the thread posted meanwhile find the lifeline gone.
}

void MemoReader::Stop() {
  stop_ = true;
  stopped_ = true;
}

void MemoReader::Run() {
  // Each memo goes back as a posted call, so the owner's thread sees them
  // one by one in order, between its other events.
  for (size_t i = 0; i < files_.size() && !stop_; ++i) {
    std::string memo = Cp932ToUtf8(MemoForFile(files_[i]));
    post_(lifeline_.Guard([this, index = static_cast<int>(i), memo = std::move(memo)] {
      if (!stopped_ && callbacks_.on_memo) callbacks_.on_memo(index, memo);
    }));
  }
  post_(lifeline_.Guard([this] {
    if (stopped_) return;
    finished_ = true;
    if (auto finished = callbacks_.on_finished) finished();  // it may end this reader
  }));
}

}  // namespace varnelko
