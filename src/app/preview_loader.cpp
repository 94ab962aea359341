#include "app/preview_loader.h"

#include <chrono>

#include "app/preview_drawing.h"
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

PreviewLoader::PreviewLoader(QObject* parent) : QObject(parent) {
  thread_ = std::thread([this] { Run(); });
}

PreviewLoader::~PreviewLoader() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  wake_.notify_one();
  thread_.join();
  // Results queued meanwhile go with this object.
}

void PreviewLoader::Request(const PreviewRequest& request) {
  {
    std::lock_guard lock(mutex_);
    waiting_ = request;
    waiting_id_ = ++latest_;
  }
  wake_.notify_one();
}

void PreviewLoader::Clear() {
  {
    std::lock_guard lock(mutex_);
    waiting_.reset();
    forget_ = true;
    ++latest_;
  }
  delivered_ = latest_;
  wake_.notify_one();
}

bool PreviewLoader::Superseded(uint64_t id) {
  std::lock_guard lock(mutex_);
  return waiting_id_ != id;
}

void PreviewLoader::Run() {
  for (;;) {
    PreviewRequest request;
    uint64_t id = 0;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return quit_ || waiting_ || forget_; });
      if (quit_) return;
      if (forget_) {
        forget_ = false;
        loaded_.reset();
        if (!waiting_) continue;
      }
      request = std::move(*waiting_);
      waiting_.reset();
      id = waiting_id_;
    }
    auto result = std::make_shared<PreviewResult>(Make(request, id));
    if (Superseded(id)) continue;
    QMetaObject::invokeMethod(
        this,
        [this, id, result] {
          if (id != latest_) return;
          delivered_ = id;
          Q_EMIT Ready(*result);
        },
        Qt::QueuedConnection);
  }
}

PreviewResult PreviewLoader::Make(const PreviewRequest& request, uint64_t id) {
  PreviewResult result;
  result.file = request.file;
  const Clock::time_point start = Clock::now();
  const FileStamp stamp = StampOf(request.file);
  if (!loaded_ || loaded_->file != request.file || !(loaded_->stamp == stamp)) {
    loaded_.reset();  // the old drawing goes before the new one comes in
    auto loaded = std::make_unique<Loaded>();
    loaded->file = request.file;
    loaded->stamp = stamp;
    FormatError error;
    if (!loaded->drawing.Load(request.file, &error)) {
      result.error = QString::fromStdString(error.Describe());
      return result;
    }
    loaded_ = std::move(loaded);
    result.load_ms = MillisecondsSince(start);
  }
  if (Superseded(id)) return result;  // a newer request waits: no scene for this one

  const Clock::time_point build_start = Clock::now();
  render::SceneOptions options;
  options.view = request.print ? render::SceneView::kPrint : render::SceneView::kScreen;
  const bool converts = request.settings.C(3) != 0 || request.settings.C(4) != 0;
  if (request.after && converts) options.after = request.settings;
  const LoadedDrawing& drawing = loaded_->drawing;
  const render::Scene scene = drawing.jww() ? render::BuildScene(*drawing.jww(), options)
                                            : render::BuildScene(*drawing.jws(), options);
  if (scene.changes) {
    result.changes = scene.changes;
  } else if (converts) {
    result.changes = PlanConversion(drawing.store(), drawing.version(), request.settings).counts;
  }
  result.drawing = std::make_shared<const PreviewDrawing>(scene);
  result.build_ms = MillisecondsSince(build_start);
  return result;
}

}  // namespace varnelko
