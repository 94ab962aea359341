// The convert command: the layer's checks and question, then the batch run
// over the selected rows on a worker thread, with the window kept alive
// meanwhile.
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QMenuBar>
#include <QProgressBar>
#include <QSplitter>
#include <QTableWidget>
#include <algorithm>

#include "desktop/batch_runner.h"
#include "qt/escape_watcher.h"
#include "qt/main_window.h"
#include "qt/qt_post.h"

namespace varnelko {

void TForm1::Button4Click() {
  if (state_.busy) return;
  const std::filesystem::path output = state_.output_folder;
  if (!commands_.CheckConversion(output)) return;
  RunConversion(commands_.MakeBatchRequest(SelectedSources(), output));
}

std::vector<std::filesystem::path> TForm1::SelectedSources() const {
  // The selection is one range of rows; without one, the current row.
  int top = grid_->currentRow();
  int bottom = top;
  const QList<QTableWidgetSelectionRange> ranges = grid_->selectedRanges();
  if (!ranges.isEmpty()) {
    top = ranges.first().topRow();
    bottom = ranges.first().bottomRow();
    for (const QTableWidgetSelectionRange& range : ranges) {
      top = std::min(top, range.topRow());
      bottom = std::max(bottom, range.bottomRow());
    }
  }
  std::vector<std::filesystem::path> sources;
  for (int row = std::max(0, top); row <= bottom; ++row) {
    const std::filesystem::path name = RowFileName(row);
    if (!name.empty()) sources.push_back(state_.listed_folder / name);
  }
  return sources;
}

void TForm1::RunConversion(const BatchRequest& request) {
  // The run goes on a worker thread; its texts come back as posted calls, so
  // the window repaints, shows each file and takes Escape and the stop
  // button while the event loop waits.
  BatchRunner runner(QtPost());
  std::vector<FileOutcome> outcomes;
  QEventLoop loop;
  BatchRunner::Callbacks callbacks;
  callbacks.on_progress = [this](const std::string& text) { ShowStatus(text); };
  callbacks.on_done = [this](size_t done) { progress_->setValue(static_cast<int>(done)); };
  callbacks.on_finished = [&](const std::vector<FileOutcome>& result) {
    outcomes = result;
    loop.quit();
  };

  progress_->setRange(0, static_cast<int>(request.sources.size()));
  progress_->setValue(0);
  progress_->show();
  stop_->show();
  counts_->clear();
  SetBusy(true);
  run_ = &runner;
  EscapeListener escape;
  connect(&escape, &EscapeListener::Pressed, this, [this] { StopRun(); });
  runner.Start(request, std::move(callbacks));
  loop.exec();
  run_ = nullptr;
  SetBusy(false);
  progress_->hide();
  stop_->hide();

  counts_->setText(Utf8(RunCountsText(commands_.ReportRun(outcomes, runner.Stopped()))));
}

void TForm1::StopRun() {
  if (run_) run_->Stop();
}

void TForm1::SetBusy(bool busy) {
  // The controls are locked while the run goes on, so nothing starts inside
  // it; closing the window waits for it too.
  state_.busy = busy;
  splitter_->setEnabled(!busy);
  menuBar()->setEnabled(!busy);
}

}  // namespace varnelko
