#pragma once
// A main window on a temporary program folder whose prompts are recorded:
// every beep and box lands in `events` in order, and the answers to
// questions and choosers are set beforehand.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "win32/main_window.h"

namespace varnelko::test {

class RecordingPrompts : public win32::UserPrompts {
 public:
  void Beep() override { events.push_back("beep"); }
  void ErrorBox(const std::string& text) override { events.push_back("error:" + text); }
  void InfoBox(const std::string& text) override { events.push_back("info:" + text); }
  void ConfirmBox(const std::string& text) override { events.push_back("confirm:" + text); }
  bool AskYesNo(const std::string& text) override {
    events.push_back("ask:" + text);
    return answer_yes;
  }
  void ReportBox(const std::string& text, const std::string& details) override {
    events.push_back("report:" + text);
    report_details = details;
  }
  std::string ChooseFolder(const std::string& title, const std::string&) override {
    events.push_back("choose:" + title);
    return folder_choice;
  }
  std::string ChooseSettingsFile(bool, const std::string& title, const std::string&) override {
    events.push_back("choose:" + title);
    return file_choice;
  }
  bool OpenFile(const std::string& path) override {
    events.push_back("open:" + path);
    return true;
  }

  std::vector<std::string> events;
  std::string report_details;
  bool answer_yes = true;
  std::string folder_choice;
  std::string file_choice;
};

class WindowTest : public ::testing::Test {
 protected:
  WindowTest();
  ~WindowTest() override;

  // Makes and shows the window; its ini file is `ini()`.
  win32::MainWindow& Start();
  // Closes the window as its close box does (shutdown writes the ini file).
  void Close();

  std::filesystem::path ini() const { return temp_.path() / "varnelko.ini"; }
  // A subfolder of the temp folder, made, as UTF-8 with a trailing "\".
  std::string Folder(const std::string& name) const;
  // Chooses `folder` through the menu, then clicks the tree's root and waits
  // for the rows and memos.
  void SearchAndList(const std::string& folder);
  void Command(int id);
  void ClickColumn(int column);
  void SelectRows(int first, int last);
  void WaitIdle();

  std::string Cell(int row, int column);
  int RowCount();

  TempDir temp_;
  RecordingPrompts prompts_;
  std::unique_ptr<win32::MainWindow> window_;
};

}  // namespace varnelko::test
