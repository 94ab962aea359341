// The convert command: its checks in order, the question, and the batch run
// over the selected rows, with the window kept alive meanwhile.
#include <QEventLoop>
#include <algorithm>
#include <thread>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QSplitter>
#include <QTableWidget>
#include <QThread>

#include "app/main_window.h"
#include "app/run_report.h"
#include "conversion/batch.h"

namespace varnelko {

namespace {

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void TForm1::Button4Click() {
  if (state_.busy) return;
  if (!state_.tree_ready) {
    RefuseWithoutTree();
    return;
  }
  if (!state_.list_shown) {
    feedback_->Beep();
    feedback_->ErrorBox(QStringLiteral("ファイル一覧が表示されていません。"));
    return;
  }
  // Output folder given, existing and not the source folder (compared as the
  // same folder on disk, not as text), then something to convert.
  const BatchCheck check = CheckBatchPreconditions(
      ToFsPath(edit2_->text()), {ToFsPath(state_.listed_folder)}, state_.settings);
  if (check == BatchCheck::kNothingToConvert) {
    feedback_->Beep();
    ShowStatus(Utf8(BatchCheckMessage(check)));
    return;
  }
  if (check != BatchCheck::kOk) {
    feedback_->Beep();
    feedback_->ConfirmBox(Utf8(BatchCheckMessage(check)));
    return;
  }
  if (!feedback_->AskYesNo(QStringLiteral("変換を開始します。よろしいですか？"))) {
    ShowStatus(QStringLiteral("変換作業をキャンセルしました。"));
    return;
  }
  RunConversion(SelectedSources());
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
    const QString name = RowFileName(row);
    if (!name.isEmpty()) sources.push_back(ToFsPath(state_.listed_folder + name));
  }
  return sources;
}

void TForm1::RunConversion(const std::vector<std::filesystem::path>& sources) {
  BatchRequest request;
  request.sources = sources;
  request.output_folder = ToFsPath(edit2_->text());
  request.settings = state_.settings;
  // One file per core; the outputs and the report order are those of one job.
  request.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  request.full_path = FullPathRequested();

  // The run goes on a worker thread; its texts come back as queued calls, so
  // the window repaints and shows each file while the event loop waits.
  BatchCallbacks callbacks;
  callbacks.on_progress = [this](size_t, const std::string& text) {
    QMetaObject::invokeMethod(this, [this, t = Utf8(text)] { ShowStatus(t); }, Qt::QueuedConnection);
  };
  callbacks.on_done = [this](size_t index, const FileOutcome&) {
    QMetaObject::invokeMethod(
        this, [this, n = static_cast<int>(index) + 1] { progress_->setValue(n); },
        Qt::QueuedConnection);
  };

  progress_->setRange(0, static_cast<int>(sources.size()));
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

  // A failure is never reported as success: the text says how many failed,
  // and a box names them with their reasons.
  const RunReport report = MakeRunReport(outcomes);
  QString text = QStringLiteral("変換作業を完了しました。");
  if (report.failed > 0) {
    feedback_->Beep();
    text += QString::number(report.failed) + QStringLiteral(" 個のファイルを変換できませんでした。");
  }
  ShowStatus(text);
  if (report.failed > 0) feedback_->ReportBox(report.summary, report.details);
}

void TForm1::SetBusy(bool busy) {
  // The controls are locked while the run goes on, so nothing starts inside
  // it; closing the window waits for it too.
  state_.busy = busy;
  splitter_->setEnabled(!busy);
  menuBar()->setEnabled(!busy);
}

}  // namespace varnelko
