#pragma once
// A UserFeedback that records instead of asking: every beep, box, status
// text, chooser and opened file lands in `events` in order ("beep",
// "error:TEXT", "status:TEXT", ...), and the answers are set beforehand.
// Window tests of every toolkit use it.
#include <filesystem>
#include <string>
#include <vector>

#include "desktop/user_feedback.h"
#include "platform/path_text.h"

namespace varnelko::test {

class RecordingFeedback : public UserFeedback {
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
    events.push_back("report:" + text + "\n--\n" + details);
  }
  void Status(const std::string& text) override { events.push_back("status:" + text); }
  std::filesystem::path ChooseFolder(const std::string& title,
                                     const std::filesystem::path&) override {
    events.push_back("choose:" + title);
    return folder_choice;
  }
  std::filesystem::path ChooseSettingsFile(bool, const std::string& title,
                                           const std::filesystem::path&) override {
    events.push_back("choose:" + title);
    return file_choice;
  }
  bool OpenFile(const std::filesystem::path& path) override {
    events.push_back("open:" + PathToUtf8(path));
    opened.push_back(path);
    return open_succeeds;
  }

  // The events so far, forgotten here.
  std::vector<std::string> Take() { return std::exchange(events, {}); }

  std::vector<std::string> events;
  bool answer_yes = true;
  bool open_succeeds = true;
  std::filesystem::path folder_choice;
  std::filesystem::path file_choice;
  std::vector<std::filesystem::path> opened;  // as handed over, bytes and all
};

}  // namespace varnelko::test
