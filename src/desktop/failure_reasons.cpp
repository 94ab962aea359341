#include "desktop/failure_reasons.h"

#include <string_view>

namespace varnelko {

namespace {

struct Translation {
  std::string_view prefix;  // how the core's reason starts
  std::string_view japanese;
  bool keep_detail;  // the rest after ": " (the system's words) follows in brackets
};

// Longer prefixes first where one starts another.
constexpr Translation kTable[] = {
    {"truncated", "ファイルが途中で切れています", false},
    {"not a JWW drawing or JWS figure", "JWW 図面でも JWS 図形でもありません", false},
    {"not a regular file", "通常のファイルではありません", false},
    {"cannot open", "開けません", true},
    {"cannot read", "読み込めません", true},
    {"cannot write", "書き込めません", true},
    {"cannot load", "読み込めません", true},
    {"cannot keep the old output as", "前の出力をバックアップにできません", true},
    {"cannot put the new file in place", "新しいファイルを置けません", true},
    {"cannot rename the finished file", "新しいファイルを置けません", true},
    {"cannot convert", "変換できません", true},
    {"not converted:", "同じ名前の出力になるファイルが先にあるため変換していません", false},
};

constexpr std::string_view kOffset = " at offset ";

}  // namespace

std::string JapaneseReason(const std::string& reason) {
  std::string_view text = reason;
  std::string offset;
  if (const size_t at = text.rfind(kOffset); at != std::string_view::npos) {
    offset = std::string(text.substr(at + kOffset.size()));
    text = text.substr(0, at);
  }
  for (const Translation& t : kTable) {
    if (!text.starts_with(t.prefix)) continue;
    std::string out(t.japanese);
    const size_t colon = text.find(": ");
    if (t.keep_detail && colon != std::string_view::npos) {
      out += "（" + std::string(text.substr(colon + 2)) + "）";
    }
    if (!offset.empty()) out += "（オフセット " + offset + "）";
    return out;
  }
  return reason;
}

}  // namespace varnelko
