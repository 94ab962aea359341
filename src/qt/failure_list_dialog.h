#pragma once
// After a run in which files failed: the counts, and a list the user can
// resize, of every file not converted with its reason, with a button that
// copies the list.
#include <QDialog>
#include <string>
#include <vector>

#include "desktop/run_report.h"

namespace varnelko {

class FailureListDialog : public QDialog {
  Q_OBJECT
 public:
  FailureListDialog(const std::string& text, const std::vector<FailureRow>& rows,
                    QWidget* parent = nullptr);

  void CopyClick();  // the list onto the clipboard, a tab between name and reason

 private:
  std::vector<FailureRow> rows_;
};

}  // namespace varnelko
