#pragma once
// The preview pane below the file list: the drawing of the current row as
// it is, or after the conversion with the current settings ("変換後", the
// changed entities marked), on screen or as it prints ("印刷イメージ", black
// unless "カラー" is on), and a
// line that counts what the conversion changes in it.
#include <QString>
#include <QWidget>
#include <filesystem>
#include <memory>

#include "conversion/conversion_settings.h"

class QCheckBox;
class QLabel;

namespace varnelko {

class PreviewCanvas;
class PreviewLoader;
struct PreviewResult;

class PreviewPane : public QWidget {
  Q_OBJECT
 public:
  explicit PreviewPane(QWidget* parent = nullptr);
  ~PreviewPane() override;

  // The file to show; an empty path shows nothing.
  void ShowFile(const std::filesystem::path& file);
  void SetSettings(const ConversionSettings& settings);
  void SetSwitches(bool after, bool print, bool colour = false);
  bool after() const;
  bool print() const;
  bool colour() const;
  // The picture of the last request has not yet arrived.
  bool Pending() const;

  PreviewCanvas* canvas() { return canvas_; }
  QString counts_text() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void Reload(bool same_file);
  void Show(const PreviewResult& result);

  std::filesystem::path file_;
  std::filesystem::path shown_file_;  // the file whose picture is on the canvas
  ConversionSettings settings_;
  std::unique_ptr<PreviewLoader> loader_;
  PreviewCanvas* canvas_ = nullptr;
  QCheckBox* after_ = nullptr;
  QCheckBox* print_ = nullptr;
  QCheckBox* colour_ = nullptr;  // the print view in colour; only with print_
  QLabel* counts_ = nullptr;
};

}  // namespace varnelko
