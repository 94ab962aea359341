#include "app/memo_reader.h"

#include "document/cp932.h"
#include "formats/memo_for_file.h"

namespace varnelko {

MemoReader::MemoReader(std::vector<std::filesystem::path> files, QObject* parent)
    : QObject(parent), files_(std::move(files)) {
  thread_ = std::thread([this] { Run(); });
}

MemoReader::~MemoReader() {
  stop_ = true;
  thread_.join();
  // Results the thread queued meanwhile are removed with this object.
}

void MemoReader::Stop() {
  stop_ = true;
  stopped_ = true;
}

void MemoReader::Run() {
  // Each memo goes back as a queued call on this object, so the owner's
  // thread sees them one by one in order, between its other events.
  for (size_t i = 0; i < files_.size() && !stop_; ++i) {
    QString memo = QString::fromStdString(Cp932ToUtf8(MemoForFile(files_[i])));
    QMetaObject::invokeMethod(
        this,
        [this, index = static_cast<int>(i), memo = std::move(memo)] {
          if (!stopped_) Q_EMIT MemoRead(index, memo);
        },
        Qt::QueuedConnection);
  }
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (stopped_) return;
        finished_ = true;
        Q_EMIT Finished();
      },
      Qt::QueuedConnection);
}

}  // namespace varnelko
