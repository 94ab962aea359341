#pragma once
// Reads the memos of a listed folder's files on a thread of its own, in the
// order of the rows, so that the rows are shown at once and the window stays
// usable while the memo column fills in.
#include <QObject>
#include <QString>
#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

namespace varnelko {

class MemoReader : public QObject {
  Q_OBJECT
 public:
  // Starts reading at once; `files` are in row order.
  explicit MemoReader(std::vector<std::filesystem::path> files, QObject* parent = nullptr);
  // Stops reading and waits for the thread; memos not yet handed over are dropped.
  ~MemoReader() override;

  // No memo is handed over after this, even one already read.
  void Stop();
  // False once every memo has been handed over, or after Stop.
  bool Pending() const { return !finished_ && !stopped_; }

 Q_SIGNALS:
  // On the owner's thread, for index 0, 1, 2, ... in turn.
  void MemoRead(int index, const QString& memo);
  void Finished();

 private:
  void Run();

  std::vector<std::filesystem::path> files_;
  std::atomic<bool> stop_{false};  // tells the thread to stop
  bool stopped_ = false;           // owner side: Stop was called
  bool finished_ = false;          // owner side: the last memo was handed over
  std::thread thread_;
};

}  // namespace varnelko
