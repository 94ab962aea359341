// Program entry: the application titled "Varnelko", its main window and
// settings dialog, and the event loop until the main window closes.
#include <QApplication>

#include "qt/app_paths.h"
#include "qt/main_window.h"
#include "qt/screenshot_mode.h"
#include "qt/user_feedback.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Varnelko"));
  varnelko::InstallJapaneseQtTexts();

  const QStringList args = QApplication::arguments();
  if (args.size() == 4 && args[1] == QStringLiteral("--screenshot")) {
    return varnelko::RunScreenshots(args[2], args[3]);
  }

  varnelko::TForm1 window(varnelko::DefaultAppLocations());
  window.show();
  return QApplication::exec();
}
