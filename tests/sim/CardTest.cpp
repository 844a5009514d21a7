// Behaviour of one virtual card through the C interface.
#include <cstring>

#include "SimTestSupport.h"

using namespace zorix7sim;

namespace {

PciConfigImage ReadConfig(HZORIX7 h) {
  PciConfigImage image{};
  EXPECT_TRUE(ZORIX7ReadConfigData(h, &image));
  return image;
}

DWORD Dword(const PciConfigImage& image, size_t at) {
  DWORD v;
  std::memcpy(&v, image.bytes + at, 4);
  return v;
}

}  // namespace

using HandleTest = SimTest;

TEST_F(HandleTest, HandlesAreDistinctAndNeverTheCardNumber) {
  HZORIX7 h1 = OpenCard(1), h2 = OpenCard(2);
  EXPECT_NE(h1, h2);
  EXPECT_NE(h1, 1u);
  EXPECT_NE(h2, 2u);
  EXPECT_EQ(ZORIX7Open(1), h1) << "an open card keeps its handle";
}

TEST_F(HandleTest, CloseInvalidatesAndReopenGivesAFreshHandle) {
  HZORIX7 old = OpenCard(1);
  EXPECT_TRUE(ZORIX7Close(old));
  DWORD error = 0;
  EXPECT_FALSE(ZORIX7WarmUp(old, &error));
  EXPECT_EQ(error, kErrInvalidHandle);
  EXPECT_FALSE(ZORIX7Close(old));
  HZORIX7 fresh = OpenCard(1);
  EXPECT_NE(fresh, old);
  EXPECT_FALSE(ZORIX7Start(old, &error)) << "a stale handle must not reach the reopened card";
  EXPECT_TRUE(ZORIX7Start(fresh, &error));
  EXPECT_EQ(error, 0u);
}

TEST_F(HandleTest, InvalidHandleFailsEveryKindOfCall) {
  const HZORIX7 bad = 0x12345678;
  DWORD error = 0, bus, slot, count = 16;
  KennungRecord k{};
  PciConfigImage image{};
  ParamBlock block{};
  BYTE buffer[16];
  EXPECT_FALSE(ZORIX7IsVersion3(bad));
  EXPECT_FALSE(ZORIX7GetCardPosition(bad, &bus, &slot, &error));
  EXPECT_EQ(error, kErrInvalidHandle);
  error = 0;
  EXPECT_FALSE(ZORIX7PutKonfig(bad, &k, &error));
  EXPECT_EQ(error, kErrInvalidHandle);
  error = 0;
  EXPECT_FALSE(ZORIX7PrepAllGatesParam(bad, 0, block, &error));
  EXPECT_EQ(error, kErrInvalidHandle);
  error = 0;
  EXPECT_FALSE(ZORIX7GetData(bad, &count, buffer, &error));
  EXPECT_EQ(error, kErrInvalidHandle);
  EXPECT_FALSE(ZORIX7ReadConfigData(bad, &image));
  EXPECT_EQ(ZORIX7ReadRegister(bad, 0), 0u);
  EXPECT_EQ(ZORIX7ReadPCIEEPROMdword(bad, 0), 0u);
  EXPECT_FALSE(ZORIX7ReadConfigData(0, &image));
}

TEST_F(HandleTest, NullPointersFailWithoutTouchingTheCard) {
  HZORIX7 h = OpenCard(1);
  DWORD error = 0, value = 0;
  EXPECT_FALSE(ZORIX7GetCardPosition(h, nullptr, &value, &error));
  EXPECT_EQ(error, kErrNullPointer);
  EXPECT_FALSE(ZORIX7GetKonfig(h, nullptr, &error));
  EXPECT_FALSE(ZORIX7PutKonfig(h, nullptr, &error));
  EXPECT_FALSE(ZORIX7ReadConfigData(h, nullptr));
  EXPECT_FALSE(ZORIX7WriteConfigData(h, nullptr));
  EXPECT_FALSE(ZORIX7GetData(h, nullptr, &value, &error));
  value = 64;
  EXPECT_FALSE(ZORIX7GetData(h, &value, nullptr, &error)) << "room but no buffer";
  EXPECT_FALSE(ZORIX7GetADC(h, nullptr, &error));
  EXPECT_FALSE(ZORIX7GetGates(h, nullptr, &error));
  EXPECT_FALSE(ZORIX7IsDataInFIFO(h, nullptr, &error));
  EXPECT_FALSE(ZORIX7LoadProm(h, 1, nullptr, &error));
  EXPECT_FALSE(ZORIX7Command(h, 0x401, 1, nullptr, &error));
  EXPECT_EQ(error, kErrNullPointer);
  EXPECT_FALSE(ZORIX7WarmUp(h, nullptr)) << "no error word to write";
  EXPECT_FALSE(Card(1)->warmedUp);
}

