#pragma once
// Loads the previewed drawing and builds its scene off the user-interface
// thread. Only the newest request counts (see LatestJobRunner); the drawing
// read last is kept, so that another view of it needs no second read.
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "conversion/conversion_settings.h"
#include "conversion/layer_rules.h"
#include "desktop/ui_post.h"

namespace varnelko {

class LatestJobRunner;
class PreviewDrawing;

struct PreviewRequest {
  std::filesystem::path file;
  bool after = false;  // as the conversion with `settings` leaves it, changes marked
  bool print = false;  // what prints: auxiliary entities left out
  bool colour = false;  // the print view in the drawing's colours, not black
  ConversionSettings settings;
};

struct PreviewResult {
  std::filesystem::path file;
  std::string error;  // why the file cannot be shown (UTF-8); empty when it is
  std::shared_ptr<const PreviewDrawing> drawing;
  // What the conversion with the request's settings would change; empty
  // when those settings convert neither colours nor line types.
  std::optional<ConversionCounts> changes;
  double load_ms = 0;   // 0 when the file was still loaded from before
  double build_ms = 0;  // scene and painter batches
};

class PreviewLoader {
 public:
  // `on_ready` runs on the user-interface thread, for the newest request only.
  PreviewLoader(PostToUi post, std::function<void(const PreviewResult&)> on_ready);
  ~PreviewLoader();
  PreviewLoader(const PreviewLoader&) = delete;
  PreviewLoader& operator=(const PreviewLoader&) = delete;

  void Request(const PreviewRequest& request);
  // Drops any request and forgets the loaded drawing.
  void Clear();
  // A request has been made whose result has not yet arrived.
  bool Pending() const;

 private:
  struct Loaded;
  // On the runner's thread: reads the file unless `loaded` holds it already.
  static PreviewResult Make(const PreviewRequest& request, std::unique_ptr<Loaded>& cache,
                            const std::function<bool()>& superseded);
  std::shared_ptr<std::unique_ptr<Loaded>> loaded_;  // used on the runner's thread only
  std::function<void(const PreviewResult&)> on_ready_;
  std::unique_ptr<LatestJobRunner> runner_;
};

}  // namespace varnelko
