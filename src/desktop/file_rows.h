#pragma once
// The texts of one file-list row and the selection sort of the header click.
// Pure functions, so that the list's rules are tested without a window.
// Texts are UTF-8.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/folder_entry.h"

namespace varnelko {

constexpr int kFileColumns = 6;
constexpr int kNameColumn = 0;
constexpr int kSizeColumn = 1;
constexpr int kMemoColumn = 3;
constexpr int kAttributeColumn = 5;
using FileRow = std::array<std::string, kFileColumns>;

// The header texts of the six columns.
const FileRow& FileColumnHeaders();

// The size right-aligned by leading blanks in a field of `width` characters;
// a longer number is not cut.
std::string SizeField(int64_t size, int width);

// Characters that fit into a column: its width divided by one character's
// width, never fewer than 3.
int SizeFieldWidth(int column_width, int char_width);

// "yyyy/mm/dd hh:mm:ss" with the seconds rounded down to even, as the DOS
// date-time form keeps them.
std::string DosTimeText(const LocalTime& time);

// `utf8` with its letters in capitals: ASCII, Latin-1, Greek, Cyrillic and
// the full-width Latin letters, which is every letter code page 932 has in
// both cases.
std::string UpperCased(std::string_view utf8);

// The extension from the last dot, dot included, upper-cased; empty when the
// name has no dot.
std::string UpperExtension(const std::string& name);

// "A " for the archive attribute (none on this platform), then "R " for a
// read-only file, i.e. one whose owner may not write it.
std::string AttributeLetters(bool archive, bool read_only);

// The wildcard of file-type filter 0..3; any other index lists everything.
std::string FileTypeMask(int filter_index);

// Name, size field, extension, memo, time and attributes of one file; the
// name is the one shown.
FileRow MakeFileRow(const std::string& name, int64_t size, const LocalTime& modified,
                    bool read_only, int size_width, const std::string& memo);

// Selection sort on column `column`, comparing the upper-cased texts byte by
// byte: the row indexes in their sorted order.
std::vector<size_t> FileRowOrder(const std::vector<FileRow>& rows, int column, bool descending);

// The same sort moving the rows whole.
void SortFileRows(std::vector<FileRow>& rows, int column, bool descending);

}  // namespace varnelko
