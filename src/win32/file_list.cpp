// The file list: the rows listed on a worker, the memos filling in through
// the desktop layer's reader, the header-click sort with its arrow, the
// selection and opening a file.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <set>

#include "desktop/list_sort.h"
#include "desktop/shell_texts.h"
#include "win32/control_ids.h"
#include "win32/main_window.h"
#include "win32/preview/preview_pane.h"

namespace varnelko::win32 {

namespace {

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
  ++listing_number_;  // rows still coming are dropped
  rows_pending_ = false;
  names_to_select_.clear();
  memo_reader_.reset();
}

void MainWindow::ClearList() {
  StopListing();
  state_.list_shown = false;
  rows_.clear();
  rows_.emplace_back();  // an empty list is the header and one empty row
  row_of_listed_.clear();
  ListView_SetItemCountEx(Control(kStringGrid1), 1, 0);
  InvalidateRect(Control(kStringGrid1), nullptr, TRUE);
  if (preview_) preview_->Clear();
}

void MainWindow::UpdatePreview() {
  if (!preview_shown_) return;
  const int row = ListView_GetNextItem(Control(kStringGrid1), -1, LVNI_FOCUSED);
  if (!state_.list_shown || row < 0 || row >= static_cast<int>(rows_.size())) {
    preview_->Clear();
    return;
  }
  preview_->ShowFile(state_.listed_folder / rows_[row].name, state_.settings);
}

void MainWindow::ListFiles(const std::filesystem::path& folder) {
  if (state_.busy) return;
  listing_text_ = ListingText(folder);
  ShowStatus(listing_text_);
  ClearList();
  state_.listed_folder = folder;
  ShowStartHint();
  HWND list = Control(kStringGrid1);
  const int filter = static_cast<int>(SendMessageW(Control(kComboBox1), CB_GETCURSEL, 0, 0));
  const int width = SizeFieldWidth(ListView_GetColumnWidth(list, kSizeColumn), DigitWidth(list));
  // The rows come at once from a worker; their memos follow.
  if (rows_thread_.joinable()) rows_thread_.join();
  rows_pending_ = true;
  rows_thread_ = std::thread([this, post = ui_queue_->Poster(), folder, filter, width,
                              number = listing_number_] {
    std::vector<ListRow> rows = ListRows(folder, filter, width);
    post([this, number, rows = std::move(rows)]() mutable {
      if (number == listing_number_) ShowRows(std::move(rows));
    });
  });
}

void MainWindow::ShowRows(std::vector<ListRow> rows) {
  rows_pending_ = false;
  rows_ = std::move(rows);
  state_.list_shown = !rows_.empty();
  const size_t count = rows_.size();
  row_of_listed_.resize(count);
  for (size_t r = 0; r < count; ++r) row_of_listed_[r] = r;
  if (rows_.empty()) rows_.emplace_back();
  HWND list = Control(kStringGrid1);
  ListView_SetItemCountEx(list, static_cast<int>(rows_.size()), 0);
  SortList();  // a new folder is sorted as the last one was
  // A listing starts with its first row selected, so that the rows the
  // convert command takes are always the ones shown highlighted; dropped
  // files are selected instead.
  if (state_.list_shown) {
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SelectNames(std::exchange(names_to_select_, {}));
  }
  InvalidateRect(list, nullptr, TRUE);
  // The focus may stay on the row it had in the last listing, which
  // notifies no change: the preview, cleared with the list, follows here.
  UpdatePreview();
  if (count == 0) {
    FinishListing(ListedText(0, state_.listed_folder));
    return;
  }
  // The reader goes through the files in listing order, whatever the sort;
  // a memo finds its row through row_of_listed_.
  std::vector<std::filesystem::path> files(count);
  for (const ListRow& row : rows_) files[row.listed] = state_.listed_folder / row.name;
  MemoReader::Callbacks callbacks;
  callbacks.on_memo = [this](int index, const std::string& memo) { ShowMemo(index, memo); };
  callbacks.on_finished = [this, count] {
    FinishListing(ListedText(count, state_.listed_folder));
  };
  memo_reader_ = std::make_unique<MemoReader>(std::move(files), ui_queue_->Poster(),
                                              std::move(callbacks));
}

void MainWindow::ShowMemo(size_t listed, const std::string& memo) {
  if (memo.empty() || listed >= row_of_listed_.size()) return;
  // Rows may have been sorted meanwhile: the memo finds its file's row.
  const size_t row = row_of_listed_[listed];
  rows_[row].cells[kMemoColumn] = memo;
  ListView_RedrawItems(Control(kStringGrid1), static_cast<int>(row), static_cast<int>(row));
}

void MainWindow::FinishListing(const std::string& text) {
  // The listing's last text replaces only its own running text: a
  // conversion started meanwhile keeps its texts.
  if (StatusText() == listing_text_) ShowStatus(text);
}

void MainWindow::SortByColumn(int column) {
  if (!state_.list_shown || column < 0 || column >= kFileColumns) return;
  if (HeaderClick(state_, column).column < 0) {  // back to the listing order
    ListFiles(state_.listed_folder);
    return;
  }
  SortList();
  UpdatePreview();  // another file may now stand in the focused row
}

void MainWindow::SortList() {
  const SortIndicator sort = state_.sort;
  HWND header = ListView_GetHeader(Control(kStringGrid1));
  for (int c = 0; c < kFileColumns; ++c) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    Header_GetItem(header, c, &item);
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (c == sort.column) item.fmt |= sort.descending ? HDF_SORTDOWN : HDF_SORTUP;
    Header_SetItem(header, c, &item);
  }
  if (sort.column < 0 || !state_.list_shown) return;
  SortRows(rows_, sort.column, sort.descending);
  for (size_t r = 0; r < rows_.size(); ++r) row_of_listed_[rows_[r].listed] = r;
  InvalidateRect(Control(kStringGrid1), nullptr, FALSE);
}

