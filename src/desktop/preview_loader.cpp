#include "desktop/preview_loader.h"

#include <chrono>

#include "desktop/latest_job_runner.h"
#include "desktop/preview_drawing.h"
#include "conversion/conversion_changes.h"
#include "formats/loaded_drawing.h"
#include "render/scene.h"

namespace varnelko {

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A file is read again only when it changed on disk since.
struct FileStamp {
  std::filesystem::file_time_type time{};
  uintmax_t size = 0;
  bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const std::filesystem::path& file) {
  std::error_code ec;
  FileStamp stamp;
  stamp.time = std::filesystem::last_write_time(file, ec);
  stamp.size = std::filesystem::file_size(file, ec);
  return stamp;
}

}  // namespace

struct PreviewLoader::Loaded {
  std::filesystem::path file;
  FileStamp stamp;
  LoadedDrawing drawing;
};

PreviewLoader::PreviewLoader(PostToUi post, std::function<void(const PreviewResult&)> on_ready)
    : loaded_(std::make_shared<std::unique_ptr<Loaded>>()),
      on_ready_(std::move(on_ready)),
      runner_(std::make_unique<LatestJobRunner>(std::move(post))) {}

PreviewLoader::~PreviewLoader() = default;

bool PreviewLoader::Pending() const { return runner_->Pending(); }

void PreviewLoader::Request(const PreviewRequest& request) {
  runner_->Post([this, request, loaded = loaded_](const std::function<bool()>& superseded) {
    auto result = std::make_shared<PreviewResult>(Make(request, *loaded, superseded));
    return LatestJobRunner::Delivery([this, result] { on_ready_(*result); });
  });
}

void PreviewLoader::Clear() {
  runner_->Cancel();
  // The drawing goes on the runner's thread, after anything still using it.
  runner_->Post([loaded = loaded_](const std::function<bool()>&) {
    loaded->reset();
    return LatestJobRunner::Delivery([] {});
  });
}

PreviewResult PreviewLoader::Make(const PreviewRequest& request, std::unique_ptr<Loaded>& cache,
                                  const std::function<bool()>& superseded) {
  PreviewResult result;
  result.file = request.file;
  const Clock::time_point start = Clock::now();
  const FileStamp stamp = StampOf(request.file);
  if (!cache || cache->file != request.file || !(cache->stamp == stamp)) {
    cache.reset();  // the old drawing goes before the new one comes in
    auto fresh = std::make_unique<Loaded>();
    fresh->file = request.file;
    fresh->stamp = stamp;
    FormatError error;
    if (!fresh->drawing.Load(request.file, &error)) {
      result.error = error.Describe();
      return result;
    }
    cache = std::move(fresh);
    result.load_ms = MillisecondsSince(start);
  }
  if (superseded()) return result;  // a newer request waits: no scene for this one

  const Clock::time_point build_start = Clock::now();
  render::SceneOptions options;
  options.view = request.print ? render::SceneView::kPrint : render::SceneView::kScreen;
  options.print_colours = request.colour;
  const bool converts = request.settings.C(3) != 0 || request.settings.C(4) != 0;
  if (request.after && converts) options.after = request.settings;
  const LoadedDrawing& drawing = cache->drawing;
  render::Scene scene = drawing.jww() ? render::BuildScene(*drawing.jww(), options)
                                      : render::BuildScene(*drawing.jws(), options);
  if (scene.changes) {
    result.changes = scene.changes;
  } else if (converts) {
    result.changes = PlanConversion(drawing.store(), drawing.version(), request.settings).counts;
  }
  result.drawing = std::make_shared<const PreviewDrawing>(std::move(scene));
  result.build_ms = MillisecondsSince(build_start);
  return result;
}

}  // namespace varnelko
