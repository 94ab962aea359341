// The convert command: the layer's checks and question, then the batch run
// over the selected rows on a worker thread, with the window kept alive
// meanwhile.
#include <QEventLoop>
#include <QMenuBar>
#include <QProgressBar>
#include <QSplitter>
#include <QTableWidget>
#include <QThread>
#include <algorithm>

#include "qt/main_window.h"

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
  // The run goes on a worker thread; its texts come back as queued calls, so
  // the window repaints and shows each file while the event loop waits.
  BatchCallbacks callbacks;
  callbacks.on_progress = [this](size_t, const std::string& text) {
    QMetaObject::invokeMethod(this, [this, text] { ShowStatus(text); }, Qt::QueuedConnection);
  };
  callbacks.on_done = [this](size_t index, const FileOutcome&) {
    QMetaObject::invokeMethod(
        this, [this, n = static_cast<int>(index) + 1] { progress_->setValue(n); },
        Qt::QueuedConnection);
  };

  progress_->setRange(0, static_cast<int>(request.sources.size()));
  progress_->setValue(0);
  progress_->show();
  SetBusy(true);
  std::vector<FileOutcome> outcomes;
  QEventLoop loop;
  QThread* worker = QThread::create([&] { outcomes = RunBatch(request, callbacks); });
  connect(worker, &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
  worker->start();
  loop.exec();
  worker->wait();
  delete worker;
  SetBusy(false);
  progress_->hide();

  commands_.ReportRun(outcomes);
}

void TForm1::SetBusy(bool busy) {
  // The controls are locked while the run goes on, so nothing starts inside
  // it; closing the window waits for it too.
  state_.busy = busy;
  splitter_->setEnabled(!busy);
  menuBar()->setEnabled(!busy);
}

}  // namespace varnelko
