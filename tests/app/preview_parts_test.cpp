// The parts of the preview: the runner that keeps only the newest job, the
// canvas's zoom and move, and the layer items for several drawings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <atomic>
#include <future>
#include <memory>

#include "app/latest_job_runner.h"
#include "app/layer_choices.h"
#include "app/preview_canvas.h"
#include "app/preview_drawing.h"
#include "document/cp932.h"
#include "formats/jww/jww_file.h"
#include "formats/loaded_drawing.h"
#include "render/scene.h"
#include "support/document_builder.h"
#include "support/temp_dir.h"

namespace varnelko::test {
namespace {

void RunEventsWhile(const std::function<bool()>& condition) {
  QElapsedTimer timer;
  timer.start();
  while (condition() && timer.elapsed() < 10'000) {
    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
  }
}

TEST(LatestJobRunnerTest, OnlyTheNewestJobRunsOnAndDelivers) {
  LatestJobRunner runner;
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::atomic<int> started_first{0};
  std::atomic<int> ran_second{0};
  std::vector<int> delivered;
  auto job = [&](int n) {
    return [&, n](const std::function<bool()>& superseded) {
      if (n == 1) {
        started_first = 1;
        released.wait();
        EXPECT_TRUE(superseded()) << "newer jobs were posted meanwhile";
      }
      if (n == 2) ++ran_second;
      return LatestJobRunner::Delivery([&delivered, n] { delivered.push_back(n); });
    };
  };
  runner.Post(job(1));
  RunEventsWhile([&] { return started_first == 0; });
  runner.Post(job(2));  // waits behind 1, then is replaced by 3 before it starts
  runner.Post(job(3));
  EXPECT_TRUE(runner.Pending());
  release.set_value();
  RunEventsWhile([&] { return runner.Pending(); });
  EXPECT_EQ(delivered, std::vector<int>({3}));
  EXPECT_EQ(ran_second, 0);

  // A cancelled job's result never arrives.
  runner.Post(job(4));
  runner.Cancel();
  EXPECT_FALSE(runner.Pending());
  runner.Post(job(5));
  RunEventsWhile([&] { return runner.Pending(); });
  EXPECT_EQ(delivered, std::vector<int>({3, 5}));
}

// A 100 x 50 rectangle with its lower left corner at (1000, 2000).
std::shared_ptr<const PreviewDrawing> Rectangle() {
  JwwDocument doc = BuildJwwDocument({.entities = 0, .block_defs = 0});
  ShowAllLayers(doc);
  doc.header.paper_size = -1;  // no sheet: the rectangle is framed
  const double x[] = {1000, 1100, 1100, 1000}, y[] = {2000, 2000, 2050, 2050};
  for (int i = 0; i < 4; ++i) {
    TEntSen line;
    line.header.pen_style = 1;
    line.header.pen_color = 2;
    line.start_x = x[i], line.start_y = y[i], line.end_x = x[(i + 1) % 4],
    line.end_y = y[(i + 1) % 4];
    doc.store.Add(line);
  }
  return std::make_shared<const PreviewDrawing>(render::BuildScene(doc));
}

TEST(PreviewCanvasTest, FitsZoomsAroundTheCursorAndMoves) {
  PreviewCanvas canvas;
  canvas.resize(416, 216);  // 400 x 200 inside the margins
  canvas.show();            // resize events reach shown widgets only
  canvas.SetDrawing(Rectangle(), false);
  // Fitted: the drawing's centre in the middle, y upwards, 4 pixels a unit.
  EXPECT_EQ(canvas.view().map(QPointF(1050, 2025)), QPointF(208, 108));
  EXPECT_EQ(canvas.view().map(QPointF(1100, 2050)), QPointF(408, 8));

  const QPointF cursor(300, 50);
  const QPointF under = canvas.view().inverted().map(cursor);
  canvas.ZoomAt(cursor, 2.5);
  EXPECT_NEAR((canvas.view().map(under) - cursor).manhattanLength(), 0, 1e-9);
  EXPECT_NEAR(canvas.view().m11(), 10, 1e-9);

  canvas.Pan(QPointF(-30, 12));
  EXPECT_NEAR((canvas.view().map(under) - (cursor + QPointF(-30, 12))).manhattanLength(), 0, 1e-9);

  // Zooming out stops at a thousandth of the fitted size.
  for (int i = 0; i < 40; ++i) canvas.ZoomAt(cursor, 0.1);
  EXPECT_NEAR(canvas.view().m11(), 4e-3, 1e-3);

  // A resize after zooming keeps the view; a fitted one follows the size.
  const QTransform zoomed = canvas.view();
  canvas.resize(616, 216);
  EXPECT_EQ(canvas.view(), zoomed);
  canvas.Fit();
  canvas.resize(216, 116);
  EXPECT_EQ(canvas.view().map(QPointF(1050, 2025)), QPointF(108, 58));
}

TEST(LayerTallyTest, NamesThatDifferBetweenDrawingsAreMarked) {
  TempDir temp;
  LayerTally tally;
  for (const char* name : {"1階", "", "2階"}) {
    JwwDocument doc = BuildJwwDocument({.entities = 0, .block_defs = 0});
    for (TLayerGroup& g : doc.layer_groups) g.name.clear();
    for (TLayer& l : doc.layers) l.name.clear();
    doc.layer_groups[1].name = Utf8ToCp932(name);
    doc.layers[16 + 15].name = Utf8ToCp932("通り芯");
    TEntSen line;
    line.header.layer_group = 1;
    line.header.layer = 15;
    doc.store.Add(line);
    const std::filesystem::path file = temp.path() / (std::string("d") + name + ".jww");
    ASSERT_TRUE(WriteJwwFile(file, 700, doc));
    LoadedDrawing drawing;
    ASSERT_TRUE(drawing.Load(file, nullptr));
    tally.Add(drawing);
  }
  EXPECT_EQ(tally.drawings, 3);
  EXPECT_EQ(GroupItemText(tally, 1), QString("1 : 1階 他 (3)"));
  EXPECT_EQ(LayerItemText(tally, 1, 15), QString("F : 通り芯 (3)"));
  // Over every group a layer has no one name.
  EXPECT_EQ(LayerItemText(tally, 16, 15), QString("F (3)"));
  EXPECT_EQ(LayerItemText(tally, -1, 15), QString("F (3)"));
  EXPECT_EQ(GroupItemText(tally, 16), QString("全て (3)"));
  EXPECT_EQ(GroupItemCount(tally, 0), 0);
}

}  // namespace
}  // namespace varnelko::test
