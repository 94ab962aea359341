#include "desktop/window_commands.h"

#include <algorithm>
#include <system_error>
#include <thread>

#include "desktop/run_report.h"
#include "desktop/shell_texts.h"
#include "platform/path_text.h"

namespace varnelko {

namespace fs = std::filesystem;

fs::path WithTrailingSeparator(const fs::path& folder) {
  const auto& text = folder.native();
  if (text.empty() || text.back() == '/' || text.back() == fs::path::preferred_separator) {
    return folder;
  }
  return fs::path(text + fs::path::preferred_separator);
}

WindowCommands::WindowCommands(WindowState& state, UserFeedback& feedback,
                               std::function<void(const std::string&)> show_status)
    : state_(state), feedback_(feedback), show_status_(std::move(show_status)) {}

void WindowCommands::ShowStatus(const std::string& text) {
  show_status_(text);
  feedback_.Status(text);
}

AppIniValues WindowCommands::StartUp() {
  state_.tree_ready = state_.list_shown = state_.sort_descending = state_.cancel = false;
  // The design values: filter 0, settings 0, no output folder, no settings
  // file, the search folder beside the program; the ini file overrides each
  // of them that it holds. The core keeps each loaded drawing's images in
  // that drawing's document, so there are no shared stores to clear and no
  // folder to create here.
  AppIniValues values;
  values.search_folder = PathToUtf8(state_.program_folder);
  LoadAppIni(state_.ini_path, values);
  Apply(values);
  return values;
}

void WindowCommands::StartUpDone() { ShowStatus(texts::kChooseSearchFolder); }

void WindowCommands::Apply(const AppIniValues& values) {
  state_.pane_width = values.pane_width;
  state_.search_folder = PathFromUtf8(values.search_folder);
  state_.output_folder = PathFromUtf8(values.output_folder);
  state_.settings_file = PathFromUtf8(values.settings_file);
  state_.settings = values.settings;
  state_.preview_height = std::max(1, values.preview_height);
}

void WindowCommands::ShutDown(AppIniValues values) {
  // Each loaded drawing is freed by the core as soon as it is converted; only
  // the ini file is left to write. A key that cannot be written is skipped.
  values.search_folder = PathToUtf8(state_.search_folder);
  values.output_folder = PathToUtf8(state_.output_folder);
  values.settings_file = PathToUtf8(state_.settings_file);
  values.settings = state_.settings;
  SaveAppIni(state_.ini_path, values);
}

bool WindowCommands::ConfirmExit() { return feedback_.AskYesNo(texts::kConfirmExit); }

bool WindowCommands::ChooseSearchFolder() {
  ShowStatus("");
  const fs::path folder = feedback_.ChooseFolder(texts::kSearchFolderTitle, state_.search_folder);
  if (folder.empty()) return false;
  SetSearchFolder(folder);
  return true;
}

void WindowCommands::SetSearchFolder(const fs::path& folder) {
  state_.search_folder = WithTrailingSeparator(folder);
}

bool WindowCommands::BeginSearch() {
  ShowStatus(texts::kSearching);
  std::error_code error;
  if (!fs::is_directory(state_.search_folder, error)) {
    feedback_.Beep();
    feedback_.InfoBox(texts::kDriveNotReady);
    ShowStatus(texts::kChooseSearchFolder);
    return false;
  }
  state_.list_shown = false;
  state_.tree_ready = false;
  state_.cancel = false;
  return true;
}

void WindowCommands::EndSearch() {
  ShowStatus(state_.cancel ? texts::kSearchStopped : "");
  state_.tree_ready = true;
}

void WindowCommands::RefuseWithoutTree() {
  feedback_.Beep();
  feedback_.ErrorBox(texts::kChooseSearchFolder);
  ShowStatus(texts::kChooseSearchFolder);
}

bool WindowCommands::CanOpenRow() {
  if (!state_.tree_ready) {
    RefuseWithoutTree();
    return false;
  }
  if (!state_.list_shown) {
    feedback_.Beep();
    ShowStatus(texts::kChooseDrawingFolder);
    return false;
  }
  return true;
}

void WindowCommands::OpenRow(const fs::path& name) {
  if (name.empty() || feedback_.OpenFile(state_.listed_folder / name)) return;
  // Without a program for the file the user would see nothing happen.
  feedback_.Beep();
  ShowStatus(NoProgramText(name));
}

bool WindowCommands::ChooseOutputFolder(const fs::path& current) {
  const fs::path folder = feedback_.ChooseFolder(texts::kOutputFolderTitle, current);
  if (folder.empty()) return false;
  state_.output_folder = folder;
  return true;
}

bool WindowCommands::SaveSettingsFile() {
  const fs::path path =
      feedback_.ChooseSettingsFile(true, texts::kSaveSettingsTitle, state_.settings_file);
  if (path.empty()) return false;
  state_.settings_file = path;
  varnelko::SaveSettingsFile(path, state_.settings);  // a failure is not reported
  return true;
}

bool WindowCommands::OpenSettingsFile() {
  const fs::path path =
      feedback_.ChooseSettingsFile(false, texts::kOpenSettingsTitle, state_.settings_file);
  if (path.empty()) return false;
  state_.settings_file = path;
  LoadSettingsFile(path, state_.settings);
  return true;
}

bool WindowCommands::CheckConversion(const fs::path& output) {
  if (!state_.tree_ready) {
    RefuseWithoutTree();
    return false;
  }
  if (!state_.list_shown) {
    feedback_.Beep();
    feedback_.ErrorBox(texts::kNoFileList);
    return false;
  }
  // Output folder given, existing and not the source folder (compared as the
  // same folder on disk, not as text), then something to convert.
  const BatchCheck check = CheckBatchPreconditions(output, {state_.listed_folder}, state_.settings);
  if (check == BatchCheck::kNothingToConvert) {
    feedback_.Beep();
    ShowStatus(BatchCheckMessage(check));
    return false;
  }
  if (check != BatchCheck::kOk) {
    feedback_.Beep();
    feedback_.ConfirmBox(BatchCheckMessage(check));
    return false;
  }
  if (!feedback_.AskYesNo(texts::kConfirmStart)) {
    ShowStatus(texts::kRunCancelled);
    return false;
  }
  return true;
}

BatchRequest WindowCommands::MakeBatchRequest(std::vector<fs::path> sources,
                                              const fs::path& output) const {
  BatchRequest request;
  request.sources = std::move(sources);
  request.output_folder = output;
  request.settings = state_.settings;
  // One file per core; the outputs and the report order are those of one job.
  request.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  request.full_path = FullPathRequested();
  return request;
}

void WindowCommands::ReportRun(const std::vector<FileOutcome>& outcomes) {
  // A failure is never reported as success: the text says how many failed,
  // and a box names them with their reasons.
  const RunReport report = MakeRunReport(outcomes);
  std::string text = texts::kRunDone;
  if (report.failed > 0) {
    feedback_.Beep();
    text += std::to_string(report.failed) + " 個のファイルを変換できませんでした。";
  }
  ShowStatus(text);
  if (report.failed > 0) feedback_.ReportBox(report.summary, report.details);
}

}  // namespace varnelko
