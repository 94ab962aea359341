#include "document/text_helpers.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <random>

namespace varnelko {
namespace {

TEST(StrToIntLenient, DecimalWithBlanksAndSigns) {
  EXPECT_EQ(StrToIntLenient(""), 0);
  EXPECT_EQ(StrToIntLenient(" 42"), 42);
  EXPECT_EQ(StrToIntLenient("   42"), 42);
  EXPECT_EQ(StrToIntLenient("42 "), 0);
  EXPECT_EQ(StrToIntLenient("-7"), -7);
  EXPECT_EQ(StrToIntLenient("+7"), 7);
  EXPECT_EQ(StrToIntLenient("007"), 7);
  EXPECT_EQ(StrToIntLenient("12ab"), 0);
  EXPECT_EQ(StrToIntLenient("-"), 0);
  EXPECT_EQ(StrToIntLenient("   "), 0);
  EXPECT_EQ(StrToIntLenient("\t5"), 0);  // only blanks are skipped
  EXPECT_EQ(StrToIntLenient("1 2"), 0);
}

TEST(StrToIntLenient, DecimalRangeIsSigned32Bit) {
  EXPECT_EQ(StrToIntLenient("2147483647"), INT32_MAX);
  EXPECT_EQ(StrToIntLenient("2147483648"), 0);
  EXPECT_EQ(StrToIntLenient("-2147483648"), INT32_MIN);
  EXPECT_EQ(StrToIntLenient("-2147483649"), 0);
  EXPECT_EQ(StrToIntLenient("99999999999999999999999"), 0);
}

TEST(StrToIntLenient, HexadecimalPrefixesAndBitPatterns) {
  EXPECT_EQ(StrToIntLenient("$1A"), 26);
  EXPECT_EQ(StrToIntLenient("$1a"), 26);
  EXPECT_EQ(StrToIntLenient("x1A"), 26);
  EXPECT_EQ(StrToIntLenient("X1A"), 26);
  EXPECT_EQ(StrToIntLenient("0x1A"), 26);
  EXPECT_EQ(StrToIntLenient("0X1a"), 26);
  EXPECT_EQ(StrToIntLenient(" $10"), 16);
  EXPECT_EQ(StrToIntLenient("-$10"), 16);  // the sign does not apply to hex
  EXPECT_EQ(StrToIntLenient("$FFFFFFFF"), -1);
  EXPECT_EQ(StrToIntLenient("$80000000"), INT32_MIN);
  EXPECT_EQ(StrToIntLenient("$000000001"), 1);
  EXPECT_EQ(StrToIntLenient("$100000000"), 0);
  EXPECT_EQ(StrToIntLenient("$"), 0);
  EXPECT_EQ(StrToIntLenient("0x"), 0);
  EXPECT_EQ(StrToIntLenient("$1G"), 0);
}

TEST(StripControlChars, DropsControlBytesButKeepsDoubleByteCharacters) {
  EXPECT_EQ(StripControlChars(""), "");
  EXPECT_EQ(StripControlChars("AB\r\nC"), "ABC");
  EXPECT_EQ(StripControlChars("\x81\x0A"), "\x81\x0A");  // trail byte not examined
  EXPECT_EQ(StripControlChars("A\x81"), "A\x81");        // lone lead byte at the end
  EXPECT_EQ(StripControlChars("\x7F\xA0\xDF\xFE\xFF"), "\x7F\xA0\xDF\xFE\xFF");
  EXPECT_EQ(StripControlChars(std::string("a\0b", 3)), "ab");
  EXPECT_EQ(StripControlChars("^m"), "^m");  // only the writer's cleaner drops it
  // "図面" in code page 932 with a tab between.
  EXPECT_EQ(StripControlChars("\x90\x7D\t\x96\xCA"), "\x90\x7D\x96\xCA");
}

TEST(CleanTextForWrite, DropsCaretMPairsAndControlBytes) {
  EXPECT_EQ(CleanTextForWrite(""), "");
  EXPECT_EQ(CleanTextForWrite("a^mb"), "ab");
  EXPECT_EQ(CleanTextForWrite("\r\n"), " ");
  EXPECT_EQ(CleanTextForWrite("^m^m\t"), " ");
  EXPECT_EQ(CleanTextForWrite("^"), "^");
  EXPECT_EQ(CleanTextForWrite("a^"), "a^");
  EXPECT_EQ(CleanTextForWrite("^M"), "^M");
  EXPECT_EQ(CleanTextForWrite("^^mx"), "^x");
  EXPECT_EQ(CleanTextForWrite("plain text"), "plain text");
}

TEST(CleanTextForWrite, CaretAsTrailByteDoesNotStartAPair) {
  // 0x81 0x5E is one double-byte character; the "m" after it is a letter.
  EXPECT_EQ(CleanTextForWrite("\x81^m"), "\x81^m");
  EXPECT_EQ(CleanTextForWrite("\x81^m^m"), "\x81^m");
  // A lead byte just before the end keeps its partner even when it is a control byte.
  EXPECT_EQ(CleanTextForWrite("\xE0\x01"), "\xE0\x01");
}

TEST(CleanTextForWrite, NeedsCleaningTellsExactlyWhenTheTextChanges) {
  for (std::string_view text : {"", "plain", "a^mb", "\r\n", "\x81^m", "\x81^m^m", "\xE0\x01",
                                "^", "a^", "x\x81", "\x90\x7D\t"}) {
    EXPECT_EQ(TextNeedsCleaning(text), CleanTextForWrite(text) != text) << text;
  }
}

// The cleaners look at eight bytes at once and place a droppable byte in its
// character by looking back; a plain forward walk over random texts made of
// the bytes that matter (lead bytes, control bytes, "^", "m") must agree.
TEST(CleanTextForWrite, AgreesWithAForwardWalkOnRandomTexts) {
  auto walk = [](std::string_view text, bool drop_caret_m) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
      const auto b = static_cast<uint8_t>(text[i]);
      if ((b >= 0x80 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFD)) {
        out += text.substr(i, 2);
        i += 2;
      } else if (drop_caret_m && text.substr(i, 2) == "^m") {
        i += 2;
      } else {
        if (b >= 0x20) out += static_cast<char>(b);
        ++i;
      }
    }
    return out;
  };
  const char alphabet[] = {'\x81', '\x9F', '\xE0', '\xFD', '\xA0', '^', 'm', 'a', '\t', '\0', '\x40'};
  std::mt19937 random(8);
  for (int n = 0; n < 20000; ++n) {
    std::string text(random() % 40, ' ');
    for (char& c : text) c = alphabet[random() % sizeof alphabet];
    const std::string written = walk(text, true);
    EXPECT_EQ(CleanTextForWrite(text), written.empty() && !text.empty() ? " " : written);
    EXPECT_EQ(TextNeedsCleaning(text), written != text);
    EXPECT_EQ(StripControlChars(text), walk(text, false));
  }
}

