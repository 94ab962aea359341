// The menu and the commands of the buttons: settings dialog, output folder,
// ".set" files, exit, and the convert command with its run on a worker.
#include <windows.h>

#include <commctrl.h>

#include "desktop/shell_texts.h"
#include "win32/accelerators.h"
#include "win32/control_ids.h"
#include "win32/main_window.h"
#include "win32/preview/preview_pane.h"
#include "win32/settings_dialog.h"

namespace varnelko::win32 {

void MainWindow::BuildMenu() {
  auto item = [](HMENU menu, int id, const wchar_t* label, Command command) {
    AppendMenuW(menu, MF_STRING, id, MenuItemText(label, command).c_str());
  };
  HMENU file = CreatePopupMenu();
  item(file, kMenuSearchFolder, L"検索フォルダの指定 (&S)", Command::kChooseSearchFolder);
  HMENU types = CreatePopupMenu();
  AppendMenuW(types, MF_STRING, kMenuFileType0 + 0, L"全てのファイル(*.*) (&0)");
  AppendMenuW(types, MF_STRING, kMenuFileType0 + 1, L"(*.jw?) (&1)");
  AppendMenuW(types, MF_STRING, kMenuFileType0 + 2, L"(*.jww) (&2)");
  AppendMenuW(types, MF_STRING, kMenuFileType0 + 3, L"(*.jws) (&3)");
  AppendMenuW(file, MF_POPUP, reinterpret_cast<UINT_PTR>(types), L"ファイルの種類 (&T)");
  AppendMenuW(file, MF_STRING, kMenuOutputFolder, L"保存先フォルダの指定 (&H)");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);  // the last search folders follow it
  item(file, kMenuExit, L"終了 (&X)", Command::kExit);

  HMENU set = CreatePopupMenu();
  AppendMenuW(set, MF_STRING, kMenuSettings, L"JWW/JWS設定 (&1)");
  AppendMenuW(set, MF_SEPARATOR, 0, nullptr);
  item(set, kMenuSetSave, L"現在の設定を保存(&S)...", Command::kSaveSettings);
  AppendMenuW(set, MF_STRING, kMenuSetOpen, L"保存した設定を開く(&O)...");

  HMENU view = CreatePopupMenu();
  AppendMenuW(view, MF_STRING | MF_CHECKED, kMenuPreview, L"プレビュー (&P)");
  item(view, kMenuRefresh, L"最新の情報に更新 (&R)", Command::kRefresh);

  menu_ = CreateMenu();
  AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"ファイル (&F)");
  AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(set), L"設定 (&S)");
  AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(view), L"表示 (&V)");
  SetMenu(hwnd_, menu_);
}

void MainWindow::Button1Click() {
  if (dialog_->ShowModal(state_.settings)) preview_->SetSettings(state_.settings);
}

void MainWindow::Button3Click() {
  if (commands_.ChooseOutputFolder(state_.output_folder)) SetOutputFolder(state_.output_folder);
}

void MainWindow::MnuExitClick() {
  if (!state_.busy && commands_.ConfirmExit()) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void MainWindow::Convert() {
  if (state_.busy || !commands_.CheckConversion(state_.output_folder)) return;
  RunConversion(SelectedSources());
}

void MainWindow::RunConversion(std::vector<std::filesystem::path> sources) {
  StopListing();  // the memos would compete for the disk
  BatchRequest request = commands_.MakeBatchRequest(std::move(sources), state_.output_folder);
  run_done_ = 0;
  run_total_ = request.sources.size();
  SetCounts("");
  SetBusy(true);
  ShowRunControls(true);
  BatchRunner::Callbacks callbacks;
  callbacks.on_progress = [this](const std::string& text) {
    ShowStatus(text + "  (" + std::to_string(run_done_) + " / " + std::to_string(run_total_) + ")");
  };
  callbacks.on_done = [this](size_t done) {
    run_done_ = done;
    SendDlgItemMessageW(Control(kStatusBar1), kProgressBar1, PBM_SETPOS, done, 0);
  };
  callbacks.on_finished = [this](const std::vector<FileOutcome>& outcomes) {
    FinishConversion(outcomes);
  };
  runner_->Start(std::move(request), std::move(callbacks));
}

void MainWindow::StopRun() {
  if (runner_->Running()) runner_->Stop();
}

void MainWindow::FinishConversion(const std::vector<FileOutcome>& outcomes) {
  ShowRunControls(false);
  SetBusy(false);
  // The counts stand beside the status text once the failures have been read.
  SetCounts(RunCountsText(commands_.ReportRun(outcomes, runner_->Stopped())));
}

}  // namespace varnelko::win32
