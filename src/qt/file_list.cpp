// The file list: listing a folder, the file-type filter, the size column's
// alignment, header-click sorting and opening a file.
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QTableWidget>
#include <array>

#include "desktop/folder_listing.h"
#include "desktop/memo_reader.h"
#include "desktop/shell_texts.h"
#include "qt/escape_watcher.h"
#include "qt/main_window.h"
#include "qt/qt_post.h"

namespace varnelko {

namespace {

constexpr int kListingCharWidth = 8;  // pixels per character assumed while listing

QTableWidgetItem* CellItem(const QString& text, int column) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  // The size field fills the whole column; drawn from the right, a cell too
  // narrow for it loses leading blanks rather than digits.
  if (column == kSizeColumn) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

}  // namespace

void TForm1::ClearGrid() {
  StopMemos();  // their cells go now
  grid_->clearContents();
  grid_->setRowCount(1);  // an empty list is the header and one empty row
  for (int c = 0; c < kFileColumns; ++c) grid_->setItem(0, c, CellItem(QString(), c));
  UpdatePreview();
}

void TForm1::ListFiles(const std::filesystem::path& folder) {
  if (state_.busy) return;
  const std::string running = ListingText(folder);
  ShowStatus(running);
  state_.list_shown = false;
  state_.listed_folder = folder;
  ClearGrid();
  aligned_size_width_ = 0;
  const int size_width = SizeFieldWidth(grid_->columnWidth(kSizeColumn), kListingCharWidth);

  // Hidden files and anything but plain files are left out; names are listed
  // in the order of their names. The rows come at once; their memos follow.
  const std::vector<FolderEntry> entries =
      ListFolder(folder, EntryKind::kFiles, FileTypeMask(combo_type_->currentIndex()));
  ShowFileRows(entries, size_width);
  state_.list_shown = !entries.empty();
  // A listing starts with its first row selected, so that the rows the
  // convert command takes are always the ones shown highlighted.
  if (!entries.empty()) grid_->selectRow(0);
  UpdatePreview();

  const std::string listed = ListedText(entries.size(), folder);
  if (entries.empty()) {
    ShowStatus(listed);
    return;
  }
  std::vector<std::filesystem::path> files;
  files.reserve(entries.size());
  for (const FolderEntry& entry : entries) files.push_back(folder / entry.name);
  ReadMemos(std::move(files), running, listed);
}

void TForm1::ShowFileRows(const std::vector<FolderEntry>& entries, int size_width) {
  grid_->setUpdatesEnabled(false);
  grid_->setRowCount(std::max<int>(1, static_cast<int>(entries.size())));
  memo_cells_.clear();
  for (int row = 0; row < static_cast<int>(entries.size()); ++row) {
    const FolderEntry& entry = entries[row];
    const FileRow cells =
        MakeFileRow(entry.shown, entry.size, entry.modified, entry.read_only, size_width, {});
    for (int c = 0; c < kFileColumns; ++c) grid_->setItem(row, c, CellItem(Utf8(cells[c]), c));
    grid_->item(row, kNameColumn)->setData(kNativeNameRole, FromFsPath(entry.name));
    memo_cells_.push_back(grid_->item(row, kMemoColumn));
  }
  grid_->setUpdatesEnabled(true);
}

void TForm1::ReadMemos(std::vector<std::filesystem::path> files, const std::string& running,
                       const std::string& listed) {
  // The listing's last text replaces only its own running text: a
  // conversion started meanwhile keeps its texts.
  auto finish = [this, running = Utf8(running)](const std::string& text) {
    if (status_->text() == running) ShowStatus(text);
    memo_escape_->deleteLater();
    memo_escape_ = nullptr;
  };
  MemoReader::Callbacks callbacks;
  // Cells move with their rows when the list is sorted, so a memo lands on
  // its own file's row whatever the order by then.
  callbacks.on_memo = [this](int index, const std::string& memo) {
    memo_cells_[index]->setText(Utf8(memo));
  };
  callbacks.on_finished = [finish, listed] { finish(listed); };
  memo_reader_ = std::make_unique<MemoReader>(std::move(files), QtPost(), std::move(callbacks));
  memo_escape_ = new EscapeListener(this);
  connect(memo_escape_, &EscapeListener::Pressed, this, [this, finish] {
    if (!MemosPending()) return;
    memo_reader_->Stop();
    finish(texts::kListingStopped);
  });
}

bool TForm1::MemosPending() const { return memo_reader_ && memo_reader_->Pending(); }

void TForm1::StopMemos() {
  memo_reader_.reset();
  delete memo_escape_;
  memo_escape_ = nullptr;
  memo_cells_.clear();
}

std::filesystem::path TForm1::RowFileName(int row) const {
  const QTableWidgetItem* item = grid_->item(row, kNameColumn);
  return item ? ToFsPath(item->data(kNativeNameRole).toString()) : std::filesystem::path();
}

void TForm1::ComboBox1Change() { ListSelectedNode(); }

void TForm1::SelectFileType(int index) {
  combo_type_->setCurrentIndex(index);
  ListSelectedNode();
}

void TForm1::StringGrid1DrawCell() {
  if (!state_.list_shown) return;
  const int char_width = std::max(3, QFontMetrics(grid_->font()).horizontalAdvance(QLatin1Char('0')));
  const int width = SizeFieldWidth(grid_->columnWidth(kSizeColumn), char_width);
  if (width == aligned_size_width_) return;
  aligned_size_width_ = width;
  for (int row = 0; row < grid_->rowCount(); ++row) {
    QTableWidgetItem* item = grid_->item(row, kSizeColumn);
    if (!item || item->text().isEmpty()) continue;
    // Sizes past 2 GiB stay whole: the text is parsed as a 64-bit number.
    item->setText(Utf8(SizeField(item->text().trimmed().toLongLong(), width)));
  }
}

void TForm1::StringGrid1MouseDown(int column) {
  if (!state_.list_shown || column < 0 || column >= kFileColumns) return;
  if (column == kAttributeColumn) {  // back to the listing order
    ListFiles(state_.listed_folder);
    return;
  }
  grid_->setUpdatesEnabled(false);
  SetGridRows(FileRowOrder(GridRows(), column, state_.sort_descending));
  grid_->setUpdatesEnabled(true);
  UpdatePreview();  // another file may now stand in the current row
  state_.sort_descending = !state_.sort_descending;
}

std::vector<FileRow> TForm1::GridRows() const {
  std::vector<FileRow> rows(grid_->rowCount());
  for (int r = 0; r < grid_->rowCount(); ++r) {
    for (int c = 0; c < kFileColumns; ++c) {
      if (const QTableWidgetItem* item = grid_->item(r, c)) rows[r][c] = item->text().toStdString();
    }
  }
  return rows;
}

void TForm1::SetGridRows(const std::vector<size_t>& order) {
  // Rows move whole, cells included: the name on disk and a memo still being
  // read stay with their file.
  std::vector<std::array<QTableWidgetItem*, kFileColumns>> cells(order.size());
  for (size_t r = 0; r < order.size(); ++r) {
    for (int c = 0; c < kFileColumns; ++c) cells[r][c] = grid_->takeItem(static_cast<int>(r), c);
  }
  for (size_t r = 0; r < order.size(); ++r) {
    for (int c = 0; c < kFileColumns; ++c) grid_->setItem(static_cast<int>(r), c, cells[order[r]][c]);
  }
}

void TForm1::StringGrid1DblClick() {
  if (commands_.CanOpenRow()) commands_.OpenRow(RowFileName(grid_->currentRow()));
}

}  // namespace varnelko
