#include "win32/system_feedback.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <filesystem>

#include "platform/wide_text.h"
#include "win32/failure_list_dialog.h"

namespace varnelko::win32 {

namespace {

constexpr wchar_t kCaption[] = L"Varnelko";

// Releases a COM interface when it goes out of scope.
template <typename T>
struct ComPtr {
  T* p = nullptr;
  ~ComPtr() {
    if (p) p->Release();
  }
  T* operator->() const { return p; }
};

// The file-system path of the dialog's result; empty when cancelled.
std::wstring ShowDialog(IFileDialog* dialog, HWND owner) {
  if (FAILED(dialog->Show(owner))) return {};
  ComPtr<IShellItem> item;
  if (FAILED(dialog->GetResult(&item.p))) return {};
  wchar_t* name = nullptr;
  if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &name))) return {};
  std::wstring path = name;
  CoTaskMemFree(name);
  return path;
}

// The dialog opens in `folder` when it exists.
void StartIn(IFileDialog* dialog, const std::wstring& folder) {
  if (folder.empty()) return;
  ComPtr<IShellItem> item;
  if (SUCCEEDED(SHCreateItemFromParsingName(folder.c_str(), nullptr, IID_PPV_ARGS(&item.p)))) {
    dialog->SetFolder(item.p);
  }
}

}  // namespace

int SystemFeedback::Box(const std::string& text, UINT flags) {
  return MessageBoxW(owner_, WideFromUtf8(text).c_str(), kCaption, flags);
}

void SystemFeedback::Beep() { MessageBeep(MB_OK); }
void SystemFeedback::ErrorBox(const std::string& text) { Box(text, MB_OK | MB_ICONERROR); }
void SystemFeedback::InfoBox(const std::string& text) { Box(text, MB_OK | MB_ICONINFORMATION); }
void SystemFeedback::ConfirmBox(const std::string& text) { Box(text, MB_OK | MB_ICONQUESTION); }

bool SystemFeedback::AskYesNo(const std::string& text) {
  return Box(text, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void SystemFeedback::ReportBox(const std::string& text, const std::vector<FailureRow>& rows) {
  FailureListDialog dialog(owner_, text, rows);
  dialog.ShowModal();
}

std::filesystem::path SystemFeedback::ChooseFolder(const std::string& title,
                                                   const std::filesystem::path& start_folder) {
  ComPtr<IFileOpenDialog> dialog;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&dialog.p)))) {
    return {};
  }
  DWORD options = 0;
  dialog->GetOptions(&options);
  dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
  dialog->SetTitle(WideFromUtf8(title).c_str());
  StartIn(dialog.p, start_folder.wstring());
  std::wstring folder = ShowDialog(dialog.p, owner_);
  if (folder.empty()) return {};
  if (folder.back() != L'\\') folder += L'\\';
  return std::filesystem::path(folder);
}

std::filesystem::path SystemFeedback::ChooseSettingsFile(bool save, const std::string& title,
                                                         const std::filesystem::path& initial) {
  ComPtr<IFileDialog> dialog;
  const HRESULT made =
      save ? CoCreateInstance(CLSID_FileSaveDialog, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IFileDialog, reinterpret_cast<void**>(&dialog.p))
           : CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IFileDialog, reinterpret_cast<void**>(&dialog.p));
  if (FAILED(made)) return {};
  const COMDLG_FILTERSPEC filter[] = {{L"設定ファイル(*.set)", L"*.set"}};
  dialog->SetFileTypes(1, filter);
  dialog->SetDefaultExtension(L"set");
  DWORD options = 0;
  dialog->GetOptions(&options);
  options |= FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST;
  options |= save ? FOS_OVERWRITEPROMPT : FOS_FILEMUSTEXIST;
  dialog->SetOptions(options);
  dialog->SetTitle(WideFromUtf8(title).c_str());
  StartIn(dialog.p, initial.parent_path().wstring());
  if (initial.has_filename()) dialog->SetFileName(initial.filename().wstring().c_str());
  return std::filesystem::path(ShowDialog(dialog.p, owner_));
}

bool SystemFeedback::OpenFile(const std::filesystem::path& path) {
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(owner_, L"open", path.c_str(), L"", L"", SW_SHOW));
  return result > 32;
}

}  // namespace varnelko::win32
