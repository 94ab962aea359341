#pragma once
// The settings dialog "JWW/JWS設定": two combo boxes for the target layer
// group and layer, six check boxes for the switches. It edits the eight
// conversion settings in place, and only when the user presses OK.
#include <QDialog>
#include <array>

#include "conversion/conversion_settings.h"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace varnelko {

class TForm2 : public QDialog {
  Q_OBJECT
 public:
  TForm2(ConversionSettings& settings, QWidget* parent = nullptr);

  void FormShow();      // loads the controls from the settings
  void Button3Click();  // OK: stores the controls, closes
  void Button4Click();  // Cancel: closes without storing

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();

  ConversionSettings& settings_;
  QComboBox* combo_group_ = nullptr;  // C1
  QComboBox* combo_layer_ = nullptr;  // C2
  std::array<QCheckBox*, 6> checks_{};  // CheckBox1..6 for C3..C8
};

}  // namespace varnelko
