#pragma once
// The Qt program's message boxes, choosers and file opening behind the
// layer's UserFeedback.
#include <QWidget>

#include "desktop/user_feedback.h"

namespace varnelko {

// Lets Qt's own dialogs (the file and folder choosers, standard buttons,
// the type names they list) speak Japanese like the rest of the program.
// False where Qt's translations are not installed; those dialogs then stay
// English.
bool InstallJapaneseQtTexts();

// The real thing: Qt message boxes and dialogs owned by `parent`.
class QtUserFeedback : public UserFeedback {
 public:
  explicit QtUserFeedback(QWidget* parent) : parent_(parent) {}

  void Beep() override;
  void ErrorBox(const std::string& text) override;
  void InfoBox(const std::string& text) override;
  void ConfirmBox(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  void ReportBox(const std::string& text, const std::string& details) override;
  void Status(const std::string&) override {}
  std::filesystem::path ChooseFolder(const std::string& title,
                                     const std::filesystem::path& start_folder) override;
  std::filesystem::path ChooseSettingsFile(bool save, const std::string& title,
                                           const std::filesystem::path& initial_path) override;
  bool OpenFile(const std::filesystem::path& path) override;

 private:
  QWidget* parent_;
};

}  // namespace varnelko
