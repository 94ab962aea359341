// The file list: listing a folder, the file-type filter, the size column's
// alignment, header-click sorting and opening a file.
#include <QComboBox>
#include <QFontMetrics>
#include <QTableWidget>

#include "app/escape_watcher.h"
#include "app/main_window.h"
#include "app/native_names.h"
#include "document/cp932.h"
#include "formats/memo_for_file.h"

namespace varnelko {

namespace {

constexpr int kNameColumn = 0;
constexpr int kSizeColumn = 1;
constexpr int kAttributeColumn = 5;
constexpr int kListingCharWidth = 8;  // pixels per character assumed while listing

QTableWidgetItem* CellItem(const QString& text, int column) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  // The size field fills the whole column; drawn from the right, a cell too
  // narrow for it loses leading blanks rather than digits.
  if (column == kSizeColumn) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

QString MemoText(const QString& path) {
  return QString::fromStdString(Cp932ToUtf8(MemoForFile(ToFsPath(path))));
}

}  // namespace

void TForm1::ClearGrid() {
  grid_->clearContents();
  grid_->setRowCount(1);  // an empty list is the header and one empty row
  for (int c = 0; c < kFileColumns; ++c) grid_->setItem(0, c, CellItem(QString(), c));
}

void TForm1::ListFiles(const QString& folder) {
  if (state_.busy) return;
  ShowStatus(QStringLiteral("フォルダ「") + ShownPath(folder) + QStringLiteral("」を検索中(ESC:中断)"));
  state_.list_shown = false;
  state_.listed_folder = folder;
  ClearGrid();
  aligned_size_width_ = 0;
  const int size_width = SizeFieldWidth(grid_->columnWidth(kSizeColumn), kListingCharWidth);

  // Hidden files and anything but plain files are left out; names are listed
  // in the order of their names.
  const std::vector<FolderEntry> entries =
      ListFolder(folder, EntryKind::kFiles, FileTypeMask(combo_type_->currentIndex()));

  state_.busy = true;
  EscapeWatcher watcher;
  int count = 0;
  bool complete = true;
  for (const FolderEntry& entry : entries) {
    if (watcher.EscapePressed()) {
      complete = false;
      break;
    }
    AppendFileRow(folder, entry, size_width);
    ++count;
  }
  state_.busy = false;

  ShowStatus(complete ? QString::number(count) + QStringLiteral(" Files  パス名「") +
                            ShownPath(folder) + QStringLiteral("」")
                      : QStringLiteral("検索を中断しました。"));
  state_.list_shown = count > 0;
  // A listing starts with its first row selected, so that the rows the
  // convert command takes are always the ones shown highlighted.
  if (count > 0) grid_->selectRow(0);
}

void TForm1::AppendFileRow(const QString& folder, const FolderEntry& entry, int size_width) {
  const bool first = grid_->item(0, kNameColumn)->text().isEmpty();
  const int row = first ? 0 : grid_->rowCount();
  if (!first) grid_->insertRow(row);
  const FileRow cells = MakeFileRow(entry.shown, entry.size, entry.modified, entry.read_only,
                                    size_width, MemoText(folder + entry.name));
  for (int c = 0; c < kFileColumns; ++c) grid_->setItem(row, c, CellItem(cells[c], c));
  grid_->item(row, kNameColumn)->setData(kNativeNameRole, entry.name);
}

QString TForm1::RowFileName(int row) const {
  const QTableWidgetItem* item = grid_->item(row, kNameColumn);
  return item ? item->data(kNativeNameRole).toString() : QString();
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
    item->setText(SizeField(item->text().trimmed().toLongLong(), width));
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
  state_.sort_descending = !state_.sort_descending;
}

std::vector<FileRow> TForm1::GridRows() const {
  std::vector<FileRow> rows(grid_->rowCount());
  for (int r = 0; r < grid_->rowCount(); ++r) {
    for (int c = 0; c < kFileColumns; ++c) {
      if (const QTableWidgetItem* item = grid_->item(r, c)) rows[r][c] = item->text();
    }
  }
  return rows;
}

void TForm1::SetGridRows(const std::vector<size_t>& order) {
  // The name on disk moves with the row it belongs to.
  const std::vector<FileRow> rows = GridRows();
  std::vector<QString> names;
  for (int r = 0; r < grid_->rowCount(); ++r) names.push_back(RowFileName(r));
  for (int r = 0; r < static_cast<int>(order.size()); ++r) {
    for (int c = 0; c < kFileColumns; ++c) grid_->item(r, c)->setText(rows[order[r]][c]);
    grid_->item(r, kNameColumn)->setData(kNativeNameRole, names[order[r]]);
  }
}

void TForm1::StringGrid1DblClick() {
  if (!state_.tree_ready) {
    RefuseWithoutTree();
    return;
  }
  if (!state_.list_shown) {
    feedback_->Beep();
    ShowStatus(QStringLiteral("図面の格納されているフォルダを指定して下さい。"));
    return;
  }
  const QString name = RowFileName(grid_->currentRow());
  if (!name.isEmpty()) feedback_->OpenFile(state_.listed_folder + name);
}

}  // namespace varnelko
