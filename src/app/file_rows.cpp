#include "app/file_rows.h"

#include <QDateTime>
#include <utility>

#include "document/cp932.h"

namespace varnelko {

QString SizeField(int64_t size, int width) {
  return QString::number(size).rightJustified(width, QLatin1Char(' '), false);
}

int SizeFieldWidth(int column_width, int char_width) {
  if (char_width <= 0) return 3;
  return std::max(3, column_width / char_width);
}

QString DosTimeText(const QDateTime& local_time) {
  const QTime time = local_time.time();
  const QTime even(time.hour(), time.minute(), time.second() - time.second() % 2);
  return local_time.date().toString(QStringLiteral("yyyy/MM/dd")) + QLatin1Char(' ') +
         even.toString(QStringLiteral("HH:mm:ss"));
}

QString UpperExtension(const QString& name) {
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? QString() : name.mid(dot).toUpper();
}

QString AttributeLetters(bool archive, bool read_only) {
  QString letters;
  if (archive) letters += QStringLiteral("A ");
  if (read_only) letters += QStringLiteral("R ");
  return letters;
}

QString FileTypeMask(int filter_index) {
  switch (filter_index) {
    case 1: return QStringLiteral("*.jw?");
    case 2: return QStringLiteral("*.jww");
    case 3: return QStringLiteral("*.jws");
    default: return QStringLiteral("*");
  }
}

FileRow MakeFileRow(const QString& name, int64_t size, const QDateTime& modified, bool read_only,
                    int size_width, const QString& memo) {
  return {name,
          SizeField(size, size_width),
          UpperExtension(name),
          memo,
          DosTimeText(modified.toLocalTime()),
          AttributeLetters(false, read_only)};
}

std::vector<size_t> FileRowOrder(const std::vector<FileRow>& rows, int column, bool descending) {
  // The keys are upper-cased once; the indexes move with their keys. They are
  // compared as code page 932 bytes, the order Japanese users know from
  // their drawings' names and memos (kanji by reading), not as UTF-8.
  std::vector<std::string> keys;
  keys.reserve(rows.size());
  for (const FileRow& row : rows) {
    keys.push_back(Utf8ToCp932(row[column].toUpper().toStdString()));
  }

  std::vector<size_t> order(rows.size());
  for (size_t r = 0; r < order.size(); ++r) order[r] = r;
  for (size_t r = 0; r + 1 < rows.size(); ++r) {
    size_t candidate = r;
    for (size_t s = r + 1; s < rows.size(); ++s) {
      const int comparison = keys[s].compare(keys[candidate]);
      if (descending ? comparison > 0 : comparison < 0) candidate = s;
    }
    if (candidate != r) {
      std::swap(order[r], order[candidate]);
      std::swap(keys[r], keys[candidate]);
    }
  }
  return order;
}

void SortFileRows(std::vector<FileRow>& rows, int column, bool descending) {
  std::vector<FileRow> sorted;
  sorted.reserve(rows.size());
  for (const size_t r : FileRowOrder(rows, column, descending)) sorted.push_back(rows[r]);
  rows = std::move(sorted);
}

}  // namespace varnelko
