#pragma once
// What the Windows program tells or asks the user: message boxes, the
// shell's file dialogs and ShellExecute, owned by the main window.
#include <windows.h>

#include "desktop/user_feedback.h"

namespace varnelko::win32 {

class SystemFeedback : public UserFeedback {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  HWND owner() const { return owner_; }

  void Beep() override;
  void ErrorBox(const std::string& text) override;
  void InfoBox(const std::string& text) override;
  void ConfirmBox(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  void ReportBox(const std::string& text, const std::vector<FailureRow>& rows) override;
  void Status(const std::string&) override {}
  std::filesystem::path ChooseFolder(const std::string& title,
                                     const std::filesystem::path& start_folder) override;
  std::filesystem::path ChooseSettingsFile(bool save, const std::string& title,
                                           const std::filesystem::path& initial_path) override;
  bool OpenFile(const std::filesystem::path& path) override;

 private:
  int Box(const std::string& text, UINT flags);
  HWND owner_ = nullptr;
};

}  // namespace varnelko::win32
