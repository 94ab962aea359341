#include "app/user_feedback.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <QUrl>

#include "app/app_paths.h"

namespace varnelko {

namespace {

const QString kBoxTitle = QStringLiteral("Varnelko");
const QString kSettingsFilter = QStringLiteral("設定ファイル(*.set)");

}  // namespace

bool InstallJapaneseQtTexts() {
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(QStringLiteral("qtbase_ja"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

void QtUserFeedback::Beep() { QApplication::beep(); }

void QtUserFeedback::ErrorBox(const QString& text) {
  QMessageBox::critical(parent_, kBoxTitle, text, QMessageBox::Ok);
}

void QtUserFeedback::InfoBox(const QString& text) {
  QMessageBox::information(parent_, kBoxTitle, text, QMessageBox::Ok);
}

void QtUserFeedback::ConfirmBox(const QString& text) {
  QMessageBox::question(parent_, kBoxTitle, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtUserFeedback::AskYesNo(const QString& text) {
  // Qt's own button texts are English unless a translation is installed; the
  // question is Japanese, so are its answers.
  QMessageBox box(QMessageBox::Question, kBoxTitle, text, QMessageBox::Yes | QMessageBox::No,
                  parent_);
  box.setDefaultButton(QMessageBox::Yes);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
  box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
  return box.exec() == QMessageBox::Yes;
}

QString QtUserFeedback::ChooseFolder(const QString& title, const QString& start_folder) {
  QString folder = QFileDialog::getExistingDirectory(parent_, title, start_folder);
  return WithTrailingSeparator(folder);
}

QString QtUserFeedback::ChooseSettingsFile(bool save, const QString& title,
                                           const QString& initial_path) {
  QFileDialog dialog(parent_, title, initial_path, kSettingsFilter);
  dialog.setDefaultSuffix(QStringLiteral("set"));
  if (save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);  // asks before overwriting
    dialog.setFileMode(QFileDialog::AnyFile);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  if (!initial_path.isEmpty()) dialog.selectFile(initial_path);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

void QtUserFeedback::OpenFile(const QString& path) {
  // A failure of the desktop to open the file is not reported.
  QDesktopServices::openUrl(LocalFileUrl(path));
}

}  // namespace varnelko
