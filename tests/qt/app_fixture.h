#pragma once
// A main window on a temporary program folder whose user feedback is
// recorded (the layer's RecordingFeedback): every beep, box and status text
// in order, and the answers to questions and choosers set beforehand.
#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <memory>
#include <ostream>

#include "qt/main_window.h"
#include "qt/user_feedback.h"
#include "recording_feedback.h"
#include "support/temp_dir.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;
class QTreeWidget;

// Readable texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& texts, std::ostream* os) {
  *os << '[' << texts.join(QStringLiteral(" | ")).toStdString() << ']';
}

namespace varnelko::test {

class AppTest : public ::testing::Test {
 protected:
  AppTest();
  ~AppTest() override;

  // Makes and shows the window, forgetting the start-up events; the ini file
  // is `ini()`.
  TForm1& Start();
  // Closes the window (shutdown writes the ini file).
  void Close();

  QString Folder(const std::string& name) const;  // a subfolder of the temp dir, made, with "/"
  QString ini() const { return program_folder_ + "varnelko.ini"; }
  // Searches `folder` and lists the folder of the tree's root, memos included.
  void SearchAndList(const QString& folder);
  // Lets events run until the memo column of the last listing is complete
  // or stopped (at most ten seconds).
  void WaitForMemos();
  QStringList TakeEvents();

  QTreeWidget* tree();
  QTableWidget* grid();
  QComboBox* file_type();
  QLineEdit* edit(const char* name);
  QString status();
  QString Cell(int row, int column);

  TempDir temp_;
  QString program_folder_;
  std::unique_ptr<TForm1> window_;
  RecordingFeedback* feedback_ = nullptr;
};

QString Q(const std::filesystem::path& path);

}  // namespace varnelko::test
