// Times the desktop program's preview pane on a generated drawing of about
// 200,000 entities: how long after the file is asked for its picture is
// painted, in each view, and how long a repaint takes after zooming and
// moving; then how long the settings dialog needs to read the layers of a
// selection of drawings. Runs offscreen unless told otherwise.
//   varnelko_preview_bench [ENTITIES=200000] [SELECTED=100] [phases]
// PREVIEW_BIG=1 times the pane on the drawing with block definitions.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "desktop/layer_choices.h"
#include "desktop/preview_drawing.h"
#include "qt/app_paths.h"
#include "qt/preview_canvas.h"
#include "qt/preview_pane.h"
#include "qt/qt_painter.h"
#include "qt/qt_post.h"
#include "bench_drawing.h"
#include "formats/jww/jww_file.h"
#include "formats/loaded_drawing.h"
#include "render/scene.h"
#include "support/document_builder.h"

namespace {

using varnelko::PreviewCanvas;
using varnelko::PreviewPane;

bool WriteDrawing(const std::filesystem::path& file, varnelko::JwwDocument doc) {
  const bool ok = varnelko::WriteJwwFile(file, varnelko::bench::kVersion, doc);
  varnelko::FreeJwwDocument(doc);
  return ok;
}

varnelko::JwwDocument Generated(size_t entities, size_t block_defs, uint32_t seed) {
  return varnelko::test::BuildJwwDocument(
      {.entities = entities, .block_defs = block_defs, .seed = seed});
}

// Milliseconds until the pane has its picture and has painted it.
double ShowAndPaint(PreviewPane& pane, const std::function<void()>& ask) {
  QElapsedTimer timer;
  timer.start();
  ask();
  while (pane.Pending()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  pane.canvas()->repaint();
  return timer.nsecsElapsed() / 1e6;
}

// Processor time of this process: the machine may be busy with others.
double CpuMs() { return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// Where the time of one picture goes: load, scene, painter batches, paint;
// processor milliseconds, on one thread.
void PrintPhases(const std::filesystem::path& file) {
  double timer = CpuMs();
  varnelko::LoadedDrawing drawing;
  if (!drawing.Load(file, nullptr)) return;
  const double load = CpuMs() - timer;
  timer = CpuMs();
  varnelko::render::Scene scene = varnelko::render::BuildScene(*drawing.jww());
  const size_t items = scene.items.size(), vertices = scene.points.size(),
               texts = scene.texts.size();
  const double build = CpuMs() - timer;
  timer = CpuMs();
  const varnelko::PreviewDrawing prepared(std::move(scene));
  const double prepare = CpuMs() - timer;
  QImage image(900, 600, QImage::Format_RGB32);
  timer = CpuMs();
  {
    QPainter painter(&image);
    varnelko::QtPainter device(painter);
    varnelko::PreviewView view;
    view.Fit(prepared.Extent(), 900, 600);
    prepared.Paint(device, view.transform(), {0, 0, 900, 600});
  }
  std::printf(
      "  processor time: load %.1f ms, scene %.1f ms (%zu items, %zu vertices, %zu texts), "
      "batches %.1f ms, paint %.1f ms\n",
      load, build, items, vertices, texts, prepare, CpuMs() - timer);
}

struct PaintTimes {
  double average = 0, worst = 0;
};

// Repaints after each step of `move`, `steps` times; then, for a drawing
// painted on the thread, the time until its sharp picture is back.
void Repaints(const char* what, PreviewCanvas& canvas, int steps,
              const std::function<void(int)>& move) {
  PaintTimes t;
  for (int i = 0; i < steps; ++i) {
    move(i);
    canvas.repaint();
    t.average += canvas.last_paint_ms() / steps;
    t.worst = std::max(t.worst, canvas.last_paint_ms());
  }
  QElapsedTimer rest;
  rest.start();
  while (canvas.PicturePending()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  std::printf("  repaint %-28s %7.1f ms average, %7.1f ms worst", what, t.average, t.worst);
  if (canvas.last_picture_ms() > 0) {
    std::printf("; sharp picture %.0f ms after the mouse rests (painting it %.0f ms)",
                rest.nsecsElapsed() / 1e6, canvas.last_picture_ms());
  }
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const size_t entities = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 200000;
  const int selected = argc > 2 ? std::atoi(argv[2]) : 100;
  const bool phases_only = argc > 3;
  QTemporaryDir work;
  const std::filesystem::path folder = varnelko::ToFsPath(work.path());
  // The drawing of the load benchmark: its insertions of 60 block
  // definitions draw ten times as many items as it has entities. The same
  // without definitions draws about one item per entity (and a dimension's
  // eight).
  const std::filesystem::path plain = folder / "plain.jww";
  const std::filesystem::path big = folder / "big.jww";
  if (!WriteDrawing(plain, Generated(entities, 0, 7)) ||
      !WriteDrawing(big, entities == 200000 ? varnelko::bench::BuildBenchDrawing()
                                            : Generated(entities, 60, 7))) {
    std::fprintf(stderr, "cannot write the drawings\n");
    return 1;
  }
  std::printf("%zu entities, no block definitions (%ju bytes):\n", entities,
              static_cast<uintmax_t>(std::filesystem::file_size(plain)));
  PrintPhases(plain);
  std::printf("%zu entities, 60 block definitions (%ju bytes):\n", entities,
              static_cast<uintmax_t>(std::filesystem::file_size(big)));
  PrintPhases(big);
  if (phases_only) return 0;
  const std::filesystem::path shown = std::getenv("PREVIEW_BIG") ? big : plain;
  std::printf("the pane on %s, 900 x 600\n", shown.filename().c_str());
  PreviewPane pane;
  pane.resize(900, 600);
  pane.show();
  QApplication::processEvents();
  varnelko::ConversionSettings settings;
  settings.C(1) = 16, settings.C(2) = 16, settings.C(3) = 1, settings.C(4) = 1;
  pane.SetSettings(settings);
  std::printf("  shown after the row became current   %7.1f ms\n",
              ShowAndPaint(pane, [&] { pane.ShowFile(shown); }));
  std::printf("  items drawn                          %7lld\n",
              static_cast<long long>(pane.canvas()->drawing()->Items()));
  std::printf("  \"変換後\" switched on                  %7.1f ms\n",
              ShowAndPaint(pane, [&] { pane.SetSwitches(true, false); }));
  std::printf("  \"印刷イメージ\" switched on too          %7.1f ms\n",
              ShowAndPaint(pane, [&] { pane.SetSwitches(true, true); }));
  std::printf("  counts line: %s\n", pane.counts_text().toStdString().c_str());
  pane.SetSwitches(false, false);
  while (pane.Pending()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);

  PreviewCanvas& canvas = *pane.canvas();
  const QPointF centre = canvas.rect().center();
  canvas.Fit();
  Repaints("fitted", canvas, 10, [](int) {});
  Repaints("zooming in, 20 wheel steps", canvas, 20, [&](int) { canvas.ZoomAt(centre, 1.2); });
  Repaints("panning zoomed in", canvas, 20, [&](int) { canvas.Pan({15, 10}); });
  canvas.Fit();
  canvas.ZoomAt(centre, 2);
  Repaints("panning at 2x", canvas, 20, [&](int) { canvas.Pan({15, 10}); });
  pane.SetSwitches(true, true);
  while (pane.Pending()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  canvas.Fit();
  Repaints("fitted, after + print", canvas, 10, [](int) {});

  // The settings dialog's layer names and counts for a selection.
  std::vector<std::filesystem::path> files;
  for (int i = 0; i < selected; ++i) {
    files.push_back(folder / ("d" + std::to_string(i) + ".jww"));
    if (!WriteDrawing(files.back(), Generated(3000, 4, static_cast<uint32_t>(i + 1)))) return 1;
  }
  QElapsedTimer timer;
  timer.start();
  bool done = false;
  varnelko::LayerTallyReader reader(files, varnelko::QtPost(),
                                   [&](const varnelko::LayerTally&) { done = true; });
  while (!done) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  std::printf("layers of %d selected drawings of 3,000 entities (%ju bytes each): %.1f ms\n",
              selected, static_cast<uintmax_t>(std::filesystem::file_size(files[0])),
              timer.nsecsElapsed() / 1e6);
  return 0;
}