void MainWindow::SelectNames(const std::vector<std::filesystem::path>& names) {
  // The convert command takes one range of rows: from the first dropped file
  // to the last, as the list shows them.
  const std::set<std::filesystem::path> wanted(names.begin(), names.end());
  int top = -1, bottom = -1;
  for (int row = 0; row < static_cast<int>(rows_.size()); ++row) {
    if (!wanted.contains(rows_[row].name)) continue;
    if (top < 0) top = row;
    bottom = row;
  }
  if (top < 0) return;
  HWND list = Control(kStringGrid1);
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
  for (int row = top; row <= bottom; ++row) {
    ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
  }
  ListView_SetItemState(list, top, LVIS_FOCUSED, LVIS_FOCUSED);
  ListView_EnsureVisible(list, top, FALSE);
}

std::vector<std::filesystem::path> MainWindow::SelectedSources() const {
  // The rows from the first selected one to the last, as one range.
  HWND list = GetDlgItem(hwnd_, kStringGrid1);
  const int top = ListView_GetNextItem(list, -1, LVNI_SELECTED);
  int bottom = top;
  for (int row = top; row >= 0; row = ListView_GetNextItem(list, row, LVNI_SELECTED)) bottom = row;
  std::vector<std::filesystem::path> sources;
  if (top < 0 || !state_.list_shown) return sources;
  for (int row = top; row <= bottom && row < static_cast<int>(rows_.size()); ++row) {
    if (!rows_[row].name.empty()) sources.push_back(state_.listed_folder / rows_[row].name);
  }
  return sources;
}

void MainWindow::StringGrid1DblClick() {
  if (!commands_.CanOpenRow()) return;
  const int row = ListView_GetNextItem(Control(kStringGrid1), -1, LVNI_FOCUSED);
  if (row >= 0 && row < static_cast<int>(rows_.size())) commands_.OpenRow(rows_[row].name);
}

}  // namespace varnelko::win32
