#pragma once
// The texts of one file-list row and the selection sort of the header click.
// Pure functions, so that the list's rules are tested without a window.
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

class QDateTime;

namespace varnelko {

constexpr int kFileColumns = 6;
using FileRow = std::array<QString, kFileColumns>;

// The size right-aligned by leading blanks in a field of `width` characters;
// a longer number is not cut.
QString SizeField(int64_t size, int width);

// Characters that fit into a column: its width divided by one character's
// width, never fewer than 3.
int SizeFieldWidth(int column_width, int char_width);

// "yyyy/mm/dd hh:mm:ss" with the seconds rounded down to even, as the DOS
// date-time form keeps them.
QString DosTimeText(const QDateTime& local_time);

// The extension from the last dot, dot included, upper-cased; empty when the
// name has no dot.
QString UpperExtension(const QString& name);

// "A " for the archive attribute (none on this platform), then "R " for a
// read-only file, i.e. one whose owner may not write it.
QString AttributeLetters(bool archive, bool read_only);

// The wildcard of file-type filter 0..3; any other index lists everything.
QString FileTypeMask(int filter_index);

// Name, size field, extension, memo, time and attributes of one file; the
// name is the one shown.
FileRow MakeFileRow(const QString& name, int64_t size, const QDateTime& modified, bool read_only,
                    int size_width, const QString& memo);

// Selection sort on column `column`, comparing the upper-cased texts byte by
// byte: the row indexes in their sorted order.
std::vector<size_t> FileRowOrder(const std::vector<FileRow>& rows, int column, bool descending);

// The same sort moving the rows whole.
void SortFileRows(std::vector<FileRow>& rows, int column, bool descending);

}  // namespace varnelko
