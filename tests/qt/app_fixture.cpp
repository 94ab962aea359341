#include "app_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTreeWidget>

namespace varnelko::test {

QString Q(const std::filesystem::path& path) { return FromFsPath(path); }

AppTest::AppTest() { program_folder_ = Folder("program"); }

AppTest::~AppTest() {
  if (window_ && window_->isVisible()) Close();
}

TForm1& AppTest::Start() {
  auto feedback = std::make_unique<RecordingFeedback>();
  feedback_ = feedback.get();
  window_ = std::make_unique<TForm1>(AppLocations{ToFsPath(program_folder_), ToFsPath(ini())},
                                     std::move(feedback));
  window_->show();
  feedback_->events.clear();  // the start-up status text is checked on the status bar
  return *window_;
}

void AppTest::Close() { window_->close(); }

QString AppTest::Folder(const std::string& name) const {
  const QString folder = Q(temp_.path() / name) + "/";
  QDir().mkpath(folder);
  return folder;
}

void AppTest::SearchAndList(const QString& folder) {
  window_->SetSearchFolder(ToFsPath(folder));
  window_->SearchFolders();
  tree()->setCurrentItem(tree()->topLevelItem(0));
  window_->TreeView1Click();
  WaitForMemos();
}

void AppTest::WaitForMemos() {
  QElapsedTimer timer;
  timer.start();
  while (window_->MemosPending() && timer.elapsed() < 10'000) {
    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  ASSERT_FALSE(window_->MemosPending()) << "the memos never completed";
}

QStringList AppTest::TakeEvents() {
  QStringList events;
  for (const std::string& event : feedback_->Take()) events << QString::fromStdString(event);
  return events;
}

QTreeWidget* AppTest::tree() { return window_->findChild<QTreeWidget*>("TreeView1"); }
QTableWidget* AppTest::grid() { return window_->findChild<QTableWidget*>("StringGrid1"); }
QComboBox* AppTest::file_type() {
  return window_->centralWidget()->findChild<QComboBox*>("ComboBox1");  // not the dialog's
}
QLineEdit* AppTest::edit(const char* name) { return window_->findChild<QLineEdit*>(name); }
QString AppTest::status() { return window_->findChild<QLabel*>("StatusBar1")->text(); }

QString AppTest::Cell(int row, int column) {
  const QTableWidgetItem* item = grid()->item(row, column);
  return item ? item->text() : QString();
}

}  // namespace varnelko::test
