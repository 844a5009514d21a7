#include <gtest/gtest.h>

#include "measure/BufferBuilder.h"
#include "measure/DataListText.h"

using namespace measure;
using measure::test::Buf;
using Lines = std::vector<std::string>;

namespace {

Lines headed(const Buf& b, uint8_t rate = 0) {
  return dataListLines(b.data(), b.size(), true, false, rate);
}

}  // namespace

TEST(DataListPlain, EightBitLineShowsSignedByteInHex) {
  Buf b;
  b.u8(0x40).u8(0x80);
  Lines l = dataListLines(b.data(), b.size(), false, true, 3);
  ASSERT_EQ(l.size(), 3u);
  EXPECT_EQ(l[1], "   0.000µs    50.0% |    0     64 0x0040");
  EXPECT_EQ(l[2], "   0.100µs  -100.0% |    1   -128 0xFFFFFF80");
}

TEST(DataListHeaded, SixteenBitBlockShowsAdcCountAsValue) {
  Buf b;
  b.header(0x14, 12, -1).words({0, 0, 0x0080});
  Lines l = headed(b);
  EXPECT_EQ(l, (Lines{"12 Bytes", "Datentyp 0x14", "Kennung 65535",
                      "   0.000µs     0.0% |    0      0 (   0) 0x0000",
                      "   0.013µs     0.0% |    1      0 (   0) 0x0000",
                      "   0.025µs     0.4% |    2      2 (   2) 0x0080"}));
}

TEST(DataListHeaded, TrailingControlWordFollowsKennung) {
  Buf b;
  b.header(0x14, 8, 5).words({0x0040}).u32(0xFFFFEFFE);
  Lines l = headed(b);
  ASSERT_EQ(l.size(), 5u);
  EXPECT_EQ(l[2], "Kennung 5");
  EXPECT_EQ(l[3], "Ende Prüfspur");

  Buf u;
  u.header(0x14, 8, 5).words({0x0040}).u32(0x12345678);
  EXPECT_EQ(headed(u)[3], "Kennung 5, Unbekanntes Steuerzeichen");

  // An odd block length rounds up to whole words before the comparison.
  Buf odd;
  odd.header(0x14, 7, 5).u8(1).u8(0);
  EXPECT_EQ(headed(odd).size(), 3u + 0u);
}

TEST(DataListHeaded, TimeStampLineAndControlWordBehindThePrefix) {
  Buf b;
  b.stamp(4711).header(0x60, 8, 2).words({0x0100}).u32(0xFFFFEFFD);
  Lines l = headed(b);
  ASSERT_EQ(l.size(), 6u);
  EXPECT_EQ(l[0], "Zeitpunkt 4711:");
  EXPECT_EQ(l[1], "8 Bytes");
  EXPECT_EQ(l[4], "Ende Prüfung");
  EXPECT_EQ(l[5], "   0.000µs     0.8% |    0      4 (   4) 0x0100");

  Buf plain;  // without a control word the prefix alone must not look like one
  plain.stamp(1).header(0x60, 8, 2).words({0x0100});
  EXPECT_EQ(headed(plain).size(), 5u);
}

TEST(DataListHeaded, PackedBlockIsUnpacked) {
  Buf b;
  b.header(0x10, 12, 1).words({0x0ABC, 0x3DEF, 0x1234});
  Lines l = headed(b);
  ASSERT_EQ(l.size(), 7u);
  EXPECT_EQ(l[3], "   0.000µs   -65.8% |    0   -337 (-338) 0xABC0");
  EXPECT_EQ(l[6], "   0.038µs    14.2% |    3     72 (  72) 0x1230");
}

TEST(DataListHeaded, SamplesStopAtTheEndOfTheData) {
  Buf b;
  b.header(0x14, 0x20000, 1).words({1, 2, 3});
  EXPECT_EQ(headed(b).size(), 3u + 3u) << "header lines and the three samples present";
}
