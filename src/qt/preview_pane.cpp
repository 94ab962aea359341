#include "qt/preview_pane.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include "desktop/preview_loader.h"
#include "desktop/shell_texts.h"
#include "qt/app_paths.h"
#include "qt/preview_canvas.h"
#include "qt/qt_post.h"

namespace varnelko {

namespace {

QCheckBox* MakeSwitch(const QString& name, const QString& caption) {
  auto* check = new QCheckBox(caption);
  check->setObjectName(name);
  return check;
}

}  // namespace

PreviewPane::PreviewPane(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PreviewPane"));
  loader_ = std::make_unique<PreviewLoader>(QtPost(), [this](const PreviewResult& r) { Show(r); });
  canvas_ = new PreviewCanvas;
  after_ = MakeSwitch(QStringLiteral("PreviewAfter"), QStringLiteral("変換後"));
  print_ = MakeSwitch(QStringLiteral("PreviewPrint"), QStringLiteral("印刷イメージ"));
  colour_ = MakeSwitch(QStringLiteral("PreviewColour"), QStringLiteral("カラー"));
  colour_->setEnabled(false);
  auto* fit = new QToolButton;
  fit->setObjectName(QStringLiteral("PreviewFit"));
  fit->setText(QStringLiteral("全体表示"));
  counts_ = new QLabel;
  counts_->setObjectName(QStringLiteral("PreviewCounts"));

  connect(after_, &QCheckBox::toggled, this, [this] { Reload(true); });
  connect(print_, &QCheckBox::toggled, this, [this](bool on) {
    colour_->setEnabled(on);
    Reload(true);
  });
  connect(colour_, &QCheckBox::toggled, this, [this] {
    if (print_->isChecked()) Reload(true);
  });
  connect(fit, &QToolButton::clicked, canvas_, &PreviewCanvas::Fit);

  auto* switches = new QHBoxLayout;
  switches->setContentsMargins(0, 0, 0, 0);
  switches->addWidget(after_);
  switches->addWidget(print_);
  switches->addWidget(colour_);
  switches->addStretch();
  switches->addWidget(fit);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 2, 0, 0);
  layout->setSpacing(2);
  layout->addLayout(switches);
  layout->addWidget(canvas_, 1);
  layout->addWidget(counts_);
}

PreviewPane::~PreviewPane() = default;

void PreviewPane::ShowFile(const std::filesystem::path& file) {
  if (file == file_) return;
  file_ = file;
  Reload(false);
}

void PreviewPane::SetSettings(const ConversionSettings& settings) {
  if (settings == settings_) return;
  settings_ = settings;
  Reload(true);
}

void PreviewPane::SetSwitches(bool after, bool print, bool colour) {
  after_->setChecked(after);
  colour_->setChecked(colour);
  print_->setChecked(print);
}

bool PreviewPane::after() const { return after_->isChecked(); }
bool PreviewPane::print() const { return print_->isChecked(); }
bool PreviewPane::colour() const { return colour_->isChecked(); }
bool PreviewPane::Pending() const { return loader_->Pending() || canvas_->PicturePending(); }
QString PreviewPane::counts_text() const { return counts_->text(); }

void PreviewPane::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) Reload(false);
}

void PreviewPane::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  // A hidden pane keeps no drawing in memory; it reads the file again when shown.
  if (!event->spontaneous()) {
    loader_->Clear();
    shown_file_.clear();
  }
}

void PreviewPane::Reload(bool same_file) {
  if (!isVisible()) return;  // a hidden pane reads nothing
  if (file_.empty()) {
    loader_->Clear();
    shown_file_.clear();
    canvas_->SetMessage(QString());
    counts_->clear();
    return;
  }
  // Another view of the drawing on the canvas keeps its picture until the
  // new one comes; another file must not pass for this one meanwhile.
  if (!same_file || shown_file_ != file_) {
    shown_file_.clear();
    canvas_->SetMessage(Utf8(texts::kLoading));
  }
  counts_->setText(Utf8(texts::kLoading));
  loader_->Request({file_, after_->isChecked(), print_->isChecked(),
                    print_->isChecked() && colour_->isChecked(), settings_});
}

void PreviewPane::Show(const PreviewResult& result) {
  if (!result.error.empty()) {
    shown_file_.clear();
    canvas_->SetMessage(Utf8(CannotShowText(result.file, result.error)));
    counts_->clear();
    return;
  }
  canvas_->SetDrawing(result.drawing, shown_file_ == result.file);
  shown_file_ = result.file;
  if (!result.changes) {
    counts_->setText(Utf8(texts::kConvertsNothing));
    return;
  }
  counts_->setText(Utf8(ChangeCountsText(result.changes->colors, result.changes->styles)));
}

}  // namespace varnelko
