#pragma once
// A main window on a temporary program folder whose feedback is recorded
// (the desktop layer's RecordingFeedback, shared with the Qt tests).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "recording_feedback.h"
#include "support/temp_dir.h"
#include "win32/main_window.h"

namespace varnelko::test {

class WindowTest : public ::testing::Test {
 protected:
  WindowTest();
  ~WindowTest() override;

  // Makes and shows the window; its ini file is `ini()`.
  win32::MainWindow& Start();
  // Closes the window as its close box does (shutdown writes the ini file).
  void Close();

  std::filesystem::path ini() const { return temp_.path() / "varnelko.ini"; }
  // A subfolder of the temp folder, made, with a trailing separator.
  std::filesystem::path Folder(const std::string& name) const;
  // Chooses `folder` through the menu, then clicks the tree's root and waits
  // for the rows and memos.
  void SearchAndList(const std::filesystem::path& folder);
  // The events so far that are not status texts, forgotten here.
  std::vector<std::string> TakeBoxes();
  void Command(int id);
  void ClickColumn(int column);
  void SelectRows(int first, int last);
  void WaitIdle();

  std::string Cell(int row, int column);
  int RowCount();

  TempDir temp_;
  RecordingFeedback feedback_;
  std::unique_ptr<win32::MainWindow> window_;
};

}  // namespace varnelko::test
