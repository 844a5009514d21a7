#include <gtest/gtest.h>

#include <array>

#include "card/ByteImage.h"
#include "platform/TextParse.h"

TEST(ByteImage, ReadsAndWritesLittleEndianAndNeverPastTheEnd) {
  std::array<uint8_t, 6> bytes{};
  ByteWriter w(bytes);
  w.u32(0, 0x44332211);
  w.u24(3, 0xCCBBAA);  // overlaps and runs one byte past the end: that byte is dropped
  w.u16(5, 0xFFEE);
  EXPECT_EQ(bytes, (std::array<uint8_t, 6>{0x11, 0x22, 0x33, 0xAA, 0xBB, 0xEE}));
  ByteView v(bytes.data(), bytes.size());
  EXPECT_EQ(v.u16(0), 0x2211);
  EXPECT_EQ(v.u24(3), 0xEEBBAAu);
  EXPECT_EQ(v.u32(4), 0x0000EEBBu);  // missing bytes read as 0
  EXPECT_EQ(v.u8(1000), 0);
  EXPECT_FALSE(v.has(5, 2));
  EXPECT_EQ(ByteView(nullptr, 10).size(), 0u);
}

TEST(TextParse, NumbersFollowTheFieldRulesWithoutOverflow) {
  EXPECT_EQ(text::ParseInteger(" -2147483648 ", INT32_MIN, INT32_MAX), INT32_MIN);
  EXPECT_EQ(text::ParseInteger("2147483648", INT32_MIN, INT32_MAX), std::nullopt);
  EXPECT_EQ(text::ParseInteger("99999999999999999999999", INT64_MIN, INT64_MAX), std::nullopt);
  EXPECT_EQ(text::ParseInteger("-9223372036854775808", INT64_MIN, INT64_MAX), INT64_MIN);
  EXPECT_EQ(text::ParseInteger("1 2", 0, 100), std::nullopt);
  EXPECT_EQ(text::ParseUnsigned("+4294967295", UINT32_MAX), 4294967295u);
  EXPECT_EQ(text::ParseUnsigned("-0", UINT32_MAX), std::nullopt);
  EXPECT_EQ(text::ParseUnsigned("49223372036854775809", UINT64_MAX), std::nullopt);  // beyond 64 bits
  EXPECT_EQ(text::ParseFloat("1e39"), 1e39);
  EXPECT_EQ(text::ParseFloat("inf"), std::nullopt);
  EXPECT_EQ(text::ParseFloat("20,5"), std::nullopt);

  EXPECT_EQ(text::ParseHex("0xffffffff"), 0xFFFFFFFFu);
  EXPECT_EQ(text::ParseHex("100000000"), std::nullopt);
  EXPECT_EQ(text::ParseHex("0x"), std::nullopt);
  EXPECT_EQ(text::HexOrZero("Zz"), 0u);
  EXPECT_EQ(text::FormatHex(0x1F, 4), "001F");
  EXPECT_EQ(text::FormatHex(0x12345, 4), "12345");
}
