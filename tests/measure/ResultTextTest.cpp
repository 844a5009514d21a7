#include <gtest/gtest.h>

#include "measure/BufferBuilder.h"
#include "measure/ResultText.h"

using namespace measure;
using measure::test::Buf;
using Lines = std::vector<std::string>;

namespace {

const std::string kBlankSlot = "             | ";  // 13 blanks

ActiveSetFlags sets(std::initializer_list<int> active) {
  ActiveSetFlags f{};
  for (int n : active) f.flag[n] = TRUE;
  return f;
}

Lines headed(const Buf& b) { return headedResultLines(b.data(), b.size()); }

}  // namespace

TEST(HeadedResults, RecordLineShowsPresentMarkedAndEmptySlots) {
  Buf b;
  b.gateRecord(-3, {{12, 0x8000, 400}, {345, 0xC000, 4095}, {999, 0x4000, 8}});
  EXPECT_EQ(headed(b), (Lines{"56 Bytes", "56 Bytes, Datentyp 0x40, Kennung -3",
                              "t=  12 v=100  | t= 345 v=1023 ^| " + kBlankSlot + kBlankSlot +
                                  kBlankSlot}));
}

TEST(HeadedResults, EndOfCycleIsNumberedWithinTheBuffer) {
  Buf b;
  b.gateRecord(1).u32(0xFFFFEFFF).gateRecord(2).u32(0xFFFFEFFF);
  Lines l = headed(b);
  ASSERT_EQ(l.size(), 7u);
  EXPECT_EQ(l[0], "120 Bytes");
  EXPECT_EQ(l[3], "Ende Prüfzyklus 1");
  EXPECT_EQ(l[4], "56 Bytes, Datentyp 0x40, Kennung 2");
  EXPECT_EQ(l[6], "Ende Prüfzyklus 2");
}

TEST(HeadedResults, OtherControlWordsAndRecordDataThatLooksLikeOne) {
  Buf b;
  b.gateRecord(1).u32(0xFFFFEFFD).gateRecord(1).u32(0xFFFFEFFE).gateRecord(1).u32(0xFFFF1234);
  Lines l = headed(b);
  ASSERT_EQ(l.size(), 10u);
  EXPECT_EQ(l[3], "Ende Prüfung");
  EXPECT_EQ(l[6], "Ende Prüfspur");
  EXPECT_EQ(l[9], "Steuerzeichen FFFF-1234");

  // Where no record ended, a control value is not looked for: its low byte 0xFF reads as
  // a time stamp prefix in front of the next record.
  Buf c;
  c.u32(0xFFFFEFFF).u32(9).gateRecord(3);
  Lines lc = headed(c);
  ASSERT_EQ(lc.size(), 3u);
  EXPECT_EQ(lc[1], "56 Bytes, Datentyp 0x40, Kennung 3 Zeit 9");
}

TEST(HeadedResults, TimeStampedRecordsAllDecoded) {
  Buf b;
  for (uint32_t t : {100u, 0u, 7u}) b.stamp(t).gateRecord(4);
  Lines l = headed(b);
  ASSERT_EQ(l.size(), 7u);
  EXPECT_EQ(l[0], "192 Bytes");
  EXPECT_EQ(l[1], "56 Bytes, Datentyp 0x40, Kennung 4 Zeit 100");
  EXPECT_EQ(l[3], "56 Bytes, Datentyp 0x40, Kennung 4 Zeit 0");
  EXPECT_EQ(l[5], "56 Bytes, Datentyp 0x40, Kennung 4 Zeit 7");

  // Twenty stamped records: all twenty are listed, the last one too.
  Buf many;
  for (uint32_t t = 1; t <= 20; ++t) many.stamp(t).gateRecord(3);
  l = headed(many);
  ASSERT_EQ(l.size(), 41u);
  EXPECT_EQ(l[39], "56 Bytes, Datentyp 0x40, Kennung 3 Zeit 20");
}

TEST(HeadedResults, LengthFieldIsShownNotUsedForStepping) {
  Buf b;
  b.header(0x40, 2000, 1).zeros(50).gateRecord(2);
  Lines l = headed(b);
  ASSERT_EQ(l.size(), 5u);
  EXPECT_EQ(l[1], "2000 Bytes, Datentyp 0x40, Kennung 1");
  EXPECT_EQ(l[3], "56 Bytes, Datentyp 0x40, Kennung 2");
}

TEST(PlainResults, SetsTakeTurnsInAscendingOrder) {
  Buf b;
  b.zeros(72);
  Lines l = plainResultLines(b.data(), b.size(), sets({3, 1, 7, 0}));
  std::string empty = "";
  for (int k = 0; k < 5; ++k) empty += "              | ";  // 14 blanks per absent gate
  EXPECT_EQ(l, (Lines{"72 Bytes", "Parametersatz 1", "   1: d=   0 | " + empty,
                      "Parametersatz 3", "   2: d=   0 | " + empty, "Parametersatz 1",
                      "   3: d=   0 | " + empty}));
}

TEST(PlainResults, RecordLineShowsDistanceAndGates) {
  Buf b;
  b.words({0x0001, 0x0005});
  b.words({17, 0x0020 | (5 << 6)});         // present, no marker
  b.words({0x0000, 0x0031 | (1023 << 6)});  // present, marker, t = 0x10000
  b.zeros(12);
  Lines l = plainResultLines(b.data(), b.size(), sets({2}));
  ASSERT_EQ(l.size(), 3u);
  EXPECT_EQ(l[2], "   1: d=327681 | t=  17 v=  5  | t=65536 v=1023 ^| " +
                      std::string("              | ") + "              | " + "              | ");
}

TEST(PlainResults, TrailingFragmentIsNotARecord) {
  Buf b;
  b.zeros(24 + 23);
  Lines l = plainResultLines(b.data(), b.size(), sets({1, 2}));
  EXPECT_EQ(l.size(), 3u);
  EXPECT_EQ(l[0], "47 Bytes");
}
