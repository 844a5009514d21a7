// Which cards a bench offers and how a malformed bench is reported.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "SimTestSupport.h"

using namespace zorix7sim;

namespace {

WORD ConfigWord(HZORIX7 h, size_t at) {
  PciConfigImage image{};
  EXPECT_TRUE(ZORIX7ReadConfigData(h, &image));
  return static_cast<WORD>(image.bytes[at] | image.bytes[at + 1] << 8);
}

std::string Karte(HZORIX7 h) {
  KennungRecord k{};
  DWORD error = 1;
  EXPECT_TRUE(ZORIX7GetKonfig(h, &k, &error));
  return std::string(k.szKarte, strnlen(k.szKarte, sizeof k.szKarte));
}

}  // namespace

using BuiltInBenchTest = SimTest;

TEST_F(BuiltInBenchTest, OffersTwoZorix7FCardsAtDistinctPositions) {
  EXPECT_EQ(CardNumbers(), (std::vector<int>{1, 2}));
  HZORIX7 h1 = OpenCard(1), h2 = OpenCard(2);
  EXPECT_EQ(ZORIX7Open(3), 0u);
  EXPECT_TRUE(ZORIX7IsVersion3(h1));
  EXPECT_TRUE(ZORIX7IsVersion3(h2));
  DWORD bus1, slot1, bus2, slot2, error;
  ASSERT_TRUE(ZORIX7GetCardPosition(h1, &bus1, &slot1, &error));
  ASSERT_TRUE(ZORIX7GetCardPosition(h2, &bus2, &slot2, &error));
  EXPECT_TRUE(bus1 != bus2 || slot1 != slot2);
  EXPECT_EQ(Karte(h1).rfind("ZORIX7F ", 0), 0u);
  EXPECT_NE(Karte(h1), Karte(h2));
}

TEST_F(BuiltInBenchTest, EepromCarriesTheConfigurationHeader) {
  HZORIX7 h = OpenCard(1);
  EXPECT_EQ(ZORIX7ReadPCIEEPROMbyte(h, 0), 0x55u);
  EXPECT_EQ(ZORIX7ReadPCIEEPROMbyte(h, 1), 0xAAu);
  EXPECT_EQ(ZORIX7ReadPCIEEPROMword(h, 0x40), ConfigWord(h, 0x00));
  EXPECT_EQ(ZORIX7ReadPCIEEPROMword(h, 0x42), ConfigWord(h, 0x02));
  EXPECT_EQ(ZORIX7ReadPCIEEPROMword(h, 0x49), ConfigWord(h, 0x09));
  EXPECT_EQ(ZORIX7ReadPCIEEPROMbyte(h, 0x7D), ConfigWord(h, 0x3D) & 0xFF);
  EXPECT_NE(ConfigWord(h, 0x00), 0u);
  EXPECT_NE(ConfigWord(h, 0x00), 0xFFFFu);
  EXPECT_EQ(ConfigWord(h, 0x3C) >> 8, 1u) << "interrupt pin INTA";
}

using BenchFileTest = SimTest;

TEST_F(BenchFileTest, CardNumbersMayHaveGaps) {
  LoadBench("[Card 1]\n[Card3]\n");
  EXPECT_NE(ZORIX7Open(1), 0u);
  EXPECT_EQ(ZORIX7Open(2), 0u);
  EXPECT_NE(ZORIX7Open(3), 0u);
  EXPECT_EQ(ZORIX7Open(0), 0u);
  EXPECT_EQ(ZORIX7Open(17), 0u);
  EXPECT_EQ(ZORIX7Open(-1), 0u);
}

