#pragma once
// The main window: folder tree, file-type filter, output folder, the convert
// button, the file list and the status bar, with the menu of the Windows
// program. Listing, memo reading and conversion run on worker threads that
// post their results back; the window's thread only shows them.
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <atomic>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/app_ini.h"
#include "conversion/batch.h"
#include "win32/list_rows.h"
#include "win32/user_prompts.h"

namespace varnelko::win32 {

class SettingsDialog;

struct WindowState {
  bool tree_ready = false;       // a folder search has produced a tree
  bool list_shown = false;       // the file list holds at least one file row
  bool sort_descending = false;  // the next header-click sort is descending
  bool busy = false;             // a folder search or conversion is running
  std::string search_folder;     // UTF-8, ends in "\"
  std::string listed_folder;     // the folder whose files the list shows
  AppIniValues ini;              // everything the ini file keeps
};

// Where the program keeps its ini file.
struct WindowLocations {
  std::filesystem::path program_folder;
  std::filesystem::path ini_path;
};

class MainWindow {
 public:
  MainWindow(HINSTANCE instance, WindowLocations locations, UserPrompts& prompts);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window and its dialog, and runs the start-up sequence.
  bool Create(int show_command);
  HWND hwnd() const { return hwnd_; }
  HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
  SettingsDialog& settings_dialog() { return *dialog_; }
  const WindowState& state() const { return state_; }
  WindowState& state() { return state_; }

  // Escape stops the listing, the memos and a conversion; true when the key
  // was taken. The message loop asks this before dispatching a key.
  bool TakeKey(const MSG& message);
  // A listing's rows or memos are still coming, or a conversion runs.
  bool Working() const;
  std::string StatusText() const;

  // The commands, as the menu and buttons run them.
  void SearchFolders();                   // fills the tree from the search folder
  void ListFiles(const std::string& folder);
  void SortByColumn(int column);          // header click
  void Convert();                         // "変換"
  void SetSearchFolder(const std::string& folder);
  void SetOutputFolder(const std::string& folder);
  // "変換後" and "印刷イメージ" of the preview pane.
  void SetPreviewSwitches(bool after, bool print);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void BuildControls();
  void BuildMenu();
  void Layout();
  void OnCommand(int id, int code);
  LRESULT OnNotify(const NMHDR& header);
  bool OnSplitterMouse(UINT message, LPARAM lparam);

  void FormShow();
  void FormClose();
  void ShowStatus(const std::string& text);
  void RefuseWithoutTree();
  void SetBusy(bool busy);

  // Folder tree.
  void MnuFileSFolderClick();
  HTREEITEM AddNode(HTREEITEM parent, const std::wstring& text, const std::wstring& path, int icon);
  void AddSubfolders(HTREEITEM node, int icon);
  void PumpWhileBusy();
  void SortTree(HTREEITEM node);
  std::wstring FolderPathOfNode(HTREEITEM node) const;
  void TreeView1Click();
  void ListSelectedNode();
  void SelectFileType(int index);

  // File list.
  void StopListing();
  void ClearList();
  void ShowRows();
  void ShowMemos();
  void FinishListing(const std::string& text);
  void StringGrid1DblClick();
  std::vector<std::filesystem::path> SelectedSources() const;

  // Commands of the buttons and menus.
  void Button1Click();
  void Button3Click();
  void MnuSetSaveClick();
  void MnuSetOpenClick();
  void MnuExitClick();
  void RunConversion(std::vector<std::filesystem::path> sources);
  void ShowRunProgress();
  void FinishConversion();

  HINSTANCE instance_;
  WindowLocations locations_;
  UserPrompts& prompts_;
  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr, big_font_ = nullptr, list_font_ = nullptr;
  HMENU menu_ = nullptr;
  std::unique_ptr<SettingsDialog> dialog_;
  WindowState state_;
  std::vector<std::wstring> node_paths_;  // tree node lParam -> folder path
  bool dragging_splitter_ = false;
  bool search_cancel_ = false;  // Escape stopped the running folder search

  // The listing on its worker: rows first, then the memos in row order.
  std::vector<ListRow> rows_;     // window's thread
  std::shared_ptr<Listing> listing_;  // the running listing, if any
  std::thread listing_thread_;
  uint64_t listing_number_ = 0;
  size_t listed_count_ = 0;       // files of the newest listing
  std::string listing_text_;      // "フォルダ「…」を検索中(ESC:中断)"

  // The conversion on its worker.
  std::thread run_thread_;
  std::atomic<bool> run_stop_{false};
  std::vector<FileOutcome> run_outcomes_;
  std::mutex run_mutex_;
  std::string run_progress_;      // the newest progress text, guarded by run_mutex_
  std::atomic<size_t> run_done_{0};
  size_t run_total_ = 0;
};

}  // namespace varnelko::win32
