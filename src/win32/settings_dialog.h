#pragma once
// The settings dialog "JWW/JWS設定": the target layer group and layer and
// the six switches C3..C8. It is made once, hidden between uses, loads its
// controls from the settings each time it opens and stores them on OK only.
#include <windows.h>

#include "conversion/conversion_settings.h"

namespace varnelko::win32 {

enum SettingsControl : int {
  kGroupCombo = 301,  // C1
  kLayerCombo = 302,  // C2
  kCheckBox1 = 303,   // C3 .. kCheckBox1 + 5 for C8
  kWarning = 320,
};

class SettingsDialog {
 public:
  SettingsDialog(HINSTANCE instance, HWND owner);
  ~SettingsDialog();
  SettingsDialog(const SettingsDialog&) = delete;
  SettingsDialog& operator=(const SettingsDialog&) = delete;

  HWND hwnd() const { return hwnd_; }
  HWND Control(int id) const { return GetDlgItem(hwnd_, id); }

  // Shows the dialog with the owner disabled until OK, Cancel, Escape or the
  // close box; OK stores the controls into `settings`. True after OK.
  bool ShowModal(ConversionSettings& settings);
  // Shows it without waiting (the screenshot takes it like this).
  void Open(const ConversionSettings& settings);
  void Close();

  void SetPosition(int left, int top);
  void GetPosition(int& left, int& top) const;

 private:
  template <typename W>
  friend LRESULT CALLBACK ObjectWindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void BuildControls();
  void FormShow(const ConversionSettings& settings);
  void Store(ConversionSettings& settings) const;

  HWND hwnd_ = nullptr;
  HWND owner_;
  HFONT font_ = nullptr;
  bool open_ = false;
  bool accepted_ = false;
};

}  // namespace varnelko::win32
