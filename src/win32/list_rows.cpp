#include "win32/list_rows.h"

#include <algorithm>
#include <chrono>
#include <cwctype>
#include <filesystem>

#include "document/cp932.h"
#include "formats/memo_for_file.h"
#include "platform/wide_text.h"
#include "win32/control_ids.h"

namespace varnelko::win32 {

namespace {

std::wstring UpperExtension(const std::wstring& name) {
  const size_t dot = name.rfind(L'.');
  if (dot == std::wstring::npos) return {};
  std::wstring ext = name.substr(dot);
  CharUpperBuffW(ext.data(), static_cast<DWORD>(ext.size()));
  return ext;
}

// "yyyy/mm/dd hh:mm:ss" of the local time, seconds rounded down to even as
// the DOS date-time form keeps them.
std::wstring DosTimeText(const FILETIME& written) {
  FILETIME local;
  SYSTEMTIME time{};
  FileTimeToLocalFileTime(&written, &local);
  FileTimeToSystemTime(&local, &time);
  wchar_t text[32];
  swprintf(text, 32, L"%04u/%02u/%02u %02u:%02u:%02u", time.wYear, time.wMonth, time.wDay,
           time.wHour, time.wMinute, time.wSecond - time.wSecond % 2);
  return text;
}

std::wstring AttributeLetters(DWORD attributes) {
  std::wstring letters;
  if (attributes & FILE_ATTRIBUTE_ARCHIVE) letters += L"A ";
  if (attributes & FILE_ATTRIBUTE_READONLY) letters += L"R ";
  return letters;
}

bool Listed(const WIN32_FIND_DATAW& entry) {
  constexpr DWORD kLeftOut =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  return (entry.dwFileAttributes & kLeftOut) == 0;
}

std::vector<ListRow> ListRows(const Listing& listing) {
  std::vector<ListRow> rows;
  WIN32_FIND_DATAW entry;
  const std::wstring pattern = listing.folder + FileTypeMask(listing.filter);
  HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry,
                                 FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return rows;
  do {
    if (Listed(entry)) rows.push_back(MakeRow(entry, listing.size_width));
  } while (!listing.stop && FindNextFileW(find, &entry));
  FindClose(find);
  // Names in the order of their names, letter case aside.
  std::sort(rows.begin(), rows.end(), [](const ListRow& a, const ListRow& b) {
    return CompareStringOrdinal(a.cells[0].c_str(), -1, b.cells[0].c_str(), -1, TRUE) ==
           CSTR_LESS_THAN;
  });
  for (size_t i = 0; i < rows.size(); ++i) rows[i].listed = i;
  return rows;
}

}  // namespace

std::wstring SizeField(int64_t size, int width) {
  std::wstring digits = std::to_wstring(size);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), L' ');
  return digits;
}

int SizeFieldWidth(int column_width, int char_width) {
  if (char_width <= 0) return 3;
  return std::max(3, column_width / char_width);
}

const wchar_t* FileTypeMask(int filter_index) {
  switch (filter_index) {
    case 1: return L"*.jw?";
    case 2: return L"*.jww";
    case 3: return L"*.jws";
    default: return L"*.*";
  }
}

ListRow MakeRow(const WIN32_FIND_DATAW& entry, int size_width) {
  const int64_t size = (static_cast<int64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
  ListRow row;
  row.cells = {entry.cFileName, SizeField(size, size_width), UpperExtension(entry.cFileName),
               L"", DosTimeText(entry.ftLastWriteTime), AttributeLetters(entry.dwFileAttributes)};
  return row;
}

void SortRows(std::vector<ListRow>& rows, int column, bool descending) {
  std::vector<std::string> keys;
  keys.reserve(rows.size());
  for (const ListRow& row : rows) {
    std::wstring upper = row.cells[column];
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    keys.push_back(Utf8ToCp932(Utf8FromWide(upper)));
  }
  for (size_t r = 0; r + 1 < rows.size(); ++r) {
    size_t candidate = r;
    for (size_t s = r + 1; s < rows.size(); ++s) {
      const int comparison = keys[s].compare(keys[candidate]);
      if (descending ? comparison > 0 : comparison < 0) candidate = s;
    }
    if (candidate != r) {
      std::swap(rows[r], rows[candidate]);
      std::swap(keys[r], keys[candidate]);
    }
  }
}

void RunListing(Listing& listing, HWND window, uint64_t number) {
  std::vector<ListRow> rows = ListRows(listing);
  std::vector<std::wstring> names;
  for (const ListRow& row : rows) names.push_back(row.cells[kNameColumn]);
  {
    std::lock_guard lock(listing.mutex);
    listing.rows = std::move(rows);
  }
  PostMessageW(window, kRowsListed, number, 0);

  // Memos go over in batches a few times a second: one message per file
  // would flood the queue with thousands of rows.
  using Clock = std::chrono::steady_clock;
  auto last = Clock::now();
  for (size_t i = 0; i < names.size() && !listing.stop; ++i) {
    const std::string memo = MemoForFile(std::filesystem::path(listing.folder + names[i]));
    bool post = false;
    {
      std::lock_guard lock(listing.mutex);
      if (!memo.empty()) listing.memos.emplace_back(i, WideFromUtf8(Cp932ToUtf8(memo)));
      if (i + 1 == names.size()) listing.memos_done = true;
      post = listing.memos_done || Clock::now() - last > std::chrono::milliseconds(50);
    }
    if (post) {
      last = Clock::now();
      PostMessageW(window, kMemosRead, number, 0);
    }
  }
  if (names.empty()) {
    std::lock_guard lock(listing.mutex);
    listing.memos_done = true;
  }
  if (names.empty()) PostMessageW(window, kMemosRead, number, 0);
}

}  // namespace varnelko::win32