TEST_F(HandleTest, OutOfRangeArgumentsFail) {
  HZORIX7 h = OpenCard(1);
  DWORD error = 0, words[3] = {1, 2, 3}, count = 0;
  EXPECT_FALSE(ZORIX7SetParam(h, 8, &error));
  EXPECT_EQ(error, kErrOutOfRange);
  EXPECT_FALSE(ZORIX7PrepAllGatesParam(h, 255, ParamBlock{}, &error));
  EXPECT_FALSE(ZORIX7SetZORIX9(h, 8, -1, &error));
  EXPECT_FALSE(ZORIX7GetASCAN(h, 8, &count, 0, &error));
  EXPECT_FALSE(ZORIX7Command(h, 0x403, 3, words, &error));
  EXPECT_FALSE(ZORIX7LoadProm(h, 0, words, &error));
  EXPECT_EQ(error, kErrOutOfRange);
}

using IdentificationTest = SimTest;

TEST_F(IdentificationTest, PutThenGetGivesTheSameRecord) {
  HZORIX7 h = OpenCard(2);
  KennungRecord put{};
  std::strcpy(put.szKarte, "ZORIX7F 4711");
  put.fBandgrenzeOben = 12.5f;
  put.byGrunddaempfung[7] = 9;
  DWORD error = 1;
  ASSERT_TRUE(ZORIX7PutKonfig(h, &put, &error));
  EXPECT_EQ(error, 0u);
  KennungRecord got{};
  ASSERT_TRUE(ZORIX7GetKonfig(h, &got, &error));
  EXPECT_EQ(std::memcmp(&put, &got, sizeof put), 0);
  KennungRecord other{};
  ZORIX7GetKonfig(OpenCard(1), &other, &error);
  EXPECT_STRNE(other.szKarte, "ZORIX7F 4711") << "records are per card";
}

TEST_F(IdentificationTest, StuckByteFailsPutWithTheFirstFailingPlace) {
  HZORIX7 h = OpenCard(1);
  KennungRecord before{};
  DWORD error = 0;
  ZORIX7GetKonfig(h, &before, &error);
  ASSERT_TRUE(SetStuckKennungByte(1, 88));
  ASSERT_TRUE(SetStuckKennungByte(1, 200));
  KennungRecord put = before;
  put.nAdcBits = static_cast<BYTE>(before.nAdcBits + 2);
  put.szKarte[0] = 'X';
  put.fFilterBandgrenze[8] = 99.0f;
  EXPECT_FALSE(ZORIX7PutKonfig(h, &put, &error));
  EXPECT_EQ(error, (kKennungBase + 88) << 16 | static_cast<DWORD>(put.nAdcBits) << 8 | before.nAdcBits);

  KennungRecord after{};
  ZORIX7GetKonfig(h, &after, &error);
  EXPECT_EQ(after.szKarte[0], 'X') << "the other bytes are written";
  EXPECT_EQ(after.nAdcBits, before.nAdcBits);

  put.nAdcBits = before.nAdcBits;
  put.fFilterBandgrenze[8] = before.fFilterBandgrenze[8];
  EXPECT_TRUE(ZORIX7PutKonfig(h, &put, &error)) << "a stuck byte that already holds the value passes";
}

TEST_F(IdentificationTest, StuckBytesFromTheBench) {
  LoadBench("[Card 1]\nStuckKennung=0x00\nKarte=ZORIX7F 1\n");
  HZORIX7 h = OpenCard(1);
  KennungRecord put{};
  std::strcpy(put.szKarte, "Q");
  DWORD error = 0;
  EXPECT_FALSE(ZORIX7PutKonfig(h, &put, &error));
  EXPECT_EQ(error, kKennungBase << 16 | 'Q' << 8 | 'Z');
}

using PciConfigTest = SimTest;

