// The parts of the preview: the runner that keeps only the newest job, the
// canvas's zoom and move, and the layer items for several drawings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <atomic>
#include <future>
#include <memory>

#include "qt/preview_canvas.h"
#include "desktop/preview_drawing.h"
#include "document/cp932.h"
#include "formats/jww/jww_file.h"
#include "formats/loaded_drawing.h"
#include "render/scene.h"
#include "support/document_builder.h"
#include "support/temp_dir.h"

namespace varnelko::test {
namespace {

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

}  // namespace
}  // namespace varnelko::test
