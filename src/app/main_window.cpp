// The main window's life: start-up, shutdown, exit, the output folder, the
// settings dialog and the ".set" files.
#include "app/main_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSplitter>
#include <QTableWidget>
#include <QTreeWidget>

#include "app/memo_reader.h"
#include "app/native_names.h"
#include "app/preview_pane.h"
#include "app/settings_dialog.h"
#include "app/ui_fonts.h"
#include "app/window_placement.h"

namespace varnelko {

namespace {

const QString kChooseSearchFolder = QStringLiteral("検索フォルダを指定して下さい。");

void KeepOnScreen(QWidget* window, const QSize& size) {
  window->move(PlaceOnScreens(QRect(window->pos(), size), AvailableScreenAreas()));
}

}  // namespace

TForm1::TForm1(const AppLocations& locations, std::unique_ptr<UserFeedback> feedback)
    : feedback_(feedback ? std::move(feedback) : std::make_unique<QtUserFeedback>(this)) {
  state_.program_folder = locations.program_folder;
  state_.ini_path = locations.ini_path;
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Varnelko Ver.1.01"));
  setFont(ProportionalFont());
  BuildControls();
  form2_ = new TForm2(state_.settings, this);
  ApplyIniValues(AppIniValues{});  // design layout until the ini file is read
}

TForm1::~TForm1() = default;

void TForm1::showEvent(QShowEvent* event) {
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
  QMainWindow::showEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (state_.busy) {  // the running search, listing or conversion ends first
    feedback_->Beep();
    event->ignore();
    return;
  }
  if (!closed_) {
    closed_ = true;
    FormClose();
  }
  event->accept();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit1_ && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    MnuFileSFolderClick();
    return true;
  }
  // Before any search the tree is empty, so a click there hits no item; it
  // still has to ask for a search folder.
  if (tree_ && watched == tree_->viewport() && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && !state_.tree_ready &&
      tree_->isEnabled()) {
    TreeView1Click();
    return true;
  }
  if (grid_ && watched == grid_->horizontalHeader()->viewport() &&
      event->type() == QEvent::Paint) {
    StringGrid1DrawCell();
  }
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::FormShow() {
  state_.tree_ready = state_.list_shown = state_.sort_descending = state_.cancel = false;
  // The design values: filter 0, settings 0, no output folder, no settings
  // file, the search folder beside the program; the ini file overrides each
  // of them that it holds. The core keeps each loaded drawing's images in
  // that drawing's document, so there are no shared stores to clear and no
  // folder to create here.
  AppIniValues values;
  values.search_folder = state_.program_folder.toStdString();
  LoadAppIni(ToFsPath(state_.ini_path), values);
  ApplyIniValues(values);
  // A position saved under another screen layout comes back onto a screen,
  // so neither window opens where it cannot be seen.
  KeepOnScreen(this, size());
  KeepOnScreen(form2_, form2_->sizeHint());

  grid_->setHorizontalHeaderLabels({QStringLiteral("ファイル名"), QStringLiteral("Bytes"),
                                    QStringLiteral("種類"), QStringLiteral("図面メモ"),
                                    QStringLiteral("更新日時"), QStringLiteral("属性")});
  ClearGrid();
  edit2_->setText(state_.output_folder);
  ShowStatus(kChooseSearchFolder);
}

void TForm1::FormClose() {
  // Each loaded drawing is freed by the core as soon as it is converted; only
  // the ini file is left to write. A key that cannot be written is skipped.
  SaveAppIni(ToFsPath(state_.ini_path), GatherIniValues());
}

void TForm1::MnuExitClick() {
  if (feedback_->AskYesNo(QStringLiteral("終了します。よろしいですか？"))) close();
}

AppIniValues TForm1::GatherIniValues() const {
  AppIniValues v;
  v.main_left = x(), v.main_top = y(), v.main_width = width(), v.main_height = height();
  v.dialog_left = form2_->x(), v.dialog_top = form2_->y();
  v.pane_width = state_.pane_width;
  for (int c = 0; c < kFileColumns; ++c) v.column_widths[c] = grid_->columnWidth(c);
  v.search_folder = state_.search_folder.toStdString();
  v.output_folder = state_.output_folder.toStdString();
  v.settings_file = state_.settings_file.toStdString();
  v.file_type = combo_type_->currentIndex();
  v.settings = state_.settings;
  v.preview_shown = preview_action_->isChecked() ? 1 : 0;
  v.preview_height = preview_->isVisible() ? splitter2_->sizes().value(1) : state_.preview_height;
  v.preview_after = preview_->after() ? 1 : 0;
  v.preview_print = preview_->print() ? 1 : 0;
  return v;
}

void TForm1::ApplyIniValues(const AppIniValues& v) {
  move(v.main_left, v.main_top);
  resize(v.main_width, v.main_height);
  form2_->move(v.dialog_left, v.dialog_top);
  state_.pane_width = v.pane_width;
  splitter_->setSizes({v.pane_width, std::max(1, v.main_width - v.pane_width)});
  for (int c = 0; c < kFileColumns; ++c) grid_->setColumnWidth(c, v.column_widths[c]);
  state_.search_folder = QString::fromStdString(v.search_folder);
  state_.output_folder = QString::fromStdString(v.output_folder);
  state_.settings_file = QString::fromStdString(v.settings_file);
  // An index outside 0..3 selects no item; the listing then shows every file.
  combo_type_->setCurrentIndex(v.file_type >= 0 && v.file_type < combo_type_->count()
                                   ? v.file_type
                                   : -1);
  state_.settings = v.settings;
  state_.preview_height = std::max(1, v.preview_height);
  splitter2_->setSizes({std::max(1, v.main_height - state_.preview_height), state_.preview_height});
  preview_->SetSwitches(v.preview_after != 0, v.preview_print != 0);
  preview_->SetSettings(state_.settings);
  ShowPreview(v.preview_shown != 0);
}

void TForm1::ShowPreview(bool shown) {
  if (preview_->isVisible()) state_.preview_height = splitter2_->sizes().value(1);
  preview_action_->setChecked(shown);
  preview_->setVisible(shown);
  if (shown) UpdatePreview();
}

void TForm1::UpdatePreview() {
  const QString name = state_.list_shown ? RowFileName(grid_->currentRow()) : QString();
  preview_->ShowFile(name.isEmpty() ? std::filesystem::path() : ToFsPath(state_.listed_folder + name));
}

void TForm1::ShowStatus(const QString& text) {
  status_->setText(text);
  status_->repaint();
  feedback_->Status(text);
}

void TForm1::RefuseWithoutTree() {
  feedback_->Beep();
  feedback_->ErrorBox(kChooseSearchFolder);
  ShowStatus(kChooseSearchFolder);
}

void TForm1::Button1Click() {
  form2_->SetDrawings(SelectedSources());
  form2_->exec();
  form2_->SetDrawings({});  // what is still being read is no longer wanted
  preview_->SetSettings(state_.settings);
}

void TForm1::Button3Click() {
  const QString folder =
      feedback_->ChooseFolder(QStringLiteral("保存先フォルダの指定"), edit2_->text());
  if (!folder.isEmpty()) SetOutputFolder(folder);
}

void TForm1::SetOutputFolder(const QString& folder) {
  edit2_->setText(folder);
  state_.output_folder = folder;
}

void TForm1::MnuSetSaveClick() {
  const QString path = feedback_->ChooseSettingsFile(true, QStringLiteral("現在の設定を保存"),
                                                     state_.settings_file);
  if (path.isEmpty()) return;
  state_.settings_file = path;
  SaveSettingsFile(ToFsPath(path), state_.settings);  // a failure is not reported
}

void TForm1::MnuSetOpenClick() {
  const QString path = feedback_->ChooseSettingsFile(
      false, QStringLiteral("保存した設定ファイルを開く"), state_.settings_file);
  if (path.isEmpty()) return;
  state_.settings_file = path;
  LoadSettingsFile(ToFsPath(path), state_.settings);
  preview_->SetSettings(state_.settings);
}

}  // namespace varnelko