TEST_F(PciConfigTest, WritingAllOnesChangesOnlyWritableBits) {
  HZORIX7 h = OpenCard(1);
  const PciConfigImage before = ReadConfig(h);
  PciConfigImage ones;
  std::memset(ones.bytes, 0xFF, sizeof ones.bytes);
  EXPECT_TRUE(ZORIX7WriteConfigData(h, &ones));
  const PciConfigImage after = ReadConfig(h);

  for (size_t at : {0x00, 0x01, 0x02, 0x03, 0x08, 0x09, 0x0A, 0x0B, 0x0E, 0x0F, 0x2C, 0x2D, 0x2E, 0x2F, 0x3D,
                    0x3E, 0x3F})
    EXPECT_EQ(after.bytes[at], before.bytes[at]) << "read-only byte 0x" << std::hex << at;
  EXPECT_EQ(after.bytes[0x40], 0xFF) << "the device's own registers take writes";
  EXPECT_EQ(after.bytes[0xFF], 0xFF);
  EXPECT_EQ(after.bytes[0x0C], 0xFF);
  EXPECT_EQ(after.bytes[0x0D], 0xFF);
  EXPECT_EQ(after.bytes[0x3C], 0xFF);
  EXPECT_EQ(after.bytes[0x04] | after.bytes[0x05] << 8, 0x07FF) << "reserved command bits stay 0";
  EXPECT_EQ(Dword(after, 0x10), 0xFFFFFF80u) << "128-byte memory BAR";
  EXPECT_EQ(Dword(after, 0x14), 0xFFFFFF81u) << "128-byte I/O BAR keeps its I/O bit";
  EXPECT_EQ(Dword(after, 0x18), 0xFFF00000u) << "1 MB memory BAR";
  EXPECT_EQ(Dword(after, 0x20), 0u) << "unimplemented BAR";
  EXPECT_EQ(Dword(after, 0x30), 0xFFFF8001u) << "32 KB expansion ROM with enable bit";
}

TEST_F(PciConfigTest, StatusBitsClearWhenWrittenWithOne) {
  // A bench may declare the subsystem ids writable and device registers read-only.
  LoadBench("[Card 1]\nPciWritable.0x2C=FF FF\nPciWritable.0x40=00\n");
  HZORIX7 h0 = OpenCard(1);
  PciConfigImage ones;
  std::memset(ones.bytes, 0xFF, sizeof ones.bytes);
  ZORIX7WriteConfigData(h0, &ones);
  const PciConfigImage declared = ReadConfig(h0);
  EXPECT_EQ(declared.bytes[0x2C] & declared.bytes[0x2D], 0xFF);
  EXPECT_NE(declared.bytes[0x40], 0xFF);
  EXPECT_EQ(declared.bytes[0x41], 0xFF);

  LoadBench("[Card 1]\nPciConfig.0x06=80 F9\n");
  HZORIX7 h = OpenCard(1);
  PciConfigImage image = ReadConfig(h);
  image.bytes[0x06] = 0x00;
  image.bytes[0x07] = 0x81;  // clear bits 15 and 8, write 0 to the others
  ZORIX7WriteConfigData(h, &image);
  image = ReadConfig(h);
  EXPECT_EQ(image.bytes[0x06] | image.bytes[0x07] << 8, 0x7880);
}

TEST_F(PciConfigTest, BistStartCompletesAtOnceOnCapableCards) {
  LoadBench("[Card 1]\nPciConfig.0x0F=85\n[Card 2]\n");
  HZORIX7 capable = OpenCard(1), plain = OpenCard(2);
  for (HZORIX7 h : {capable, plain}) {
    PciConfigImage image = ReadConfig(h);
    image.bytes[0x0F] = 0x40;
    ZORIX7WriteConfigData(h, &image);
  }
  EXPECT_EQ(ReadConfig(capable).bytes[0x0F], 0x80) << "started, passed, completion code 0";
  EXPECT_EQ(ReadConfig(plain).bytes[0x0F], 0x00);
}

using EepromTest = SimTest;

TEST_F(EepromTest, MultiByteValuesAreLittleEndian) {
  HZORIX7 h = OpenCard(1);
  ZORIX7WritePCIEEPROMdword(h, 0x80, 0x11223344);
  EXPECT_EQ(ZORIX7ReadPCIEEPROMbyte(h, 0x80), 0x44u);
  EXPECT_EQ(ZORIX7ReadPCIEEPROMbyte(h, 0x83), 0x11u);
  EXPECT_EQ(ZORIX7ReadPCIEEPROMword(h, 0x81), 0x2233u);
  ZORIX7WritePCIEEPROMword(h, 0x82, 0xBEEF);
  EXPECT_EQ(ZORIX7ReadPCIEEPROMdword(h, 0x80), 0xBEEF3344u);
  ZORIX7WritePCIEEPROMbyte(h, 0x80, 0x1FF);
  EXPECT_EQ(ZORIX7ReadPCIEEPROMbyte(h, 0x80), 0xFFu) << "a byte write keeps the low byte";
  EXPECT_EQ(ZORIX7ReadPCIEEPROMword(h, 0xFE), ZORIX7ReadPCIEEPROMbyte(h, 0xFE) | ZORIX7ReadPCIEEPROMbyte(h, 0xFF) << 8);
}

