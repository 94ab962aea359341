#include "document/cp932.h"

#include <gtest/gtest.h>

namespace varnelko {
namespace {

const std::string kFffd = "\xEF\xBF\xBD";

TEST(Cp932ToUtf8, DecodesJapaneseAndHalfWidthKatakana) {
  EXPECT_EQ(Cp932ToUtf8(""), "");
  EXPECT_EQ(Cp932ToUtf8("plain ASCII 123"), "plain ASCII 123");
  EXPECT_EQ(Cp932ToUtf8("\x95\xBD\x96\xCA\x90\x7D"), "平面図");
  EXPECT_EQ(Cp932ToUtf8("\x82\xA0\x83\x41"), "あア");
  EXPECT_EQ(Cp932ToUtf8("\xB1\xB2\xDF"), "ｱｲﾟ");  // half-width katakana are single bytes
  EXPECT_EQ(Cp932ToUtf8("\x81\x40"), "\xE3\x80\x80");  // ideographic space
  EXPECT_EQ(Cp932ToUtf8("\x87\x40"), "①");             // a code page 932 extension
  EXPECT_EQ(Cp932ToUtf8("A\r\nB"), "A\r\nB");
}

TEST(Cp932ToUtf8, UndecodableBytesBecomeReplacementAndDecodingContinues) {
  EXPECT_EQ(Cp932ToUtf8("\x80"), kFffd);
  EXPECT_EQ(Cp932ToUtf8("a\xA0" "b"), "a" + kFffd + "b");
  EXPECT_EQ(Cp932ToUtf8("\xFD\xFE\xFF"), kFffd + kFffd + kFffd);
  // A stray lead byte before a byte that cannot trail it: that byte is kept.
  EXPECT_EQ(Cp932ToUtf8("\x81" "0"), kFffd + "0");
  EXPECT_EQ(Cp932ToUtf8("\x81" "A"), "\xE3\x80\x81");  // 0x41 is a trail byte
  EXPECT_EQ(Cp932ToUtf8("\x82\x0A\x82\xA0"), kFffd + "\n" + "あ");
  // A lead byte cut off at the end.
  EXPECT_EQ(Cp932ToUtf8("\x95\xBD\x96"), "平" + kFffd);
  // An unassigned pair is one character, not two.
  EXPECT_EQ(Cp932ToUtf8("\x85\x40" "x"), kFffd + "x");
}

TEST(Cp932ToUtf8, LongTextCrossesConverterChunks) {
  std::string bytes, expected;
  for (int i = 0; i < 2000; ++i) {
    bytes += "\x90\x7D";
    expected += "図";
  }
  bytes += "\xFF";
  expected += kFffd;
  EXPECT_EQ(Cp932ToUtf8(bytes), expected);
}

TEST(Utf8ToCp932, EncodesAndReplacesWhatHasNoForm) {
  EXPECT_EQ(Utf8ToCp932("平面図"), "\x95\xBD\x96\xCA\x90\x7D");
  EXPECT_EQ(Utf8ToCp932("ｱ"), "\xB1");
  EXPECT_EQ(Utf8ToCp932("a😀b"), "a?b");
  EXPECT_EQ(Utf8ToCp932("a\xFF" "b"), "a?b");  // not UTF-8 at all
  EXPECT_EQ(Utf8ToCp932("\xE5\xB9"), "?");     // cut-off sequence, no stray trail bytes
  EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932("詳細図 ①")), "詳細図 ①");
}

TEST(IsUtf8, AcceptsWellFormedTextOnly) {
  EXPECT_TRUE(IsUtf8(""));
  EXPECT_TRUE(IsUtf8("plain.jww"));
  EXPECT_TRUE(IsUtf8("平面図😀"));
  EXPECT_FALSE(IsUtf8("\x95\xBD\x96\xCA"));  // 平面 in code page 932
  EXPECT_FALSE(IsUtf8("\xC0\xAF"));            // overlong "/"
  EXPECT_FALSE(IsUtf8("\xED\xA0\x80"));       // a surrogate
  EXPECT_FALSE(IsUtf8("\xE5\xB9"));            // cut off
  EXPECT_FALSE(IsUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
}

}  // namespace
}  // namespace varnelko
