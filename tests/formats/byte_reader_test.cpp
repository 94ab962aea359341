#include <gtest/gtest.h>

#include "formats/byte_reader.h"
#include "formats/byte_writer.h"
#include "formats/cstring.h"

namespace varnelko {
namespace {

TEST(ByteReader, ReadsLittleEndianAndLatchesTheFirstFailure) {
  const std::string bytes("\x01\x02\x03\x04\x05", 5);
  ByteReader in(bytes);
  EXPECT_EQ(in.U16(), 0x0201);
  EXPECT_EQ(in.I32(), 0);  // only three bytes left
  EXPECT_FALSE(in.ok());
  EXPECT_EQ(in.error().offset, 2u);
  EXPECT_NE(in.error().what.find("truncated"), std::string::npos);
  EXPECT_EQ(in.U8(), 0);  // later reads fail quietly
  EXPECT_EQ(in.error().offset, 2u);
}

TEST(ByteReader, CanHoldRefusesCountsTheRestCannotHold) {
  const std::string ten(10, '\0'), four(4, '\0');
  ByteReader in(ten);
  EXPECT_TRUE(in.CanHold(5, 2, "list"));
  EXPECT_FALSE(in.CanHold(6, 2, "list"));
  EXPECT_FALSE(in.ok());
  ByteReader huge(four);
  EXPECT_FALSE(huge.CanHold(UINT64_MAX, 1, "list"));
}

TEST(CString, LengthFormsAround254And255) {
  for (size_t n : {0u, 1u, 254u, 255u, 300u, 65535u}) {
    ByteWriter out;
    ASSERT_TRUE(WriteCString(out, std::string(n, 'x')));
    EXPECT_EQ(out.size(), n + (n < 255 ? 1 : 3)) << n;
    ByteReader in(out.data());
    EXPECT_EQ(ReadCString(in).size(), n);
    EXPECT_TRUE(in.ok());
    EXPECT_EQ(in.remaining(), 0u);
  }
  ByteWriter out;
  ASSERT_TRUE(WriteCString(out, std::string(300, 'y')));
  EXPECT_EQ(out.data().substr(0, 3), std::string("\xFF\x2C\x01", 3));
}

TEST(CString, TooLongTextIsRefusedAndNothingIsWritten) {
  ByteWriter out;
  FormatError error;
  EXPECT_FALSE(WriteCString(out, std::string(65536, 'x'), &error));
  EXPECT_EQ(out.size(), 0u);
  EXPECT_FALSE(error.what.empty());
}

TEST(CString, TruncatedBodyFails) {
  const std::string cut("\x05" "abc", 4);
  ByteReader in(cut);
  ReadCString(in);
  EXPECT_FALSE(in.ok());
}

}  // namespace
}  // namespace varnelko
