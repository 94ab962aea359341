// One QApplication for all tests, on the offscreen platform unless told
// otherwise, so that no display is needed.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Varnelko"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
