// The main window's life: start-up, shutdown, exit, the output folder, the
// settings dialog and the ".set" files.
#include "qt/main_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSplitter>
#include <QTableWidget>
#include <QTreeWidget>

#include <QGuiApplication>
#include <QScreen>

#include "desktop/memo_reader.h"
#include "desktop/shell_texts.h"
#include "desktop/window_placement.h"
#include "qt/preview_pane.h"
#include "qt/settings_dialog.h"
#include "qt/ui_fonts.h"

namespace varnelko {

namespace {

// A position saved under another screen layout comes back onto a screen.
void KeepOnScreen(QWidget* window, const QSize& size) {
  std::vector<ScreenRect> screens;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect r = screen->availableGeometry();
    screens.push_back({r.x(), r.y(), r.width(), r.height()});
  }
  const ScreenPoint at =
      PlaceOnScreens({window->x(), window->y(), size.width(), size.height()}, screens);
  window->move(at.x, at.y);
}

}  // namespace

TForm1::TForm1(const AppLocations& locations, std::unique_ptr<UserFeedback> feedback)
    : feedback_(feedback ? std::move(feedback) : std::make_unique<QtUserFeedback>(this)),
      commands_(state_, *feedback_, [this](const std::string& text) {
        status_->setText(Utf8(text));
        status_->repaint();
      }) {
  state_.program_folder = locations.program_folder;
  state_.ini_path = locations.ini_path;
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(Utf8(texts::kCaption));
  setFont(ProportionalFont());
  setAcceptDrops(true);
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
  if (grid_ && watched == grid_->viewport() && event->type() == QEvent::Resize) {
    hint_->setGeometry(grid_->viewport()->rect().adjusted(16, 16, -16, -16));
  }
  if (watched == grid_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        key->modifiers() == Qt::NoModifier) {
      StringGrid1DblClick();  // Enter opens the row as a double-click does
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::FormShow() {
  ApplyIniValues(commands_.StartUp());
  // Neither window opens where it cannot be seen.
  KeepOnScreen(this, size());
  KeepOnScreen(form2_, form2_->sizeHint());

  QStringList headers;
  for (const std::string& header : FileColumnHeaders()) headers << Utf8(header);
  grid_->setHorizontalHeaderLabels(headers);
  ClearGrid();
  ShowStartHint();
  edit2_->setText(FromFsPath(state_.output_folder));
  commands_.StartUpDone();
}

void TForm1::FormClose() { commands_.ShutDown(GatherIniValues()); }

void TForm1::MnuExitClick() {
  if (commands_.ConfirmExit()) close();
}

AppIniValues TForm1::GatherIniValues() const {
  AppIniValues v;
  v.main_left = x(), v.main_top = y(), v.main_width = width(), v.main_height = height();
  v.dialog_left = form2_->x(), v.dialog_top = form2_->y();
  v.pane_width = state_.pane_width;
  for (int c = 0; c < kFileColumns; ++c) v.column_widths[c] = grid_->columnWidth(c);
  v.file_type = combo_type_->currentIndex();
  v.preview_shown = preview_action_->isChecked() ? 1 : 0;
  v.preview_height = preview_->isVisible() ? splitter2_->sizes().value(1) : state_.preview_height;
  v.preview_after = preview_->after() ? 1 : 0;
  v.preview_print = preview_->print() ? 1 : 0;
  v.preview_colour = preview_->colour() ? 1 : 0;
  return v;
}

void TForm1::ApplyIniValues(const AppIniValues& v) {
  move(v.main_left, v.main_top);
  resize(v.main_width, v.main_height);
  form2_->move(v.dialog_left, v.dialog_top);
  commands_.Apply(v);
  splitter_->setSizes({v.pane_width, std::max(1, v.main_width - v.pane_width)});
  for (int c = 0; c < kFileColumns; ++c) grid_->setColumnWidth(c, v.column_widths[c]);
  // An index outside 0..3 selects no item; the listing then shows every file.
  combo_type_->setCurrentIndex(v.file_type >= 0 && v.file_type < combo_type_->count()
                                   ? v.file_type
                                   : -1);
  splitter2_->setSizes({std::max(1, v.main_height - state_.preview_height), state_.preview_height});
  preview_->SetSwitches(v.preview_after != 0, v.preview_print != 0, v.preview_colour != 0);
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
  const std::filesystem::path name =
      state_.list_shown ? RowFileName(grid_->currentRow()) : std::filesystem::path();
  preview_->ShowFile(name.empty() ? name : state_.listed_folder / name);
}

void TForm1::Button1Click() {
  form2_->SetDrawings(SelectedSources());
  form2_->exec();
  form2_->SetDrawings({});  // what is still being read is no longer wanted
  preview_->SetSettings(state_.settings);
}

void TForm1::Button3Click() {
  if (commands_.ChooseOutputFolder(ToFsPath(edit2_->text()))) SetOutputFolder(state_.output_folder);
}

void TForm1::SetOutputFolder(const std::filesystem::path& folder) {
  state_.output_folder = folder;
  edit2_->setText(FromFsPath(folder));
}

void TForm1::MnuSetSaveClick() { commands_.SaveSettingsFile(); }

void TForm1::MnuSetOpenClick() {
  if (commands_.OpenSettingsFile()) preview_->SetSettings(state_.settings);
}

}  // namespace varnelko
