#pragma once
// Everything the window tells or asks the user through the system's boxes
// and choosers goes through this interface, so that the window tests record
// it instead of blocking on a modal box. Texts and paths are UTF-8.
#include <windows.h>

#include <string>

namespace varnelko::win32 {

class UserPrompts {
 public:
  virtual ~UserPrompts() = default;

  virtual void Beep() = 0;
  virtual void ErrorBox(const std::string& text) = 0;    // error icon, OK
  virtual void InfoBox(const std::string& text) = 0;     // information icon, OK
  virtual void ConfirmBox(const std::string& text) = 0;  // question icon, OK only
  virtual bool AskYesNo(const std::string& text) = 0;    // question icon, Yes and No
  // Warning icon, OK; `details` lists the files not converted.
  virtual void ReportBox(const std::string& text, const std::string& details) = 0;
  // A folder ending in "\"; empty when the user cancelled.
  virtual std::string ChooseFolder(const std::string& title, const std::string& start_folder) = 0;
  // A ".set" file to write (`save`) or to read; empty when cancelled.
  virtual std::string ChooseSettingsFile(bool save, const std::string& title,
                                         const std::string& initial_path) = 0;
  // False when no program could be started to open the file.
  virtual bool OpenFile(const std::string& path) = 0;
};

// The real thing: message boxes, the shell's file dialogs and ShellExecute,
// owned by the window `owner` (set once it exists).
class SystemPrompts : public UserPrompts {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }

  void Beep() override;
  void ErrorBox(const std::string& text) override;
  void InfoBox(const std::string& text) override;
  void ConfirmBox(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  void ReportBox(const std::string& text, const std::string& details) override;
  std::string ChooseFolder(const std::string& title, const std::string& start_folder) override;
  std::string ChooseSettingsFile(bool save, const std::string& title,
                                 const std::string& initial_path) override;
  bool OpenFile(const std::string& path) override;

 private:
  int Box(const std::string& text, UINT flags);
  HWND owner_ = nullptr;
};

}  // namespace varnelko::win32
