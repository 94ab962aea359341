#include <gtest/gtest.h>

#include "desktop/failure_reasons.h"
#include "desktop/shell_texts.h"

namespace varnelko::test {
namespace {

TEST(FailureReasonsTest, TheCoresReasonsReadInJapanese) {
  struct Case {
    const char* english;
    const char* japanese;
  };
  const Case cases[] = {
      {"truncated: 8 bytes needed, 3 left at offset 120", "ファイルが途中で切れています（オフセット 120）"},
      {"not a JWW drawing or JWS figure (no \"JwwData.\" or \"JwsData\" signature)",
       "JWW 図面でも JWS 図形でもありません"},
      {"cannot open: Permission denied", "開けません（Permission denied）"},
      {"cannot read: Input/output error", "読み込めません（Input/output error）"},
      {"cannot write: No space left on device", "書き込めません（No space left on device）"},
      {"not a regular file (a FIFO)", "通常のファイルではありません"},
      {"cannot keep the old output as a.BAK: Permission denied",
       "前の出力をバックアップにできません（Permission denied）"},
      {"not converted: /d/a.jww, given earlier in this run, has the same output name",
       "同じ名前の出力になるファイルが先にあるため変換していません"},
      {"cannot convert: bad_alloc", "変換できません（bad_alloc）"},
      {"something new", "something new"},  // unknown: left as the core says it
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(JapaneseReason(c.english), c.japanese) << c.english;
  // The preview of a file it cannot read says why in the same words.
  EXPECT_EQ(CannotShowText("/d/a.jww", cases[0].english),
            std::string("「a.jww」を表示できません。\n") + cases[0].japanese);
}

}  // namespace
}  // namespace varnelko::test
