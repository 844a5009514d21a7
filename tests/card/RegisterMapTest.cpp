#include <gtest/gtest.h>

#include "card/ControlLca.h"
#include "card/RegisterMap.h"

using namespace regmap;

namespace {
// The trigger fields the trigger command dialog presets from: 0x410 and max. SAP at 0x412/0x414.
const std::vector<Field> kTrigger = {
    {"SAP Trigger", "extern", 0x410, 0, 1, Kind::Flag, true},
    {"SAP Trigger", "Messung", 0x410, 2, 2, Kind::Choice, true, {{"Master", 0, 0}, {"einzeln", 1, 1}}},
    {"SAP Trigger", "Ausgang", 0x410, 4, 2, Kind::Choice, true,
     {{"bei Start", 0, 0}, {"bei Stop", 1, 1}, {"SAP einzeln", 2, 2}, {"ext. Ausgang", 3, 3}}},
    {"SAP Trigger", "Triggerblende", 0x410, 8, 4, Kind::Number, true},
    {"Record", "max. SAP", 0x412, 0, 32, Kind::Number, true},
};
}  // namespace

TEST(RegisterMap, TriggerWordDecodesAndEncodesBothWays) {
  Registers regs = {{0x410, 0x0A25}, {0x412, 0x5678}, {0x414, 0x1234}};
  std::vector<uint32_t> v = Decode(kTrigger, regs);
  EXPECT_EQ(v, std::vector<uint32_t>({1, 1, 2, 10, 0x12345678}));
  EXPECT_EQ(Encode(kTrigger, v), regs);

  // 3 in bits 2-3 has no button: nothing selected, and it writes back as 0.
  regs[0x410] = 0x000C;
  v = Decode(kTrigger, regs);
  EXPECT_EQ(v[1], kNoChoice);
  EXPECT_EQ(Encode(kTrigger, v).at(0x410), 0);

  // Values wider than their field are cut to it and never reach a neighbour.
  v = {0, 0, 0, 0x1F, 0};
  EXPECT_EQ(Encode(kTrigger, v).at(0x410), 0x0F00);
  EXPECT_EQ(ReadOrder(kTrigger), std::vector<uint16_t>({0x410, 0x412, 0x414}));
}

TEST(RegisterMap, ControlLcaMapReadsAndWritesAsTheCardExpects) {
  auto fields = lca::ControlLcaFields();

  // The command register's flags as the view shows them: LcaViewTest.
  Registers regs = {{lca::kCommand, 0x0385}, {lca::kTrigger, 0x0000}, {lca::kFifoStatus, 0x0020}};
  auto v = Decode(fields, regs);
  EXPECT_EQ(v[lca::fDsFull], 1u);  // any of its four bits
  regs[lca::kCommand] = 0x0060;    // 6 reads as "160 MHz (virtuell)" and writes back as 4
  v = Decode(fields, regs);
  EXPECT_EQ(v[lca::fClock], 4u);

  v[lca::fEsbLevel] = 0x100;  // unmasked, as on Windows
  Registers out = Encode(fields, v);
  EXPECT_EQ(out.at(lca::kCommand), 0x0040);
  EXPECT_EQ(out.at(lca::kEsbLevel), 0x0100);
  EXPECT_EQ(out.count(lca::kStatus), 0u);  // read-only registers are never written
  // The order the registers go to the card is pinned where the view writes them (LcaViewTest).
}
