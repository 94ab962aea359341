// The preview pane: it follows the current row, its switches change the
// picture, a file that cannot be read says why in the pane, and its state
// persists; the settings dialog names and counts the selected drawings'
// layers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <vector>

#include "qt/preview_canvas.h"
#include "desktop/preview_drawing.h"
#include "qt/preview_pane.h"
#include "qt/settings_dialog.h"
#include "app_fixture.h"
#include "desktop_fixtures.h"
#include "document/cp932.h"
#include "formats/jww/jww_file.h"
#include "support/document_builder.h"

namespace varnelko::test {
namespace {

namespace fs = std::filesystem;

class PreviewTest : public AppTest {
 protected:
  // Lists a folder of "a.jww" (3 lines on the layer), "b.jww" (8) and
  // "c.jww", which is no drawing at all.
  void ListDrawings() {
    const QString folder = Folder("drawings");
    WriteLayeredDrawing(ToFsPath(folder) / "a.jww", 3);
    WriteLayeredDrawing(ToFsPath(folder) / "b.jww", 8);
    temp_.Write("drawings/c.jww", "JwwData.this is where the header should be");
    Start();
    SearchAndList(folder);
    WaitForPreview();
  }

  PreviewPane* pane() { return window_->preview(); }
  PreviewCanvas* canvas() { return pane()->canvas(); }

