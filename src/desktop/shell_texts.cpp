#include "desktop/shell_texts.h"

#include "desktop/failure_reasons.h"
#include "platform/path_text.h"

namespace varnelko {

std::string GroupedNumber(int64_t n) {
  const std::string digits = std::to_string(n < 0 ? -static_cast<uint64_t>(n) : n);
  std::string text = n < 0 ? "-" : "";
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  return text;
}

std::string ListingText(const std::filesystem::path& folder) {
  return "フォルダ「" + PathToUtf8(folder) + "」を検索中(ESC:中断)";
}

std::string ListedText(size_t count, const std::filesystem::path& folder) {
  return std::to_string(count) + " Files  パス名「" + PathToUtf8(folder) + "」";
}

std::string NoProgramText(const std::filesystem::path& name) {
  return "「" + PathToUtf8(name) + "」を開くことのできるプログラムが見つかりません。";
}

std::string CannotShowText(const std::filesystem::path& file, const std::string& reason) {
  return "「" + PathToUtf8(file.filename()) + "」を表示できません。\n" + JapaneseReason(reason);
}

std::string ChangeCountsText(int64_t colors, int64_t styles) {
  return "線色 " + GroupedNumber(colors) + " / 線種 " + GroupedNumber(styles) + " を変更";
}

}  // namespace varnelko
