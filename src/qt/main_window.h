#pragma once
// The main window: folder tree on the left, file list on the right, the
// file-type filter, the settings and output-folder commands, the convert
// button and the status bar. Handlers are named after their control and event.
#include <QMainWindow>
#include <filesystem>
#include <memory>
#include <vector>

#include "desktop/app_ini.h"
#include "desktop/file_rows.h"
#include "desktop/window_commands.h"
#include "desktop/window_state.h"
#include "qt/app_paths.h"
#include "qt/user_feedback.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTableWidget;
class QTableWidgetItem;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace varnelko {

// Tree nodes and name cells keep the entry's name on disk as a path text
// (FromFsPath) here; the shown text may differ from it.
constexpr int kNativeNameRole = Qt::UserRole;

class EscapeListener;
class EscapeWatcher;
class MemoReader;
class PreviewPane;
struct FolderEntry;
class TForm2;

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  // `feedback` null: real message boxes and dialogs.
  explicit TForm1(const AppLocations& locations,
                  std::unique_ptr<UserFeedback> feedback = nullptr);
  ~TForm1() override;

  // Start-up and shutdown.
  void FormShow();
  void FormClose();
  void MnuExitClick();

  // Commands of the right-hand pane and the menus.
  void Button1Click();  // settings dialog
  void Button3Click();  // output folder
  void Button4Click();  // convert
  void MnuSetSaveClick();
  void MnuSetOpenClick();

  // Folder tree.
  void MnuFileSFolderClick();
  void SearchFolders();
  void AddSubfolders(const std::filesystem::path& folder, QTreeWidgetItem* node);
  std::filesystem::path FolderPathOfNode(const QTreeWidgetItem* node) const;
  void TreeView1Click();

  // File list.
  void ListFiles(const std::filesystem::path& folder);
  void ComboBox1Change();
  void MnuFileType0Click() { SelectFileType(0); }
  void MnuFileType1Click() { SelectFileType(1); }
  void MnuFileType2Click() { SelectFileType(2); }
  void MnuFileType3Click() { SelectFileType(3); }
  void StringGrid1DrawCell();            // re-aligns the size column
  void StringGrid1MouseDown(int column);  // header click
  void StringGrid1DblClick();
  // The memo column of the last listing is still filling in.
  bool MemosPending() const;

  void SetSearchFolder(const std::filesystem::path& folder);
  void SetOutputFolder(const std::filesystem::path& folder);

  // Preview pane.
  void ShowPreview(bool shown);
  void UpdatePreview();  // follows the current row of the list

  WindowState& state() { return state_; }
  TForm2* settings_dialog() { return form2_; }
  PreviewPane* preview() { return preview_; }
  UserFeedback& feedback() { return *feedback_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  QWidget* BuildLeftPane();
  QWidget* BuildRightPane();
  QWidget* BuildListAndPreview();
  void BuildMenu();
  void BuildStatusBar();

  void ShowStatus(const std::string& text) { commands_.ShowStatus(text); }
  void SelectFileType(int index);
  void ListSelectedNode();
  void ClearGrid();
  void ShowFileRows(const std::vector<FolderEntry>& entries, int size_width);
  void ReadMemos(std::vector<std::filesystem::path> files, const std::string& running,
                 const std::string& listed);
  void StopMemos();
  std::filesystem::path RowFileName(int row) const;  // the name on disk; empty for an empty row
  std::vector<FileRow> GridRows() const;
  void SetGridRows(const std::vector<size_t>& order);  // rows in `order`, names included
  std::vector<std::filesystem::path> SelectedSources() const;
  void RunConversion(const BatchRequest& request);
  void SetBusy(bool busy);

  AppIniValues GatherIniValues() const;
  void ApplyIniValues(const AppIniValues& values);

  WindowState state_;
  std::unique_ptr<UserFeedback> feedback_;
  WindowCommands commands_;
  TForm2* form2_ = nullptr;
  EscapeWatcher* escape_ = nullptr;  // set while a search or listing runs
  bool shown_ = false;
  bool closed_ = false;
  int aligned_size_width_ = 0;  // field width the size column was last aligned to
  // The memo cells of the listed files in listing order, filled by the reader.
  std::unique_ptr<MemoReader> memo_reader_;
  EscapeListener* memo_escape_ = nullptr;
  std::vector<QTableWidgetItem*> memo_cells_;

  QSplitter* splitter_ = nullptr;
  QLineEdit* edit1_ = nullptr;
  QTreeWidget* tree_ = nullptr;
  QComboBox* combo_type_ = nullptr;
  QLineEdit* edit2_ = nullptr;
  QTableWidget* grid_ = nullptr;
  QSplitter* splitter2_ = nullptr;  // the file list above the preview pane
  PreviewPane* preview_ = nullptr;
  QAction* preview_action_ = nullptr;
  QLabel* status_ = nullptr;
  QProgressBar* progress_ = nullptr;
};

}  // namespace varnelko
