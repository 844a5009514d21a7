// Injected faults: which call of which card fails, and with what.
#include "SimTestSupport.h"

using namespace zorix7sim;

using FaultTest = SimTest;

TEST_F(FaultTest, NthCallOnOneCardCountsOnlyThatCard) {
  HZORIX7 h1 = OpenCard(1), h2 = OpenCard(2);
  ASSERT_TRUE(AddFault({"GetData", 1, 2, 0x1234}));
  DWORD error = 0, count = 0;
  ParamBlock freeRun = zorix7sim::DefaultParamBlock();
  freeRun.StartMode = 3;  // every fetch finds a shot
  for (HZORIX7 h : {h1, h2})
    ASSERT_TRUE(ZORIX7PrepAllGatesParam(h, 0, freeRun, &error) && ZORIX7Start(h, &error));
  EXPECT_TRUE(ZORIX7GetData(h2, &count, nullptr, &error));
  EXPECT_TRUE(ZORIX7GetData(h1, &count, nullptr, &error));
  EXPECT_TRUE(ZORIX7GetData(h2, &count, nullptr, &error));
  EXPECT_FALSE(ZORIX7GetData(h1, &count, nullptr, &error));
  EXPECT_EQ(error, 0x1234u);
  EXPECT_TRUE(ZORIX7GetData(h1, &count, nullptr, &error)) << "only the second call";
  EXPECT_EQ(error, 0u);
  auto failed = JournalOf("ZORIX7GetData");
  ASSERT_EQ(failed.size(), 5u);
  EXPECT_FALSE(failed[3].ok);
  EXPECT_EQ(failed[3].card, 1);
  EXPECT_EQ(failed[3].error, 0x1234u);
}

TEST_F(FaultTest, NthCallOnAllCardsCountsThemTogether) {
  HZORIX7 h1 = OpenCard(1), h2 = OpenCard(2);
  ASSERT_TRUE(AddFault({"ZORIX7Start", 0, 2, 0x77}));
  DWORD error = 0;
  EXPECT_TRUE(ZORIX7Start(h1, &error));
  EXPECT_FALSE(ZORIX7Start(h2, &error));
  EXPECT_EQ(error, 0x77u);
  EXPECT_FALSE(Card(2)->running) << "a failed call changes nothing";
}

TEST_F(FaultTest, EveryCallFailsUntilCleared) {
  HZORIX7 h = OpenCard(1);
  ASSERT_TRUE(AddFault({"warmup", 0, 0, kErrInjected}));
  DWORD error = 0;
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(ZORIX7WarmUp(h, &error));
    EXPECT_EQ(error, kErrInjected);
  }
  ClearFaults();
  EXPECT_TRUE(ZORIX7WarmUp(h, &error));
}

TEST_F(FaultTest, CallsWithoutErrorWordReturnTheirFailureResult) {
  HZORIX7 h = OpenCard(1);
  ZORIX7WriteRegister(h, 0x434, 0xAB);
  AddFault({"ReadConfigData", 0, 0, 1});
  AddFault({"ReadRegister", 1, 0, 1});
  AddFault({"WriteRegister", 1, 0, 1});
  AddFault({"IsVersion3", 1, 0, 1});
  AddFault({"Open", 2, 1, 1});
  PciConfigImage image{};
  image.bytes[0] = 0x42;
  EXPECT_FALSE(ZORIX7ReadConfigData(h, &image));
  EXPECT_EQ(image.bytes[0], 0x42) << "image untouched";
  EXPECT_EQ(ZORIX7ReadRegister(h, 0x434), 0u);
  EXPECT_FALSE(ZORIX7WriteRegister(h, 0x434, 0xCD));
  EXPECT_FALSE(ZORIX7IsVersion3(h));
  EXPECT_EQ(ZORIX7Open(2), 0u);
  EXPECT_NE(ZORIX7Open(2), 0u) << "only the first open fails";
  ClearFaults();
  EXPECT_EQ(ZORIX7ReadRegister(h, 0x434), 0xABu) << "the refused write did not happen";
}

TEST_F(FaultTest, BenchFileFaults) {
  LoadBench(
      "[Card 1]\n[Card 2]\n"
      "[Fault]\nCall=ZORIX7PutKonfig\nCard=2\nWhen=1\nError=0xABC\n"
      "[Fault]\nCall=GetADC\nCard=all\n");
  HZORIX7 h1 = OpenCard(1), h2 = OpenCard(2);
  KennungRecord k{};
  DWORD error = 0;
  EXPECT_TRUE(ZORIX7PutKonfig(h1, &k, &error));
  EXPECT_FALSE(ZORIX7PutKonfig(h2, &k, &error));
  EXPECT_EQ(error, 0xABCu);
  EXPECT_TRUE(ZORIX7PutKonfig(h2, &k, &error));
  float adc[6];
  EXPECT_FALSE(ZORIX7GetADC(h1, adc, &error));
  EXPECT_EQ(error, kErrInjected);
  EXPECT_FALSE(ZORIX7GetADC(h2, adc, &error));
}
