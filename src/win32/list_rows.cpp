#include "win32/list_rows.h"

#include "desktop/folder_listing.h"

namespace varnelko::win32 {

std::vector<ListRow> ListRows(const std::filesystem::path& folder, int filter, int size_width) {
  const std::vector<FolderEntry> entries = ListFolder(folder, EntryKind::kFiles, FileTypeMask(filter));
  std::vector<ListRow> rows;
  rows.reserve(entries.size());
  for (const FolderEntry& entry : entries) {
    rows.push_back({MakeFileRow(entry.shown, entry.size, entry.modified, entry.read_only,
                                size_width, ""),
                    entry.name, rows.size()});
  }
  return rows;
}

void SortRows(std::vector<ListRow>& rows, int column, bool descending) {
  std::vector<FileRow> cells;
  cells.reserve(rows.size());
  for (const ListRow& row : rows) cells.push_back(row.cells);
  std::vector<ListRow> sorted;
  sorted.reserve(rows.size());
  for (const size_t r : FileRowOrder(cells, column, descending)) sorted.push_back(std::move(rows[r]));
  rows = std::move(sorted);
}

}  // namespace varnelko::win32