TEST_F(EepromTest, AccessPastTheEndReadsZeroAndWritesNothing) {
  HZORIX7 h = OpenCard(1);
  ZORIX7WritePCIEEPROMbyte(h, 0xFF, 0x5A);
  ClearJournal();
  EXPECT_EQ(ZORIX7ReadPCIEEPROMbyte(h, 0x100), 0u);
  EXPECT_EQ(ZORIX7ReadPCIEEPROMword(h, 0xFF), 0u);
  EXPECT_EQ(ZORIX7ReadPCIEEPROMdword(h, 0xFD), 0u);
  EXPECT_EQ(ZORIX7ReadPCIEEPROMdword(h, 0xFFFFFFFF), 0u);
  EXPECT_FALSE(ZORIX7WritePCIEEPROMword(h, 0xFF, 0));
  EXPECT_EQ(ZORIX7ReadPCIEEPROMbyte(h, 0xFF), 0x5Au);
  auto journal = Journal();
  ASSERT_EQ(journal.size(), 6u);
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_FALSE(journal[i].ok) << journal[i].ToString();
    EXPECT_EQ(journal[i].error, kErrOutOfRange);
  }
  EXPECT_TRUE(journal[5].ok);
}

TEST_F(EepromTest, StuckBytesIgnoreWrites) {
  LoadBench("[Card 1]\nEepromFill=00\nStuckEeprom=0x41\n");
  HZORIX7 h = OpenCard(1);
  ZORIX7WritePCIEEPROMword(h, 0x40, 0xABCD);
  EXPECT_EQ(ZORIX7ReadPCIEEPROMword(h, 0x40), 0x00CDu);
  ASSERT_TRUE(SetStuckEepromByte(1, 0x41, false));
  ASSERT_TRUE(SetStuckEepromByte(1, 0x40));
  ZORIX7WritePCIEEPROMword(h, 0x40, 0x1234);
  EXPECT_EQ(ZORIX7ReadPCIEEPROMword(h, 0x40), 0x12CDu);
  EXPECT_FALSE(SetStuckEepromByte(1, 0x100));
  EXPECT_FALSE(SetStuckEepromByte(3, 0x10));
}

using CardStateTest = SimTest;

TEST_F(CardStateTest, Zorix9ModeFollowsTheIdentificationsPerCard) {
  HZORIX7 h = OpenCard(1);
  DWORD error;
  CardModel* card = Card(1);
  EXPECT_FALSE(card->Zorix9Mode());
  ASSERT_TRUE(ZORIX7SetZORIX9(h, 5, -15, &error));
  EXPECT_EQ(card->sets[5].zorix9Ident, -15);
  EXPECT_TRUE(card->Zorix9Mode());
  EXPECT_FALSE(Card(2)->Zorix9Mode());
  for (BYTE s = 0; s < 8; ++s) ZORIX7SetZORIX9(h, s, 0, &error);
  EXPECT_FALSE(card->Zorix9Mode()) << "identifications of 0 switch ZORIX9 mode off";
}

TEST_F(CardStateTest, Zorix7FOnlyCallsFailOnAPlainCard) {
  LoadBench("[Card 1]\nVariant=ZORIX7\n");
  HZORIX7 h = OpenCard(1);
  DWORD error = 0;
  GateReadout readout{};
  EXPECT_FALSE(ZORIX7SetZORIX9(h, 0, -10, &error));
  EXPECT_EQ(error, kErrWrongVariant);
  EXPECT_FALSE(ZORIX7GetGates(h, &readout, &error));
  EXPECT_FALSE(Card(1)->Zorix9Mode());
}

TEST_F(CardStateTest, ResetTakesTimeOnTheClock) {
  LoadBench("[Card 1]\nResetMs=30\n");
  HZORIX7 h = OpenCard(1);
  DWORD error = 0;
  EXPECT_TRUE(ZORIX7IsReseted(h)) << "a card that was never reset is ready";
  ASSERT_TRUE(ZORIX7ResetCard(h));
  EXPECT_FALSE(ZORIX7IsReseted(h));
  EXPECT_FALSE(ZORIX7WarmUp(h, &error));
  EXPECT_EQ(error, kErrInReset);
  int polls = 0;
  while (!ZORIX7IsReseted(h) && polls < 100) {
    ++polls;
    Sleep(10);
  }
  EXPECT_EQ(polls, 3);
  EXPECT_TRUE(ZORIX7WarmUp(h, &error));
  EXPECT_TRUE(Card(1)->warmedUp);
}
