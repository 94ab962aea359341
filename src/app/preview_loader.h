#pragma once
// Loads the previewed drawing and builds its scene on a thread of its own,
// so that moving through the list never waits for a big drawing. Only the
// newest request counts: one not yet started is replaced by a newer one, and
// the result of a superseded one is dropped.
#include <QObject>
#include <QString>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "conversion/conversion_settings.h"
#include "conversion/layer_rules.h"

namespace varnelko {

class PreviewDrawing;

struct PreviewRequest {
  std::filesystem::path file;
  bool after = false;  // as the conversion with `settings` leaves it, changes marked
  bool print = false;  // what prints: auxiliary entities left out
  ConversionSettings settings;
};

struct PreviewResult {
  std::filesystem::path file;
  QString error;  // why the file cannot be shown; empty when it is
  std::shared_ptr<const PreviewDrawing> drawing;
  // What the conversion with the request's settings would change; empty
  // when those settings convert neither colours nor line types.
  std::optional<ConversionCounts> changes;
  double load_ms = 0;   // 0 when the file was still loaded from before
  double build_ms = 0;  // scene and painter batches
};

class PreviewLoader : public QObject {
  Q_OBJECT
 public:
  explicit PreviewLoader(QObject* parent = nullptr);
  ~PreviewLoader() override;  // waits for the drawing being read

  void Request(const PreviewRequest& request);
  // Drops any request and forgets the loaded drawing.
  void Clear();
  // A request has been made whose result has not yet arrived.
  bool Pending() const { return latest_ != delivered_; }

 Q_SIGNALS:
  // On the owner's thread, for the newest request only.
  void Ready(const PreviewResult& result);

 private:
  struct Loaded;
  void Run();
  bool Superseded(uint64_t id);
  PreviewResult Make(const PreviewRequest& request, uint64_t id);

  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<PreviewRequest> waiting_;  // guarded by mutex_
  uint64_t waiting_id_ = 0;                // guarded by mutex_
  bool forget_ = false;                    // guarded by mutex_
  bool quit_ = false;                      // guarded by mutex_
  uint64_t latest_ = 0, delivered_ = 0;    // owner's thread
  std::unique_ptr<Loaded> loaded_;         // the thread's: the drawing read last
  std::thread thread_;
};

}  // namespace varnelko
