#include <gtest/gtest.h>

#include <memory>

#include "formats/jww/jww_file.h"
#include "formats/legacy/jwc.h"
#include "formats/legacy/jwk.h"
#include "formats/memo_for_file.h"
#include "support/document_builder.h"
#include "support/temp_dir.h"

namespace varnelko {
namespace {

using test::TempDir;

const std::string kJwcSignature = "jw_cad(c)data.......";

// A legacy header: signature area, two memo fields, the rest of the lines.
std::string LegacyBytes(size_t size, std::string_view signature, std::string_view memo1,
                        std::string_view memo2) {
  std::string bytes(size, ',');
  bytes.replace(0, signature.size(), signature);
  std::string f1(32, ' '), f2(32, ' ');
  f1.replace(0, memo1.size(), memo1);
  f2.replace(0, memo2.size(), memo2);
  if (size >= 104) {
    bytes.replace(40, 32, f1);
    bytes.replace(72, 32, f2);
  }
  return bytes;
}

TEST(JwcProbe, SignatureIsExactAndCaseSensitive) {
  TempDir dir;
  EXPECT_TRUE(IsJwcFile(dir.Write("a.jwc", kJwcSignature)));
  EXPECT_FALSE(IsJwcFile(dir.Write("b.jwc", "JW_CAD(C)DATA.......")));
  EXPECT_FALSE(IsJwcFile(dir.Write("c.jwc", kJwcSignature.substr(0, 19))));
  EXPECT_FALSE(IsJwcFile(dir.Write("d.jwc", std::string("jw_cad(c)data......\0", 20))));
  EXPECT_FALSE(IsJwcFile(dir / "missing.jwc"));
}

TEST(JwcHeader, ReadsFourLinesAndTheMemoFields) {
  TempDir dir;
  auto path = dir.Write("a.jwc", LegacyBytes(900, kJwcSignature, "first", "second"));
  JwcHeader h;
  ASSERT_TRUE(ReadJwcHeader(path, h));
  EXPECT_EQ(h.lines[3].size(), 200u);
  EXPECT_EQ(h.signature.substr(0, 20), kJwcSignature);
  EXPECT_EQ(h.memo1.substr(0, 5), "first");
  EXPECT_EQ(h.memo2.size(), 32u);
  // 799 bytes are too few; the store is left empty.
  EXPECT_FALSE(ReadJwcHeader(dir.Write("b.jwc", LegacyBytes(799, kJwcSignature, "x", "y")), h));
  EXPECT_TRUE(h.memo1.empty());
}

TEST(JwkHeader, FourHundredBytesAreEnough) {
  TempDir dir;
  JwkHeader h;
  EXPECT_FALSE(ReadJwkHeader(dir.Write("a.jwk", LegacyBytes(399, "", "m1", "m2")), h));
  ASSERT_TRUE(ReadJwkHeader(dir.Write("b.jwk", LegacyBytes(400, "", "m1", "m2")), h));
  EXPECT_EQ(h.memo1.substr(0, 2), "m1");
  EXPECT_EQ(h.lines[1].size(), 200u);
}

TEST(MemoForFile, ByExtension) {
  TempDir dir;
  const std::string sjis = "\x90\x7D\x96\xCA";  // two double-byte characters
  EXPECT_EQ(MemoForFile(dir.Write("a.JWK", LegacyBytes(400, "", "ab\tc", sjis))),
            "abc" + std::string(28, ' ') + " " + sjis + std::string(28, ' '));
  EXPECT_EQ(MemoForFile(dir.Write("short.jwk", LegacyBytes(399, "", "ab", "c"))), "");
  EXPECT_EQ(MemoForFile(dir.Write("a.jwc", LegacyBytes(800, "no signature", "m", ""))).substr(0, 2),
            "m ");
  // Zero-filled memo fields leave the joining blank only.
  std::string zeros = LegacyBytes(800, kJwcSignature, "", "");
  std::fill(zeros.begin() + 40, zeros.begin() + 104, '\0');
  EXPECT_EQ(MemoForFile(dir.Write("z.jwc", zeros)), " ");
  EXPECT_EQ(MemoForFile(dir.Write("fig.jws", "JwsData")), "");
  EXPECT_EQ(MemoForFile(dir.Write("plain.txt", LegacyBytes(800, kJwcSignature, "m", "n"))), "");
  EXPECT_EQ(MemoForFile(dir / "missing.jwk"), "");
}

TEST(MemoForFile, BackupsHoldEitherFormat) {
  TempDir dir;
  std::string jwc = LegacyBytes(800, kJwcSignature, "old", "memo");
  EXPECT_EQ(MemoForFile(dir.Write("a.BK1", jwc)).substr(0, 3), "old");
  EXPECT_EQ(MemoForFile(dir.Write("a.bak", jwc)).substr(0, 3), "old");
  // A 500-byte backup with the JWC signature passes the probe but not the
  // header reader: no memo, and no attempt as a JWW drawing.
  EXPECT_EQ(MemoForFile(dir.Write("b.BAK", jwc.substr(0, 500))), "");
  EXPECT_EQ(MemoForFile(dir.Write("c.BK2", "neither format")), "");

  auto doc = std::make_unique<JwwDocument>(test::BuildJwwDocument({.version = 600}));
  doc->header.memo = "drawing\x01memo";
  auto jww = dir / "d.BKX";
  ASSERT_TRUE(WriteJwwFile(jww, 600, *doc));
  EXPECT_EQ(MemoForFile(jww), "drawingmemo");
  std::filesystem::copy_file(jww, dir / "d.JW$");
  EXPECT_EQ(MemoForFile(dir / "d.JW$"), "drawingmemo");
}

}  // namespace
}  // namespace varnelko
