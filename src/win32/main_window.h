#pragma once
// The main window of the Windows program: folder tree, file-type filter,
// output folder, the convert button, the file list and the status bar, with
// the menu of the form. It binds its controls to the desktop layer, which
// holds the state, the rules and the texts. Listing, memo reading and
// conversion run on worker threads whose results come back through a queue.
// Beyond the form: dropped folders and files, the keys of the accelerator
// table, the sort arrow, F5, tips for cut-off cells, the last search folders
// in "ファイル", the hint over an empty list, and a run's counts, progress
// and "中止" in the status bar.
#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "conversion/batch.h"
#include "desktop/app_ini.h"
#include "desktop/app_locations.h"
#include "desktop/batch_runner.h"
#include "desktop/memo_reader.h"
#include "desktop/user_feedback.h"
#include "desktop/window_commands.h"
#include "desktop/window_state.h"
#include "win32/list_rows.h"
#include "win32/ui_queue.h"

namespace varnelko::win32 {

class FileDropTarget;
class PreviewPane;
class SettingsDialog;

class MainWindow {
 public:
  MainWindow(HINSTANCE instance, const AppLocations& locations, UserFeedback& feedback);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window and its dialog, and runs the start-up sequence.
  bool Create(int show_command);
  HWND hwnd() const { return hwnd_; }
  HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
  SettingsDialog& settings_dialog() { return *dialog_; }
  PreviewPane& preview() { return *preview_; }
  WindowState& state() { return state_; }
  // Window layout, filter and the preview's switches, as the ini keeps them.
  AppIniValues& layout() { return layout_; }

  // Escape stops a listing's memos and a conversion, and the keys of the
  // accelerator table run their commands; true when the key was taken. The
  // message loop asks this before dispatching a message.
  bool TakeKey(const MSG& message);
  // A listing's rows or memos are still coming, or a search or a run goes on.
  bool Working() const;
  std::string StatusText() const;
  // The last run's counts, beside the status text.
  std::string CountsText() const;
  // The whole text of a cell that its column cuts off; empty when it fits.
  std::string CellTip(int row, int column) const;

  // The commands, as the menu and buttons run them.
  void SearchFolders();
  void ListFiles(const std::filesystem::path& folder);
  void SortByColumn(int column);  // header click
  void Convert();                 // "変換"
  void SetSearchFolder(const std::filesystem::path& folder);
  void SetOutputFolder(const std::filesystem::path& folder);
  // Files or folders dropped on `target`, a child of the window or the window.
  void Drop(const std::vector<std::filesystem::path>& paths, HWND target);
  // What Explorer's drags reach (tests drive it directly).
  IDropTarget* drop_target() const;
  // F5: the tree searched again, the listed folder listed again.
  void Refresh();
  // "中止" and Escape: the files in progress finish, no other starts.
  void StopRun();
  // "変換後" and "印刷イメージ" of the preview pane.
  void SetPreviewSwitches(bool after, bool print);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void BuildControls();
  void BuildMenu();
  void BuildStatusBar();
  void Layout();
  void LayoutStatusBar();
  void OnCommand(int id, int code);
  LRESULT OnNotify(const NMHDR& header);
  bool OnSplitterMouse(UINT message, LPARAM lparam);

  void FormShow();
  void FormClose();
  void ShowStatus(const std::string& text);
  void SetBusy(bool busy);
  void ShowRunControls(bool shown);  // the progress and "中止"
  void SetCounts(const std::string& text);

  // Folder tree.
  void MnuFileSFolderClick();
  HTREEITEM AddNode(HTREEITEM parent, const std::wstring& text, const std::filesystem::path& path,
                    int icon);
  void AddSubfolders(HTREEITEM node, int icon);
  void PumpWhileBusy();
  void SortTree(HTREEITEM node);
  std::filesystem::path FolderPathOfNode(HTREEITEM node) const;
  void TreeView1Click();
  void ListSelectedNode();
  void SelectFileType(int index);
  void SearchAndListRoot();  // searches the search folder and lists its root
  void RegisterDropTarget();  // WM_DROPFILES and OLE drops
  void OnDropFiles(HDROP drop);
  void FillRecentMenu();

  // File list.
  void StopListing();
  void ClearList();
  void ShowRows(std::vector<ListRow> rows);
  void SortList();  // as the state's sort says, arrow included
  void SelectNames(const std::vector<std::filesystem::path>& names);
  void ShowStartHint();  // while nothing is listed
  void LayoutStartHint();
  void ShowCellTip(POINT at);  // the mouse moved over the list
  static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam,
                                   UINT_PTR, DWORD_PTR self);
  void ShowMemo(size_t listed, const std::string& memo);
  void FinishListing(const std::string& text);
  void UpdatePreview();  // follows the focused row
  void ShowPreview(bool shown);
  void StringGrid1DblClick();
  std::vector<std::filesystem::path> SelectedSources() const;

  // Commands of the buttons and menus.
  void Button1Click();
  void Button3Click();
  void MnuExitClick();
  void RunConversion(std::vector<std::filesystem::path> sources);
  void FinishConversion(const std::vector<FileOutcome>& outcomes);

  HINSTANCE instance_;
  UserFeedback& feedback_;
  WindowState state_;
  AppIniValues layout_;
  WindowCommands commands_;
  std::unique_ptr<UiQueue> ui_queue_;  // made with the window
  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr, big_font_ = nullptr, list_font_ = nullptr;
  HMENU menu_ = nullptr;
  HACCEL accelerators_ = nullptr;
  FileDropTarget* drop_target_ = nullptr;  // registered with OLE while the window lives
  bool ole_ = false;                       // OleInitialize succeeded
  HWND cell_tips_ = nullptr;      // the tooltip of cut-off cells
  POINT tip_cell_{-1, -1};        // its row and column
  std::wstring tip_text_;         // its text, while the tooltip shows it
  bool setting_output_text_ = false;  // the program, not the user, fills Edit2
  std::unique_ptr<SettingsDialog> dialog_;
  std::unique_ptr<PreviewPane> preview_;
  bool preview_shown_ = true;
  std::vector<std::filesystem::path> node_paths_;  // tree node lParam -> folder path
  bool dragging_splitter_ = false;  // between tree and list
  bool dragging_preview_ = false;   // between list and preview

  // The listing: rows from a worker, then the layer's memo reader.
  std::vector<ListRow> rows_;
  std::vector<size_t> row_of_listed_;  // place in the listing -> row now
  std::thread rows_thread_;
  bool rows_pending_ = false;
  uint64_t listing_number_ = 0;
  std::string listing_text_;  // "フォルダ「…」を検索中(ESC:中断)"
  std::unique_ptr<MemoReader> memo_reader_;
  // Dropped files to select once their folder's rows are shown.
  std::vector<std::filesystem::path> names_to_select_;

  // The conversion on the layer's worker.
  std::unique_ptr<BatchRunner> runner_;
  size_t run_done_ = 0, run_total_ = 0;
  std::string counts_;  // the last run's
};

}  // namespace varnelko::win32
