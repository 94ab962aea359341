#pragma once
// Everything the program tells or asks the user goes through this interface:
// beeps, message boxes, status texts, file choosers and opening a file with
// its associated program. The tests record it instead of blocking on a box.
#include <QString>

class QStatusBar;
class QWidget;

namespace varnelko {

class UserFeedback {
 public:
  virtual ~UserFeedback() = default;

  virtual void Beep() = 0;
  virtual void ErrorBox(const QString& text) = 0;    // error icon, OK
  virtual void InfoBox(const QString& text) = 0;     // information icon, OK
  virtual void ConfirmBox(const QString& text) = 0;  // question icon, OK only
  virtual bool AskYesNo(const QString& text) = 0;    // question icon, Yes and No
  // Warning icon, OK, and `details` behind the box's details button.
  virtual void ReportBox(const QString& text, const QString& details) = 0;
  // Told after the status bar shows `text`.
  virtual void Status(const QString& text) = 0;

  // A folder, ending in a separator; empty when the user cancelled.
  virtual QString ChooseFolder(const QString& title, const QString& start_folder) = 0;
  // A ".set" file to write (`save`) or to read; empty when cancelled.
  virtual QString ChooseSettingsFile(bool save, const QString& title,
                                     const QString& initial_path) = 0;
  // False when no program could be started to open the file.
  virtual bool OpenFile(const QString& path) = 0;
};

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
  void ErrorBox(const QString& text) override;
  void InfoBox(const QString& text) override;
  void ConfirmBox(const QString& text) override;
  bool AskYesNo(const QString& text) override;
  void ReportBox(const QString& text, const QString& details) override;
  void Status(const QString&) override {}
  QString ChooseFolder(const QString& title, const QString& start_folder) override;
  QString ChooseSettingsFile(bool save, const QString& title,
                             const QString& initial_path) override;
  bool OpenFile(const QString& path) override;

 private:
  QWidget* parent_;
};

}  // namespace varnelko
