#include "desktop/file_rows.h"

#include <cstdio>
#include <utility>

#include "document/cp932.h"

namespace varnelko {

namespace {

// The capital of code point `c`, for the letters UpperCased names.
char32_t UpperOf(char32_t c) {
  if ((c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;  // Greek
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;                // Cyrillic
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  if (c >= 0xFF41 && c <= 0xFF5A) return c - 0x20;  // full-width Latin
  return c;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

const FileRow& FileColumnHeaders() {
  static const FileRow headers = {"ファイル名", "Bytes", "種類", "図面メモ", "更新日時", "属性"};
  return headers;
}

std::string SizeField(int64_t size, int width) {
  std::string digits = std::to_string(size);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), ' ');
  return digits;
}

int SizeFieldWidth(int column_width, int char_width) {
  if (char_width <= 0) return 3;
  return std::max(3, column_width / char_width);
}

std::string DosTimeText(const LocalTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second - t.second % 2);
  return text;
}

std::string UpperCased(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (length == 1 || i + length > utf8.size()) {
      out += lead < 0x80 ? static_cast<char>(UpperOf(lead)) : utf8[i];
      ++i;
      continue;
    }
    char32_t c = lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) c = c << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    AppendUtf8(out, UpperOf(c));
    i += length;
  }
  return out;
}

std::string UpperExtension(const std::string& name) {
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : UpperCased(name.substr(dot));
}

std::string AttributeLetters(bool archive, bool read_only) {
  std::string letters;
  if (archive) letters += "A ";
  if (read_only) letters += "R ";
  return letters;
}

std::string FileTypeMask(int filter_index) {
  switch (filter_index) {
    case 1: return "*.jw?";
    case 2: return "*.jww";
    case 3: return "*.jws";
    default: return "*";
  }
}

FileRow MakeFileRow(const std::string& name, int64_t size, const LocalTime& modified,
                    bool read_only, int size_width, const std::string& memo) {
  return {name,   SizeField(size, size_width),         UpperExtension(name),
          memo,   DosTimeText(modified),               AttributeLetters(false, read_only)};
}

std::vector<size_t> FileRowOrder(const std::vector<FileRow>& rows, int column, bool descending) {
  // The keys are upper-cased once; the indexes move with their keys. They are
  // compared as code page 932 bytes, the order Japanese users know from
  // their drawings' names and memos (kanji by reading), not as UTF-8.
  std::vector<std::string> keys;
  keys.reserve(rows.size());
  for (const FileRow& row : rows) keys.push_back(Utf8ToCp932(UpperCased(row[column])));

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
