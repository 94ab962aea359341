#pragma once
// The settings dialog "JWW/JWS設定": two combo boxes for the target layer
// group and layer, six check boxes for the switches. It edits the eight
// conversion settings in place, and only when the user presses OK. For the
// drawings selected in the list, the combo boxes also name each layer group
// and layer and count its entities.
#include <QDialog>
#include <array>
#include <filesystem>
#include <memory>
#include <vector>

#include "conversion/conversion_settings.h"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace varnelko {

class LayerTallyReader;
struct LayerTally;

class TForm2 : public QDialog {
  Q_OBJECT
 public:
  TForm2(ConversionSettings& settings, QWidget* parent = nullptr);
  ~TForm2() override;

  // The drawings whose layers the combo boxes describe; none: plain numbers.
  void SetDrawings(std::vector<std::filesystem::path> files);
  // The selected drawings are still being read.
  bool LayersPending() const { return reader_ != nullptr; }

  void FormShow();      // loads the controls from the settings
  void Button3Click();  // OK: stores the controls, closes
  void Button4Click();  // Cancel: closes without storing

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
  void ShowTally(const LayerTally& tally);
  void LabelLayers();  // the layer items follow the chosen group

  ConversionSettings& settings_;
  QComboBox* combo_group_ = nullptr;  // C1
  QComboBox* combo_layer_ = nullptr;  // C2
  std::array<QCheckBox*, 6> checks_{};  // CheckBox1..6 for C3..C8
  std::unique_ptr<LayerTallyReader> reader_;
  std::unique_ptr<LayerTally> tally_;  // of the drawings read; none: plain numbers
};

}  // namespace varnelko
