#include "qt/screenshot_mode.h"

#include <QApplication>
#include <QDir>
#include <QSplitter>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "qt/main_window.h"
#include "qt/preview_pane.h"
#include "qt/settings_dialog.h"

namespace varnelko {

namespace {

void Settle() {
  for (int i = 0; i < 20; ++i) QApplication::processEvents();
}

bool Save(QWidget* widget, const QString& path) {
  Settle();
  return widget->grab().save(path, "PNG");
}

void WaitForPreview(TForm1& window) {
  while (window.preview()->Pending()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
}

}  // namespace

int RunScreenshots(const QString& folder, const QString& out_folder) {
  QTemporaryDir ini_folder;
  AppLocations locations = DefaultAppLocations();
  locations.ini_path = ToFsPath(ini_folder.filePath(QStringLiteral("varnelko.ini")));
  TForm1 window(locations);
  window.show();
  window.resize(1060, 760);
  window.findChild<QSplitter*>(QStringLiteral("Splitter1"))->setSizes({200, 860});
  window.findChild<QSplitter*>(QStringLiteral("Splitter2"))->setSizes({150, 520});

  window.SetSearchFolder(ToFsPath(QDir(folder).absolutePath()));
  window.SearchFolders();
  auto* tree = window.findChild<QTreeWidget*>(QStringLiteral("TreeView1"));
  tree->setCurrentItem(tree->topLevelItem(0));
  window.TreeView1Click();
  while (window.MemosPending()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  auto* grid = window.findChild<QTableWidget*>(QStringLiteral("StringGrid1"));
  grid->setColumnWidth(0, 170);
  grid->setColumnWidth(3, 240);
  grid->setColumnWidth(4, 150);
  // Largest first, as the header's arrow shows: the house plan heads the list.
  window.StringGrid1MouseDown(1);
  window.StringGrid1MouseDown(1);
  grid->selectRow(0);
  window.SetOutputFolder(ToFsPath(QDir::tempPath() + QStringLiteral("/varnelko-out/")));
  // The first row's drawing before and after converting layer 2 (the
  // furniture of the house plan) to the auxiliary colour and line type.
  window.state().settings.C(2) = 2;
  window.state().settings.C(3) = 1;
  window.state().settings.C(4) = 1;
  window.preview()->SetSettings(window.state().settings);
  WaitForPreview(window);

  const QDir out(out_folder);
  bool ok = Save(&window, out.filePath(QStringLiteral("main-window.png")));
  window.preview()->SetSwitches(true, true);
  WaitForPreview(window);
  ok = Save(&window, out.filePath(QStringLiteral("main-window-after.png"))) && ok;
  // The dialog names and counts the layers of the previewed drawing.
  TForm2* dialog = window.settings_dialog();
  dialog->SetDrawings({ToFsPath(QDir(folder).absoluteFilePath(grid->item(0, 0)->text()))});
  while (dialog->LayersPending()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
  dialog->show();
  ok = Save(dialog, out.filePath(QStringLiteral("settings-dialog.png"))) && ok;
  dialog->hide();
  return ok ? 0 : 1;
}

}  // namespace varnelko
