#include "cli/json_writer.h"

#include <charconv>
#include <cmath>

namespace varnelko::cli {

void AppendJsonString(std::string& out, std::string_view utf8) {
  static constexpr char kHex[] = "0123456789abcdef";
  out.push_back('"');
  size_t plain_from = 0;
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c >= 0x20 && c != '"' && c != '\\') continue;
    out.append(utf8.substr(plain_from, i - plain_from));
    plain_from = i + 1;
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        out += "\\u00";
        out.push_back(kHex[c >> 4]);
        out.push_back(kHex[c & 15]);
    }
  }
  out.append(utf8.substr(plain_from));
  out.push_back('"');
}

std::string HexBytes(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    hex.push_back(kHex[b >> 4]);
    hex.push_back(kHex[b & 15]);
  }
  return hex;
}

void JsonWriter::NewLine(size_t depth) {
  out_.push_back('\n');
  out_.append(depth * 2, ' ');
}

void JsonWriter::BeforeValue() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (levels_.empty()) return;
  Level& level = levels_.back();
  if (!level.empty) out_.push_back(',');
  if (level.one_per_line) NewLine(levels_.size());
  level.empty = false;
}

void JsonWriter::Key(std::string_view name) {
  BeforeValue();
  AppendJsonString(out_, name);
  out_.push_back(':');
  after_key_ = true;
}

void JsonWriter::Open(char bracket, bool one_per_line) {
  BeforeValue();
  out_.push_back(bracket);
  levels_.push_back({one_per_line, true});
}

void JsonWriter::Close(char bracket) {
  const Level level = levels_.back();
  levels_.pop_back();
  if (level.one_per_line && !level.empty) NewLine(levels_.size());
  out_.push_back(bracket);
  if (levels_.empty()) out_.push_back('\n');
}

void JsonWriter::String(std::string_view utf8) {
  BeforeValue();
  AppendJsonString(out_, utf8);
}

void JsonWriter::Int(int64_t value) {
  BeforeValue();
  char buf[24];
  const auto result = std::to_chars(buf, buf + sizeof buf, value);
  out_.append(buf, result.ptr);
}

void JsonWriter::Double(double value) {
  if (std::isnan(value)) return String("nan");
  if (std::isinf(value)) return String(value > 0 ? "inf" : "-inf");
  BeforeValue();
  char buf[32];
  const auto result = std::to_chars(buf, buf + sizeof buf, value);
  out_.append(buf, result.ptr);
}

void JsonWriter::Point(double x, double y) {
  BeginArray();
  Double(x);
  Double(y);
  EndArray();
}

}  // namespace varnelko::cli