  void WaitForPreview() {
    QElapsedTimer timer;
    timer.start();
    while (pane()->Pending() && timer.elapsed() < 10'000) {
      QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    ASSERT_FALSE(pane()->Pending()) << "the preview never came";
    QApplication::processEvents();
  }

  QImage Picture() { return canvas()->grab().toImage(); }

  void SelectRow(int row) {
    grid()->setCurrentCell(row, 0);
    WaitForPreview();
  }

  // Converts group 1, every layer, colours and line types.
  void ConvertGroupOne() {
    ConversionSettings s;
    s.C(1) = 1, s.C(2) = 16, s.C(3) = 1, s.C(4) = 1;
    window_->state().settings = s;
    pane()->SetSettings(s);
    WaitForPreview();
  }
};

TEST_F(PreviewTest, ThePaneFollowsTheCurrentRow) {
  ListDrawings();
  ASSERT_NE(canvas()->drawing(), nullptr) << canvas()->message().toStdString();
  const QImage first = Picture();
  const auto* drawing_a = canvas()->drawing();
  const int64_t items_a = drawing_a->Items();

  SelectRow(1);
  ASSERT_NE(canvas()->drawing(), nullptr);
  EXPECT_EQ(canvas()->drawing()->Items(), items_a + 5);  // b has five lines more
  EXPECT_NE(Picture(), first);

  // Moving quickly through the rows: only the last one counts.
  for (int row : {0, 1, 2, 1, 0}) grid()->setCurrentCell(row, 0);
  WaitForPreview();
  ASSERT_NE(canvas()->drawing(), nullptr);
  EXPECT_EQ(canvas()->drawing()->Items(), items_a);
  EXPECT_EQ(Picture(), first);

  // A new listing of a folder without drawings empties the pane.
  window_->ListFiles(ToFsPath(Folder("empty")));
  WaitForPreview();
  EXPECT_EQ(canvas()->drawing(), nullptr);
  EXPECT_TRUE(canvas()->message().isEmpty());
}

TEST_F(PreviewTest, TheSwitchesChangeThePictureAndTheCountsFollowTheSettings) {
  ListDrawings();
  EXPECT_EQ(pane()->counts_text(), QString("補助線色・補助線種とも変換しない設定です"));
  ConvertGroupOne();
  // Three lines on layer 3 and one on layer 5 of group 1 change.
  EXPECT_EQ(pane()->counts_text(), QString("線色 4 / 線種 4 を変更"));
  const QImage before = Picture();

  pane()->findChild<QCheckBox*>("PreviewAfter")->setChecked(true);
  WaitForPreview();
  const QImage after = Picture();
  EXPECT_NE(after, before);
  EXPECT_EQ(pane()->counts_text(), QString("線色 4 / 線種 4 を変更"));

  auto* colour = pane()->findChild<QCheckBox*>("PreviewColour");
  EXPECT_FALSE(colour->isEnabled()) << "colour is a choice of the print view";
  pane()->findChild<QCheckBox*>("PreviewPrint")->setChecked(true);
  WaitForPreview();
  const QImage after_print = Picture();
  EXPECT_NE(after_print, after);
  EXPECT_TRUE(colour->isEnabled());

  // The print view of the drawing as it is: nothing is auxiliary yet.
  pane()->findChild<QCheckBox*>("PreviewAfter")->setChecked(false);
  WaitForPreview();
  EXPECT_EQ(Picture(), before);

  // The view stays where the user put it when a switch changes the picture.
  canvas()->ZoomAt(QPointF(10, 10), 3);
  const QImage zoomed = Picture();
  pane()->findChild<QCheckBox*>("PreviewPrint")->setChecked(false);
  WaitForPreview();
  EXPECT_EQ(Picture(), zoomed);
  canvas()->Fit();
  EXPECT_EQ(Picture(), before);
}

TEST_F(PreviewTest, AFileThatCannotBeReadShowsWhyInThePane) {
  ListDrawings();
  TakeEvents();
  SelectRow(2);
  EXPECT_EQ(canvas()->drawing(), nullptr);
  EXPECT_TRUE(canvas()->message().startsWith("「c.jww」を表示できません。\n"))
      << canvas()->message().toStdString();
  EXPECT_TRUE(canvas()->message().contains("オフセット")) << "the loader's reason is missing";
  EXPECT_TRUE(TakeEvents().isEmpty()) << "no box, no beep";
  SelectRow(0);
  EXPECT_NE(canvas()->drawing(), nullptr);
}

TEST_F(PreviewTest, ThePaneItsHeightAndItsSwitchesPersist) {
  Start();
  EXPECT_TRUE(pane()->isVisible());
  pane()->SetSwitches(true, true, true);
  Close();
  {
    const std::string ini_text = ReadFile(ToFsPath(ini()));
    const size_t section = ini_text.find("[Preview]");
    ASSERT_NE(section, std::string::npos);
    EXPECT_LT(ini_text.find("C8="), section) << "the new keys follow the old ones";
    EXPECT_NE(ini_text.find("After=1", section), std::string::npos);
    EXPECT_NE(ini_text.find("Print=1", section), std::string::npos);
    EXPECT_NE(ini_text.find("Colour=1", section), std::string::npos);
    EXPECT_NE(ini_text.find("Shown=1", section), std::string::npos);
  }
  temp_.Write("program/varnelko.ini", "[Preview]\nShown=1\nHeight=150\nAfter=1\nPrint=0\n");
  Start();
  EXPECT_TRUE(pane()->after());
  EXPECT_FALSE(pane()->print());
  EXPECT_FALSE(pane()->colour());
  EXPECT_FALSE(pane()->findChild<QCheckBox*>("PreviewColour")->isEnabled());
  EXPECT_EQ(window_->findChild<QSplitter*>("Splitter2")->sizes().value(1), 150);
  window_->ShowPreview(false);
  EXPECT_FALSE(pane()->isVisible());
  Close();
  Start();
  EXPECT_FALSE(pane()->isVisible());
  EXPECT_TRUE(pane()->after());
}

class LayerChoicesTest : public PreviewTest {
 protected:
  QComboBox* combo(int n) {
    return window_->settings_dialog()->findChild<QComboBox*>(QString("ComboBox%1").arg(n));
  }
  QStringList Items(int n) {
    QStringList items;
    for (int i = 0; i < combo(n)->count(); ++i) items << combo(n)->itemText(i);
    return items;
  }
  bool Greyed(int n, int index) { return combo(n)->itemData(index, Qt::ForegroundRole).isValid(); }
  // Opens the dialog as the button does and, once the selected drawings
  // are read, takes the items and cancels.
  void ShowSelected(const std::function<void()>& also = {}) {
    TForm2* dialog = window_->settings_dialog();
    QTimer poll;
    QElapsedTimer waited;
    waited.start();
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (dialog->LayersPending() && waited.elapsed() < 10'000) return;
      poll.stop();
      seen_group_ = Items(1);
      seen_layer_ = Items(2);
      grey_ = {Greyed(1, 1), Greyed(1, 2), Greyed(2, 0)};
      selectable_ = combo(2)->model()->flags(combo(2)->model()->index(0, 0)) & Qt::ItemIsEnabled;
      if (also) also();
      dialog->Button4Click();
    });
    poll.start(10);
    window_->Button1Click();
  }
  QStringList seen_group_, seen_layer_;
  std::vector<bool> grey_;  // group 1, group 2, layer 0
  bool selectable_ = false;
};

TEST_F(LayerChoicesTest, TheComboBoxesNameAndCountTheSelectedDrawingsLayers) {
  ListDrawings();
  grid()->setRangeSelected(QTableWidgetSelectionRange(0, 0, 1, 5), true);  // a and b
  window_->state().settings.C(1) = 1;
  QStringList every_group_layers;
  ShowSelected([&] {
    // Another group in the box: the layer items count there.
    combo(1)->setCurrentIndex(16);
    every_group_layers = Items(2);
  });
  ASSERT_EQ(seen_group_.size(), 17);
  EXPECT_EQ(seen_group_[0], QString("0 (4)"));
  EXPECT_EQ(seen_group_[1], QString("1 : 1階 (13)"));  // 3 + 1 and 8 + 1
  EXPECT_EQ(seen_group_[2], QString("2 (0)"));
  EXPECT_EQ(seen_group_[16], QString("全て (17)"));
  // The layers of the chosen group 1, with their names there.
  EXPECT_EQ(seen_layer_[3], QString("3 : 壁 (11)"));
  EXPECT_EQ(seen_layer_[5], QString("5 (2)"));
  EXPECT_EQ(seen_layer_[16], QString("全て (13)"));
  EXPECT_EQ(grey_, std::vector<bool>({false, true, true}));
  EXPECT_TRUE(selectable_) << "an empty layer stays selectable";
  ASSERT_EQ(every_group_layers.size(), 17);
  EXPECT_EQ(every_group_layers[0], QString("0 (4)"));
  EXPECT_EQ(every_group_layers[3], QString("3 (11)"));
  // Once closed, the dialog forgets the selection.
  EXPECT_EQ(combo(1)->itemText(1), QString("1"));
  EXPECT_FALSE(Greyed(1, 2));
}

TEST_F(LayerChoicesTest, WithoutASelectionTheBoxesShowPlainNumbers) {
  Start();  // nothing listed, nothing selected
  ShowSelected();
  QStringList plain;
  for (int i = 0; i < 16; ++i) plain << QString::number(i, 16).toUpper();
  plain << "全て";
  EXPECT_EQ(seen_group_, plain);
  EXPECT_EQ(seen_layer_, plain);
  EXPECT_EQ(grey_, std::vector<bool>({false, false, false}));
}

}  // namespace
}  // namespace varnelko::test
