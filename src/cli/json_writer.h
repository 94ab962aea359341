#pragma once
// A small JSON writer that appends to a string, for output that must be fast
// on large drawings: no streams, no per-value allocation. Commas and
// indentation follow from the nesting; the caller chooses which containers
// put each element on a line of its own.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace varnelko::cli {

class JsonWriter {
 public:
  explicit JsonWriter(std::string& out) : out_(out) {}

  void BeginObject(bool one_per_line = false) { Open('{', one_per_line); }
  void EndObject() { Close('}'); }
  void BeginArray(bool one_per_line = false) { Open('[', one_per_line); }
  void EndArray() { Close(']'); }

  // The name of the next member of the current object.
  void Key(std::string_view name);

  // `utf8` is escaped as JSON requires; it must already be UTF-8.
  void String(std::string_view utf8);
  void Int(int64_t value);
  // Shortest form that reads back to the same bits; NaN and infinities,
  // which JSON cannot hold as numbers, become "nan", "inf" and "-inf".
  void Double(double value);
  void Point(double x, double y);
  // A short array of numbers on one line.
  template <typename Range>
  void Ints(const Range& values) {
    BeginArray();
    for (auto v : values) Int(v);
    EndArray();
  }
  template <typename Range>
  void Doubles(const Range& values) {
    BeginArray();
    for (double v : values) Double(v);
    EndArray();
  }

  // A member of the current object: its name, then its value.
  void StringField(std::string_view name, std::string_view utf8) { Key(name), String(utf8); }
  void IntField(std::string_view name, int64_t value) { Key(name), Int(value); }
  void DoubleField(std::string_view name, double value) { Key(name), Double(value); }
  void PointField(std::string_view name, double x, double y) { Key(name), Point(x, y); }

 private:
  struct Level {
    bool one_per_line = false;
    bool empty = true;
  };
  void BeforeValue();
  void Open(char bracket, bool one_per_line);
  void Close(char bracket);
  void NewLine(size_t depth);

  std::string& out_;
  std::vector<Level> levels_;
  bool after_key_ = false;
};

// Appends `text` as a quoted JSON string.
void AppendJsonString(std::string& out, std::string_view utf8);

// Lowercase hexadecimal of every byte.
std::string HexBytes(std::string_view bytes);

}  // namespace varnelko::cli
