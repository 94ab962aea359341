// The menu and the commands of the buttons: settings dialog, output folder,
// ".set" files, exit, and the convert command with its run on a worker.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "platform/path_text.h"
#include "platform/wide_text.h"
#include "win32/control_ids.h"
#include "win32/main_window.h"
#include "win32/run_report.h"
#include "win32/settings_dialog.h"

namespace varnelko::win32 {

void MainWindow::BuildMenu() {
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, kMenuSearchFolder, L"検索フォルダの指定 (&S)");
  HMENU types = CreatePopupMenu();
  AppendMenuW(types, MF_STRING, kMenuFileType0 + 0, L"全てのファイル(*.*) (&0)");
  AppendMenuW(types, MF_STRING, kMenuFileType0 + 1, L"(*.jw?) (&1)");
  AppendMenuW(types, MF_STRING, kMenuFileType0 + 2, L"(*.jww) (&2)");
  AppendMenuW(types, MF_STRING, kMenuFileType0 + 3, L"(*.jws) (&3)");
  AppendMenuW(file, MF_POPUP, reinterpret_cast<UINT_PTR>(types), L"ファイルの種類 (&T)");
  AppendMenuW(file, MF_STRING, kMenuOutputFolder, L"保存先フォルダの指定 (&H)");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, kMenuExit, L"終了 (&X)");

  HMENU set = CreatePopupMenu();
  AppendMenuW(set, MF_STRING, kMenuSettings, L"JWW/JWS設定 (&1)");
  AppendMenuW(set, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(set, MF_STRING, kMenuSetSave, L"現在の設定を保存(&S)...");
  AppendMenuW(set, MF_STRING, kMenuSetOpen, L"保存した設定を開く(&O)...");

  menu_ = CreateMenu();
  AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"ファイル (&F)");
  AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(set), L"設定 (&S)");
  SetMenu(hwnd_, menu_);
}

void MainWindow::Button1Click() { dialog_->ShowModal(state_.ini.settings); }

void MainWindow::Button3Click() {
  const std::string folder = prompts_.ChooseFolder("保存先フォルダの指定", state_.ini.output_folder);
  if (folder.empty()) return;
  SetOutputFolder(folder);
}

void MainWindow::MnuSetSaveClick() {
  const std::string path =
      prompts_.ChooseSettingsFile(true, "現在の設定を保存", state_.ini.settings_file);
  if (path.empty()) return;
  state_.ini.settings_file = path;
  SaveSettingsFile(PathFromUtf8(path), state_.ini.settings);
}

void MainWindow::MnuSetOpenClick() {
  const std::string path =
      prompts_.ChooseSettingsFile(false, "保存した設定ファイルを開く", state_.ini.settings_file);
  if (path.empty()) return;
  state_.ini.settings_file = path;
  LoadSettingsFile(PathFromUtf8(path), state_.ini.settings);
}

void MainWindow::MnuExitClick() {
  if (state_.busy) return;
  if (prompts_.AskYesNo("終了します。よろしいですか？")) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void MainWindow::Convert() {
  if (state_.busy) return;
  if (!state_.tree_ready) {
    RefuseWithoutTree();
    return;
  }
  if (!state_.list_shown) {
    prompts_.Beep();
    prompts_.ErrorBox("ファイル一覧が表示されていません。");
    return;
  }
  // Output folder given, existing and not the source folder (compared as the
  // same folder on disk, not as text), then something to convert.
  const BatchCheck check =
      CheckBatchPreconditions(PathFromUtf8(state_.ini.output_folder),
                              {PathFromUtf8(state_.listed_folder)}, state_.ini.settings);
  if (check == BatchCheck::kNothingToConvert) {
    prompts_.Beep();
    ShowStatus(BatchCheckMessage(check));
    return;
  }
  if (check != BatchCheck::kOk) {
    prompts_.Beep();
    prompts_.ConfirmBox(BatchCheckMessage(check));
    return;
  }
  if (!prompts_.AskYesNo("変換を開始します。よろしいですか？")) {
    ShowStatus("変換作業をキャンセルしました。");
    return;
  }
  RunConversion(SelectedSources());
}

void MainWindow::RunConversion(std::vector<std::filesystem::path> sources) {
  StopListing();  // the memos would compete for the disk
  BatchRequest request;
  request.sources = std::move(sources);
  request.output_folder = PathFromUtf8(state_.ini.output_folder);
  request.settings = state_.ini.settings;
  request.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  request.full_path = FullPathRequested();
  request.stop = &run_stop_;
  run_stop_ = false;
  run_done_ = 0;
  run_total_ = request.sources.size();
  SetBusy(true);
  run_thread_ = std::thread([this, request = std::move(request)] {
    BatchCallbacks callbacks;
    callbacks.on_progress = [this](size_t, const std::string& text) {
      {
        std::lock_guard lock(run_mutex_);
        run_progress_ = text;
      }
      PostMessageW(hwnd_, kRunProgress, 0, 0);
    };
    callbacks.on_done = [this](size_t index, const FileOutcome&) {
      run_done_ = index + 1;
      PostMessageW(hwnd_, kRunProgress, 0, 0);
    };
    std::vector<FileOutcome> outcomes = RunBatch(request, callbacks);
    {
      std::lock_guard lock(run_mutex_);
      run_outcomes_ = std::move(outcomes);
    }
    PostMessageW(hwnd_, kRunDone, 0, 0);
  });
}

void MainWindow::ShowRunProgress() {
  std::string text;
  {
    std::lock_guard lock(run_mutex_);
    text = run_progress_;
  }
  if (!run_thread_.joinable()) return;  // a late message after the run
  ShowStatus(text + "  (" + std::to_string(run_done_.load()) + " / " +
             std::to_string(run_total_) + ")");
}

void MainWindow::FinishConversion() {
  if (run_thread_.joinable()) run_thread_.join();
  SetBusy(false);
  std::vector<FileOutcome> outcomes;
  {
    std::lock_guard lock(run_mutex_);
    outcomes.swap(run_outcomes_);
  }
  // A failure is never reported as success: the text says how many failed
  // or were left by Escape, and a box names them with their reasons.
  const RunReport report = MakeRunReport(outcomes);
  ShowStatus(report.status);
  if (report.failed > 0 || report.not_started > 0) {
    if (report.failed > 0) prompts_.Beep();
    prompts_.ReportBox(report.summary, report.details);
  }
}

}  // namespace varnelko::win32
