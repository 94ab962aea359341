// Times the desktop program's file list on a folder of many small drawings:
// how long the rows take to appear after the click on the folder, and how
// long until every memo is filled in. Runs offscreen unless told otherwise.
//   varnelko_list_bench [COUNT=5000] [RUNS=3]
#include <QApplication>
#include <QElapsedTimer>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "qt/main_window.h"
#include "document/cp932.h"
#include "formats/jww/jww_file.h"
#include "support/document_builder.h"

namespace {

// COUNT small JWW drawings "d0000.jww" ... each with its own memo.
bool MakeDrawings(const std::filesystem::path& folder, int count) {
  auto doc = std::make_unique<varnelko::JwwDocument>(
      varnelko::test::BuildJwwDocument({.entities = 30}));
  for (int i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "d%04d.jww", i);
    doc->header.memo = varnelko::Utf8ToCp932("図面メモ " + std::to_string(i));
    if (!varnelko::WriteJwwFile(folder / name, 700, *doc)) return false;
  }
  varnelko::FreeJwwDocument(*doc);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int count = argc > 1 ? std::atoi(argv[1]) : 5000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
  QTemporaryDir work;
  const QString folder = work.filePath(QStringLiteral("drawings")) + QLatin1Char('/');
  std::filesystem::create_directories(varnelko::ToFsPath(folder));
  if (!MakeDrawings(varnelko::ToFsPath(folder), count)) {
    std::fprintf(stderr, "cannot write the drawings\n");
    return 1;
  }

  varnelko::TForm1 window({varnelko::ToFsPath(work.path() + QLatin1Char('/')),
                          varnelko::ToFsPath(work.filePath(QStringLiteral("v.ini")))});
  window.show();
  window.SetSearchFolder(varnelko::ToFsPath(folder));
  window.SearchFolders();
  auto* tree = window.findChild<QTreeWidget*>(QStringLiteral("TreeView1"));
  tree->setCurrentItem(tree->topLevelItem(0));

  for (int run = 1; run <= runs; ++run) {
    QElapsedTimer timer;
    timer.start();
    window.TreeView1Click();
    QApplication::processEvents();  // the rows are painted
    const double rows = timer.nsecsElapsed() / 1e9;
    while (window.MemosPending()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double memos = timer.nsecsElapsed() / 1e9;
    auto* grid = window.findChild<QTableWidget*>(QStringLiteral("StringGrid1"));
    int filled = 0;
    for (int r = 0; r < grid->rowCount(); ++r) filled += !grid->item(r, 3)->text().isEmpty();
    std::printf("run %d: %d rows shown after %.3f s, %d memos complete after %.3f s\n", run,
                grid->rowCount(), rows, filled, memos);
  }
  return 0;
}
