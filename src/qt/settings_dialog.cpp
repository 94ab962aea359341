#include "qt/settings_dialog.h"

#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "desktop/layer_choices.h"
#include "qt/app_paths.h"
#include "qt/qt_post.h"
#include "qt/ui_fonts.h"

namespace varnelko {

namespace {

constexpr int kComboItems = 17;  // "0".."F", then "全て" = every layer (group)

QComboBox* MakeLayerCombo(const QString& name) {
  auto* combo = new QComboBox;
  combo->setObjectName(name);
  // Named items are wider; plain ones shrink the box back to today's size.
  combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  for (int i = 0; i < kComboItems; ++i) combo->addItem(Utf8(PlainItemText(i)));
  return combo;
}

// Item `index` reads `text`; an empty layer is greyed, yet stays selectable.
void LabelItem(QComboBox* combo, int index, const std::string& text, bool empty) {
  combo->setItemText(index, Utf8(text));
  combo->setItemData(index, empty ? QVariant(QColor(Qt::gray)) : QVariant(), Qt::ForegroundRole);
}

QCheckBox* MakeCheck(const QString& name, const QString& caption) {
  auto* check = new QCheckBox(caption);
  check->setObjectName(name);
  return check;
}

QGroupBox* MakeFrame(const QString& name, QCheckBox* first, QCheckBox* second) {
  auto* frame = new QGroupBox;
  frame->setObjectName(name);
  auto* layout = new QVBoxLayout(frame);
  layout->addWidget(first);
  layout->addWidget(second);
  return frame;
}

}  // namespace

TForm2::TForm2(ConversionSettings& settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      settings_(settings) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("JWW/JWS設定"));
  setFont(FixedPitchFont());
  BuildControls();
  connect(combo_group_, &QComboBox::currentIndexChanged, this, [this] { LabelLayers(); });
}

TForm2::~TForm2() = default;

void TForm2::SetDrawings(std::vector<std::filesystem::path> files) {
  reader_.reset();
  tally_.reset();
  for (int i = 0; i < kComboItems; ++i) {
    LabelItem(combo_group_, i, PlainItemText(i), false);
    LabelItem(combo_layer_, i, PlainItemText(i), false);
  }
  if (files.empty()) return;
  reader_ = std::make_unique<LayerTallyReader>(std::move(files), QtPost(),
                                               [this](const LayerTally& tally) {
                                                 reader_.reset();
                                                 ShowTally(tally);
                                               });
}

void TForm2::ShowTally(const LayerTally& tally) {
  tally_ = std::make_unique<LayerTally>(tally);
  for (int i = 0; i < kComboItems; ++i) {
    LabelItem(combo_group_, i, GroupItemText(tally, i), GroupItemCount(tally, i) == 0);
  }
  LabelLayers();
}

void TForm2::LabelLayers() {
  if (!tally_) return;
  const int group = combo_group_->currentIndex();
  for (int i = 0; i < kComboItems; ++i) {
    LabelItem(combo_layer_, i, LayerItemText(*tally_, group, i),
              LayerItemCount(*tally_, group, i) == 0);
  }
}

void TForm2::BuildControls() {
  combo_group_ = MakeLayerCombo(QStringLiteral("ComboBox1"));
  combo_layer_ = MakeLayerCombo(QStringLiteral("ComboBox2"));
  checks_ = {MakeCheck(QStringLiteral("CheckBox1"), QStringLiteral("補助線色に変換")),
             MakeCheck(QStringLiteral("CheckBox2"), QStringLiteral("補助線種に変換")),
             MakeCheck(QStringLiteral("CheckBox3"), QStringLiteral("寸法図形の線色番号を変更する")),
             MakeCheck(QStringLiteral("CheckBox4"), QStringLiteral("ブロック図形の線色番号を変更する")),
             MakeCheck(QStringLiteral("CheckBox5"), QStringLiteral("寸法図形の線種番号を変更する")),
             MakeCheck(QStringLiteral("CheckBox6"), QStringLiteral("ブロック図形の線種番号を変更する"))};

  auto* warning = new QLabel(QStringLiteral("※特殊な変換ですので注意して使用して下さい。"));
  warning->setObjectName(QStringLiteral("Label4"));
  warning->setStyleSheet(QStringLiteral("color: red;"));

  auto* combos = new QGridLayout;
  combos->addWidget(new QLabel(QStringLiteral("変換対象レイヤグループ：")), 0, 0);
  combos->addWidget(combo_group_, 0, 1);
  combos->addWidget(warning, 0, 2);
  combos->addWidget(new QLabel(QStringLiteral("変換対象レイヤ：")), 1, 0);
  combos->addWidget(combo_layer_, 1, 1);
  combos->addWidget(new QLabel(QStringLiteral("※補助線種変換は、線・円弧のみ変換処理されます。")), 1, 2);
  combos->setColumnStretch(2, 1);

  auto* switches = new QGridLayout;
  switches->addWidget(checks_[0], 0, 0);
  switches->addWidget(MakeFrame(QStringLiteral("GroupBox1"), checks_[2], checks_[3]), 1, 0);
  switches->addWidget(checks_[1], 0, 1);
  switches->addWidget(MakeFrame(QStringLiteral("GroupBox2"), checks_[4], checks_[5]), 1, 1);

  auto* ok = new QPushButton(QStringLiteral("ＯＫ (&Y)"));
  ok->setObjectName(QStringLiteral("Button3"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("キャンセル (&N)"));
  cancel->setObjectName(QStringLiteral("Button4"));
  connect(ok, &QPushButton::clicked, this, &TForm2::Button3Click);
  connect(cancel, &QPushButton::clicked, this, &TForm2::Button4Click);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(
      new QLabel(QStringLiteral("ある特定のレイヤ内の要素を、補助線色／補助線種に変換します。")));
  layout->addLayout(combos);
  layout->addLayout(switches);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TForm2::showEvent(QShowEvent* event) {
  // Only an opening loads the controls; restoring the minimised dialog also
  // shows it, and must keep what the user has changed so far.
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TForm2::FormShow() {
  // A value outside 0..16 (from a hand-edited file) selects no item.
  auto show_index = [](QComboBox* combo, int32_t value) {
    combo->setCurrentIndex(value >= 0 && value < kComboItems ? value : -1);
  };
  show_index(combo_group_, settings_.C(1));
  show_index(combo_layer_, settings_.C(2));
  for (int i = 0; i < 6; ++i) checks_[i]->setChecked(settings_.C(i + 3) != 0);
}

void TForm2::Button3Click() {
  settings_.C(1) = combo_group_->currentIndex();
  settings_.C(2) = combo_layer_->currentIndex();
  for (int i = 0; i < 6; ++i) settings_.C(i + 3) = checks_[i]->isChecked() ? 1 : 0;
  accept();
}

void TForm2::Button4Click() { reject(); }

}  // namespace varnelko
