#include <gtest/gtest.h>

#include "measure/BlockResultCheck.h"
#include "measure/BufferBuilder.h"

using namespace measure;
using measure::test::Buf;

namespace {

constexpr uint16_t kPresent = 0x8000;

struct Card {
  int16_t ident[8] = {0, 101, 102, -3, 104, 105, 106, 107};
  GateLimits limits[8] = {};
  Card() {
    for (auto& l : limits)
      for (int k = 0; k < 5; ++k) l.start[k] = 100, l.end[k] = 200, l.enable[k] = TRUE;
    limits[3].start[1] = 10, limits[3].end[1] = 20;  // set 3, gate B1
  }
  BlockCheckResult check(const Buf& b, int cycle = 0) const {
    return checkBlockResults(b.data(), b.size(), cycle, ident, limits);
  }
};

}  // namespace

TEST(BlockResultCheck, RecordsWithinTheirSetsLimitsPass) {
  Card card;
  Buf b;
  b.stamp(9).gateRecord(101, {{200, kPresent}, {400, kPresent}}).u32(0xFFFFEFFF);
  b.gateRecord(-3, {{40, kPresent}, {200, kPresent}});  // limits included
  b.stamp(0).gateRecord(107, {{0, 0}, {0, 0}, {0, 0}, {0, 0}, {9999, kPresent}}).u32(0xFFFFEFFE);
  BlockCheckResult r = card.check(b);
  EXPECT_EQ(r.status, BlockCheckStatus::Ok) << r.text;
  EXPECT_EQ(r.records, 3);
  EXPECT_EQ(r.bytesWalked, b.size());
}

TEST(BlockResultCheck, TimeBeyondTheGateEndFailsWithItsText) {
  Card card;
  Buf b;
  b.gateRecord(101).u32(0xFFFFEFFF);
  b.gateRecord(-3, {{2 * (20 + 1), kPresent}});
  BlockCheckResult r = card.check(b, 4);
  EXPECT_EQ(r.status, BlockCheckStatus::GateFailed);
  EXPECT_EQ(r.text, "Block 5 Satz 2 B1 10 - 21 - 20 ");
  EXPECT_EQ(r.bytesWalked, 60u);

  Buf below;
  below.gateRecord(102, {{0, 0}, {0, 0}, {199, kPresent | 0x4000}});
  EXPECT_EQ(card.check(below).text, "Block 1 Satz 1 B3 100 - 99 - 200 ");
}

TEST(BlockResultCheck, OddTimeHalvesDownAndAbsentSlotsAreNotChecked) {
  Card card;
  Buf b;
  b.gateRecord(101, {{401, kPresent}, {5, 0x4000}, {5, 0x7FFF}});
  EXPECT_EQ(card.check(b).status, BlockCheckStatus::Ok);
}

TEST(BlockResultCheck, UnknownKennungAndWrongType) {
  Card card;
  Buf b;
  b.gateRecord(101).gateRecord(-2);
  BlockCheckResult r = card.check(b);
  EXPECT_EQ(r.status, BlockCheckStatus::WrongKennung);
  EXPECT_EQ(r.text, "Falsche Kennung 65534");
  EXPECT_EQ(r.records, 2);

  Buf set0;  // set 0 (ident 0) does not take part
  set0.gateRecord(0);
  EXPECT_EQ(card.check(set0).text, "Falsche Kennung 0");

  Buf ascan;
  ascan.stamp(1).header(0x14, 8, 101).u16(0);
  r = card.check(ascan);
  EXPECT_EQ(r.status, BlockCheckStatus::NoGates);
  EXPECT_EQ(r.text, "Keine Blenden! Kennung 14");

  EXPECT_EQ(card.check(Buf{}).text, "Keine Blenden! Kennung 0");
}

TEST(BlockResultCheck, LimitsBeyondSixteenBitsAndSharedIdentifications) {
  Card card;
  card.limits[1].start[2] = 0, card.limits[1].end[2] = 0xFFFFFFFF;
  card.limits[1].start[3] = 0x10000, card.limits[1].end[3] = 0xFFFFFFFF;
  Buf wide;
  wide.gateRecord(101, {{0, 0}, {0xFFFF, kPresent}});
  EXPECT_EQ(card.check(wide).status, BlockCheckStatus::Ok);
  Buf high;
  high.gateRecord(101, {{0, 0}, {0, 0}, {0xFFFF, kPresent}});
  EXPECT_EQ(card.check(high).text, "Block 1 Satz 1 B3 65536 - 32767 - -1 ");

  // Two sets with one identification: the lower set's limits apply.
  card.ident[5] = 102;
  card.limits[5].start[1] = 0, card.limits[5].end[1] = 5;
  Buf shared;
  shared.gateRecord(102, {{300, kPresent}});
  EXPECT_EQ(card.check(shared).status, BlockCheckStatus::Ok);
}