TEST(CopyStrToBuf, CopiesCountBytesWithoutTerminator) {
  std::array<uint8_t, 8> buf;
  buf.fill('.');
  CopyStrToBuf(buf, "abcdefg", -5);
  EXPECT_EQ(std::string(buf.begin(), buf.end()), "abcde...");

  buf.fill('.');
  CopyStrToBuf(buf, "ab", 6);
  EXPECT_EQ(std::string(buf.begin(), buf.end()), "ab......");

  buf.fill('.');
  CopyStrToBuf(buf, "abc", 0);
  EXPECT_EQ(std::string(buf.begin(), buf.end()), "........");

  buf.fill('.');
  CopyStrToBuf(buf, "abc", INT32_MIN);  // magnitude does not overflow
  EXPECT_EQ(std::string(buf.begin(), buf.end()), "abc.....");
}

TEST(CopyStrToBuf, PastTheEndRaisesAfterFillingTheBuffer) {
  std::array<uint8_t, 4> buf{};
  EXPECT_THROW(CopyStrToBuf(buf, "abcdefgh", 6), RangeError);
  EXPECT_EQ(std::string(buf.begin(), buf.end()), "abcd");
  EXPECT_NO_THROW(CopyStrToBuf(buf, "wxyz", 4));
  EXPECT_THROW(CopyStrToBuf(std::span<uint8_t>(), "a", 1), RangeError);
}

TEST(FillBuf, FillsUpToCountAndRaisesPastTheEnd) {
  std::array<uint8_t, 4> buf{};
  FillBuf(buf, '.', 3);
  EXPECT_EQ(std::string(buf.begin(), buf.end()), std::string("...\0", 4));
  FillBuf(buf, 'x', 0);
  FillBuf(buf, 'x', -3);
  EXPECT_EQ(std::string(buf.begin(), buf.end()), std::string("...\0", 4));
  EXPECT_THROW(FillBuf(buf, 'z', 5), RangeError);
  EXPECT_EQ(std::string(buf.begin(), buf.end()), "zzzz");
}

}  // namespace
}  // namespace varnelko
