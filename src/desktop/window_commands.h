#pragma once
// The main window's commands as rules and texts, the same for every window
// toolkit: the window binds its controls and calls these; they keep the
// state, tell the user through UserFeedback and set the status text through
// the window's status line. Nothing here waits for the user but the boxes.
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "conversion/batch.h"
#include "desktop/app_ini.h"
#include "desktop/user_feedback.h"
#include "desktop/window_state.h"

namespace varnelko {

class WindowCommands {
 public:
  // `show_status` puts a text on the window's status bar at once.
  WindowCommands(WindowState& state, UserFeedback& feedback,
                 std::function<void(const std::string&)> show_status);

  // The status text, then told to the feedback.
  void ShowStatus(const std::string& text);

  // Start-up: the flags reset, then the design values with the ini file's
  // on top (the search folder defaults to the program folder). The window
  // applies the result to its controls, then calls StartUpDone.
  AppIniValues StartUp();
  void StartUpDone();
  // Takes the persisted values over from what the window gathered.
  void Apply(const AppIniValues& values);
  // Shutdown: writes the ini file from the values the window gathered
  // (folders, file type and settings are taken from the state).
  void ShutDown(AppIniValues values);
  // The exit command's question; true: close the window.
  bool ConfirmExit();

  // Search folder: asks for it (the status text cleared first); true when
  // one was chosen, and then the state holds it.
  bool ChooseSearchFolder();
  void SetSearchFolder(const std::filesystem::path& folder);
  // Before a folder search: its status text, and false after telling the
  // user when the search folder does not exist. Otherwise resets the list
  // and tree flags for the search.
  bool BeginSearch();
  // After the search, stopped (`state.cancel`) or not.
  void EndSearch();

  // A command that needs a folder tree before any search.
  void RefuseWithoutTree();
  // Before the double-click opens a row: false after telling why not.
  bool CanOpenRow();
  // Opens `name` of the listed folder; says so when no program opens it.
  void OpenRow(const std::filesystem::path& name);

  // Output folder: asks for it starting at `current`; true when chosen.
  bool ChooseOutputFolder(const std::filesystem::path& current);
  // The ".set" file commands; true when a file was chosen.
  bool SaveSettingsFile();
  bool OpenSettingsFile();

  // The convert command's checks in order, then the question: true when
  // the run may start with the files of the listed folder into `output`.
  bool CheckConversion(const std::filesystem::path& output);
  // The request for the selected files; the settings are the state's.
  BatchRequest MakeBatchRequest(std::vector<std::filesystem::path> sources,
                                const std::filesystem::path& output) const;
  // After the run: the completion text, and a box naming what failed.
  void ReportRun(const std::vector<FileOutcome>& outcomes);

 private:
  WindowState& state_;
  UserFeedback& feedback_;
  std::function<void(const std::string&)> show_status_;
};

}  // namespace varnelko
