#pragma once
// The file list's rows and the worker that lists a folder: the rows come at
// once, their memos follow in row order, and both reach the window by
// posted messages, so that the window never waits for the disk.
#include <windows.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace varnelko::win32 {

constexpr int kFileColumns = 6;
constexpr int kNameColumn = 0, kSizeColumn = 1, kMemoColumn = 3, kAttributeColumn = 5;

struct ListRow {
  std::array<std::wstring, kFileColumns> cells;
  size_t listed = 0;  // place in the listing; its memo finds the row by it
};

// The size right-aligned by leading blanks in a field of `width` characters;
// a longer number is not cut.
std::wstring SizeField(int64_t size, int width);
// Characters that fit into a column, never fewer than 3.
int SizeFieldWidth(int column_width, int char_width);
// The wildcard of file-type filter 0..3; any other index lists everything.
const wchar_t* FileTypeMask(int filter_index);
// Name, size field, extension, empty memo, time and attribute letters.
ListRow MakeRow(const WIN32_FIND_DATAW& entry, int size_width);

// The header-click sort: selection sort on the upper-cased texts of one
// column, compared as code page 932 bytes (the order Japanese users know).
void SortRows(std::vector<ListRow>& rows, int column, bool descending);

// One listing shared by the window and its worker.
struct Listing {
  std::wstring folder;  // ends in "\"
  int filter = 0;
  int size_width = 8;
  std::atomic<bool> stop{false};

  std::mutex mutex;                    // guards what follows
  std::vector<ListRow> rows;           // handed over once, with kRowsListed
  std::vector<std::pair<size_t, std::wstring>> memos;  // handed over in batches
  bool memos_done = false;
};

// Lists the folder, posts kRowsListed, then reads the memos and posts
// kMemosRead now and then; `number` rides along as wParam.
void RunListing(Listing& listing, HWND window, uint64_t number);

}  // namespace varnelko::win32
