// The file list: listing a folder on a worker, the memos filling in, the
// header-click sort, the selection and opening a file.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "platform/path_text.h"
#include "platform/wide_text.h"
#include "win32/control_ids.h"
#include "win32/main_window.h"

namespace varnelko::win32 {

namespace {

std::string Utf8(const std::wstring& text) { return Utf8FromWide(text); }

// Pixels of "0" in the list's font, at least 3.
int DigitWidth(HWND list) {
  HDC dc = GetDC(list);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, L"0", 1, &size);
  SelectObject(dc, old);
  ReleaseDC(list, dc);
  return std::max<int>(3, size.cx);
}

}  // namespace

void MainWindow::StopListing() {
  if (listing_) listing_->stop = true;
  if (listing_thread_.joinable()) listing_thread_.join();
  listing_.reset();
}

void MainWindow::ClearList() {
  StopListing();
  state_.list_shown = false;
  rows_.clear();
  // An empty list is the header and one empty row.
  rows_.emplace_back();
  ListView_SetItemCountEx(Control(kStringGrid1), 1, 0);
  InvalidateRect(Control(kStringGrid1), nullptr, TRUE);
}

void MainWindow::ListFiles(const std::string& folder) {
  if (state_.busy) return;
  listing_text_ = "フォルダ「" + folder + "」を検索中(ESC:中断)";
  ShowStatus(listing_text_);
  ClearList();
  state_.listed_folder = folder;
  HWND list = Control(kStringGrid1);
  listing_ = std::make_shared<Listing>();
  listing_->folder = WideFromUtf8(folder);
  listing_->filter = static_cast<int>(SendMessageW(Control(kComboBox1), CB_GETCURSEL, 0, 0));
  listing_->size_width = SizeFieldWidth(ListView_GetColumnWidth(list, kSizeColumn), DigitWidth(list));
  ++listing_number_;
  listing_thread_ = std::thread([listing = listing_, hwnd = hwnd_, number = listing_number_] {
    RunListing(*listing, hwnd, number);
  });
}

void MainWindow::ShowRows() {
  if (!listing_) return;
  {
    std::lock_guard lock(listing_->mutex);
    rows_ = std::move(listing_->rows);
  }
  state_.list_shown = !rows_.empty();
  listed_count_ = rows_.size();
  if (rows_.empty()) rows_.emplace_back();
  HWND list = Control(kStringGrid1);
  ListView_SetItemCountEx(list, static_cast<int>(rows_.size()), 0);
  // A listing starts with its first row selected, so that the rows the
  // convert command takes are always the ones shown highlighted.
  if (state_.list_shown) {
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }
  InvalidateRect(list, nullptr, TRUE);
}

void MainWindow::ShowMemos() {
  if (!listing_) return;
  std::vector<std::pair<size_t, std::wstring>> memos;
  bool done = false;
  {
    std::lock_guard lock(listing_->mutex);
    memos.swap(listing_->memos);
    done = listing_->memos_done;
  }
  if (!memos.empty()) {
    // Rows may have been sorted meanwhile: each memo finds its file's row.
    std::vector<size_t> row_of(listed_count_, 0);
    for (size_t r = 0; r < rows_.size() && state_.list_shown; ++r) row_of[rows_[r].listed] = r;
    for (auto& [listed, memo] : memos) {
      if (listed < row_of.size()) rows_[row_of[listed]].cells[kMemoColumn] = std::move(memo);
    }
    InvalidateRect(Control(kStringGrid1), nullptr, FALSE);
  }
  if (done) {
    FinishListing(std::to_string(listed_count_) + " Files  パス名「" + state_.listed_folder + "」");
  }
}

void MainWindow::FinishListing(const std::string& text) {
  // The listing's last text replaces only its own running text: a
  // conversion started meanwhile keeps its texts.
  if (StatusText() == listing_text_) ShowStatus(text);
  if (listing_thread_.joinable()) listing_thread_.join();
  listing_.reset();
}

void MainWindow::SortByColumn(int column) {
  if (!state_.list_shown || column < 0 || column >= kFileColumns) return;
  if (column == kAttributeColumn) {  // back to the listing order
    ListFiles(state_.listed_folder);
    return;
  }
  SortRows(rows_, column, state_.sort_descending);
  state_.sort_descending = !state_.sort_descending;
  InvalidateRect(Control(kStringGrid1), nullptr, FALSE);
}

std::vector<std::filesystem::path> MainWindow::SelectedSources() const {
  // The rows from the first selected one to the last, as one range.
  HWND list = GetDlgItem(hwnd_, kStringGrid1);
  const int top = ListView_GetNextItem(list, -1, LVNI_SELECTED);
  int bottom = top;
  for (int row = top; row >= 0; row = ListView_GetNextItem(list, row, LVNI_SELECTED)) bottom = row;
  std::vector<std::filesystem::path> sources;
  if (top < 0 || !state_.list_shown) return sources;
  const std::filesystem::path folder = PathFromUtf8(state_.listed_folder);
  for (int row = top; row <= bottom && row < static_cast<int>(rows_.size()); ++row) {
    const std::wstring& name = rows_[row].cells[kNameColumn];
    if (!name.empty()) sources.push_back(folder / name);
  }
  return sources;
}

void MainWindow::StringGrid1DblClick() {
  if (!state_.tree_ready) {
    RefuseWithoutTree();
    return;
  }
  if (!state_.list_shown) {
    prompts_.Beep();
    ShowStatus("図面の格納されているフォルダを指定して下さい。");
    return;
  }
  const int row = ListView_GetNextItem(Control(kStringGrid1), -1, LVNI_FOCUSED);
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  const std::string name = Utf8(rows_[row].cells[kNameColumn]);
  if (name.empty() || prompts_.OpenFile(state_.listed_folder + name)) return;
  // Without a program for the file the user would see nothing happen.
  prompts_.Beep();
  ShowStatus("「" + name + "」を開くことのできるプログラムが見つかりません。");
}

}  // namespace varnelko::win32