TEST_F(BenchFileTest, CardKeysSetVariantPositionRecordRegistersAndPciImages) {
  LoadBench(
      "[card 5]\n"
      "variant = zorix7\n"
      "Bus=7\nSlot=0x11\n"
      "Karte=ZORIX7 0815\n"
      "DaempfungEingang=50, 75\n"
      "FilterMitte=1.5,2.25\n"
      "Reg0x42E=0x1234\n"
      "PciConfig.0x00=34 12\n"
      "Eeprom.0x80=DE AD\n");
  HZORIX7 h = OpenCard(5);
  EXPECT_FALSE(ZORIX7IsVersion3(h));
  DWORD bus = 0, slot = 0, error;
  ASSERT_TRUE(ZORIX7GetCardPosition(h, &bus, &slot, &error));
  EXPECT_EQ(bus, 7u);
  EXPECT_EQ(slot, 0x11u);
  KennungRecord k{};
  ZORIX7GetKonfig(h, &k, &error);
  EXPECT_STREQ(k.szKarte, "ZORIX7 0815");
  EXPECT_EQ(k.wDaempfungEingang[0], 50);
  EXPECT_EQ(k.wDaempfungEingang[1], 75);
  EXPECT_EQ(k.wDaempfungEingang[2], 0) << "a shorter list clears the rest";
  EXPECT_FLOAT_EQ(k.fFilterMitte[1], 2.25f);
  EXPECT_EQ(ZORIX7ReadRegister(h, 0x42E), 0x1234u);
  EXPECT_EQ(ConfigWord(h, 0), 0x1234u);
  EXPECT_EQ(ZORIX7ReadPCIEEPROMword(h, 0x40), 0x1234u) << "the default EEPROM follows the header";
  EXPECT_EQ(ZORIX7ReadPCIEEPROMword(h, 0x80), 0xADDEu);
}

TEST_F(BenchFileTest, EepromFillGivesABlankEeprom) {
  LoadBench("[Card 1]\nEepromFill=FF\n");
  HZORIX7 h = OpenCard(1);
  EXPECT_EQ(ZORIX7ReadPCIEEPROMdword(h, 0), 0xFFFFFFFFu);
  EXPECT_EQ(ZORIX7ReadPCIEEPROMword(h, 0x40), 0xFFFFu);
}

TEST_F(BenchFileTest, FileNamedByTheEnvironmentIsLoadedOnFirstOpen) {
  TempFile file("[Card 9]\nKarte=ZORIX7F 9999\n");
  setenv("ZORIX7_BENCH", file.path().c_str(), 1);
  Reset();
  HZORIX7 h = ZORIX7Open(9);
  unsetenv("ZORIX7_BENCH");
  ASSERT_NE(h, 0u);
  EXPECT_EQ(ZORIX7Open(1), 0u);
  EXPECT_EQ(Karte(h), "ZORIX7F 9999");
}

TEST_F(BenchFileTest, ExampleBenchLoads) {
  ASSERT_TRUE(LoadBenchFile(ZORIX7_BENCH_EXAMPLE)) << BenchError();
  EXPECT_FALSE(CardNumbers().empty());
}

struct MalformedBench {
  const char* name;
  const char* text;
  int line;
  const char* problem;
};

class MalformedBenchTest : public SimTest, public ::testing::WithParamInterface<MalformedBench> {};

TEST_P(MalformedBenchTest, OneMessageNamesFileAndLineAndNoCardOpens) {
  const MalformedBench& c = GetParam();
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(LoadBenchText(c.text, "bench.ini"));
  std::string printed = ::testing::internal::GetCapturedStderr();

  std::string message = BenchError();
  EXPECT_NE(message.find("\"bench.ini\", line " + std::to_string(c.line) + ":"), std::string::npos) << message;
  EXPECT_NE(message.find(c.problem), std::string::npos) << message;
  EXPECT_NE(printed.find(message), std::string::npos);
  EXPECT_EQ(printed.find(message), printed.rfind(message)) << "printed once";
  for (int n = 1; n <= 16; ++n) EXPECT_EQ(ZORIX7Open(n), 0u) << n;
}

