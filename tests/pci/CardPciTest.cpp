// The virtual card's operation registers as the host reaches them through the library.
#include <gtest/gtest.h>

#include "card/PciInterface.h"
#include "sim/Zorix7Sim.h"

using namespace pciop;

namespace {
class OperationRegisters : public ::testing::Test {
 protected:
  void SetUp() override {
    zorix7sim::Reset();
    ASSERT_TRUE(zorix7sim::LoadBenchText("[Card 1]\nReg0x38=0x00050000\nReg0x3C=0x00000004\n"));
    card = ZORIX7Open(1);
  }
  void TearDown() override { zorix7sim::Reset(); }
  DWORD Read(DWORD offset) { return ZORIX7ReadRegister(card, offset); }
  void Write(DWORD offset, DWORD value) { ZORIX7WriteRegister(card, offset, value); }
  HZORIX7 card = 0;
};
}  // namespace

TEST_F(OperationRegisters, MailboxesFillTheirStatusAndOutMailboxesBelongToTheCard) {
  EXPECT_EQ(Read(kOutMailbox1), 0x207u);
  EXPECT_EQ(Read(kMailboxStatus), 0x000F0000u);
  Write(kInMailbox3, 0x11223344);
  Write(kOutMailbox1, 0xFFFFFFFF);
  Write(kMailboxStatus, 0);
  EXPECT_EQ(Read(kInMailbox3), 0x11223344u);
  EXPECT_EQ(Read(kOutMailbox1), 0x207u);
  EXPECT_EQ(Read(kMailboxStatus), 0x000F0F00u);
  Write(kMasterStatus, kMasterResetMailboxFlags);
  EXPECT_EQ(Read(kMailboxStatus), 0x000F0000u);
}

TEST_F(OperationRegisters, BusMasterAndStatusRegistersKeepTheirReadOnlyBits) {
  Write(kWriteAddress, 0x12345677);
  Write(kReadCount, 0xFFFFFFFF);
  EXPECT_EQ(Read(kWriteAddress), 0x12345674u);
  EXPECT_EQ(Read(kReadCount), 0x03FFFFFFu);
  // Interrupt flags clear when written with 1; the summary bit follows them.
  Write(kInterruptStatus, 0x00010F00);
  EXPECT_EQ(Read(kInterruptStatus), 0x00840F00u);
  Write(kInterruptStatus, 0x00040000);
  EXPECT_EQ(Read(kInterruptStatus), 0x00000000u);
  // FIFO state bits stay, reset bits read 0.
  Write(kMasterStatus, 0x0F0012F0);
  EXPECT_EQ(Read(kMasterStatus) & ~0x20u, 0x00001204u);
}

TEST(PciEeprom, WriteProtectedPartKeepsEveryByte) {
  zorix7sim::Reset();
  ASSERT_TRUE(zorix7sim::LoadBenchText("[Card 1]\nEepromFill=FF\nEepromWriteProtect=1\n"));
  const HZORIX7 card = ZORIX7Open(1);
  ZORIX7WritePCIEEPROMword(card, 0x00, 0xAA55);
  ZORIX7WritePCIEEPROMdword(card, 0xFC, 0);
  EXPECT_EQ(ZORIX7ReadPCIEEPROMword(card, 0x00), 0xFFFFu);
  EXPECT_EQ(ZORIX7ReadPCIEEPROMdword(card, 0xFC), 0xFFFFFFFFu);
  zorix7sim::Reset();
}
