// Program entry: the application titled "Varnelko", its main window and
// settings dialog, and the event loop until the main window closes.
#include <QApplication>

#include <cstring>
#include <string>

#include "platform/console.h"
#include "version.h"

#include "qt/app_paths.h"
#include "qt/main_window.h"
#include "qt/screenshot_mode.h"
#include "qt/user_feedback.h"

int main(int argc, char** argv) {
  // Answered before the window system is asked for anything, so that it
  // works without a display too.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    varnelko::platform::WriteText(varnelko::platform::Stream::kOut,
                                  varnelko::VersionText() + "\n");
    return 0;
  }
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
