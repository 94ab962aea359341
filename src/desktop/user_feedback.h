#pragma once
// Everything a window tells or asks the user goes through this interface:
// beeps, message boxes, status texts, file choosers and opening a file with
// its associated program. Each window implements it with its toolkit's
// boxes; the tests record it instead of blocking on a box. Texts are UTF-8.
#include <filesystem>
#include <string>

namespace varnelko {

class UserFeedback {
 public:
  virtual ~UserFeedback() = default;

  virtual void Beep() = 0;  // the system's default alert sound
  virtual void ErrorBox(const std::string& text) = 0;    // error icon, OK
  virtual void InfoBox(const std::string& text) = 0;     // information icon, OK
  virtual void ConfirmBox(const std::string& text) = 0;  // question icon, OK only
  virtual bool AskYesNo(const std::string& text) = 0;    // question icon, Yes and No
  // Warning icon, OK, and `details` (one line per file) for the user to read.
  virtual void ReportBox(const std::string& text, const std::string& details) = 0;
  // Told after the status bar shows `text`.
  virtual void Status(const std::string& text) = 0;

  // A folder, ending in a separator; empty when the user cancelled.
  virtual std::filesystem::path ChooseFolder(const std::string& title,
                                             const std::filesystem::path& start_folder) = 0;
  // A ".set" file to write (`save`) or to read; empty when cancelled.
  virtual std::filesystem::path ChooseSettingsFile(bool save, const std::string& title,
                                                   const std::filesystem::path& initial_path) = 0;
  // False when no program could be started to open the file.
  virtual bool OpenFile(const std::filesystem::path& path) = 0;
};

}  // namespace varnelko
