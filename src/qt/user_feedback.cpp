#include "qt/user_feedback.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <QUrl>

#include "desktop/window_state.h"
#include "qt/app_paths.h"

namespace varnelko {

namespace {

const QString kBoxTitle = QStringLiteral("Varnelko");
const QString kSettingsFilter = QStringLiteral("設定ファイル(*.set)");

// Qt 6 moved the type names its file dialog shows ("Folder", "File",
// "Drive", "%1 File") from QFileDialog to the icon provider, while its
// Japanese catalogue still keeps them under QFileDialog, so the folder
// chooser showed "Folder" in English. This translator answers for the new
// place from the catalogue's old one.
class MovedQtTexts : public QTranslator {
 public:
  MovedQtTexts(const QTranslator* catalogue, QObject* parent)
      : QTranslator(parent), catalogue_(catalogue) {}

  QString translate(const char* context, const char* source, const char* disambiguation,
                    int n) const override {
    if (qstrcmp(context, "QAbstractFileIconProvider") != 0 &&
        qstrcmp(context, "QFileIconProvider") != 0) {
      return {};
    }
    return catalogue_->translate("QFileDialog", source, disambiguation, n);
  }
  bool isEmpty() const override { return false; }

 private:
  const QTranslator* catalogue_;
};

}  // namespace

bool InstallJapaneseQtTexts() {
  // Names Qt takes from the locale rather than from its catalogue, such as
  // the file types the file dialogs list, follow the program's language too.
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
  auto* catalogue = new QTranslator(QCoreApplication::instance());
  if (!catalogue->load(QStringLiteral("qtbase_ja"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete catalogue;
    return false;
  }
  QCoreApplication::installTranslator(new MovedQtTexts(catalogue, catalogue));
  return QCoreApplication::installTranslator(catalogue);
}

void QtUserFeedback::Beep() { QApplication::beep(); }

void QtUserFeedback::ErrorBox(const std::string& text) {
  QMessageBox::critical(parent_, kBoxTitle, Utf8(text), QMessageBox::Ok);
}

void QtUserFeedback::InfoBox(const std::string& text) {
  QMessageBox::information(parent_, kBoxTitle, Utf8(text), QMessageBox::Ok);
}

void QtUserFeedback::ConfirmBox(const std::string& text) {
  QMessageBox::question(parent_, kBoxTitle, Utf8(text), QMessageBox::Ok, QMessageBox::Ok);
}

bool QtUserFeedback::AskYesNo(const std::string& text) {
  // Qt's own button texts are English unless a translation is installed; the
  // question is Japanese, so are its answers.
  QMessageBox box(QMessageBox::Question, kBoxTitle, Utf8(text), QMessageBox::Yes | QMessageBox::No,
                  parent_);
  box.setDefaultButton(QMessageBox::Yes);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
  box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
  return box.exec() == QMessageBox::Yes;
}

void QtUserFeedback::ReportBox(const std::string& text, const std::string& details) {
  QMessageBox box(QMessageBox::Warning, kBoxTitle, Utf8(text), QMessageBox::Ok, parent_);
  box.setDetailedText(Utf8(details));
  box.exec();
}

std::filesystem::path QtUserFeedback::ChooseFolder(const std::string& title,
                                                   const std::filesystem::path& start_folder) {
  const QString folder =
      QFileDialog::getExistingDirectory(parent_, Utf8(title), FromFsPath(start_folder));
  if (folder.isEmpty()) return {};
  return WithTrailingSeparator(ToFsPath(folder));
}

std::filesystem::path QtUserFeedback::ChooseSettingsFile(
    bool save, const std::string& title, const std::filesystem::path& initial_path) {
  const QString initial = FromFsPath(initial_path);
  QFileDialog dialog(parent_, Utf8(title), initial, kSettingsFilter);
  dialog.setDefaultSuffix(QStringLiteral("set"));
  if (save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);  // asks before overwriting
    dialog.setFileMode(QFileDialog::AnyFile);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  if (!initial.isEmpty()) dialog.selectFile(initial);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return ToFsPath(dialog.selectedFiles().first());
}

bool QtUserFeedback::OpenFile(const std::filesystem::path& path) {
  // Qt answers false when it finds no program to hand the file to.
  return QDesktopServices::openUrl(LocalFileUrl(path));
}

}  // namespace varnelko