INSTANTIATE_TEST_SUITE_P(
    Problems, MalformedBenchTest,
    ::testing::Values(
        MalformedBench{"UnknownKey", "[Card 1]\nBus=2\nColour=red\n", 3, "unknown key \"Colour\""},
        MalformedBench{"BadNumber", "[Card 1]\n\nBus=twelve\n", 3, "bad number \"twelve\""},
        MalformedBench{"NumberTooLarge", "[Card 1]\nBus=256\n", 2, "bad number"},
        MalformedBench{"CardNumberOutOfRange", "; c\n[Card 17]\n", 2, "card number out of range"},
        MalformedBench{"DuplicateCard", "[Card 2]\n[Card 1]\n[Card 2]\n", 3, "card 2 already defined in line 1"},
        MalformedBench{"UnknownSection", "[Card 1]\n[Cards]\n", 2, "unknown section [Cards]"},
        MalformedBench{"StrayLine", "[Card 1]\nBus 2\n", 2, "not a key=value line"},
        MalformedBench{"KeyOutsideSection", "Bus=2\n[Card 1]\n", 1, "key before the first section"},
        MalformedBench{"TextTooLong", "[Card 1]\nKarte=ZORIX7F 123456789012345\n", 2, "longer than 20"},
        MalformedBench{"BadVariant", "[Card 1]\nVariant=ZORIX8\n", 2, "variant"},
        MalformedBench{"BytesPastTheEnd", "[Card 1]\nPciConfig.0xFF=01 02\n", 2, "past the end"},
        MalformedBench{"BadHex", "[Card 1]\nEeprom=5G\n", 2, "bad hex"},
        MalformedBench{"StuckOffsetTooLarge", "[Card 1]\nStuckKennung=240\n", 2, "bad address"},
        MalformedBench{"BarSizeNotPowerOfTwo", "[Card 1]\nBarSize0=100\n", 2, "power of two"},
        MalformedBench{"UnknownFaultCall", "[Fault]\nCall=GetDatta\n", 2, "unknown call"},
        MalformedBench{"FaultWithoutCall", "[Fault]\nCard=3\n", 1, "without Call"},
        MalformedBench{"BadFaultWhen", "[Fault]\nCall=Start\nWhen=0\n", 3, "when must be"},
        MalformedBench{"ResetTooLong", "[Card 1]\nResetMs=20000\nResetMs=20001\n", 3, "(0..20000)"},
        MalformedBench{"ShotTooLong", "[Card 1]\nShotPeriodUs=100000\nShotPeriodUs=100001\n", 3, "(0..100000)"},
        MalformedBench{"NeverIsYesOrNo", "[Card 1]\nNeverReady=1\nNeverEmpty=yes\n", 3, "(0..1)"}),
    [](const ::testing::TestParamInfo<MalformedBench>& info) { return std::string(info.param.name); });

TEST_F(BenchFileTest, UnreadableFileIsNamed) {
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(LoadBenchFile("/nonexistent/zorix7/bench.ini"));
  std::string printed = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(BenchError().find("\"/nonexistent/zorix7/bench.ini\""), std::string::npos);
  EXPECT_NE(BenchError().find("cannot be read"), std::string::npos);
  EXPECT_NE(printed.find("/nonexistent/zorix7/bench.ini"), std::string::npos);
  EXPECT_EQ(ZORIX7Open(1), 0u);
}

TEST_F(BenchFileTest, PathsThatAreNoFileAreRefusedAtOnce) {
  char folder[] = "/tmp/zorix7benchdirXXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string fifo = std::string(folder) + "/bench.ini";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::pair<std::string, const char*> cases[] = {
      {folder, "is a folder"}, {fifo, "is a named pipe"}, {"/dev/null", "is a device"}};
  for (const auto& [path, problem] : cases) {
    // Through the environment, as at start-up: a pipe without a writer must not block.
    setenv("ZORIX7_BENCH", path.c_str(), 1);
    Reset();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(ZORIX7Open(1), 0u) << path;
    EXPECT_EQ(ZORIX7Open(2), 0u) << path;
    std::string printed = ::testing::internal::GetCapturedStderr();
    unsetenv("ZORIX7_BENCH");
    EXPECT_EQ(BenchError(), "Bench file \"" + path + "\": " + problem + ", not a file");
    EXPECT_EQ(printed, "zorix7: " + BenchError() + "\n") << "one message";
  }
  std::remove(fifo.c_str());
  rmdir(folder);
}

TEST_F(BenchFileTest, LazyLoadOfAMalformedFileReportsOnce) {
  TempFile file("[Card 1]\nBogus=1\n");
  setenv("ZORIX7_BENCH", file.path().c_str(), 1);
  Reset();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(ZORIX7Open(1), 0u);
  EXPECT_EQ(ZORIX7Open(2), 0u);
  std::string printed = ::testing::internal::GetCapturedStderr();
  unsetenv("ZORIX7_BENCH");
  EXPECT_NE(BenchError().find(file.path() + "\", line 2"), std::string::npos) << BenchError();
  EXPECT_EQ(printed.find("Bogus"), printed.rfind("Bogus")) << printed;
}
