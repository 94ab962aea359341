#pragma once
// The file list's rows as the window keeps them: the desktop layer's texts
// with the name on disk and the place in the listing, by which a memo finds
// its row after sorting.
#include <filesystem>
#include <vector>

#include "desktop/file_rows.h"

namespace varnelko::win32 {

struct ListRow {
  FileRow cells;               // UTF-8
  std::filesystem::path name;  // on disk, without folder
  size_t listed = 0;
};

// The files of `folder` under file-type filter `filter`, memos empty.
std::vector<ListRow> ListRows(const std::filesystem::path& folder, int filter, int size_width);

// The header-click sort, moving the rows whole.
void SortRows(std::vector<ListRow>& rows, int column, bool descending);

}  // namespace varnelko::win32
