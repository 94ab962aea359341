#pragma once
// After a run with failures: a warning icon with the report's text, a list
// of every file not converted with its reason that the user can resize,
// "コピー" putting the list on the clipboard, and OK.
#include <windows.h>

#include <string>
#include <vector>

#include "desktop/run_report.h"

namespace varnelko::win32 {

enum FailureListControl : int {
  kFailureIcon = 401,
  kFailureSummary = 402,
  kFailureTable = 403,  // a list view: file name, reason
  kFailureCopy = 404,
};

class FailureListDialog {
 public:
  FailureListDialog(HWND owner, const std::string& text, std::vector<FailureRow> rows);
  ~FailureListDialog();
  FailureListDialog(const FailureListDialog&) = delete;
  FailureListDialog& operator=(const FailureListDialog&) = delete;

  HWND hwnd() const { return hwnd_; }
  HWND Control(int id) const { return GetDlgItem(hwnd_, id); }

  // Shows the dialog with the owner disabled until OK, Escape or the close box.
  void ShowModal();
  // Shows it without waiting (the screenshot takes it like this).
  void Open();
  bool IsOpen() const { return open_; }

 private:
  template <typename W>
  friend LRESULT CALLBACK ObjectWindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void BuildControls(const std::string& text);
  void Layout();

  HWND owner_;
  std::vector<FailureRow> rows_;
  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  bool open_ = false;
};

}  // namespace varnelko::win32
