#include "app/screenshot_mode.h"

#include <QApplication>
#include <QDir>
#include <QSplitter>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "app/main_window.h"
#include "app/settings_dialog.h"

namespace varnelko {

namespace {

void Settle() {
  for (int i = 0; i < 20; ++i) QApplication::processEvents();
}

bool Save(QWidget* widget, const QString& path) {
  Settle();
  return widget->grab().save(path, "PNG");
}

}  // namespace

int RunScreenshots(const QString& folder, const QString& out_folder) {
  QTemporaryDir ini_folder;
  AppLocations locations = DefaultAppLocations();
  locations.ini_path = ini_folder.filePath(QStringLiteral("varnelko.ini"));
  TForm1 window(locations);
  window.show();
  window.resize(980, 560);
  window.findChild<QSplitter*>(QStringLiteral("Splitter1"))->setSizes({220, 760});

  window.SetSearchFolder(QDir(folder).absolutePath());
  window.SearchFolders();
  auto* tree = window.findChild<QTreeWidget*>(QStringLiteral("TreeView1"));
  tree->setCurrentItem(tree->topLevelItem(0));
  window.TreeView1Click();
  while (window.MemosPending()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  auto* grid = window.findChild<QTableWidget*>(QStringLiteral("StringGrid1"));
  grid->setColumnWidth(0, 170);
  grid->setColumnWidth(3, 240);
  grid->setColumnWidth(4, 150);
  grid->selectRow(0);
  window.SetOutputFolder(QDir::tempPath() + QStringLiteral("/varnelko-out/"));
  window.state().settings.C(2) = 3;
  window.state().settings.C(3) = 1;
  window.state().settings.C(5) = 1;

  const QDir out(out_folder);
  bool ok = Save(&window, out.filePath(QStringLiteral("main-window.png")));
  TForm2* dialog = window.settings_dialog();
  dialog->show();
  ok = Save(dialog, out.filePath(QStringLiteral("settings-dialog.png"))) && ok;
  dialog->hide();
  return ok ? 0 : 1;
}

}  // namespace varnelko
